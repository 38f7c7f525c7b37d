#include "commands/premium.h"

#include "calc/numbers.h"
#include "commands/commodity_kbt.h"
#include "commands/field_draft.h"
#include "commands/messages.h"
#include "commands/premium_fields.h"
#include "location/states.h"

namespace kbt2 {
namespace {

PremiumInputs premiumInputs(const Worksheet& ws, int count) {
    PremiumInputs in;
    in.incomes = readIncomes(ws);
    in.averageIncome = numericValue(ws.text({Control::Averageinc}));
    in.mpciLiability = numericValue(ws.text({Control::MPCI}));
    for (int i = 0; i < count; ++i) {
        in.totalAmounts.push_back(numericValue(ws.text({Control::Totamt1, i})));
        in.expectedValues.push_back(numericValue(ws.text({Control::Expval1, i})));
    }
    return in;
}

// What keeps the premium from being calculated, checked before anything is
// written.
std::optional<PremiumStop> missingInput(const Worksheet& ws, const PremiumInputs& in) {
    if (in.totalAmounts.size() == 1 && ws.text({Control::Cropname1, 0}).empty())
        return PremiumStop{PremiumStopKind::NoCommodity};
    return premiumInputStop(in);
}

// The figures in the order the page has always been filled: the KBTs, the
// liabilities, each warning with its result, the table, the levels offered.
void writeFigures(FieldDraft& draft, const PremiumFigures& f) {
    draft.setNumber({Control::Projkbt}, f.projectedKbt);
    draft.setNumber({Control::Text15, 0}, f.totalExpectedKbt);
    draft.setNumber({Control::Text21}, f.allowableKbt);
    writeLiabilities(draft, f.columns);
    for (const PremiumWarning warning : f.warnings) writeWarning(draft, warning);
    writePremiums(draft, f.columns);
    showOfferedLevels(draft, f.columns);
}

}  // namespace

PremiumRateKeys premiumRateKeys(const Worksheet& ws) {
    PremiumRateKeys keys{selectedStateCode(ws), selectedCountyCode(ws), {}};
    const int count = reportLength(ws);
    for (int i = 0; i < count; ++i) keys.codes.push_back(numericValue(ws.text({Control::Unit1, i})));
    return keys;
}

PremiumOutcome command4Click(Worksheet& ws, Platform& platform, RateSource& rates) {
    PremiumOutcome outcome;
    const int count = reportLength(ws);
    const PremiumInputs in = premiumInputs(ws, count);
    if ((outcome.stop = missingInput(ws, in))) {
        tell(platform, messages::premiumStop(*outcome.stop));
        return outcome;
    }
    // Everything is computed into a draft first: a figure out of range then
    // stops the command with nothing written.
    FieldDraft draft(ws);
    clearWarningResults(draft);
    if (draft.text({Control::MPCI}).empty()) draft.setText({Control::MPCI}, "0");
    draft.setNumber({Control::Croptext}, count);
    const PremiumRateKeys keys = premiumRateKeys(ws);

    // A rate file that cannot be found or read ends the command after its
    // messages; the window stays open with every entry.
    const SourcedRates sourced = rates.ratesFor(platform, keys.stateCode, keys.countyCode, keys.codes);
    outcome.chosenRateFileGone = sourced.chosenGone;
    const RateLookup& lookup = sourced.lookup;
    if (!sourced.path || lookup.error) {
        outcome.rateFileMissing = !sourced.path;
        outcome.rateFileError = lookup.error;
        for (Message& m : sourced.path ? messages::rateFileUnreadable(*lookup.error) : messages::rateFileMissing())
            draft.message(std::move(m));
        draft.commit(ws, platform);
        return outcome;
    }
    outcome.rateFile = rateFileUse(sourced);
    // Never priced from another table in silence.
    if (sourced.chosenGone) tell(platform, messages::chosenRateFileGone(*sourced.chosenGone, *sourced.path));

    PremiumFigures figures = premiumFigures(in, lookup.rows);
    if (!figures.finite) {
        outcome.stop = PremiumStop{PremiumStopKind::OutOfRange};
        tell(platform, messages::premiumStop(*outcome.stop));
        return outcome;
    }
    writeFigures(draft, figures);
    draft.commit(ws, platform);
    outcome.figures = std::move(figures);
    return outcome;
}

std::string unratedSentence(const std::string& path, const std::vector<std::string>& rows, const std::string& county) {
    std::string named;
    for (size_t i = 0; i < rows.size(); ++i) named += (i == 0 ? "" : i + 1 == rows.size() ? " and " : ", ") + rows[i];
    return "These figures are not a quote: the rate file " + path + " has no record for " + named + " in " +
           (county.empty() ? std::string("the county") : county + " county") +
           (rows.size() == 1 ? ", which is" : ", which are") + " priced at rate 0.";
}

std::string notAQuoteText(const Worksheet& ws, const RateFileUse& use) {
    if (!use.keyed)
        return "These figures are not a quote: the rate file " + use.path +
               " holds no valid rate record (a line whose state, county and commodity code are digits above 0), "
               "so every commodity is priced at rate 0.";
    if (use.unmatched.empty()) return {};
    std::vector<std::string> rows;
    for (const int row : use.unmatched) {
        const std::string& name = ws.text({Control::Cropname1, row});
        const std::string& code = ws.text({Control::Unit1, row});
        rows.push_back(name.empty() ? "code " + code : name + " (code " + code + ")");
    }
    std::string county;
    for (const CountyInfo& c : counties())
        if (ws.selected({c.array, c.index})) county = c.caption;
    return unratedSentence(use.path, rows, county);
}

PremiumOutcome command4Click(Worksheet& ws, Platform& platform) {
    RateFileSource file;
    return command4Click(ws, platform, file);
}

}  // namespace kbt2
