#include "commodities/transfer.h"

#include <gtest/gtest.h>

#include "commands/commodity_boxes.h"
#include "tests/core/selection_fixture.h"

namespace kbt2 {
namespace {

using testing_support::SelectionTest;
using Names = std::vector<std::string>;

const CommodityEntry& entry(Control array, int index) { return groupEntries(array)[static_cast<size_t>(index)]; }

class TransferPass : public SelectionTest {};

TEST_F(TransferPass, WaitsForTheTransferBoxThenAddsInIndexOrder) {
    check(Control::Crop, 1);  // Apples
    check(Control::Crop, 0);  // Almonds
    EXPECT_EQ(usedNames(), Names{});

    check(Control::Crop, 51);
    EXPECT_EQ(usedNames(), (Names{"Almonds", "Apples"}));
    EXPECT_EQ(code(0), "28");
    EXPECT_EQ(code(1), "54");
}

TEST_F(TransferPass, ARemovalFreesTheFirstRowForALaterAddOfTheSamePass) {
    check(Control::Crop, 1);
    check(Control::Crop, 0);
    check(Control::Crop, 51);

    check(Control::Crop, 0, false);  // Almonds leaves row 0, Apples is added again into it
    EXPECT_EQ(usedNames(), (Names{"Apples", "Apples"}));
}

TEST_F(TransferPass, AFreedRowTakesTheNextCheckedEntryOfHigherIndex) {
    check(Control::Crop, 1);
    check(Control::Crop, 51);
    check(Control::Crop, 51, false);
    check(Control::Crop, 1, false);
    check(Control::Crop, 2);  // Apricots
    EXPECT_EQ(usedNames(), Names{"Apples"});

    check(Control::Crop, 51);
    EXPECT_EQ(usedNames(), Names{"Apricots"});
    EXPECT_EQ(code(0), "98");
}

TEST_F(TransferPass, EveryPassAddsEveryCheckedEntryAgain) {
    check(Control::Crop, 0);
    check(Control::Crop, 51);
    check(Control::Crop, 51, false);  // clearing the transfer box runs nothing
    EXPECT_EQ(usedNames(), Names{"Almonds"});
    check(Control::Crop, 51);
    EXPECT_EQ(usedNames(), (Names{"Almonds", "Almonds"}));
}

TEST_F(TransferPass, FillsGapsFromTheTopAndWritesOnlyNameAndCode) {
    typeRow(0, "Typed");
    ws().setText({Control::Type1, 1}, "acre");
    ws().setText({Control::Expval1, 1}, "12.5");
    ws().setText({Control::Total1, 1}, "99");
    typeRow(2, "Kept");

    check(Control::Crop2, 32);  // Wheat
    check(Control::Crop2, 57);
    EXPECT_EQ(usedNames(), (Names{"Typed", "Wheat", "Kept"}));
    EXPECT_EQ(code(1), "11");
    EXPECT_EQ(ws().text({Control::Type1, 1}), "acre");
    EXPECT_EQ(ws().text({Control::Expval1, 1}), "12.5");
    EXPECT_EQ(ws().text({Control::Total1, 1}), "99");
}

TEST_F(TransferPass, ANameOfBlanksIsNotEmpty) {
    typeRow(0, " ");
    check(Control::Crop, 0);
    check(Control::Crop, 51);
    EXPECT_EQ(usedNames(), (Names{" ", "Almonds"}));
}

TEST_F(TransferPass, LeavesOutWhatFindsNoEmptyRowSilently) {
    for (int row = 0; row < kReportRows; ++row) typeRow(row, "Other " + std::to_string(row));
    const Names before = names();
    check(Control::Crop, 0);
    check(Control::Crop, 51);
    EXPECT_EQ(names(), before);
}

TEST_F(TransferPass, TheLastEmptyRowTakesTheLowestIndexOnly) {
    for (int row = 0; row < kReportRows - 1; ++row) typeRow(row, "Other " + std::to_string(row));
    check(Control::Crop, 1);
    check(Control::Crop, 0);
    check(Control::Crop, 51);
    EXPECT_EQ(names().back(), "Almonds");
}

TEST_F(TransferPass, OneTransferBoxStartsNoPassOfAnotherGroup) {
    check(Control::Crop, 0);
    check(Control::Crop2, 32);
    check(Control::Crop1, 27);  // Oats
    check(Control::Crop1, 51);
    EXPECT_EQ(usedNames(), Names{"Oats"});
    EXPECT_EQ(code(0), "16");
}

TEST_F(TransferPass, TakesTheFirstMatchingRowOnlyTypedRowsIncluded) {
    typeRow(0, "Wheat");  // typed by hand
    typeRow(1, "Corn", "40");
    typeRow(2, "Corn", "50");
    check(Control::Crop, 51);  // Corn is not checked
    EXPECT_EQ(names()[1], "");
    EXPECT_EQ(ws().text({Control::Intamt1, 1}), "");
    EXPECT_EQ(names()[2], "Corn");
    EXPECT_EQ(ws().text({Control::Intamt1, 2}), "50");
    EXPECT_EQ(names()[0], "Wheat");  // Wheat belongs to Crop2
}

TEST_F(TransferPass, ARemovalEmptiesAllEightFieldsOfTheRow) {
    typeRow(3, "Corn");
    for (Control field : kReportRowFields)
        if (field != Control::Cropname1) ws().setText({field, 3}, "x");
    check(Control::Crop, 51);
    for (Control field : kReportRowFields) EXPECT_EQ(ws().text({field, 3}), "") << refName({field, 3});
}

TEST_F(TransferPass, AnotherCommoditysRowKeepsItsAmounts) {
    // Alfalfa (Crop1) is not checked; the Alfalfa Seed row of Crop2 stays.
    check(Control::Crop2, 8);
    check(Control::Crop2, 57);
    ws().setText({Control::Intamt1, 0}, "20");
    check(Control::Crop1, 51);
    EXPECT_EQ(usedNames(), Names{"Alfalfa Seed"});
    EXPECT_EQ(ws().text({Control::Intamt1, 0}), "20");
}

TEST_F(TransferPass, HogFarrowLeavesTheFarrowFinishRowAlone) {
    check(Control::Crop2, 39);  // H: Farr/Fin
    check(Control::Crop2, 57);
    ws().setText({Control::Intamt1, 0}, "300");
    check(Control::Crop2, 32);  // a pass with H: Farrow not checked
    EXPECT_EQ(names()[0], "H: Farr/Fin");
    EXPECT_EQ(ws().text({Control::Intamt1, 0}), "300");
}

TEST_F(TransferPass, TheNurseryEntriesLeaveEachOthersRows) {
    check(Control::Crop1, 13);  // Nursery (Container)
    check(Control::Crop1, 26);  // Nursery (FG & C)
    check(Control::Crop1, 51);
    // Container is added again into row 2; FG & C takes its own row 1, not
    // the Container row above it.
    check(Control::Crop1, 26, false);
    EXPECT_EQ(names()[0], "Nursery (Container)");
    EXPECT_EQ(names()[1], "");
    EXPECT_EQ(names()[2], "Nursery (Container)");
}

// Command5 clears each box in turn; the pass of a cleared box runs to its end
// before the next box is cleared, and the rows are emptied last.
TEST_F(TransferPass, Command5RunsEachPassBeforeClearingTheNextBox) {
    check(Control::Crop, 0);
    check(Control::Crop, 1);
    check(Control::Crop, 51);
    std::vector<std::string> log;
    testing_support::recordChanges(ws(), log);

    form_.click(Control::Command5);
    EXPECT_EQ(log, (std::vector<std::string>{"Crop(0) value=0", "Cropname1(0) text=", "Unit1(0) text=",
                                             "Cropname1(0) text=Apples", "Unit1(0) text=54", "Crop(1) value=0",
                                             "Cropname1(0) text=", "Unit1(0) text=", "Crop(51) value=0",
                                             "Cropname1(1) text=", "Unit1(1) text="}));
}

TEST_F(TransferPass, Command5ClearsEveryBoxAndRowAndNothingElse) {
    check(Control::Crop, 0);
    check(Control::Crop, 51);
    check(Control::Crop1, 50);
    check(Control::Crop1, 51);
    check(Control::Crop2, 56);
    check(Control::Crop2, 57);
    typeRow(13, "Typed", "5");
    ws().setText({Control::Type1, 12}, "acre");
    ws().setText({Control::Text15, 1}, "556");
    ws().setText({Control::Text23, 0}, "100");

    form_.click(Control::Command5);
    for (const CommodityGroup& g : kCommodityGroups)
        for (int i = 0; i <= g.transferBox; ++i) EXPECT_FALSE(ws().checked({g.array, i})) << refName({g.array, i});
    for (int row = 0; row < kReportRows; ++row)
        for (Control field : kReportRowFields) EXPECT_EQ(ws().text({field, row}), "") << refName({field, row});
    EXPECT_EQ(ws().text({Control::Text15, 1}), "556");
    EXPECT_EQ(ws().text({Control::Text23, 0}), "100");

    // The transfer boxes are clear now: checking entries changes nothing.
    check(Control::Crop, 0);
    EXPECT_EQ(usedNames(), Names{});
}

struct PrefixCase {
    const char* name;
    Control array;
    int index;
    const char* row;
    bool taken;

