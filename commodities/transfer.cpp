#include "commodities/transfer.h"

#include <string>

#include "worksheet/report_rows.h"

namespace kbt2 {
namespace {

bool isReportNameOfOtherEntry(const CommodityEntry& entry, std::string_view name) {
    for (const CommodityEntry& other : catalogue())
        if (&other != &entry && other.reportName == name) return true;
    return false;
}

// A checked entry goes into the first row without a name, whatever else the
// row holds; there is no test whether it is in the report already, so every
// pass adds it once more. With all rows named it is left out silently.
void addEntry(Worksheet& ws, const CommodityEntry& entry) {
    for (int row = 0; row < kReportRows; ++row) {
        if (!reportRowEmpty(ws, row)) continue;
        ws.setText({Control::Cropname1, row}, std::string(entry.reportName));
        ws.setText({Control::Unit1, row}, std::to_string(entry.code));
        return;
    }
}

// An entry that is not checked takes away the first row that its removal
// prefix matches, typed rows included; further matching rows stay.
void removeEntry(Worksheet& ws, const CommodityEntry& entry) {
    for (int row = 0; row < kReportRows; ++row) {
        if (!removalMatches(entry, ws.text({Control::Cropname1, row}))) continue;
        clearReportRow(ws, row);
        return;
    }
}

}  // namespace

bool removalMatches(const CommodityEntry& entry, std::string_view rowName) {
    const auto n = static_cast<size_t>(entry.prefixLength);
    if (rowName.substr(0, n) != entry.removalPrefix()) return false;
    return !isReportNameOfOtherEntry(entry, rowName);
}

// A pass writes only report rows, and text changes raise no click events, so
// a pass never starts another one while it runs.
void transferPass(Worksheet& ws, Control array) {
    const CommodityGroup* group = commodityGroup(array);
    if (group == nullptr || !ws.checked({array, group->transferBox})) return;
    // Each entry sees the rows as the entries before it left them: a row that
    // a removal frees is the first candidate for a later add of the same pass.
    for (const CommodityEntry& entry : groupEntries(array)) {
        if (ws.checked({array, entry.index}))
            addEntry(ws, entry);
        else
            removeEntry(ws, entry);
    }
}

}  // namespace kbt2
