// A case kept in files and opened again: the base byte for byte as Save
// writes it, every scenario back in its place, and what is missing or
// damaged left out and named.

#include "commands/case_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "case_fixture.h"
#include "commands/messages.h"
#include "commands/save_load.h"
#include "storage/case_index.h"
#include "storage/worksheet_file_format.h"
#include "storage_test_support.h"

namespace kbt2 {
namespace {

namespace fs = std::filesystem;
using storage_testing::readBytes;
using storage_testing::scratchFolder;
using storage_testing::writeBytes;
using testing_support::FakePlatform;
using Kind = CaseFileProblem::Kind;

const FieldRef kName{Control::Producer1};
const FieldRef kBox{Control::Crop, 2};

using Farm = testing_support::CaseFixture;

// Three scenarios, the second current and ticked for the paper: the base
// with a box checked, "Hay added" and a name that needs escapes in the index.
const std::vector<std::string> kNames = {"base", "Hay added", "Milk 50% \xC2\xBD\tlower"};

void buildThree(Farm& farm) {
    farm.live.setText(kName, "Jane");
    farm.live.setChecked(kBox, true);
    farm.scenarios.add(kNames[1]);
    farm.live.setText(kName, "Jane H");
    farm.scenarios.add(kNames[2]);
    farm.live.setText(kName, "Jane M");
    farm.live.setChecked(kBox, false);
    farm.scenarios.switchTo(1);
    farm.scenarios.setForPaper(1, true);
}

struct ReopenRow {
    const char* what;
    std::function<void(const fs::path& base)> damage;
    std::vector<std::string> names;
    std::string current;
    std::vector<Kind> problems;
    std::vector<std::string> named;  // the scenarios the problems name
};

void PrintTo(const ReopenRow& row, std::ostream* os) { *os << row.what; }

class CaseFileReopen : public testing::TestWithParam<ReopenRow> {};

TEST_P(CaseFileReopen, OpensWhatIsSoundAndNamesTheRest) {
    const ReopenRow& row = GetParam();
    const fs::path folder = scratchFolder("case");
    const fs::path base = folder / "farm.wsk";
    std::vector<std::string> fields;  // each scenario's file as it was saved
    {
        Farm farm;
        buildThree(farm);
        ASSERT_TRUE(saveCase(farm.scenarios, base.string()).ok());
        for (size_t i = 0; i < farm.scenarios.size(); ++i) {
            fields.push_back(formatWorksheetFile(farm.scenarios.worksheet(i)));
            EXPECT_FALSE(farm.scenarios.document(i).unsaved());
            EXPECT_EQ(farm.scenarios.document(i).fileName(), base.string());
        }
        EXPECT_TRUE(farm.platform.messages.empty());
    }
    row.damage(base);

    Farm again;
    again.scenarios.add("left from before");  // replaced by the case opened
    again.live.setText(kName, "not saved");
    again.scenarios.switchTo(0);
    ASSERT_TRUE(again.live.openFrom(base.string()));
    const CaseOpening opening = openCaseScenarios(again.scenarios, base.string());
    EXPECT_TRUE(opening.hadIndex);
    EXPECT_EQ(opening.replacedUnsaved.size(), 1u);
    EXPECT_EQ(again.names(), row.names);
    EXPECT_EQ(again.scenarios.name(again.scenarios.current()), row.current);
    std::vector<Kind> kinds;
    std::vector<std::string> named;
    for (const CaseFileProblem& p : opening.problems) {
        kinds.push_back(p.kind);
        if (!p.name.empty()) named.push_back(p.name);
        EXPECT_FALSE(messages::caseFileProblem(p, base.string()).empty());
    }
    EXPECT_EQ(kinds, row.problems);
    EXPECT_EQ(named, row.named);
    // Every scenario opened holds its fields as saved, belongs to the case's
    // file and has nothing unsaved.
    for (size_t i = 0; i < again.scenarios.size(); ++i) {
        const size_t saved =
            static_cast<size_t>(std::find(kNames.begin(), kNames.end(), again.scenarios.name(i)) - kNames.begin());
        ASSERT_LT(saved, kNames.size());
        const bool rewritten = i == 0 && kinds == std::vector<Kind>{Kind::IndexStale};
        if (!rewritten) {
            EXPECT_EQ(formatWorksheetFile(again.scenarios.worksheet(i)), fields[saved]) << again.scenarios.name(i);
        }
        EXPECT_EQ(again.scenarios.document(i).fileName(), base.string());
        EXPECT_FALSE(again.scenarios.document(i).unsaved());
        // The tick for the farmer's paper comes back with its scenario.
        EXPECT_EQ(again.scenarios.forPaper(i), again.scenarios.name(i) == kNames[1]) << again.scenarios.name(i);
    }
    EXPECT_TRUE(again.platform.messages.empty());
}

const fs::path kIndex = "farm.wsk.scenarios/case.txt";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, CaseFileReopen, testing::Values(
    ReopenRow{"kept whole: names, order, current, fields",
              [](const fs::path&) {}, kNames, "Hay added", {}, {}},
    ReopenRow{"the current scenario's file missing: the base is current",
              [](const fs::path& b) { fs::remove(b.parent_path() / "farm.wsk.scenarios/02-hay-added.wsk"); },
              {kNames[0], kNames[2]}, "base", {Kind::ScenarioNotRead}, {kNames[1]}},
    ReopenRow{"a scenario's file damaged",
              [](const fs::path& b) { writeBytes(b.parent_path() / "farm.wsk.scenarios/03-milk-50-lower.wsk", "Jane\r\n"); },
              {kNames[0], kNames[1]}, "Hay added", {Kind::ScenarioNotRead}, {kNames[2]}},
    ReopenRow{"both scenario files gone",
              [](const fs::path& b) {
                  fs::remove(b.parent_path() / "farm.wsk.scenarios/02-hay-added.wsk");
                  fs::remove(b.parent_path() / "farm.wsk.scenarios/03-milk-50-lower.wsk");
              },
              {kNames[0]}, "base", {Kind::ScenarioNotRead, Kind::ScenarioNotRead}, {kNames[1], kNames[2]}},
    ReopenRow{"the index cut short: the base alone",
              [](const fs::path& b) {
                  const std::string text = readBytes(b.parent_path() / kIndex);
                  writeBytes(b.parent_path() / kIndex, text.substr(0, text.size() - 5));
              },
              {kNames[0]}, "base", {Kind::IndexDamaged}, {}},
    ReopenRow{"the index names a file outside its folder",
              [](const fs::path& b) {
                  std::string text = readBytes(b.parent_path() / kIndex);
                  text.replace(text.find("02-hay-added.wsk"), 16, "../farm.wsk");
                  writeBytes(b.parent_path() / kIndex, text);
              },
              {kNames[0]}, "base", {Kind::IndexDamaged}, {}},
    ReopenRow{"the index unreadable: a folder in its place",
              [](const fs::path& b) {
                  fs::remove(b.parent_path() / kIndex);
                  fs::create_directory(b.parent_path() / kIndex);
              },
              {kNames[0]}, "base", {Kind::IndexUnreadable}, {}},
    ReopenRow{"the base saved again without its scenarios",
              [](const fs::path& b) {
                  Worksheet other;
                  other.setText(kName, "Someone else");
                  ASSERT_TRUE(writeWorksheetFile(other, b.string()).ok());
              },
              {"base"}, "base", {Kind::IndexStale}, {}}));
// clang-format on

// A case of the base alone is what Save writes, with nothing beside it; an
// index of an earlier save with scenarios is taken away, so the scenarios
// removed since stay removed, and their files stay loadable.
TEST(CaseFile, BaseAloneWritesWhatSaveWritesAndRetiresAnOlderIndex) {
    const fs::path folder = scratchFolder("case");
    const fs::path base = folder / "farm.wsk";
    Farm farm;
    buildThree(farm);
    ASSERT_TRUE(saveCase(farm.scenarios, base.string()).ok());
    ASSERT_TRUE(fs::exists(folder / kIndex));
    farm.scenarios.remove(2);
    farm.scenarios.remove(1);
    ASSERT_EQ(farm.scenarios.size(), 1u);
    ASSERT_TRUE(saveCase(farm.scenarios, base.string()).ok());
    ASSERT_TRUE(writeWorksheetFile(farm.live.worksheet(), (folder / "plain.wsk").string()).ok());
    EXPECT_EQ(readBytes(base), readBytes(folder / "plain.wsk"));
    EXPECT_FALSE(fs::exists(folder / kIndex));
    EXPECT_TRUE(fs::exists(folder / "farm.wsk.scenarios/02-hay-added.wsk"));

    Farm again;
    ASSERT_TRUE(again.live.openFrom(base.string()));
    const CaseOpening opening = openCaseScenarios(again.scenarios, base.string());
    EXPECT_FALSE(opening.hadIndex);
    EXPECT_EQ(again.names(), std::vector<std::string>{"base"});

    // Never a case with scenarios: no folder at all.
    Farm single;
    single.live.setText(kName, "Solo");
    ASSERT_TRUE(saveCase(single.scenarios, (folder / "solo.wsk").string()).ok());
    EXPECT_FALSE(fs::exists(folder / "solo.wsk.scenarios"));
    EXPECT_EQ(single.live.fileName(), (folder / "solo.wsk").string());
    EXPECT_FALSE(single.live.unsaved());
}

// The base is the first scenario in the order, whichever is current, and
// is byte for byte what Save writes of it; each scenario file loads alone.
TEST(CaseFile, EveryFileIsAPlainWorksheet) {
    const fs::path folder = scratchFolder("case");
    Farm farm;
    buildThree(farm);
    ASSERT_TRUE(saveCase(farm.scenarios, (folder / "farm.wsk").string()).ok());
    const std::vector<fs::path> files = {"farm.wsk", "farm.wsk.scenarios/02-hay-added.wsk",
                                         "farm.wsk.scenarios/03-milk-50-lower.wsk"};
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(readBytes(folder / files[i]), formatWorksheetFile(farm.scenarios.worksheet(i))) << files[i];
        Worksheet loaded;
        EXPECT_TRUE(readWorksheetFileFresh(loaded, (folder / files[i]).string()).ok());
    }
}

