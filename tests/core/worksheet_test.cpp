#include "worksheet/worksheet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kbt2 {
namespace {

// Records the click events; optionally acts inside a check box's event, as a
// transfer pass does.
class RecordingEvents : public ControlEvents {
public:
    void checkBoxClicked(Control array, int index) override {
        log.push_back("click " + refName({array, index}));
        if (onCheck) onCheck();
    }
    void optionSelected(Control array, int index) override { log.push_back("select " + refName({array, index})); }

    std::vector<std::string> log;
    std::function<void()> onCheck;
};

class WorksheetModel : public ::testing::Test {
protected:
    WorksheetModel() { ws.setEventHandler(&events); }

    Worksheet ws;
    RecordingEvents events;
};

TEST_F(WorksheetModel, OpensWithSsnAndCashSelectedAndEverythingElseEmptyClearAndVisible) {
    for (const ControlInfo& c : kControls) {
        for (int i = 0; i < c.slots(); ++i) {
            const FieldRef f{c.control, i};
            EXPECT_TRUE(ws.visible(f)) << refName(f);
            if (c.kind == Kind::Text || c.kind == Kind::Masked) {
                EXPECT_EQ(ws.text(f), "") << refName(f);
            } else if (c.kind == Kind::Check) {
                EXPECT_FALSE(ws.checked(f)) << refName(f);
            } else if (c.kind == Kind::Option) {
                EXPECT_EQ(ws.selected(f), c.control == Control::SSN || c.control == Control::IRSCash) << refName(f);
            }
        }
    }
    EXPECT_EQ(ws.selectedIndex(Control::St), -1);
}

TEST_F(WorksheetModel, ResetReturnsToTheDefaultsTellingObserversButRaisingNoEvents) {
    ws.setText({Control::Producer1}, "x");
    ws.setChecked({Control::Crop, 3}, true);
    ws.select({Control::EIN});
    ws.select({Control::St, 2});
    ws.setVisible({Control::Crop, 0}, false);
    events.log.clear();
    std::vector<std::string> seen;
    ws.addObserver([&seen](const FieldChange& c) { seen.push_back(refName(c.field)); });
    ws.reset();
    EXPECT_EQ(events.log, std::vector<std::string>{});
    EXPECT_EQ(seen, (std::vector<std::string>{"Producer1", "SSN", "EIN", "St(2)", "Crop(0)", "Crop(3)"}));
    EXPECT_EQ(ws.text({Control::Producer1}), "");
    EXPECT_FALSE(ws.checked({Control::Crop, 3}));
    EXPECT_TRUE(ws.selected({Control::SSN}));
    EXPECT_FALSE(ws.selected({Control::EIN}));
    EXPECT_EQ(ws.selectedIndex(Control::St), -1);
    EXPECT_TRUE(ws.visible({Control::Crop, 0}));
}

struct GroupCase {
    const char* name;
    FieldRef first;
    FieldRef second;
    FieldRef bystander;  // an option of another group that must not change

