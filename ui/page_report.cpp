// Pages 7 and 8: the commodity report, rows 0 to 8 on page 7 and 9 to 13 on
// page 8, one column per field of a row.

#include <QGridLayout>
#include <deque>
#include <string>
#include <vector>

#include "ui/page_table.h"
#include "ui/pages.h"
#include "worksheet/report_rows.h"

namespace kbt2::ui {
namespace {

using C = Control;

// clang-format off
// The caption of each column of a report row, left to right: one per report
// row field.
constexpr std::string_view kCaptions[] = {
    "Commodity Name",
    "Unit of measure",
    "Com. code",
    "Years exp.",
    "Intended Amt (e.g. acre)",
    "Total Amount (e.g., bu)",
    "Exp. Value / unit",
    "KBT by Commodity",
};
static_assert(std::size(kCaptions) == std::size(kReportRowFields));

// The rows of each page: first, last.
struct RowRange { int first; int last; };
constexpr RowRange kPage7Rows = {0, 8};
constexpr RowRange kPage8Rows = {9, 13};

// Grid column 0 holds the row numbers; the fields follow.
// id, parent, title, cell, column stretch, row stretch
constexpr FrameItem kPage7Frames[] = {
    {0, -1, "", {}, "032112222", "00000000000001"},
};
constexpr FrameItem kPage8Frames[] = {
    {0, -1, "", {}, "032112222", "000000000001"},
};

constexpr CaptionItem kPage7Extras[] = {
    {"Go to Page 2 of the Commodity Report (Tab 8) when you've  completed the entries  on this page.", 0, {11, 0, 1, 9}, Look::Notice},
};
constexpr CaptionItem kPage8Extras[] = {
    {"Total Expected KBT", 0, {7, 5, 1, 3}, Look::Lead},
};
constexpr FieldItem kPage8ExtraFields[] = {
    {{C::Text15, 1}, "Total Expected KBT", 0, {7, 8}},
    {{C::Command3},  "Calculate  KBT for each Commodity and &Total Expected KBT", 0, {9, 0, 1, 9}},
};
// clang-format on

}  // namespace

void buildReportPage(int pageNumber, QWidget* page, FieldBinding& binding) {
    const RowRange rows = pageNumber == 7 ? kPage7Rows : kPage8Rows;
    std::vector<CaptionItem> captions;
    std::vector<FieldItem> fields;
    std::deque<std::string> names;  // "Commodity Name, row 1": the field's accessible name
    int gridColumn = 1;
    for (std::string_view caption : kCaptions) captions.push_back({caption, 0, {0, gridColumn++}, Look::Heading});
    // Row numbers as the messages of the report count them, from 1.
    static const std::vector<std::string> numbers = [] {
        std::vector<std::string> n;
        for (int i = 1; i <= kReportRows; ++i) n.push_back(std::to_string(i));
        return n;
    }();
    for (int row = rows.first; row <= rows.last; ++row) {
        const int gridRow = 1 + row - rows.first;
        captions.push_back({numbers[static_cast<size_t>(row)], 0, {gridRow, 0}});
        for (size_t k = 0; k < std::size(kReportRowFields); ++k) {
            names.push_back(std::string(kCaptions[k]) + ", row " + numbers[static_cast<size_t>(row)]);
            fields.push_back({{kReportRowFields[k], row}, names.back(), 0, {gridRow, 1 + static_cast<int>(k)}});
        }
    }
    if (pageNumber == 7) {
        captions.insert(captions.end(), std::begin(kPage7Extras), std::end(kPage7Extras));
        layPage(page, {kPage7Frames, captions, fields}, binding);
    } else {
        captions.insert(captions.end(), std::begin(kPage8Extras), std::end(kPage8Extras));
        fields.insert(fields.end(), std::begin(kPage8ExtraFields), std::end(kPage8ExtraFields));
        layPage(page, {kPage8Frames, captions, fields}, binding);
    }
    // The row numbers' column is as wide on both pages, one digit or two, so
    // the report's columns stand in the same places on both.
    const QFontMetrics metrics = page->fontMetrics();
    static_cast<QGridLayout*>(page->layout())
        ->setColumnMinimumWidth(0, 2 * metrics.horizontalAdvance(u'0') + metrics.averageCharWidth());
}

}  // namespace kbt2::ui
