#include <gtest/gtest.h>

#include <set>

#include "commands/state.h"
#include "location/states.h"
#include "tests/core/selection_fixture.h"

namespace kbt2 {
namespace {

using testing_support::SelectionTest;

constexpr FieldRef kOranges{Control::Crop, 28};
constexpr FieldRef kCherrySweet{Control::Crop, 21};

// The boxes a state never shows or hides: the last entries and the transfer boxes.
constexpr FieldRef kUntouched[] = {{Control::Crop, 50},  {Control::Crop, 51},  {Control::Crop1, 50},
                                   {Control::Crop1, 51}, {Control::Crop2, 56}, {Control::Crop2, 57}};

class StateClick : public SelectionTest {
protected:
    std::set<std::string> hidden() {
        std::set<std::string> out;
        for (Control array : {Control::Crop, Control::Crop1, Control::Crop2})
            for (int i = 0; i < info(array).elements; ++i)
                if (!ws().visible({array, i})) out.insert(refName({array, i}));
        return out;
    }
};

struct StateCase {
    const char* name;
    int state;
    bool HiddenBox::*list;
    size_t count;

    friend void PrintTo(const StateCase& c, std::ostream* os) { *os << c.name; }
};

class StateHides : public StateClick, public ::testing::WithParamInterface<StateCase> {};

// Start from a window in which every box a state may touch is hidden: the
// handler must show all of them first, then hide exactly its own list.
TEST_P(StateHides, ExactlyItsListWhateverWasHiddenBefore) {
    const StateCase& c = GetParam();
    for (Control array : {Control::Crop, Control::Crop1})
        for (int i = 0; i < 50; ++i) ws().setVisible({array, i}, false);
    for (int i = 0; i < 56; ++i) ws().setVisible({Control::Crop2, i}, false);

    ws().select({Control::St, c.state});
    std::set<std::string> expected;
    for (const HiddenBox& box : hiddenBoxes())
        if (box.*c.list) expected.insert(refName({box.array, box.index}));
    EXPECT_EQ(hidden(), expected);
    EXPECT_EQ(hidden().size(), c.count);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(States, StateHides, ::testing::Values(
    StateCase{"Michigan",      0, &HiddenBox::michigan,   28},
    StateCase{"Maine",         1, &HiddenBox::newEngland, 30},
    StateCase{"Massachusetts", 2, &HiddenBox::newEngland, 30},
    StateCase{"NewHampshire",  3, &HiddenBox::newEngland, 30},
    StateCase{"Florida",       4, &HiddenBox::florida,    35}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(StateClick, MichiganThenFloridaSwapsOrangesAndCherrySweet) {
    ws().select({Control::St, 0});
    EXPECT_FALSE(ws().visible(kOranges));
    EXPECT_TRUE(ws().visible(kCherrySweet));
    ws().select({Control::St, 4});
    EXPECT_TRUE(ws().visible(kOranges));
    EXPECT_FALSE(ws().visible(kCherrySweet));
}

TEST_F(StateClick, MaineThenMassachusettsHidesTheSameThirty) {
    ws().select({Control::St, 1});
    const auto maine = hidden();
    ws().select({Control::St, 2});
    EXPECT_EQ(hidden(), maine);
    EXPECT_EQ(maine.size(), 30u);
}

TEST_F(StateClick, NeverTouchesTheLastEntriesAndTheTransferBoxes) {
    for (FieldRef box : kUntouched) ws().setVisible(box, false);
    ws().select({Control::St, 4});
    for (FieldRef box : kUntouched) EXPECT_FALSE(ws().visible(box)) << refName(box);

    for (FieldRef box : kUntouched) ws().setVisible(box, true);
    ws().select({Control::St, 0});
    for (FieldRef box : kUntouched) EXPECT_TRUE(ws().visible(box)) << refName(box);
}

TEST_F(StateClick, AHiddenBoxKeepsItsCheckAndItsRow) {
    ws().select({Control::St, 4});
    check(Control::Crop, 28);  // Oranges
    check(Control::Crop, 51);
    std::vector<std::string> log;
    testing_support::recordChanges(ws(), log);

    ws().select({Control::St, 0});
    EXPECT_FALSE(ws().visible(kOranges));
    EXPECT_TRUE(ws().checked(kOranges));
    EXPECT_EQ(usedNames(), std::vector<std::string>{"Oranges"});
    // Only visibility and the state options changed: no check value, no row.
    for (const std::string& change : log)
        EXPECT_TRUE(change.find("visible=") != std::string::npos || change.rfind("St(", 0) == 0) << change;
}

TEST_F(StateClick, RunsOnceWhenAStateBecomesSelectedAndNotOnDeselection) {
    ws().select({Control::St, 0});
    std::vector<std::string> log;
    testing_support::recordChanges(ws(), log);
    ws().select({Control::St, 0});  // already selected: nothing
    ws().deselect({Control::St, 0});
    EXPECT_EQ(log, std::vector<std::string>{"St(0) value=0"});
    EXPECT_FALSE(ws().visible(kOranges));
}

TEST_F(StateClick, DoesNothingWithoutASelectedState) {
    ws().setVisible(kOranges, false);
    stateClick(ws());
    EXPECT_FALSE(ws().visible(kOranges));
    EXPECT_TRUE(hidden().size() == 1);
}

TEST_F(StateClick, CountyOfAnotherStateIsAcceptedAndCodedAsSelected) {
    EXPECT_EQ(selectedStateCode(ws()), 0);
    EXPECT_EQ(selectedCountyCode(ws()), 0);
    ws().select({Control::St, 0});   // Michigan
    ws().select({Control::Me1, 3});  // York, Maine
    EXPECT_EQ(selectedStateCode(ws()), 26);
    EXPECT_EQ(selectedCountyCode(ws()), 31);
    ws().select({Control::Fl1, 5});  // Suwannee clears York
    EXPECT_FALSE(ws().selected({Control::Me1, 3}));
    EXPECT_EQ(selectedCountyCode(ws()), 121);
}

}  // namespace
}  // namespace kbt2
