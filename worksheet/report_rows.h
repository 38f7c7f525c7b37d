#pragma once
// The 14 rows of the commodity report (pages 7 and 8): every row is one
// element of each of eight field arrays, in the order of the page's columns.

#include <algorithm>

#include "worksheet/worksheet.h"

namespace kbt2 {

inline constexpr int kReportRows = 14;

inline constexpr Control kReportRowFields[] = {
    Control::Cropname1, Control::Type1,   Control::Unit1,   Control::YearProd,
    Control::Intamt1,   Control::Totamt1, Control::Expval1, Control::Total1,
};

static_assert(std::ranges::all_of(kReportRowFields, [](Control field) { return info(field).elements == kReportRows; }),
              "every report field has one element per row");

constexpr bool isReportRowField(Control control) {
    return std::ranges::find(kReportRowFields, control) != std::end(kReportRowFields);
}

// A row is empty when its name is: the other fields are not looked at.
inline bool reportRowEmpty(const Worksheet& ws, int row) { return ws.text({Control::Cropname1, row}).empty(); }

// Empties all eight fields of one row, column by column.
inline void clearReportRow(Worksheet& ws, int row) {
    for (Control field : kReportRowFields) ws.setText({field, row}, {});
}

}  // namespace kbt2
