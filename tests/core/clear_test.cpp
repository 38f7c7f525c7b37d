#include "commands/clear.h"

#include <gtest/gtest.h>

#include "commodities/catalogue.h"
#include "tests/core/selection_fixture.h"

namespace kbt2 {
namespace {

using testing_support::SelectionTest;

class Clear : public SelectionTest {
protected:
    // Every text field gets a value, every commodity box and one county is set.
    void fillEverything() {
        for (const ControlInfo& c : kControls)
            if (c.kind == Kind::Text || c.kind == Kind::Masked)
                for (int i = 0; i < c.slots(); ++i) ws().setText({c.control, i}, "7");
        ws().select({Control::EIN});
        ws().select({Control::IRSAcc});
        ws().select({Control::St, 4});  // Florida hides Cherry, Sweet
        ws().select({Control::Ma1, 13});
        for (const CommodityGroup& g : kCommodityGroups)
            for (int i = 0; i <= g.transferBox; ++i) check(g.array, i);
        ws().setVisible({Control::Text23, 2}, false);  // as a premium calculation hides a column
    }

    void click() { form_.click(Control::Clear); }
};

TEST_F(Clear, EmptiesEveryTextButTheTwoNamesAndClearsEveryBoxAndOption) {
    fillEverything();
    click();
    for (const ControlInfo& c : kControls) {
        for (int i = 0; i < c.slots(); ++i) {
            const FieldRef f{c.control, i};
            switch (c.kind) {
            case Kind::Text:
            case Kind::Masked: {
                const bool kept = c.control == Control::statename || c.control == Control::countyname;
                EXPECT_EQ(ws().text(f), kept ? "7" : "") << refName(f);
                break;
            }
            case Kind::Check: EXPECT_FALSE(ws().checked(f)) << refName(f); break;
            case Kind::Option: {
                const bool kept = c.control == Control::EIN || c.control == Control::IRSAcc;
                EXPECT_EQ(ws().selected(f), kept) << refName(f);
                break;
            }
            case Kind::Button: break;
            }
        }
    }
}

TEST_F(Clear, KeepsVisibilityAndRunsNoStateHandler) {
    fillEverything();
    std::vector<std::string> log;
    testing_support::recordChanges(ws(), log);
    click();
    EXPECT_FALSE(ws().visible({Control::Crop, 21}));  // hidden by Florida, stays hidden
    EXPECT_FALSE(ws().visible({Control::Text23, 2}));
    EXPECT_TRUE(ws().visible({Control::Crop, 28}));
    for (const std::string& change : log) EXPECT_EQ(change.find("visible="), std::string::npos) << change;

    // The next state chosen sets visibility as usual.
    ws().select({Control::St, 0});
    EXPECT_TRUE(ws().visible({Control::Crop, 21}));
}

// Clearing a checked box with its transfer box checked runs a pass; the rows
// are emptied after the boxes, so nothing of those passes is left.
TEST_F(Clear, LeavesNoRowThatAPassWroteWhileBoxesWereCleared) {
    check(Control::Crop, 0);
    check(Control::Crop1, 27);
    check(Control::Crop2, 32);
    for (const CommodityGroup& g : kCommodityGroups) check(g.array, g.transferBox);
    ASSERT_EQ(usedNames(), (std::vector<std::string>{"Almonds", "Oats", "Wheat"}));
    ws().setText({Control::Intamt1, 2}, "10");

    click();
    for (int row = 0; row < kReportRows; ++row)
        for (Control field : kReportRowFields) EXPECT_EQ(ws().text({field, row}), "") << refName({field, row});
}

TEST_F(Clear, ChangesNothingOnAnEmptyWorksheet) {
    std::vector<std::string> log;
    testing_support::recordChanges(ws(), log);
    click();
    EXPECT_EQ(log, std::vector<std::string>{});
    EXPECT_TRUE(ws().selected({Control::SSN}));
    EXPECT_TRUE(ws().selected({Control::IRSCash}));
}

TEST_F(Clear, ClearsTheBoxesInArrayAndIndexOrderBeforeTheRows) {
    check(Control::Crop2, 3);
    check(Control::Crop, 40);
    check(Control::Crop1, 0);
    typeRow(0, "Typed");
    std::vector<std::string> log;
    testing_support::recordChanges(ws(), log);
    click();
    EXPECT_EQ(log, (std::vector<std::string>{"Crop(40) value=0", "Crop1(0) value=0", "Crop2(3) value=0",
                                             "Cropname1(0) text="}));
}

// With the transfer box checked, each cleared box's pass has run to its end
// before the next box is cleared.
TEST_F(Clear, RunsEachPassBeforeClearingTheNextBox) {
    check(Control::Crop, 0);
    check(Control::Crop, 1);
    check(Control::Crop, 51);
    std::vector<std::string> log;
    testing_support::recordChanges(ws(), log);
    click();
    EXPECT_EQ(log, (std::vector<std::string>{"Crop(0) value=0", "Cropname1(0) text=", "Unit1(0) text=",
                                             "Cropname1(0) text=Apples", "Unit1(0) text=54", "Crop(1) value=0",
                                             "Cropname1(0) text=", "Unit1(0) text=", "Crop(51) value=0",
                                             "Cropname1(1) text=", "Unit1(1) text="}));
}

TEST_F(Clear, Command1ClosesTheWindowAndTouchesNothing) {
    ws().setText({Control::Producer1}, "unsaved");
    form_.click(Control::Command1);
    EXPECT_EQ(platform_.closed, 1);
    EXPECT_EQ(ws().text({Control::Producer1}), "unsaved");
}

}  // namespace
}  // namespace kbt2
