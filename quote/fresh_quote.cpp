#include "quote/fresh_quote.h"

#include <vector>

#include "calc/premium.h"
#include "commands/premium.h"
#include "commands/quiet_platform.h"
#include "quote/rate_file_identity.h"
#include "rates/recording_source.h"

namespace kbt2 {
namespace {

// The figures of the run, as the premium's arithmetic returned them and its
// fields were written from (hidden levels too, before the page empties them);
// each row with its texts and the rate file line it used.
void readFigures(const PremiumFigures& f, const Worksheet& ws, const RateLookup& lookup, QuoteSummary& s) {
    s.premium = f;
    for (size_t i = 0; i < f.rows.size(); ++i) {
        const int index = static_cast<int>(i);
        const CommodityRates* record = i < lookup.rows.size() ? &lookup.rows[i] : nullptr;
        s.commodities.push_back({ws.text({Control::Cropname1, index}), ws.text({Control::Unit1, index}),
                                 record && record->found ? std::optional(record->line) : std::nullopt});
    }
}

}  // namespace

void copyFields(const Worksheet& from, Worksheet& to) {
    for (const ControlInfo& control : kControls) {
        for (int i = 0; i < control.slots(); ++i) {
            const FieldRef field{control.control, i};
            switch (control.kind) {
            case Kind::Text:
            case Kind::Masked: to.setText(field, from.text(field)); break;
            case Kind::Check: to.setChecked(field, from.checked(field)); break;
            case Kind::Option:
                if (from.selected(field))
                    to.select(field);
                else
                    to.deselect(field);
                break;
            case Kind::Button: break;
            }
            to.setVisible(field, from.visible(field));
        }
    }
}

std::optional<QuoteSummary> premiumSummary(const Worksheet& ws, const PremiumOutcome& outcome, const RateLookup& rates,
                                           const std::string& worksheetName) {
    if (!outcome.calculated() || !outcome.rateFile) return std::nullopt;
    QuoteSummary s = summaryCase(ws, worksheetName);
    readFigures(*outcome.figures, ws, rates, s);
    const RateFileUse& use = *outcome.rateFile;
    s.rateFile = {use.path, 0, {}, {}, use.records};
    s.rateFile.sample = use.sample;
    return s;
}

FreshQuote freshQuote(const Worksheet& ws, Platform& platform, RateSource& rates, const std::string& worksheetName,
                      bool identifyRateFile) {
    Worksheet copy;
    copyFields(ws, copy);
    QuietPlatform quiet(platform);
    RecordingSource kept(rates);
    const PremiumOutcome outcome = command4Click(copy, quiet, kept);
    std::optional<QuoteSummary> s = premiumSummary(copy, outcome, kept.answer().lookup, worksheetName);
    if (!s) {
        // What stopped it is its last message; the warnings come before.
        if (!quiet.messages.empty()) return {std::nullopt, quiet.messages.back().text};
        return {std::nullopt, "The premium could not be calculated."};
    }
    if (identifyRateFile) {
        const bool sample = s->rateFile.sample;
        s->rateFile = rateFileIdentity(s->rateFile.path, s->rateFile.records);
        s->rateFile.sample = sample;
    }
    return {std::move(s), {}};
}

}  // namespace kbt2