    friend void PrintTo(const PrefixCase& c, std::ostream* os) { *os << c.name; }
};

class RemovalPrefix : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(RemovalPrefix, DecidesWhichRowsARemovalTakes) {
    const PrefixCase& c = GetParam();
    EXPECT_EQ(removalMatches(entry(c.array, c.index), c.row), c.taken);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, RemovalPrefix, ::testing::Values(
    PrefixCase{"OwnName",                       Control::Crop,  31, "Corn",                true},
    PrefixCase{"FirstSevenOfALongerName",       Control::Crop,  48, "Greenhouse Tomatoes", true},
    PrefixCase{"ExactlyThePrefix",              Control::Crop,  48, "Greenho",             true},
    PrefixCase{"ShorterThanThePrefix",          Control::Crop,  48, "Greenh",              false},
    PrefixCase{"TenCharacterPrefix",            Control::Crop1, 41, "Peppers (Oth",        true},
    PrefixCase{"TenCharacterPrefixMisspelled",  Control::Crop2, 18, "Sqaush (Ot",          true},
    PrefixCase{"ShortNameNeedsTheWholeName",    Control::Crop,  32, "Cotton, ELS",         false},
    PrefixCase{"CloverIsNotCloverSeed",         Control::Crop1, 5,  "Clover Seed",         false},
    PrefixCase{"HoneyIsNotHoneydew",            Control::Crop2, 53, "Honeydew",            false},
    PrefixCase{"EggsIsNotEggplant",             Control::Crop2, 51, "Eggplant",            false},
    PrefixCase{"CaseSensitive",                 Control::Crop,  31, "corn",                false},
    PrefixCase{"LeadingBlankCounts",            Control::Crop,  31, " Corn",               false},
    PrefixCase{"TrailingBlankCounts",           Control::Crop,  31, "Corn ",               false},
    PrefixCase{"EmptyRow",                      Control::Crop,  31, "",                    false},
    PrefixCase{"AlfalfaSkipsAlfalfaSeed",       Control::Crop1, 4,  "Alfalfa Seed",        false},
    PrefixCase{"AlfalfaTakesATypedAlfalfaHay",  Control::Crop1, 4,  "Alfalfa Hay",         true},
    PrefixCase{"FarrowSkipsFarrowFinish",       Control::Crop2, 38, "H: Farr/Fin",         false},
    PrefixCase{"ContainerSkipsFieldGrown",      Control::Crop1, 13, "Nursery (FG & C)",    false},
    PrefixCase{"FieldGrownSkipsContainer",      Control::Crop1, 26, "Nursery (Container)", false},
    PrefixCase{"NurseryTakesATypedNursery",     Control::Crop1, 26, "Nursery",             true}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// Every row that checking a box fills is found again by that box, and by no
// other entry of the catalogue.
TEST(RemovalPrefixCatalogue, EachReportNameIsTakenByItsOwnEntryOnly) {
    for (const CommodityEntry& e : catalogue()) {
        for (const CommodityEntry& other : catalogue())
            EXPECT_EQ(removalMatches(other, e.reportName), &other == &e)
                << other.reportName << " against a row " << e.reportName;
    }
}

}  // namespace
}  // namespace kbt2
