// Pages 7 and 8: the commodity report, rows 0 to 8 on page 7 and 9 to 13 on
// page 8, one column per field of a row.

#include <QGridLayout>
#include <QKeyEvent>
#include <QWidget>
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/field_binding.h"
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

// Return in a row of the report goes on to the next row, at the column where
// typing in this row began, as in a spreadsheet: amount, Tab, value, Return
// brings the next row's amount. A row where nothing was typed goes on in the
// same column; Return on a page's last row stays there.
class RowReturn : public QObject {
public:
    RowReturn(FieldBinding& binding, RowRange rows, QObject* parent)
        : QObject(parent), binding_(binding), rows_(rows) {}

    void watch(QWidget* field) { field->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto at = placeOf(watched);
        if (!at) return false;
        const auto [row, column] = *at;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & ~Qt::KeypadModifier) return false;
            if (row >= rows_.last) return true;
            const size_t target = typedRow_ == row ? typedColumn_ : column;
            if (QWidget* next = binding_.widget({kReportRowFields[target], row + 1}); next && next->isEnabled())
                next->setFocus(Qt::OtherFocusReason);
            return true;
        }
        if (!key->text().isEmpty() && key->text().at(0).isPrint() && typedRow_ != row) {
            typedRow_ = row;
            typedColumn_ = column;
        }
        return false;
    }

private:
    std::optional<std::pair<int, size_t>> placeOf(QObject* watched) const {
        for (int row = rows_.first; row <= rows_.last; ++row)
            for (size_t k = 0; k < std::size(kReportRowFields); ++k)
                if (binding_.widget({kReportRowFields[k], row}) == watched) return std::pair{row, k};
        return std::nullopt;
    }

    FieldBinding& binding_;
    RowRange rows_;
    int typedRow_ = -1;
    size_t typedColumn_ = 0;
};

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
    auto* rowReturn = new RowReturn(binding, rows, page);
    for (int row = rows.first; row <= rows.last; ++row)
        for (Control field : kReportRowFields)
            if (QWidget* widget = binding.widget({field, row})) rowReturn->watch(widget);
    // The row numbers' column is as wide on both pages, one digit or two, so
    // the report's columns stand in the same places on both.
    const QFontMetrics metrics = page->fontMetrics();
    static_cast<QGridLayout*>(page->layout())
        ->setColumnMinimumWidth(0, 2 * metrics.horizontalAdvance(u'0') + metrics.averageCharWidth());
}

}  // namespace kbt2::ui