// A scenario that cannot be written stops the save before the base or the
// index is touched.
TEST(CaseFile, AFailedScenarioWriteLeavesTheCaseAsItWas) {
    const fs::path folder = scratchFolder("case");
    const fs::path base = folder / "farm.wsk";
    Farm farm;
    buildThree(farm);
    ASSERT_TRUE(saveCase(farm.scenarios, base.string()).ok());
    const std::string baseBefore = readBytes(base);
    const std::string indexBefore = readBytes(folder / kIndex);

    farm.scenarios.switchTo(0);
    farm.live.setText(kName, "Changed");
    farm.scenarios.rename(2, "Blocked");
    fs::create_directory(folder / "farm.wsk.scenarios/03-blocked.wsk");
    const auto saved = saveCase(farm.scenarios, base.string());
    ASSERT_FALSE(saved.ok());
    EXPECT_NE(saved.failure().message.find("03-blocked.wsk"), std::string::npos);
    EXPECT_EQ(readBytes(base), baseBefore);
    EXPECT_EQ(readBytes(folder / kIndex), indexBefore);
    EXPECT_TRUE(farm.live.unsaved());
    for (const auto& entry : fs::directory_iterator(folder / "farm.wsk.scenarios"))
        EXPECT_EQ(entry.path().filename().string().find(".~"), std::string::npos) << entry.path();
}

