#include "storage/report.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "storage_test_support.h"

namespace kbt2 {
namespace {

using Lines = std::vector<std::string>;

PrintItem txt(const char* text) { return PrintItem::textItem(text); }
PrintItem col(int column) { return PrintItem::columnItem(column); }

struct ColumnCase {
    const char* name;
    PrintLine line;
    Lines expected;

    friend void PrintTo(const ColumnCase& c, std::ostream* os) { *os << c.name; }
};

class ColumnMoves : public testing::TestWithParam<ColumnCase> {};

TEST_P(ColumnMoves, PadOrGoToTheNextLine) { EXPECT_EQ(renderPlainText({{GetParam().line}}), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Lines, ColumnMoves,
    testing::Values(ColumnCase{"PadsToTheColumn", {txt("ab"), col(5), txt("c")}, {"ab  c"}},
                    ColumnCase{"AtTheColumnStays", {txt("abcd"), col(5), txt("x")}, {"abcdx"}},
                    ColumnCase{"PastTheColumnWraps", {txt("abcde"), col(5), txt("x")}, {"abcde", "    x"}},
                    ColumnCase{"ColumnOneAtTheStart", {col(1), txt("x")}, {"x"}},
                    ColumnCase{"MovesWithoutText", {col(3), col(6)}, {"     "}},
                    ColumnCase{
                        "WrapsTwice", {txt("abcdef"), col(3), txt("xyz"), col(2), txt("!")}, {"abcdef", "  xyz", " !"}},
                    ColumnCase{"CountsCharactersNotBytes", {txt("Zoë"), col(5), txt("x")}, {"Zoë x"}},
                    ColumnCase{"EmptyLine", {}, {""}}),
    [](const auto& info) { return std::string(info.param.name); });

// The report as the stand-in printer shows it: trailing blanks dropped.
Lines report(const Worksheet& ws) {
    Lines lines = renderPlainText(composeReport(ws));
    for (std::string& line : lines) line.erase(line.find_last_not_of(' ') + 1);
    return lines;
}

bool has(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// `text` placed at 1-based `column` of a line already holding `line`.
std::string at(std::string line, int column, const std::string& text) {
    line.resize(static_cast<size_t>(column - 1), ' ');
    return line + text;
}

TEST(Report, PrintsTheLinesOfTheSelectedIdentificationAndMethod) {
    Worksheet ws;
    ws.setText({Control::SSNEIN}, "12-345");
    ws.setText({Control::AgentCode}, "A7");
    const std::string tail = at(at(at("", 25, "12-345"), 50, "Agent Code:"), 75, "A7");
    Lines lines = report(ws);
    EXPECT_TRUE(has(lines, "SSN:" + tail.substr(4)));
    EXPECT_FALSE(has(lines, "EIN:" + tail.substr(4)));
    EXPECT_TRUE(has(lines, at("IRS Accounting Method:", 30, "Cash")));

    ws.select({Control::EIN});
    ws.select({Control::IRSAcc});
    lines = report(ws);
    EXPECT_TRUE(has(lines, "EIN:" + tail.substr(4)));
    EXPECT_FALSE(has(lines, "SSN:" + tail.substr(4)));
    EXPECT_TRUE(has(lines, at("IRS Accounting Method:", 30, "Accrural")));
    EXPECT_FALSE(has(lines, at("IRS Accounting Method:", 30, "Cash")));
}

TEST(Report, ALongFirstColumnPushesTheSecondToTheNextLine) {
    Worksheet ws;
    ws.setText({Control::Agent1}, "Agency");
    ws.setText({Control::Producer1}, std::string(49, 'p'));
    EXPECT_TRUE(has(report(ws), std::string(49, 'p') + "Agency"));

    ws.setText({Control::Producer1}, std::string(50, 'p'));
    const Lines lines = report(ws);
    const auto first = std::find(lines.begin(), lines.end(), std::string(50, 'p'));
    ASSERT_NE(first, lines.end());
    EXPECT_EQ(*(first + 1), at("", 50, "Agency"));
}

// The commodity rows stand between the second rule of 139 dashes and the
// three blank lines after it.
Lines commodityRows(const Lines& lines) {
    const std::string rule(139, '-');
    const auto second = std::find(std::find(lines.begin(), lines.end(), rule) + 1, lines.end(), rule);
    const auto premium = std::find(second, lines.end(), at("", 26, "Calculate Premium"));
    EXPECT_EQ(Lines(premium - 3, premium), Lines(3, ""));
    return Lines(second + 1, premium - 3);
}

struct RowCountCase {
    const char* name;
    const char* croptext;
    int rows;

    friend void PrintTo(const RowCountCase& c, std::ostream* os) { *os << c.name; }
};

class CommodityRowCount : public testing::TestWithParam<RowCountCase> {};

TEST_P(CommodityRowCount, FollowsCroptextUpToTheRowsThatExist) {
    Worksheet ws;
    for (int i = 0; i < 14; ++i) ws.setText({Control::Cropname1, i}, "row " + std::to_string(i));
    ws.setText({Control::Croptext}, GetParam().croptext);
    const Lines rows = commodityRows(report(ws));
    ASSERT_EQ(static_cast<int>(rows.size()), GetParam().rows);
    for (int i = 0; i < GetParam().rows; ++i) EXPECT_EQ(rows[static_cast<size_t>(i)], "row " + std::to_string(i));
}

INSTANTIATE_TEST_SUITE_P(Croptext, CommodityRowCount,
                         testing::Values(RowCountCase{"Empty", "", 0}, RowCountCase{"Three", "3", 3},
                                         RowCountCase{"Fourteen", "14", 14}, RowCountCase{"Twenty", "20", 14},
                                         RowCountCase{"Huge", "1e300", 14}, RowCountCase{"Fraction", "2.5", 3},
                                         RowCountCase{"LeadingNumber", " 2 crops", 2},
                                         RowCountCase{"Negative", "-4", 0}, RowCountCase{"Letters", "abc", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Report, PlacesACommodityRowInItsColumns) {
    Worksheet ws;
    const char* values[] = {"Corn", "bu", "41", "5", "100", "12000", "2.5", "30000"};
    const Control fields[] = {Control::Cropname1, Control::Type1,   Control::Unit1,   Control::YearProd,
                              Control::Intamt1,   Control::Totamt1, Control::Expval1, Control::Total1};
    for (int k = 0; k < 8; ++k) ws.setText({fields[k], 1}, values[k]);
    ws.setText({Control::Croptext}, "2");
    std::string expected = "Corn";
    const int columns[] = {21, 32, 44, 53, 69, 85, 98};
    for (int k = 1; k < 8; ++k) expected = at(expected, columns[k - 1], values[k]);
    EXPECT_EQ(commodityRows(report(ws)), (Lines{"", expected}));
}

TEST(Report, PlacesThePremiumTableInItsColumns) {
    Worksheet ws;
    ws.setText({Control::Text17, 0}, "1");
    ws.setText({Control::Text17, 1}, "22");
    ws.setText({Control::Text17, 2}, "333");
    EXPECT_TRUE(has(report(ws), at(at(at("Subsidy", 32, "1"), 44, "22"), 56, "333")));
}

TEST(Report, PrintsEachLineOfAFieldFromTheColumnWhereItBegan) {
    Worksheet ws;
    ws.setText({Control::Infobox}, "first\nsecond\r\nthird");
    ws.setText({Control::Producer1}, "Farm\nLLC");
    ws.setText({Control::Agent1}, "Agency");
    const Lines lines = report(ws);
    const auto changes = std::find(lines.begin(), lines.end(), "Report of Changes");
    EXPECT_EQ(Lines(changes + 1, lines.end()), (Lines{" first", " second", " third"}));
    EXPECT_EQ(lines[2], "Farm");
    EXPECT_EQ(lines[3], at("LLC", 50, "Agency"));
}

}  // namespace
}  // namespace kbt2
