#include "quote/quote_worksheet.h"

#include "commands/form.h"
#include "commands/premium_warnings.h"
#include "commands/quiet_platform.h"
#include "location/states.h"
#include "quote/fresh_quote.h"
#include "worksheet/platform.h"

namespace kbt2::quote {
namespace {

// The rate source of the premium, chosen anew for each press of
// Calculate Premium; it keeps the last answer for the premium's details.
class SwitchedSource final : public RateSource {
public:
    SourcedRates ratesFor(Platform& platform, double stateCode, double countyCode,
                          std::span<const double> codes) override {
        kept = current->ratesFor(platform, stateCode, countyCode, codes);
        return kept;
    }
    RateSource* current = nullptr;
    SourcedRates kept;
};

// Runs a button; the message that stopped it, if any. The premium's
// eligibility warnings let it go on, as in the window; every other message
// stops the command that shows it.
std::optional<std::string> press(Form& form, QuietPlatform& platform, Control button, WorksheetQuote& quote) {
    const size_t before = platform.messages.size();
    form.click(button);
    if (button == Control::Command4 && form.lastPremium().calculated()) {
        for (const PremiumWarning warning : form.lastPremium().figures->warnings)
            quote.warnings.push_back(premiumWarningTexts(warning).token);
        if (const auto& use = form.lastRateFileUse(); use && !use->pricesEveryRow()) {
            quote.warnings.push_back(kNoRateRecord);
            for (const int row : use->unmatched)
                quote.unrated.push_back(
                    {form.worksheet().text({Control::Unit1, row}), form.worksheet().text({Control::Cropname1, row})});
        }
        return std::nullopt;
    }
    if (platform.messages.size() > before) return platform.messages[before].text;
    return std::nullopt;
}

void readPremiumTable(const Worksheet& ws, WorksheetQuote& quote) {
    for (int column = 0; column < kPremiumColumns; ++column) {
        if (!ws.visible({kPremiumRows[0], column})) continue;
        LevelQuote level{kCoverageCaptions[column], {}};
        for (const Control row : kPremiumRows) level.figures.push_back(ws.text({row, column}));
        quote.levels.push_back(std::move(level));
    }
    for (const QuoteColumn& c : kTotalColumns) quote.totals.push_back(ws.text(c.field));
}

// Who and where, for a comparison's lines.
void readCase(const Worksheet& ws, WorksheetQuote& quote) {
    quote.producer = ws.text({Control::Producer1, 0});
    for (const CountyInfo& county : counties())
        if (ws.selected({county.array, county.index})) quote.county = std::string(county.caption);
}

}  // namespace

std::optional<std::string> windowRateFile() {
    QuietPlatform platform("");
    return findRateFile(platform);
}

std::optional<std::string> namedRateFile(const std::string& path) {
    if (!isOrdinaryFile(path)) return std::nullopt;
    return path;
}

std::optional<PremiumRateKeys> rateKeysOf(const std::string& path) {
    QuietPlatform platform(path);
    Form form(platform);
    form.click(Control::Load);
    if (!platform.messages.empty()) return std::nullopt;
    return premiumRateKeys(form.worksheet());
}

WorksheetQuote quoteWorksheet(const std::string& path, RateSource& rates, bool withDetails) {
    RateSource* const sources[] = {&rates};
    return std::move(quoteWorksheetUnder(path, sources, withDetails).front());
}

std::vector<WorksheetQuote> quoteWorksheetUnder(const std::string& path, std::span<RateSource* const> sources,
                                                bool withDetails) {
    SwitchedSource switched;
    QuietPlatform platform(path);
    Form form(platform, switched, Form::WithoutHistory{});
    WorksheetQuote loaded;
    loaded.file = path;
    std::optional<std::string> stop;
    Control stoppedAt = Control::Load;
    for (const Control button : {Control::Load, Control::Command2, Control::Command3}) {
        if ((stop = press(form, platform, button, loaded))) {
            stoppedAt = button;
            break;
        }
    }
    std::vector<WorksheetQuote> quotes;
    for (RateSource* source : sources) {
        WorksheetQuote quote = loaded;
        switched.current = source;
        if (!stop) {
            if (auto stopped = press(form, platform, Control::Command4, quote)) {
                quote.message = std::move(*stopped);
                quote.warnings.clear();
            } else {
                quote.ok = true;
                readPremiumTable(form.worksheet(), quote);
                // The press's own run: Calculate Premium again on a copy would give the same.
                if (withDetails)
                    quote.details = premiumSummary(form.worksheet(), form.lastPremium(), switched.kept.lookup, path);
            }
        } else {
            quote.message = *stop;
            quote.warnings.clear();
        }
        if (stoppedAt != Control::Load || !stop) readCase(form.worksheet(), quote);
        quotes.push_back(std::move(quote));
    }
    return quotes;
}

std::string unratedText(const WorksheetQuote& quote) {
    std::string text = "the rate file has no record for";
    for (size_t i = 0; i < quote.unrated.size(); ++i) {
        const WorksheetQuote::Unrated& row = quote.unrated[i];
        text += (i ? ", " : " ") + std::string("commodity ") + row.code;
        if (!row.name.empty()) text += " (" + row.name + ")";
    }
    return text + " in " + (quote.county.empty() ? std::string("the county") : quote.county + " county");
}

WorksheetQuote failedQuote(const std::string& path, std::string message) {
    WorksheetQuote quote;
    quote.file = path;
    quote.message = std::move(message);
    return quote;
}

}  // namespace kbt2::quote
