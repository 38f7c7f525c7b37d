#include "commands/paste.h"

#include <algorithm>

#include "calc/numbers.h"
#include "worksheet/report_rows.h"

namespace kbt2 {
namespace {

// clang-format off
constexpr Control kYearColumns[] = {Control::Allinc1, Control::Allexp1};
// The report's columns as far as a person fills them; the KBT column after
// them is the program's.
constexpr Control kReportColumns[] = {
    Control::Cropname1, Control::Type1, Control::Unit1, Control::YearProd,
    Control::Intamt1,   Control::Totamt1, Control::Expval1,
};
// clang-format on
static_assert(std::equal(std::begin(kReportColumns), std::end(kReportColumns), std::begin(kReportRowFields)));

const PasteTable kYears{kYearColumns, 5};
const PasteTable kReport{kReportColumns, kReportRows};

// True when the commas of `digits` (no sign, no dollar) group its whole
// part in threes, as a spreadsheet shows thousands: "1,234,567.5".
bool groupedInThrees(std::string_view digits) {
    const std::string_view whole = digits.substr(0, digits.find('.'));
    if (whole.find(',') == std::string_view::npos) return true;
    size_t run = 0;
    bool first = true;
    for (char c : whole) {
        if (c != ',') {
            ++run;
            continue;
        }
        if (run == 0 || run > 3 || (!first && run != 3)) return false;
        first = false;
        run = 0;
    }
    return run == 3;
}

// A spreadsheet's number as the worksheet holds numbers: without a leading
// dollar sign and without the commas that group thousands. Nothing when the
// cell is not a number, or its commas could be a decimal comma ("1,5").
std::optional<std::string> asNumberText(const std::string& cell) {
    std::string_view rest = cell;
    std::string sign;
    if (rest.starts_with('-')) {
        sign = "-";
        rest.remove_prefix(1);
    }
    if (rest.starts_with('$')) rest.remove_prefix(1);
    if (sign.empty() && rest.starts_with('-')) {
        sign = "-";
        rest.remove_prefix(1);
    }
    if (!groupedInThrees(rest)) return std::nullopt;
    std::string text = sign;
    for (char c : rest)
        if (c != ',') text += c;
    if (!isNumeric(text) || hasCommaOrDollar(text)) return std::nullopt;
    return text;
}

std::string trimmed(const std::string& cell) {
    const size_t first = cell.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return cell.substr(first, cell.find_last_not_of(" \t") - first + 1);
}

}  // namespace

const PasteTable& yearsTable() { return kYears; }
const PasteTable& reportTable() { return kReport; }

const PasteTable* pasteTableOf(FieldRef field) {
    for (const PasteTable* table : {&kYears, &kReport})
        if (std::ranges::find(table->columns, field.control) != table->columns.end()) return table;
    return nullptr;
}

std::vector<std::vector<std::string>> pastedCells(std::string_view text) {
    if (text.ends_with('\n')) text.remove_suffix(1);
    if (text.ends_with('\r')) text.remove_suffix(1);
    std::vector<std::vector<std::string>> rows;
    if (text.empty()) return rows;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (line.ends_with('\r')) line.remove_suffix(1);
        std::vector<std::string> cells;
        size_t cell = 0;
        while (true) {
            const size_t tab = line.find('\t', cell);
            cells.emplace_back(line.substr(cell, tab == std::string_view::npos ? line.npos : tab - cell));
            if (tab == std::string_view::npos) break;
            cell = tab + 1;
        }
        rows.push_back(std::move(cells));
        start = end + 1;
    }
    return rows;
}

std::variant<PastePlan, PasteRefusal> planPaste(const PasteTable& table, FieldRef focused,
                                                const std::vector<std::vector<std::string>>& cells) {
    const auto firstColumn = std::ranges::find(table.columns, focused.control) - table.columns.begin();
    PastePlan plan;
    for (size_t r = 0; r < cells.size(); ++r)
        for (size_t c = 0; c < cells[r].size(); ++c) {
            const int row = focused.index + static_cast<int>(r);
            const auto column = firstColumn + static_cast<std::ptrdiff_t>(c);
            const std::string cell = trimmed(cells[r][c]);
            PasteRefusal refusal{PasteRefusal::Kind::OutsideTable, static_cast<int>(r) + 1, static_cast<int>(c) + 1,
                                 cells[r][c], std::nullopt};
            if (row >= table.rows || column >= static_cast<std::ptrdiff_t>(table.columns.size())) return refusal;
            const FieldRef field{table.columns[static_cast<size_t>(column)], row};
            if (info(field.control).kind != Kind::Masked || cell.empty()) {
                plan.push_back({field, cell});
                continue;
            }
            const std::optional<std::string> number = asNumberText(cell);
            if (!number) {
                refusal.kind = PasteRefusal::Kind::NotANumber;
                refusal.field = field;
                return refusal;
            }
            plan.push_back({field, *number});
        }
    return plan;
}

std::string pasteRefusalWords(const PasteRefusal& refusal, std::string_view caption) {
    const std::string cell = "The pasted cell in row " + std::to_string(refusal.row) + ", column " +
                             std::to_string(refusal.column) + " (\"" + refusal.text + "\")";
    switch (refusal.kind) {
    case PasteRefusal::Kind::OutsideTable: return cell + " falls outside the table; nothing was pasted.";
    case PasteRefusal::Kind::NotANumber:
        return cell + " is not a number, which " + std::string(caption) + " must be; nothing was pasted.";
    }
    return cell + " does not fit; nothing was pasted.";
}

}  // namespace kbt2
