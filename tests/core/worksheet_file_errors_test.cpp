#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "commands/save_load.h"
#include "file_size_limit.h"
#include "storage/file_io.h"
#include "storage/worksheet_file_format.h"
#include "storage_test_support.h"

namespace kbt2 {
namespace {

using kbt2::testing_support::FileSizeLimit;

using namespace storage_testing;
namespace fs = std::filesystem;

// A worksheet with something in every kind of field, to see that a refused
// file changes none of it.
Worksheet busyWorksheet() {
    Worksheet ws;
    ws.setText({Control::Producer1}, "Jane");
    ws.setText({Control::Cropname1, 4}, "Corn");
    ws.setText({Control::Text18, 2}, "12");
    ws.select({Control::EIN});
    ws.select({Control::St, 1});
    ws.select({Control::Me1, 2});
    ws.setChecked({Control::Crop1, 7}, true);
    return ws;
}

// The lines of a good file whose St block says "state 1", for the cases to
// spoil. Line 17 (1-based) is the St flag, line 18 its index.
std::vector<std::string> goodLines() {
    Worksheet ws;
    ws.select({Control::St, 1});
    ws.setChecked({Control::Crop, 2}, true);
    return crlfLines(formatWorksheetFile(ws));
}

struct BadFile {
    const char* name;
    std::function<std::string()> bytes;
    std::string reason;  // the message must hold this

