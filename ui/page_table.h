#pragma once
// The layout of a page as data: frames (grids inside grids), captions and
// fields, each at a cell of its frame's grid. Frame 0 is the page itself.
// Fields are created in table order, which is also the keyboard order.

#include <QLabel>
#include <QWidget>
#include <span>
#include <string_view>

#include "worksheet/controls.h"

namespace kbt2::ui {

class FieldBinding;

struct Cell {
    int row = 0;
    int column = 0;
    int rowSpan = 1;
    int columnSpan = 1;
};

// A frame with a title is drawn as a box; without, it only groups.
// Stretch: one digit per column (row) of its grid, the share of extra space
// that column (row) takes; missing digits are 0.
struct FrameItem {
    int id;
    int parent;
    std::string_view title;
    Cell cell;
    std::string_view columnStretch;
    std::string_view rowStretch;
    int rowSpacing = -1;  // pixels between rows; -1: the style's
};

enum class Look {
    Caption,  // a caption beside or above a field
    Heading,  // a column heading: centred, may wrap
    Notice,   // a sentence for the user: wraps
    Lead,     // a caption that leads into the field on its right: right-aligned
};

struct CaptionItem {
    std::string_view text;
    int frame;
    Cell cell;
    Look look = Look::Caption;
};

// `text` is the caption the widget shows itself (option buttons, buttons; a
// '&' marks a button's Alt key letter); for other fields it is the caption
// that labels them, which becomes their accessible name.
struct FieldItem {
    FieldRef field;
    std::string_view text;
    int frame;
    Cell cell;
};

struct PageTable {
    std::span<const FrameItem> frames;
    std::span<const CaptionItem> captions;
    std::span<const FieldItem> fields;
};

// Builds the table's frames, captions and fields into `page`.
void layPage(QWidget* page, const PageTable& table, FieldBinding& binding);

// A caption label as every page shows it.
QLabel* makeCaption(std::string_view text, Look look, QWidget* parent);

}  // namespace kbt2::ui
