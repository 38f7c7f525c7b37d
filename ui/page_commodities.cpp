// Pages 5 and 6: the commodity check boxes, laid out from the catalogue's
// places, each with its caption to the left; on page 6 also the transfer
// boxes under their instruction and the button that clears every box.

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <algorithm>
#include <vector>

#include "commodities/catalogue.h"
#include "paint/qt_text.h"
#include "ui/commodity_find.h"
#include "ui/field_binding.h"
#include "ui/field_widgets.h"
#include "ui/page_table.h"
#include "ui/pages.h"

namespace kbt2::ui {
namespace {

// Every catalogue column takes three grid columns: caption, box, gap.
constexpr int kGridColumnsPerColumn = 3;
constexpr int kIndentPixels = 14;

// clang-format off
// The kinds under "Berries-Other" and "Citrus(Other)": their captions start a
// little right of the column.
struct IndentedBox { Control array; int first; int last; };
constexpr IndentedBox kIndentedByPosition[] = {
    {Control::Crop, 11, 12},
    {Control::Crop, 25, 30},
};

// The instruction above the transfer boxes, right of the fourth column of
// page 6: text, catalogue row.
struct Instruction { std::string_view text; int row; };
constexpr Instruction kTransferInstruction[] = {
    {"Click all boxes ", 14},
    {"below to get",     15},
    {"checked crops on", 16},
    {"Comm. Report",     17},
};
constexpr int kTransferRow = 18;
constexpr int kTransferColumn = 5;

// Command5 sits in the empty rows of the fourth column of page 6.
constexpr std::string_view kClearButtonCaption = "Clear all checked Crop &Names";
constexpr Cell kClearButtonCell = {8, 9, 3, 2};
// clang-format on

bool indentedByPosition(const CommodityEntry& entry) {
    return std::any_of(std::begin(kIndentedByPosition), std::end(kIndentedByPosition), [&](const IndentedBox& box) {
        return box.array == entry.array && entry.index >= box.first && entry.index <= box.last;
    });
}

QAbstractButton* addEntry(const CommodityEntry& entry, QWidget* page, QGridLayout* grid, FieldBinding& binding) {
    const FieldRef ref{entry.array, entry.index};
    auto* box = static_cast<QCheckBox*>(binding.create(ref, page));
    auto* caption = new BuddyCaption(toQString(entry.caption), box, page);
    caption->setObjectName(toQString(entry.captionControl));
    if (indentedByPosition(entry)) caption->setIndent(kIndentPixels);
    box->setAccessibleName(toQString(entry.caption).trimmed());
    binding.follow(ref, caption);
    const int row = entry.place.row - 1;
    const int column = (entry.place.column - 1) * kGridColumnsPerColumn;
    grid->addWidget(caption, row, column);
    grid->addWidget(box, row, column + 1);
    return box;
}

// What checking a transfer box does, for its tooltip and screen readers.
QString transferExplanation(int number, std::string_view first, std::string_view last) {
    return QStringLiteral(
               "While checked, the checked commodities of group %1 (%2 to %3) are copied into the commodity report "
               "(Tabs 7 and 8), which then follows every box of the group checked or cleared. While clear, the "
               "report is left alone.")
        .arg(number)
        .arg(toQString(first).trimmed(), toQString(last).trimmed());
}

void addTransferArea(QWidget* page, QGridLayout* grid, FieldBinding& binding) {
    const int column = (kTransferColumn - 1) * kGridColumnsPerColumn;
    for (const Instruction& line : kTransferInstruction)
        grid->addWidget(makeCaption(line.text, Look::Caption, page), line.row - 1, column, 1, 2);
    auto* boxes = new QWidget(page);
    auto* row = new QHBoxLayout(boxes);
    row->setContentsMargins(0, 0, 0, 0);
    int number = 1;
    for (const CommodityGroup& group : kCommodityGroups) {
        QWidget* box = binding.create({group.array, group.transferBox}, boxes);
        box->setAccessibleName(QStringLiteral("Get checked crops on Comm. Report, group %1").arg(number));
        const auto entries = groupEntries(group.array);
        const QString explanation = transferExplanation(number++, entries.front().caption, entries.back().caption);
        box->setToolTip(explanation);
        box->setAccessibleDescription(explanation);
        row->addWidget(box);
    }
    row->addStretch();
    grid->addWidget(boxes, kTransferRow - 1, column, 1, 2);
}

}  // namespace

void buildCommodityPage(int pageNumber, QWidget* page, FieldBinding& binding) {
    auto* grid = new QGridLayout(page);
    grid->setVerticalSpacing(2);
    std::vector<CommodityEntry> entries;
    for (const CommodityEntry& entry : catalogue())
        if (entry.place.page == pageNumber) entries.push_back(entry);
    // Created column by column, top to bottom: the keyboard order.
    std::stable_sort(entries.begin(), entries.end(), [](const CommodityEntry& a, const CommodityEntry& b) {
        return std::pair(a.place.column, a.place.row) < std::pair(b.place.column, b.place.row);
    });
    int columns = 0;
    QList<QAbstractButton*> boxes;
    for (const CommodityEntry& entry : entries) {
        boxes << addEntry(entry, page, grid, binding);
        columns = std::max(columns, entry.place.column);
    }
    new CommodityFind(boxes, page);
    if (pageNumber == 6) {
        addTransferArea(page, grid, binding);
        // Made last, so it ends the page's Tab walk: a Space typed between two
        // boxes never clears them all.
        QWidget* clear = binding.create({Control::Command5}, page, toQString(kClearButtonCaption));
        grid->addWidget(clear, kClearButtonCell.row, kClearButtonCell.column, kClearButtonCell.rowSpan,
                        kClearButtonCell.columnSpan, Qt::AlignVCenter);
        columns = kTransferColumn;
    }
    for (int c = 0; c < columns; ++c) grid->setColumnMinimumWidth(c * kGridColumnsPerColumn + 2, 12);
    grid->setColumnStretch(columns * kGridColumnsPerColumn, 1);
    grid->setRowStretch(18, 1);
}

}  // namespace kbt2::ui
