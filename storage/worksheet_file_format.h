#pragma once
// The text of a worksheet file: one value per line, lines ended by CR LF, the
// records in a fixed order with no keys. Writing and reading walk the same
// record table.

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "worksheet/worksheet.h"

namespace kbt2 {

// The whole file, UTF-8, every line ended by CR LF. Line breaks inside a text
// (the multi-line Infobox) are stored as bare line feeds.
std::string formatWorksheetFile(const Worksheet& ws);

// What loading a file does to the worksheet, in file order.
struct LoadStep {
    enum class Kind { SetText, Select, Check };
    Kind kind;
    FieldRef field;
    std::string text;  // SetText only
};

struct LoadPlan {
    std::vector<LoadStep> steps;
};

struct LoadError {
    int line = 0;        // 1-based number of the offending or missing line
    std::string reason;  // names the line
};

// Reads a whole file's text (already UTF-8) without touching any worksheet,
// so a bad file is refused before anything changes.
std::variant<LoadPlan, LoadError> parseWorksheetFile(std::string_view text);

// Sets fields, options and boxes in file order. Options and boxes are only
// set, never cleared, and raise their click events as a person's click does;
// the report rows come after the box lists, so they end as the file holds
// them.
void applyLoadPlan(Worksheet& ws, const LoadPlan& plan);

}  // namespace kbt2