struct IndexRow {
    const char* what;
    std::string text;
    int line;  // 0: read whole
};

void PrintTo(const IndexRow& row, std::ostream* os) { *os << row.what; }

class CaseIndexReader : public testing::TestWithParam<IndexRow> {};

TEST_P(CaseIndexReader, TakesOnlyWhatTheWriterWrites) {
    const IndexRow& row = GetParam();
    const auto parsed = parseCaseIndex(row.text);
    if (row.line == 0) {
        ASSERT_TRUE(std::holds_alternative<CaseIndex>(parsed));
        // What is read writes back as the writer writes it, and reads again alike.
        const CaseIndex& index = std::get<CaseIndex>(parsed);
        const auto again = parseCaseIndex(formatCaseIndex(index));
        ASSERT_TRUE(std::holds_alternative<CaseIndex>(again));
        EXPECT_EQ(std::get<CaseIndex>(again), index);
        return;
    }
    ASSERT_TRUE(std::holds_alternative<CaseIndexError>(parsed));
    EXPECT_EQ(std::get<CaseIndexError>(parsed).line, row.line);
    EXPECT_FALSE(std::get<CaseIndexError>(parsed).reason.empty());
}

const std::string kHead = "KBT2 case 1\r\nbase 120 00000000000000ff\r\n";
const std::string kBase = "scenario - c base\r\n";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, CaseIndexReader, testing::Values(
    IndexRow{"the base alone", kHead + kBase, 0},
    IndexRow{"lines ended by LF alone", "KBT2 case 1\nbase 0 0000000000000000\nscenario - c base\n", 0},
    IndexRow{"flags and escapes", kHead + "scenario - p base\r\nscenario 02-a.wsk cp Milk 50%25%09%0D%0A \xC2\xBD\r\n", 0},
    IndexRow{"no line end at the end", kHead + "scenario - c base", 3},
    IndexRow{"another version", "KBT2 case 2\r\nbase 120 00000000000000ff\r\n" + kBase, 1},
    IndexRow{"empty", "", 1},
    IndexRow{"a hash in capitals", "KBT2 case 1\r\nbase 120 00000000000000FF\r\n" + kBase, 2},
    IndexRow{"a size with a leading zero", "KBT2 case 1\r\nbase 0120 00000000000000ff\r\n" + kBase, 2},
    IndexRow{"no scenario", kHead, 3},
    IndexRow{"the first scenario with a file", kHead + "scenario 01.wsk c base\r\n", 3},
    IndexRow{"a file up a folder", kHead + kBase + "scenario ../x.wsk - a\r\n", 4},
    IndexRow{"a file in a folder", kHead + kBase + "scenario a/x.wsk - a\r\n", 4},
    IndexRow{"a file not a worksheet", kHead + kBase + "scenario 02-a.txt - a\r\n", 4},
    IndexRow{"a hidden file", kHead + kBase + "scenario .wsk.wsk - a\r\n", 4},
    IndexRow{"a file named twice", kHead + kBase + "scenario 02.wsk - a\r\nscenario 02.wsk - b\r\n", 5},
    IndexRow{"a name used twice", kHead + kBase + "scenario 02.wsk - base\r\n", 4},
    IndexRow{"an empty name", kHead + kBase + "scenario 02.wsk - \r\n", 4},
    IndexRow{"a name with a double quote", kHead + kBase + "scenario 02.wsk - a \"b\"\r\n", 4},
    IndexRow{"a bare tab in a name", kHead + kBase + "scenario 02.wsk - a\tb\r\n", 4},
    IndexRow{"an escape in small letters", kHead + kBase + "scenario 02.wsk - a%0a\r\n", 4},
    IndexRow{"an escape of a plain letter", kHead + kBase + "scenario 02.wsk - %41\r\n", 4},
    IndexRow{"an escape cut short", kHead + kBase + "scenario 02.wsk - a%2\r\n", 4},
    IndexRow{"an unknown flag", kHead + kBase + "scenario 02.wsk x a\r\n", 4},
    IndexRow{"a flag twice", kHead + kBase + "scenario 02.wsk pp a\r\n", 4},
    IndexRow{"two current", kHead + kBase + "scenario 02.wsk c a\r\n", 5},
    IndexRow{"none current", kHead + "scenario - - base\r\n", 4},
    IndexRow{"a line of something else", kHead + kBase + "note - - a\r\n", 4}));
// clang-format on

}  // namespace
}  // namespace kbt2