    friend void PrintTo(const GroupCase& c, std::ostream* os) { *os << c.name; }
};

class OptionGroups : public WorksheetModel, public ::testing::WithParamInterface<GroupCase> {};

TEST_P(OptionGroups, SelectingOneClearsTheOthersOfItsGroupOnly) {
    const GroupCase& c = GetParam();
    ws.select(c.bystander);
    ws.select(c.first);
    ws.select(c.second);
    EXPECT_FALSE(ws.selected(c.first));
    EXPECT_TRUE(ws.selected(c.second));
    EXPECT_TRUE(ws.selected(c.bystander));
    // Raised on becoming selected, never for the option that lost its selection.
    const std::vector<std::string> expected{"select " + refName(c.bystander), "select " + refName(c.first),
                                            "select " + refName(c.second)};
    EXPECT_EQ(events.log, expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Groups, OptionGroups, ::testing::Values(
    GroupCase{"Identification",      {Control::EIN},        {Control::SSN},        {Control::St, 1}},
    GroupCase{"Accounting",          {Control::IRSAcc},     {Control::IRSCash},    {Control::EIN}},
    GroupCase{"State",               {Control::St, 0},      {Control::St, 4},      {Control::Mi1, 0}},
    GroupCase{"CountyWithinAState",  {Control::Ma1, 0},     {Control::Ma1, 13},    {Control::St, 2}},
    GroupCase{"CountyAcrossStates",  {Control::Mi1, 4},     {Control::Fl1, 0},     {Control::St, 0}},
    GroupCase{"CountyMaineToNewHamp",{Control::Me1, 3},     {Control::Nh1, 6},     {Control::IRSAcc}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(WorksheetModel, TheCountyGroupHoldsAtMostOneOfAllThirtySix) {
    for (Control array : {Control::Mi1, Control::Me1, Control::Ma1, Control::Nh1, Control::Fl1})
        for (int i = 0; i < info(array).elements; ++i) {
            ws.select({array, i});
            int selected = 0;
            for (Control other : {Control::Mi1, Control::Me1, Control::Ma1, Control::Nh1, Control::Fl1})
                for (int j = 0; j < info(other).elements; ++j) selected += ws.selected({other, j});
            EXPECT_EQ(selected, 1) << refName({array, i});
        }
}

TEST_F(WorksheetModel, SelectingTheSelectedOptionOrDeselectingRaisesNothing) {
    ws.select({Control::SSN});  // selected at start
    ws.select({Control::St, 3});
    events.log.clear();
    ws.select({Control::St, 3});
    ws.deselect({Control::St, 3});
    ws.deselect({Control::St, 3});
    EXPECT_EQ(events.log, std::vector<std::string>{});
    EXPECT_EQ(ws.selectedIndex(Control::St), -1);
    ws.select({Control::St, 3});  // selected again after a deselection: raised again
    EXPECT_EQ(events.log, std::vector<std::string>{"select St(3)"});
}

TEST_F(WorksheetModel, ACheckBoxRaisesItsEventOnEveryChangeOfValueOnly) {
    ws.setChecked({Control::Crop2, 57}, true);
    ws.setChecked({Control::Crop2, 57}, true);
    ws.setChecked({Control::Crop2, 57}, false);
    ws.setChecked({Control::Crop2, 57}, false);
    ws.setChecked({Control::Crop1, 0}, true);
    EXPECT_EQ(events.log, (std::vector<std::string>{"click Crop2(57)", "click Crop2(57)", "click Crop1(0)"}));
}

// A command that sets a box goes on only after the box's handler has run to
// its end; a handler that writes fields sees the new value already.
TEST_F(WorksheetModel, TheHandlerCompletesBeforeTheSetterReturns) {
    events.onCheck = [this] { ws.setText({Control::Cropname1, 0}, ws.checked({Control::Crop, 0}) ? "on" : "off"); };
    ws.setChecked({Control::Crop, 0}, true);
    EXPECT_EQ(ws.text({Control::Cropname1, 0}), "on");
    ws.setChecked({Control::Crop, 0}, false);
    EXPECT_EQ(ws.text({Control::Cropname1, 0}), "off");
}

TEST_F(WorksheetModel, ObserversHearOfEachChangeAndOfNothingElse) {
    std::vector<std::string> seen;
    ws.addObserver([&seen](const FieldChange& c) {
        const char* what = c.what == FieldChange::What::Text    ? "text"
                           : c.what == FieldChange::What::Value ? "value"
                                                                : "visibility";
        seen.push_back(refName(c.field) + " " + what);
    });
    ws.setText({Control::Allinc1, 2}, "100");
    ws.setText({Control::Allinc1, 2}, "100");
    ws.setChecked({Control::Crop, 5}, true);
    ws.setChecked({Control::Crop, 5}, true);
    ws.setVisible({Control::Text23, 1}, false);
    ws.setVisible({Control::Text23, 1}, false);
    ws.select({Control::EIN});
    EXPECT_EQ(seen, (std::vector<std::string>{"Allinc1(2) text", "Crop(5) value", "Text23(1) visibility", "SSN value",
                                              "EIN value"}));
}

TEST_F(WorksheetModel, HidingAFieldKeepsItsValue) {
    ws.setText({Control::Text16, 0}, "12");
    ws.setChecked({Control::Crop, 28}, true);
    ws.setVisible({Control::Text16, 0}, false);
    ws.setVisible({Control::Crop, 28}, false);
    EXPECT_EQ(ws.text({Control::Text16, 0}), "12");
    EXPECT_TRUE(ws.checked({Control::Crop, 28}));
}

TEST_F(WorksheetModel, AnIndexOutOfRangeIsRefused) {
    EXPECT_THROW(ws.text({Control::Cropname1, 14}), std::out_of_range);
    EXPECT_THROW(ws.setChecked({Control::Crop, -1}, true), std::out_of_range);
    EXPECT_THROW(ws.visible({Control::Producer1, 1}), std::out_of_range);
}

struct RefCase {
    const char* text;
    const char* parsed;  // refName of the result, or nullptr when refused

    friend void PrintTo(const RefCase& c, std::ostream* os) { *os << c.text; }
};

class ControlRefs : public ::testing::TestWithParam<RefCase> {};

TEST_P(ControlRefs, ParseAsScriptsAndObjectNamesWriteThem) {
    const auto ref = parseRef(GetParam().text);
    const char* expected = GetParam().parsed;
    EXPECT_EQ(ref ? refName(*ref) : "(refused)", expected ? expected : "(refused)") << GetParam().text;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Names, ControlRefs, ::testing::Values(
    RefCase{"Allinc1(0)", "Allinc1(0)"},
    RefCase{"Crop2(57)",  "Crop2(57)"},
    RefCase{"SSN",        "SSN"},
    RefCase{"Text15(1)",  "Text15(1)"},
    RefCase{"Crop2(58)",  nullptr},
    RefCase{"Crop(-1)",   nullptr},
    RefCase{"Crop()",     nullptr},
    RefCase{"Crop(1",     nullptr},
    RefCase{"Crop(01)",   nullptr},
    RefCase{"Crop(-0)",   nullptr},
    RefCase{"Crop(+1)",   nullptr},
    RefCase{"Crop(0)",    "Crop(0)"},
    RefCase{"Crop(1x)",   nullptr},
    RefCase{"Crop",       nullptr},
    RefCase{"SSN(0)",     nullptr},
    RefCase{"ssn",        nullptr},
    RefCase{"Crop3(0)",   nullptr}));
// clang-format on

}  // namespace
}  // namespace kbt2
