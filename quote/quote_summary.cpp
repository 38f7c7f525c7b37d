#include "quote/quote_summary.h"

#include "calc/numbers.h"
#include "location/states.h"
#include "worksheet/worksheet.h"

namespace kbt2 {

QuoteSummary summaryCase(const Worksheet& ws, const std::string& worksheetName) {
    QuoteSummary summary;
    summary.worksheetName = worksheetName;
    summary.producer = ws.text({Control::Producer1});
    summary.agency = ws.text({Control::Agent1});
    const int state = ws.selectedIndex(Control::St);
    for (const StateInfo& info : states())
        if (info.index == state) summary.state = info.caption;
    // The county chosen on page 2, whichever state's list it stands in.
    for (const CountyInfo& county : counties())
        if (ws.selected({county.array, county.index})) summary.county = county.caption;
    for (int year = 0; year < kTaxYears; ++year) {
        summary.income[static_cast<size_t>(year)] = numericValue(ws.text({Control::Allinc1, year}));
        summary.expenses[static_cast<size_t>(year)] = numericValue(ws.text({Control::Allexp1, year}));
    }
    return summary;
}

std::vector<SummaryLevel> summaryLevels(const QuoteSummary& summary) {
    std::vector<SummaryLevel> levels;
    for (int column = 0; column < kPremiumColumns; ++column)
        levels.push_back({kCoverageLevels[column].caption, summary.premium.columns[static_cast<size_t>(column)]});
    return levels;
}

}  // namespace kbt2
