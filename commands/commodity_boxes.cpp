#include "commands/commodity_boxes.h"

#include "commodities/catalogue.h"
#include "commodities/transfer.h"
#include "worksheet/report_rows.h"

namespace kbt2 {

void commodityBoxClick(Worksheet& ws, Control array) { transferPass(ws, array); }

// Every cleared box runs its group's pass while the transfer box is still
// checked (it is the last of its array); emptying the rows afterwards makes
// the end state independent of those passes.
void command5Click(Worksheet& ws) {
    for (const CommodityGroup& group : kCommodityGroups)
        for (int i = 0; i <= group.transferBox; ++i)
            if (ws.checked({group.array, i})) ws.setChecked({group.array, i}, false);
    for (int row = 0; row < kReportRows; ++row) clearReportRow(ws, row);
}

}  // namespace kbt2
