#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "commands/form.h"
#include "commands/premium_warnings.h"
#include "commands/save_load.h"
#include "storage/worksheet_file_format.h"
#include "storage_test_support.h"

namespace kbt2 {
namespace {

using namespace storage_testing;
namespace fs = std::filesystem;

// Saves through the button with the given dialogue answer.
void saveAs(const Worksheet& ws, const fs::path& path, FakePlatform& platform) {
    platform.files.push_back(path.string());
    saveClick(ws, platform);
}

void loadFrom(Worksheet& ws, const fs::path& path, FakePlatform& platform) {
    platform.files.push_back(path.string());
    loadClick(ws, platform);
}

TEST(WorksheetFile, FreshWorksheetSavesTheDefaultLines) {
    std::vector<std::string> expected(13, "");
    expected.insert(expected.end(), {"SSN", "IRScash", ""});
    expected.insert(expected.end(), 6, " 0 ");
    expected.insert(expected.end(), 17, "");
    expected.insert(expected.end(), 3, " 0 ");
    expected.insert(expected.end(), 112 + 32, "");
    ASSERT_EQ(expected.size(), 186u);

    const fs::path folder = scratchFolder("fresh");
    FakePlatform platform;
    saveAs(Worksheet(), folder / "fresh.wsk", platform);
    EXPECT_EQ(readBytes(folder / "fresh.wsk"), joinCrlf(expected));
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_EQ(platform.dialogs[0].first, FileDialogMode::Save);
    EXPECT_EQ(platform.dialogs[0].second, "KBT Premium Calculation (*.wsk)|*.wsk");
    EXPECT_TRUE(platform.messages.empty());
}

TEST(WorksheetFile, WritesOptionBlocksAndCheckedBoxLists) {
    Worksheet ws;
    ws.select({Control::EIN});
    ws.select({Control::IRSAcc});
    ws.select({Control::St, 2});
    ws.select({Control::Ma1, 3});
    ws.setChecked({Control::Crop, 5}, true);
    ws.setChecked({Control::Crop, 40}, true);
    ws.setText({Control::Text18, 2}, "last");
    const std::vector<std::string> lines = crlfLines(formatWorksheetFile(ws));
    ASSERT_EQ(lines.size(), 190u);
    EXPECT_EQ(lines[13], "EIN");
    EXPECT_EQ(lines[14], "IRSacc");
    const std::vector<std::string> blocks(lines.begin() + 16, lines.begin() + 26);
    EXPECT_EQ(blocks, (std::vector<std::string>{" 1 ", " 2 ", " 0 ", " 0 ", " 1 ", " 3 ", " 0 ", " 0 ", "", ""}));
    const std::vector<std::string> lists(lines.begin() + 41, lines.begin() + 46);
    EXPECT_EQ(lists, (std::vector<std::string>{" 2 ", " 5 ", " 40 ", " 0 ", " 0 "}));
    EXPECT_EQ(lines.back(), "last");
}

TEST(WorksheetFile, SavesUnderExactlyTheChosenName) {
    const fs::path folder = scratchFolder("noext");
    FakePlatform platform;
    saveAs(Worksheet(), folder / "case", platform);
    EXPECT_TRUE(fs::is_regular_file(folder / "case"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST(WorksheetFile, CancelledDialoguesChangeNothing) {
    FakePlatform platform;
    Worksheet ws;
    ws.setText({Control::Producer1}, "kept");
    const auto before = snapshot(ws);
    saveClick(ws, platform);
    loadClick(ws, platform);
    EXPECT_EQ(snapshot(ws), before);
    EXPECT_TRUE(platform.messages.empty());
    ASSERT_EQ(platform.dialogs.size(), 2u);
    EXPECT_EQ(platform.dialogs[1].first, FileDialogMode::Open);
}

// Only a file loaded or saved in full becomes the window's document.
TEST(WorksheetFile, OnlyASuccessNamesTheDocument) {
    const fs::path folder = scratchFolder("document");
    FakePlatform platform;
    Worksheet ws;
    saveAs(ws, folder / "a.wsk", platform);
    saveAs(ws, folder, platform);  // a folder: refused
    writeBytes(folder / "short.wsk", "one line\r\n");
    loadFrom(ws, folder / "short.wsk", platform);
    loadFrom(ws, folder / "a.wsk", platform);
    EXPECT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.usedFiles, (std::vector<std::string>{(folder / "a.wsk").string(), (folder / "a.wsk").string()}));
}

// Save to the current file writes as the Save button does, with its message.
TEST(WorksheetFile, SavingToAKnownPathNeedsNoDialogue) {
    const fs::path folder = scratchFolder("known");
    FakePlatform platform;
    Worksheet ws;
    ws.setText({Control::Producer1}, "Jane");
    EXPECT_TRUE(saveWorksheetTo(ws, platform, (folder / "a.wsk").string()));
    EXPECT_TRUE(platform.dialogs.empty());
    EXPECT_EQ(readBytes(folder / "a.wsk"), formatWorksheetFile(ws));
    EXPECT_FALSE(saveWorksheetTo(ws, platform, folder.string()));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.messages[0].text.starts_with("The worksheet could not be saved as \"" + folder.string()));
}

TEST(WorksheetFile, InfoboxLineBreaksAreStoredAsBareLineFeeds) {
    Worksheet ws;
    ws.setText({Control::Infobox}, "one\r\ntwo\rthree\nfour\r");
    ws.setText({Control::Producer2}, "c\rd");
    const std::string bytes = formatWorksheetFile(ws);
    EXPECT_NE(bytes.find("\r\nSSN\r\nIRScash\r\none\ntwo\rthree\nfour\r\r\n 0 \r\n"), std::string::npos);

    // A lone CR is no record end: it reads back where it stood.
    Worksheet loaded;
    applyLoadPlan(loaded, std::get<LoadPlan>(parseWorksheetFile(bytes)));
    EXPECT_EQ(loaded.text({Control::Infobox}), "one\ntwo\rthree\nfour\r");
    EXPECT_EQ(loaded.text({Control::Producer2}), "c\rd");
    EXPECT_EQ(formatWorksheetFile(loaded), bytes);
}

TEST(WorksheetFile, ListsEveryCheckedBoxEvenBeyondFourteen) {
    Worksheet ws;
    for (int i = 0; i < 58; i += 3) ws.setChecked({Control::Crop2, i}, true);  // 20 boxes
    const std::string bytes = formatWorksheetFile(ws);
    const std::vector<std::string> lines = crlfLines(bytes);
    EXPECT_EQ(lines[40], " 0 ");
    EXPECT_EQ(lines[41], " 20 ");
    EXPECT_EQ(lines[42 + 19], " 57 ");

    Worksheet loaded;
    applyLoadPlan(loaded, std::get<LoadPlan>(parseWorksheetFile(bytes)));
    EXPECT_EQ(snapshot(loaded), snapshot(ws));
}

// Words of every kind a person types: accents, symbols, quotes, blanks at the
// ends, numbers with grouping.
const char* const kWords[] = {"",       "Jane Doe", "Zoë Brontë", "€ 1.000,50", "日本語", "\"quoted\"", " lead",
                              "trail ", "1,000",    "$5",         "\t",         "-0.25",  "O'Neil",     "Straße"};

std::string randomText(std::mt19937& rng, bool multiLine) {
    std::string text = kWords[rng() % std::size(kWords)];
    const int more = multiLine ? static_cast<int>(rng() % 4) : 0;
    for (int k = 0; k < more; ++k) text += "\n" + std::string(kWords[rng() % std::size(kWords)]);
    return text;
}

// A worksheet as a person might leave it: every stored field typed, a random
// identification, method, state, county and any number of boxes.
void fillRandomly(Form& form, std::mt19937& rng) {
    Worksheet& ws = form.worksheet();
    ws.select({rng() % 2 ? Control::SSN : Control::EIN});
    ws.select({rng() % 2 ? Control::IRSCash : Control::IRSAcc});
    if (const int state = static_cast<int>(rng() % 6); state < 5) ws.select({Control::St, state});
    const Control counties[] = {Control::Mi1, Control::Me1, Control::Ma1, Control::Nh1, Control::Fl1};
    if (rng() % 6) {
        const Control county = counties[rng() % 5];
        ws.select({county, static_cast<int>(rng() % info(county).elements)});
    }
    for (const Control array : {Control::Crop, Control::Crop1, Control::Crop2}) {
        const int boxes = static_cast<int>(rng() % 21);
        for (int k = 0; k < boxes; ++k) ws.setChecked({array, static_cast<int>(rng() % info(array).elements)}, true);
    }
    for (const ControlInfo& c : kControls) {
        if (c.kind != Kind::Text && c.kind != Kind::Masked) continue;
        const bool result =
            std::ranges::any_of(kPremiumWarningTexts, [&](const auto& w) { return w.result == c.control; });
        if (c.control == Control::statename || c.control == Control::countyname || result)
            continue;  // not stored in the file
        for (int i = 0; i < c.slots(); ++i) ws.setText({c.control, i}, randomText(rng, c.control == Control::Infobox));
    }
}

TEST(WorksheetFile, RandomWorksheetsLoadBackAndSaveAgainByteForByte) {
    const fs::path folder = scratchFolder("roundtrip");
    std::mt19937 rng(20240611);
    for (int round = 0; round < 25; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        FakePlatform platform;
        Form original(platform);
        fillRandomly(original, rng);
        saveAs(original.worksheet(), folder / "first.wsk", platform);

        Form loaded(platform);
        loadFrom(loaded.worksheet(), folder / "first.wsk", platform);
        saveAs(loaded.worksheet(), folder / "second.wsk", platform);

        EXPECT_TRUE(platform.messages.empty());
        EXPECT_EQ(snapshot(loaded.worksheet()), snapshot(original.worksheet()));
        EXPECT_EQ(readBytes(folder / "second.wsk"), readBytes(folder / "first.wsk"));
    }
}

// Records the click events that loading raises, and writes a row the way a
// transfer pass does, to show that the file's rows win.
struct EventRecorder : ControlEvents {
    Worksheet* ws = nullptr;
    std::vector<std::string> events;
    void checkBoxClicked(Control array, int index) override {
        events.push_back(refName({array, index}));
        ws->setText({Control::Cropname1, 0}, "written by a pass");
    }
    void optionSelected(Control array, int index) override { events.push_back(refName({array, index})); }
};

TEST(WorksheetFile, LoadSetsOptionsAndBoxesInFileOrderBeforeTheRows) {
    Worksheet source;
    source.select({Control::EIN});
    source.select({Control::IRSAcc});
    source.select({Control::St, 2});
    source.select({Control::Ma1, 3});
    source.setChecked({Control::Crop, 5}, true);
    source.setChecked({Control::Crop, 40}, true);
    source.setChecked({Control::Crop2, 57}, true);
    source.setText({Control::Cropname1, 0}, "Apples");

    Worksheet ws;
    EventRecorder recorder;
    recorder.ws = &ws;
    ws.setEventHandler(&recorder);
    applyLoadPlan(ws, std::get<LoadPlan>(parseWorksheetFile(formatWorksheetFile(source))));
    EXPECT_EQ(recorder.events,
              (std::vector<std::string>{"EIN", "IRSAcc", "St(2)", "Ma1(3)", "Crop(5)", "Crop(40)", "Crop2(57)"}));
    EXPECT_EQ(ws.text({Control::Cropname1, 0}), "Apples");
}

// Load only ever sets options and boxes: what the file does not name stays.
TEST(WorksheetFile, LoadKeepsBoxesAndSelectionsTheFileDoesNotName) {
    Worksheet ws;
    ws.setChecked({Control::Crop, 3}, true);
    ws.select({Control::St, 4});
    ws.select({Control::Fl1, 1});
    ws.setText({Control::statename, 0}, "typed");
    applyLoadPlan(ws, std::get<LoadPlan>(parseWorksheetFile(formatWorksheetFile(Worksheet()))));
    EXPECT_TRUE(ws.checked({Control::Crop, 3}));
    EXPECT_TRUE(ws.selected({Control::St, 4}));
    EXPECT_TRUE(ws.selected({Control::Fl1, 1}));
    EXPECT_EQ(ws.text({Control::statename}), "typed");
}

struct LenientCase {
    const char* name;
    int line;                       // 0-based line of the file below to replace
    std::vector<std::string> with;  // the lines put in its place
    FieldRef identification;        // SSN or EIN, as it ends
    int state;                      // the St option that ends selected, or -1

    friend void PrintTo(const LenientCase& c, std::ostream* os) { *os << c.name; }
};

class LenientLines : public testing::TestWithParam<LenientCase> {};

// Lines that read as "nothing to set" still keep every later record in place:
// the file says EIN, IRSacc and county Mi1(2), and its last line is "end".
TEST_P(LenientLines, ReadAsNothingAndKeepTheRestInPlace) {
    std::vector<std::string> lines = crlfLines(formatWorksheetFile(Worksheet()));
    lines[13] = "EIN";
    lines[14] = "IRSacc";
    lines[17] = " 1 ";
    lines.insert(lines.begin() + 18, " 2 ");
    lines.back() = "end";
    const LenientCase& c = GetParam();
    lines.erase(lines.begin() + c.line);
    lines.insert(lines.begin() + c.line, c.with.begin(), c.with.end());

    Worksheet ws;
    applyLoadPlan(ws, std::get<LoadPlan>(parseWorksheetFile(joinCrlf(lines))));
    EXPECT_TRUE(ws.selected(c.identification));
    EXPECT_TRUE(ws.selected({Control::IRSAcc}));
    EXPECT_EQ(ws.selectedIndex(Control::St), c.state);
    EXPECT_TRUE(ws.selected({Control::Mi1, 2}));
    EXPECT_EQ(ws.text({Control::Text18, 2}), "end");
}

INSTANTIATE_TEST_SUITE_P(Lines, LenientLines,
                         testing::Values(LenientCase{"MarkerInLowerCase", 13, {"ein"}, {Control::SSN}, -1},
                                         LenientCase{"MarkerWithTrailingBlank", 13, {"EIN "}, {Control::SSN}, -1},
                                         LenientCase{"MarkerOfTheOtherPair", 13, {"IRSacc"}, {Control::SSN}, -1},
                                         LenientCase{"FlagEmpty", 16, {""}, {Control::EIN}, -1},
                                         LenientCase{"FlagStartingWithALetter", 16, {"x1"}, {Control::EIN}, -1},
                                         LenientCase{"FlagWithoutBlanks", 16, {"1", "3"}, {Control::EIN}, 3},
                                         LenientCase{
                                             "IndexWithBlanksAndTabs", 16, {" 1 ", "\t 4  "}, {Control::EIN}, 4},
                                         LenientCase{"IndexWithPlusSign", 16, {" 1 ", "+1"}, {Control::EIN}, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

// The index lines are read while k = 0, 1, ... stays below the count.
TEST(WorksheetFile, AFractionalCountReadsOneIndexMore) {
    std::vector<std::string> lines = crlfLines(formatWorksheetFile(Worksheet()));
    lines[39] = " 1.5 ";
    lines.insert(lines.begin() + 40, {" 5 ", " 40 "});
    Worksheet ws;
    applyLoadPlan(ws, std::get<LoadPlan>(parseWorksheetFile(joinCrlf(lines))));
    EXPECT_TRUE(ws.checked({Control::Crop, 5}));
    EXPECT_TRUE(ws.checked({Control::Crop, 40}));
}

struct EncodingCase {
    const char* name;
    std::string bytes;  // how Producer1 stands in the file
    std::string text;   // what it reads as

    friend void PrintTo(const EncodingCase& c, std::ostream* os) { *os << c.name; }
};

class Encodings : public testing::TestWithParam<EncodingCase> {};

TEST_P(Encodings, ReadAsUtf8OrElseWindows1252) {
    std::vector<std::string> lines = crlfLines(formatWorksheetFile(Worksheet()));
    lines[0] = GetParam().bytes;
    const fs::path path = scratchFolder("encoding") / "file.wsk";
    writeBytes(path, joinCrlf(lines));
    FakePlatform platform;
    Worksheet ws;
    loadFrom(ws, path, platform);
    EXPECT_EQ(ws.text({Control::Producer1}), GetParam().text);
    EXPECT_TRUE(platform.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Files, Encodings,
                         testing::Values(EncodingCase{"Utf8", "Caf\xC3\xA9 \xE2\x82\xAC", "Café €"},
                                         EncodingCase{"Windows1252", "Caf\xE9 \x80 \x93x\x94", "Café € \u201Cx\u201D"},
                                         EncodingCase{"ByteOrderMarkDropped", "\xEF\xBB\xBFJane", "Jane"},
                                         EncodingCase{"OverlongUtf8IsNotUtf8", "\xC0\xAF", "\u00C0\u00AF"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WorksheetFile, LastLineWithoutItsLineEndStillCounts) {
    std::string bytes = formatWorksheetFile(Worksheet());
    bytes.replace(bytes.size() - 2, 2, "tail");
    Worksheet ws;
    applyLoadPlan(ws, std::get<LoadPlan>(parseWorksheetFile(bytes)));
    EXPECT_EQ(ws.text({Control::Text18, 2}), "tail");
}

}  // namespace
}  // namespace kbt2
