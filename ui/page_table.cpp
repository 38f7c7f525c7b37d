#include "ui/page_table.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <algorithm>
#include <map>
#include <vector>

#include "paint/qt_text.h"
#include "ui/field_binding.h"

namespace kbt2::ui {
namespace {

void setStretch(QGridLayout* grid, std::string_view columns, std::string_view rows) {
    for (size_t i = 0; i < columns.size(); ++i) grid->setColumnStretch(static_cast<int>(i), columns[i] - '0');
    for (size_t i = 0; i < rows.size(); ++i) grid->setRowStretch(static_cast<int>(i), rows[i] - '0');
}

void add(QGridLayout* grid, QWidget* widget, const Cell& cell, Qt::Alignment alignment = {}) {
    grid->addWidget(widget, cell.row, cell.column, cell.rowSpan, cell.columnSpan, alignment);
}

}  // namespace

QLabel* makeCaption(std::string_view text, Look look, QWidget* parent) {
    auto* label = new QLabel(toQString(text), parent);
    // Captions are shown as written: leading blanks indent, nothing is markup.
    label->setTextFormat(Qt::PlainText);
    switch (look) {
    case Look::Caption: break;
    case Look::Heading:
        label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        label->setWordWrap(true);
        break;
    case Look::Notice: label->setWordWrap(true); break;
    case Look::Lead: label->setAlignment(Qt::AlignRight | Qt::AlignVCenter); break;
    }
    return label;
}

void layPage(QWidget* page, const PageTable& table, FieldBinding& binding) {
    std::map<int, QWidget*> frames;
    std::map<int, QGridLayout*> grids;
    for (const FrameItem& frame : table.frames) {
        QWidget* widget = page;
        if (frame.parent >= 0) {
            QWidget* parent = frames.at(frame.parent);
            widget = frame.title.empty() ? new QWidget(parent) : new QGroupBox(toQString(frame.title), parent);
        }
        auto* grid = new QGridLayout(widget);
        if (frame.parent >= 0 && frame.title.empty()) grid->setContentsMargins(0, 0, 0, 0);
        setStretch(grid, frame.columnStretch, frame.rowStretch);
        if (frame.rowSpacing >= 0) grid->setVerticalSpacing(frame.rowSpacing);
        if (frame.parent >= 0) add(grids.at(frame.parent), widget, frame.cell);
        frames[frame.id] = widget;
        grids[frame.id] = grid;
    }
    for (const CaptionItem& caption : table.captions)
        add(grids.at(caption.frame), makeCaption(caption.text, caption.look, frames.at(caption.frame)), caption.cell);
    for (const FieldItem& item : table.fields) {
        const Kind kind = info(item.field.control).kind;
        const bool ownCaption = kind == Kind::Option || kind == Kind::Button;
        QWidget* widget =
            binding.create(item.field, frames.at(item.frame), ownCaption ? toQString(item.text) : QString());
        if (!ownCaption && !item.text.empty()) widget->setAccessibleName(toQString(item.text));
        // A button keeps its own width instead of filling its cell.
        add(grids.at(item.frame), widget, item.cell, kind == Kind::Button ? Qt::AlignLeft : Qt::Alignment());
    }
    // An empty row between filled ones is a blank line, not nothing.
    for (const auto& [id, grid] : grids) {
        const int line = frames.at(id)->fontMetrics().height();
        std::vector<bool> filled(static_cast<size_t>(grid->rowCount()), false);
        for (int i = 0; i < grid->count(); ++i) {
            int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
            grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
            for (int r = row; r < row + rowSpan; ++r) filled[static_cast<size_t>(r)] = true;
        }
        const auto last = std::find(filled.rbegin(), filled.rend(), true);
        const int lastFilled = static_cast<int>(filled.rend() - last) - 1;
        for (int row = 0; row < lastFilled; ++row)
            if (!filled[static_cast<size_t>(row)]) grid->setRowMinimumHeight(row, line);
    }
}

}  // namespace kbt2::ui
