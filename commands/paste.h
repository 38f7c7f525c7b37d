#pragma once
// A block of cells pasted from a spreadsheet into the five tax years (page 3)
// or the commodity report (pages 7 and 8): tab-separated cells, one line per
// row. The block lands on the table from the focused field to the right and
// down; it is applied whole or not at all, as one step of the history.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "worksheet/worksheet.h"

namespace kbt2 {

// A table that takes pastes: its columns are field arrays, its rows their
// elements.
struct PasteTable {
    std::span<const Control> columns;
    int rows;
};

// The years (a row per year: income, then expenses) and the commodity
// report (a row per commodity, its columns as the page shows them up to the
// expected value; its KBT is the program's).
const PasteTable& yearsTable();
const PasteTable& reportTable();
// The table whose columns hold `field`; nothing when it takes no pastes.
const PasteTable* pasteTableOf(FieldRef field);

// The cells of a clipboard text: lines split at LF or CR LF, cells at tabs;
// one final line end is no row of its own.
std::vector<std::vector<std::string>> pastedCells(std::string_view text);

struct PasteEdit {
    FieldRef field;
    std::string text;
};
using PastePlan = std::vector<PasteEdit>;

// Why a paste was refused: its cell (1-based, row then column of the block),
// the cell's text, and the field it would have landed on (none when it falls
// outside the table).
struct PasteRefusal {
    enum class Kind { OutsideTable, NotANumber };
    Kind kind;
    int row = 0;
    int column = 0;
    std::string text;
    std::optional<FieldRef> field;
};

// The edits that put `cells` on `table` from `focused` on, or why a cell does
// not fit: it falls outside the table, or is not a number where the field
// holds one. A number is written as the worksheet holds numbers (a leading
// dollar sign and digit-grouping commas, as spreadsheets copy them, left
// out); an empty cell empties its field.
std::variant<PastePlan, PasteRefusal> planPaste(const PasteTable& table, FieldRef focused,
                                                const std::vector<std::vector<std::string>>& cells);

// The refusal in words, `caption` naming the field the cell would have
// landed on.
std::string pasteRefusalWords(const PasteRefusal& refusal, std::string_view caption);

}  // namespace kbt2
