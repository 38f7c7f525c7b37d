// Blocks of spreadsheet cells pasted into the years and the commodity report:
// where each cell lands, how numbers are written, and which blocks are
// refused whole.

#include "commands/paste.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kbt2 {
namespace {

struct PasteCase {
    const char* name;
    FieldRef focused;
    const char* clipboard;
    // "REF=TEXT" per edit, in order; or the refusal as "row,column kind".
    std::vector<std::string> expected;
};
void PrintTo(const PasteCase& c, std::ostream* os) { *os << c.name; }

std::vector<std::string> outcome(const PasteCase& c) {
    const PasteTable* table = pasteTableOf(c.focused);
    if (!table) return {"no table"};
    const auto plan = planPaste(*table, c.focused, pastedCells(c.clipboard));
    std::vector<std::string> lines;
    if (const auto* refusal = std::get_if<PasteRefusal>(&plan)) {
        const bool number = refusal->kind == PasteRefusal::Kind::NotANumber;
        lines.push_back(std::to_string(refusal->row) + "," + std::to_string(refusal->column) +
                        (number ? " not a number at " + refName(*refusal->field) : " outside"));
        return lines;
    }
    for (const PasteEdit& edit : std::get<PastePlan>(plan)) lines.push_back(refName(edit.field) + "=" + edit.text);
    return lines;
}

class Pasting : public testing::TestWithParam<PasteCase> {};

TEST_P(Pasting, LandsOrIsRefusedWhole) { EXPECT_EQ(outcome(GetParam()), GetParam().expected); }

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, Pasting, testing::Values(
    PasteCase{"YearsAsASpreadsheetCopiesThem", {Control::Allinc1, 0},
              "$100,000\t60,500\r\n110000\t62000\r\n",
              {"Allinc1(0)=100000", "Allexp1(0)=60500", "Allinc1(1)=110000", "Allexp1(1)=62000"}},
    PasteCase{"FromTheFocusedYearOn", {Control::Allinc1, 3}, "1.5\t2\n3\t-4",
              {"Allinc1(3)=1.5", "Allexp1(3)=2", "Allinc1(4)=3", "Allexp1(4)=-4"}},
    PasteCase{"AnEmptyCellEmptiesItsField", {Control::Allinc1, 0}, "\t5\n7\t",
              {"Allinc1(0)=", "Allexp1(0)=5", "Allinc1(1)=7", "Allexp1(1)="}},
    PasteCase{"ASixthYearFallsOutside", {Control::Allinc1, 0}, "1\n2\n3\n4\n5\n6", {"6,1 outside"}},
    PasteCase{"ExpensesHaveNothingRightOfThem", {Control::Allexp1, 0}, "1\t2", {"1,2 outside"}},
    PasteCase{"ADecimalCommaIsNoThousands", {Control::Allinc1, 0}, "100\t1,5", {"1,2 not a number at Allexp1(0)"}},
    PasteCase{"WordsAreNoIncome", {Control::Allinc1, 0}, "100\t50\nn/a\t50", {"2,1 not a number at Allinc1(1)"}},
    PasteCase{"ReportRowsAndColumns", {Control::Cropname1, 2},
              "Corn\tCrop\t41\t1998\t100\t12,000\t$2.10\nMilk\tLivestock\t844\t1998\t50\t900\t15",
              {"Cropname1(2)=Corn", "Type1(2)=Crop", "Unit1(2)=41", "YearProd(2)=1998", "Intamt1(2)=100",
               "Totamt1(2)=12000", "Expval1(2)=2.10", "Cropname1(3)=Milk", "Type1(3)=Livestock", "Unit1(3)=844",
               "YearProd(3)=1998", "Intamt1(3)=50", "Totamt1(3)=900", "Expval1(3)=15"}},
    PasteCase{"TheKbtColumnIsTheProgramsOwn", {Control::Expval1, 0}, "5\t6", {"1,2 outside"}},
    PasteCase{"PastTheFourteenthRow", {Control::Cropname1, 13}, "Corn\nMilk", {"2,1 outside"}},
    PasteCase{"PageOneTakesNoPaste", {Control::Producer1}, "a\tb", {"no table"}}
));
// clang-format on

}  // namespace
}  // namespace kbt2
