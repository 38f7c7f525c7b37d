// Scenarios of one case: each a whole worksheet with its own history, and
// nothing done to one changing another.

#include "commands/case.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "case_fixture.h"
#include "fake_platform.h"

namespace kbt2 {
namespace {

using testing_support::CaseFixture;
using testing_support::FakePlatform;

const FieldRef kName{Control::Producer1};
const FieldRef kAgent{Control::Agent1};
const FieldRef kBox{Control::Crop, 0};

struct CaseRow {
    const char* what;
    std::function<void(CaseFixture&)> act;
    std::vector<std::string> names;  // in order, after the act
    std::string current;
    std::string firstName;  // Producer1 of the first scenario in order, then of the current one
    std::string currentName;
};

class CaseTable : public testing::TestWithParam<CaseRow> {};

void PrintTo(const CaseRow& row, std::ostream* os) { *os << row.what; }

TEST_P(CaseTable, KeepsEachScenarioApart) {
    const CaseRow& row = GetParam();
    CaseFixture f;
    row.act(f);
    EXPECT_EQ(f.names(), row.names);
    EXPECT_EQ(f.scenarios.name(f.scenarios.current()), row.current);
    EXPECT_EQ(f.scenarios.worksheet(0).text(kName), row.firstName);
    EXPECT_EQ(f.live.worksheet().text(kName), row.currentName);
    EXPECT_EQ(f.text(row.current, kName), row.currentName);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Scenarios, CaseTable, testing::Values(
    CaseRow{"a copy holds what the current one held",
            [](CaseFixture& f) { f.live.setText(kName, "Ann"); f.scenarios.add("more hay"); },
            {"base", "more hay"}, "more hay", "Ann", "Ann"},
    CaseRow{"typing in the copy leaves the base alone",
            [](CaseFixture& f) { f.live.setText(kName, "Ann"); f.scenarios.add("s"); f.live.setText(kName, "Bo"); },
            {"base", "s"}, "s", "Ann", "Bo"},
    CaseRow{"typing in the base after switching back leaves the copy alone",
            [](CaseFixture& f) {
                f.scenarios.add("s"); f.live.setText(kName, "Bo");
                f.scenarios.switchTo(0); f.live.setText(kName, "Ann");
                EXPECT_EQ(f.text("s", kName), "Bo");
            },
            {"base", "s"}, "base", "Ann", "Ann"},
    CaseRow{"undo in the copy goes back no further than the copy",
            [](CaseFixture& f) {
                f.live.setText(kName, "Ann"); f.scenarios.add("s");
                EXPECT_FALSE(f.live.undo());
            },
            {"base", "s"}, "s", "Ann", "Ann"},
    CaseRow{"each scenario undoes its own steps",
            [](CaseFixture& f) {
                f.live.setText(kName, "Ann"); f.scenarios.add("s"); f.live.setText(kName, "Bo");
                f.scenarios.switchTo(0);
                EXPECT_TRUE(f.live.undo());  // base's typing of Ann
                EXPECT_FALSE(f.live.undo());
                f.scenarios.switchTo(1);
                EXPECT_TRUE(f.live.undo());  // the copy's typing of Bo
            },
            {"base", "s"}, "s", "", "Ann"},
    CaseRow{"switching is no step and ends no typing step",
            [](CaseFixture& f) {
                f.live.setText(kName, "A"); f.scenarios.add("s"); f.scenarios.switchTo(0);
                f.live.setText(kName, "An");
                f.live.undo();  // the typing A, An as one step
            },
            {"base", "s"}, "base", "", ""},
    CaseRow{"a redo waits in a scenario while another is current",
            [](CaseFixture& f) {
                f.live.setText(kName, "Ann"); f.live.undo();
                f.scenarios.add("s"); f.scenarios.switchTo(0);
                EXPECT_TRUE(f.live.redo());
            },
            {"base", "s"}, "base", "Ann", "Ann"},
    CaseRow{"removing the current one makes the next current, undo brings it back current",
            [](CaseFixture& f) {
                f.scenarios.add("a"); f.live.setText(kName, "Al");
                f.scenarios.add("b"); f.live.setText(kName, "Bea");
                f.scenarios.switchTo(1);
                EXPECT_TRUE(f.scenarios.remove(1));
                EXPECT_EQ(f.scenarios.name(f.scenarios.current()), "b");
                EXPECT_TRUE(f.scenarios.undoRemove());
                EXPECT_TRUE(f.live.undo());  // its history came back with it
            },
            {"base", "a", "b"}, "a", "", ""},
    CaseRow{"removing the last one in order makes the one before current",
            [](CaseFixture& f) { f.scenarios.add("a"); f.live.setText(kName, "Al"); f.scenarios.remove(1); },
            {"base"}, "base", "", ""},
    CaseRow{"removing one before the current keeps the current",
            [](CaseFixture& f) { f.scenarios.add("a"); f.live.setText(kName, "Al"); f.scenarios.remove(0); },
            {"a"}, "a", "Al", "Al"},
    CaseRow{"the last scenario left stays",
            [](CaseFixture& f) { EXPECT_FALSE(f.scenarios.remove(0)); EXPECT_FALSE(f.scenarios.undoRemove()); },
            {"base"}, "base", "", ""},
    CaseRow{"a removed name taken since is not put back twice",
            [](CaseFixture& f) {
                f.scenarios.add("a"); f.scenarios.remove(1); f.scenarios.add("a");
                EXPECT_FALSE(f.scenarios.undoRemove());
                EXPECT_TRUE(f.scenarios.canUndoRemove());
            },
            {"base", "a"}, "a", "", ""},
    CaseRow{"moving keeps the current one current",
            [](CaseFixture& f) {
                f.scenarios.add("a"); f.scenarios.add("b"); f.live.setText(kName, "Bea");
                EXPECT_TRUE(f.scenarios.move(2, 0));
                EXPECT_FALSE(f.scenarios.move(3, 0));
            },
            {"b", "base", "a"}, "b", "Bea", "Bea"},
    CaseRow{"renaming to its own name or a free one; never to a used one",
            [](CaseFixture& f) {
                f.scenarios.add("a");
                EXPECT_TRUE(f.scenarios.rename(1, "a"));
                EXPECT_FALSE(f.scenarios.rename(1, "base"));
                EXPECT_TRUE(f.scenarios.rename(1, "half milk"));
            },
            {"base", "half milk"}, "half milk", "", ""}));
// clang-format on

TEST(Case, CopiesValuesSelectionsAndVisibilityAndRunsNothing) {
    CaseFixture f;
    f.live.setChecked(kBox, true);
    f.live.select({Control::St, 4});
    const Worksheet::Snapshot before = f.live.worksheet().snapshot();
    const size_t messages = f.platform.messages.size();
    ASSERT_TRUE(f.scenarios.add("s"));
    EXPECT_EQ(f.live.worksheet().snapshot(), before);
    EXPECT_EQ(f.platform.messages.size(), messages);
    f.live.setChecked(kBox, false);
    EXPECT_NE(f.live.worksheet().snapshot(), before);
    EXPECT_EQ(f.scenarios.worksheet(0).snapshot(), before);
}

TEST(Case, ACopyBelongsToNoFileAndTheBaseKeepsItsOwn) {
    CaseFixture f;
    const std::string path = testing::TempDir() + "case_test_base.kbt";
    ASSERT_TRUE(f.live.saveTo(path));
    f.scenarios.add("s");
    EXPECT_EQ(f.live.fileName(), "");
    EXPECT_TRUE(f.live.unsaved());
    f.scenarios.switchTo(0);
    EXPECT_EQ(f.live.fileName(), path);
    EXPECT_FALSE(f.live.unsaved());
    std::remove(path.c_str());
}

TEST(Case, ObserversOfTheLiveFormHearTheSwitch) {
    CaseFixture f;
    std::vector<FieldRef> heard;
    f.live.worksheet().addObserver([&](const FieldChange& c) { heard.push_back(c.field); });
    f.scenarios.add("s");
    f.live.setText(kName, "Bo");
    heard.clear();
    f.scenarios.switchTo(0);
    ASSERT_EQ(heard.size(), 1U);
    EXPECT_EQ(heard[0], kName);
    EXPECT_EQ(f.live.worksheet().text(kName), "");
}

struct NameRow {
    std::string name;
    std::optional<Case::NameProblem> problem;
};

class CaseNames : public testing::TestWithParam<NameRow> {};

TEST_P(CaseNames, TellsWhyANameCannotBeTaken) {
    CaseFixture f;
    EXPECT_EQ(f.scenarios.nameProblem(GetParam().name), GetParam().problem);
    EXPECT_EQ(f.scenarios.add(GetParam().name), !GetParam().problem);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, CaseNames,
                         testing::Values(NameRow{"", Case::NameProblem::Empty},
                                         NameRow{std::string(40, 'x'), std::nullopt},
                                         NameRow{std::string(41, 'x'), Case::NameProblem::TooLong},
                                         // 40 characters of two bytes each
                                         NameRow{[] {
                                                     std::string s;
                                                     for (int i = 0; i < 40; ++i) s += "\xC3\xA9";
                                                     return s;
                                                 }(),
                                                 std::nullopt},
                                         NameRow{"say \"what\"", Case::NameProblem::Quote},
                                         NameRow{"base", Case::NameProblem::Used}, NameRow{"Base", std::nullopt},
                                         NameRow{" ", std::nullopt}));

}  // namespace
}  // namespace kbt2