    friend void PrintTo(const BadFile& c, std::ostream* os) { *os << c.name; }
};

class MalformedFiles : public testing::TestWithParam<BadFile> {};

TEST_P(MalformedFiles, AreRefusedWithTheLineNamedAndTheWorksheetUnchanged) {
    const fs::path path = scratchFolder("malformed") / "bad.wsk";
    writeBytes(path, GetParam().bytes());
    Worksheet ws = busyWorksheet();
    const auto before = snapshot(ws);
    FakePlatform platform;
    platform.files.push_back(path.string());
    loadClick(ws, platform);

    EXPECT_EQ(snapshot(ws), before);
    ASSERT_EQ(platform.messages.size(), 1u);
    const Message& m = platform.messages[0];
    EXPECT_EQ(m.title, "KBT2");
    EXPECT_EQ(m.buttons, MessageButtons::OK);
    EXPECT_EQ(m.icon, MessageIcon::None);
    EXPECT_NE(m.text.find(path.string()), std::string::npos) << m.text;
    EXPECT_NE(m.text.find(GetParam().reason), std::string::npos) << m.text;
}

std::string withLine(size_t index, std::string text) {
    std::vector<std::string> lines = goodLines();
    lines[index] = std::move(text);
    return joinCrlf(lines);
}

std::string firstLines(size_t count) {
    std::vector<std::string> lines = goodLines();
    lines.resize(count);
    return joinCrlf(lines);
}

INSTANTIATE_TEST_SUITE_P(
    Files, MalformedFiles,
    testing::Values(
        BadFile{"Empty", [] { return std::string(); }, "ends before line 1, which should hold Producer1"},
        BadFile{"EndsInTheRows", [] { return firstLines(60); }, "ends before line 61, which should hold Cropname1(2)"},
        BadFile{"EndsBeforeTheLastField", [] { return firstLines(187); }, "line 188, which should hold Text18(2)"},
        BadFile{"UnixLineEnds",
                [] {
                    std::string text = joinCrlf(goodLines());
                    std::erase(text, '\r');
                    return text;
                },
                "ends before line 2"},
        BadFile{"IndexNotANumber", [] { return withLine(17, "one"); },
                "Line 18 should hold the index of the selected St"},
        BadFile{"IndexWithFraction", [] { return withLine(17, " 1.5 "); }, "Line 18 should hold"},
        BadFile{"IndexEmpty", [] { return withLine(17, ""); }, "Line 18 should hold"},
        BadFile{"IndexTwoSigns", [] { return withLine(17, "+-1"); }, "Line 18 should hold"},
        BadFile{"IndexPastTheStates", [] { return withLine(17, " 5 "); },
                "Line 18 holds 5, which is not an index of St (0 to 4)"},
        BadFile{"IndexNegative", [] { return withLine(17, "-1"); }, "Line 18 holds -1, which is not an index of St"},
        BadFile{"IndexHuge", [] { return withLine(17, "99999999999999999999"); }, "not an index of St"},
        BadFile{"BoxPastTheArray", [] { return withLine(41, " 52 "); },
                "Line 42 holds 52, which is not an index of Crop (0 to 51)"},
        BadFile{"CountBeyondTheList", [] { return withLine(40, " 9 "); },
                "Line 45 should hold the index of a checked Crop box"},
        BadFile{"CountEndlessInAShortFile", [] { return firstLines(42) + " 1e300 \r\n"; }, "ends before line"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LoadFailure, MissingFileOrFolderIsReportedAndNothingChanges) {
    const fs::path folder = scratchFolder("missing");
    for (const fs::path& path : {folder / "none.wsk", folder}) {
        Worksheet ws = busyWorksheet();
        const auto before = snapshot(ws);
        FakePlatform platform;
        platform.files.push_back(path.string());
        loadClick(ws, platform);
        EXPECT_EQ(snapshot(ws), before);
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_NE(platform.messages[0].text.find("\"" + path.string() + "\" could not be opened"), std::string::npos)
            << platform.messages[0].text;
    }
}

TEST(LoadFailure, APipeOrADeviceIsRefusedWithoutWaiting) {
    const fs::path pipe = scratchFolder("pipe") / "farm.wsk";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& path : {pipe.string(), std::string("/dev/zero")}) {
        Worksheet ws = busyWorksheet();
        FakePlatform platform;
        platform.files.push_back(path);
        loadClick(ws, platform);
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(
            platform.messages[0].text,
            "The worksheet file \"" + path + "\" could not be opened.\rThe name does not belong to an ordinary file.");
    }
}

TEST(LoadFailure, AFileFarLargerThanAnyWorksheetIsRefusedUnread) {
    const fs::path huge = scratchFolder("huge") / "farm.wsk";
    std::ofstream(huge).put('x');
    fs::resize_file(huge, kLargestWholeFile + 1);  // sparse: no disk space taken
    Worksheet ws = busyWorksheet();
    FakePlatform platform;
    platform.files.push_back(huge.string());
    loadClick(ws, platform);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "The worksheet file \"" + huge.string() +
                                             "\" could not be opened.\rThe file is far larger than any worksheet.");
}

TEST(SaveFailure, AFailedWriteLeavesTheOldFileWholeAndTellsTheUser) {
    const fs::path folder = scratchFolder("fullDisk");
    const fs::path path = folder / "case.wsk";
    writeBytes(path, "the old worksheet\r\n");
    FakePlatform platform;
    platform.files.push_back(path.string());
    {
        FileSizeLimit limit(64);
        saveClick(busyWorksheet(), platform);
    }
    EXPECT_EQ(readBytes(path), "the old worksheet\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << "a temporary file is left";
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].title, "KBT2");
    EXPECT_EQ(platform.messages[0].text,
              "The worksheet could not be saved as \"" + path.string() + "\".\rThe file is too large.");
}

TEST(SaveFailure, AMissingFolderOrAFolderInTheWayIsReported) {
    const fs::path folder = scratchFolder("inTheWay");
    fs::create_directory(folder / "taken.wsk");
    writeBytes(folder / "taken.wsk" / "inside", "x");
    struct Case {
        fs::path path;
        std::string reason;
    };
    for (const Case& c : {Case{folder / "nowhere" / "case.wsk", "The folder does not exist."},
                          Case{folder / "taken.wsk", "The name belongs to a folder."}}) {
        FakePlatform platform;
        platform.files.push_back(c.path.string());
        saveClick(Worksheet(), platform);
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text,
                  "The worksheet could not be saved as \"" + c.path.string() + "\".\r" + c.reason);
    }
    EXPECT_EQ(readBytes(folder / "taken.wsk" / "inside"), "x");
    EXPECT_FALSE(fs::exists(folder / "nowhere"));
}

// Root may write any file, so this only runs for an ordinary user.
TEST(SaveReplace, RefusesAFileTheUserMayNotWrite) {
    if (geteuid() == 0) GTEST_SKIP() << "root may write every file";
    const fs::path folder = scratchFolder("readOnly");
    writeBytes(folder / "kept.wsk", "old");
    fs::permissions(folder / "kept.wsk", fs::perms::owner_read);
    const FileOutcome result = replaceFileAtomically((folder / "kept.wsk").string(), "new");
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.failure().reason, "Permission denied.");
    EXPECT_EQ(readBytes(folder / "kept.wsk"), "old");
}

TEST(SaveReplace, KeepsThePermissionsAndTheLinkOfAnExistingFile) {
    const fs::path folder = scratchFolder("replace");
    writeBytes(folder / "real.wsk", "old");
    fs::permissions(folder / "real.wsk", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("real.wsk", folder / "link.wsk");

    ASSERT_TRUE(replaceFileAtomically((folder / "link.wsk").string(), "new\r\n").ok());
    EXPECT_TRUE(fs::is_symlink(folder / "link.wsk"));
    EXPECT_EQ(readBytes(folder / "real.wsk"), "new\r\n");
    EXPECT_EQ(fs::status(folder / "real.wsk").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
}

// Root may rename over anything: a pipe (or /dev/null) must not become a file.
TEST(SaveReplace, RefusesAPipeAndLeavesItAPipe) {
    const fs::path folder = scratchFolder("pipe");
    ASSERT_EQ(::mkfifo((folder / "pipe.wsk").c_str(), 0600), 0);
    fs::create_symlink("pipe.wsk", folder / "link.wsk");
    for (const char* name : {"pipe.wsk", "link.wsk"}) {
        const FileOutcome result = replaceFileAtomically((folder / name).string(), "new");
        ASSERT_FALSE(result.ok()) << name;
        EXPECT_EQ(result.failure().reason, "The name does not belong to an ordinary file.") << name;
    }
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(folder / "pipe.wsk")));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
}

// A process number that no process has now.
pid_t goneProcess() {
    for (pid_t pid = 4000000; pid > 1000; --pid)
        if (::kill(pid, 0) != 0 && errno == ESRCH) return pid;
    return 0;
}

// A killed save leaves its temporary file; the next save of that name
// removes it, and only what is surely a leftover of its own name.
TEST(SaveReplace, RemovesTheTemporaryFileOfARunThatIsGone) {
    const fs::path folder = scratchFolder("leftovers");
    const std::string gone = std::to_string(goneProcess());
    const std::vector<std::string> kept = {
        "case.wsk.~1-1",              // process 1 is running
        "other.wsk.~" + gone + "-1",  // another file's
        "case.wsk.~" + gone + "-x",   // not a temporary name
        "case.wsk.~" + gone,          // nor this
    };
    writeBytes(folder / "case.wsk", "old");
    writeBytes(folder / ("case.wsk.~" + gone + "-1"), "half written");
    writeBytes(folder / ("case.wsk.~" + gone + "-7"), "half written");
    for (const std::string& name : kept) writeBytes(folder / name, "x");

    ASSERT_TRUE(replaceFileAtomically((folder / "case.wsk").string(), "new").ok());
    EXPECT_EQ(readBytes(folder / "case.wsk"), "new");
    EXPECT_FALSE(fs::exists(folder / ("case.wsk.~" + gone + "-1")));
    EXPECT_FALSE(fs::exists(folder / ("case.wsk.~" + gone + "-7")));
    for (const std::string& name : kept) EXPECT_TRUE(fs::exists(folder / name)) << name;
}

}  // namespace
}  // namespace kbt2
