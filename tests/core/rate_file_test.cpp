#include "rates/rate_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "calc/numbers.h"
#include "fake_platform.h"
#include "rate_records.h"
#include "rates/rate_file_places.h"
#include "rates/rate_source.h"
#include "rates/rate_table.h"

namespace kbt2 {
namespace {

namespace fs = std::filesystem;
using testing_support::FakePlatform;

// A folder of the running test's own: CTest runs tests in parallel processes.
fs::path scratch(const std::string& name) {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    const fs::path dir = fs::path(KBT2_TEST_SCRATCH_DIR) / "rate_file" / test->test_suite_name() / test->name() / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

void writeFile(const fs::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
}

using Fields = testing_support::RateFields;
std::string record(const Fields& f) { return testing_support::rateRecord(f); }

RateLookup lookUp(const std::string& content, std::vector<double> codes, double state = 26, double county = 81) {
    const fs::path file = scratch("lookup") / "Ratefile.prn";
    writeFile(file, content);
    return readRates(file.string(), state, county, codes);
}

TEST(RateFile, TakesRatesAndFlagsOfAMatchingRecord) {
    const RateLookup r = lookUp(record({}) + "\r\n", {41});
    ASSERT_FALSE(r.error);
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0].rates, (std::array<double, 3>{0.052, 0.041, 0.030}));
    EXPECT_EQ(r.rows[0].livestockFlag, 'N');
    EXPECT_TRUE(r.rows[0].insurable());
    EXPECT_FALSE(r.rows[0].livestock());
}

TEST(RateFile, AnUnmatchedRowKeepsRatesZeroAndNoFlags) {
    const RateLookup r = lookUp(record({}) + "\r\n" + record({.county = "082"}) + "\r\n", {41, 54}, 26, 82);
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[0].rates[0], 0.052);
    EXPECT_EQ(r.rows[1].rates, (std::array<double, 3>{}));
    EXPECT_FALSE(r.rows[1].livestock());
    EXPECT_FALSE(r.rows[1].insurable());
}

TEST(RateFile, TheLastMatchingRecordWins) {
    const std::string content = record({.livestock = 'Y', .rate80 = "0.011"}) + "\r\n" +
                                record({.insurable = 'N', .rate80 = "0.022"}) + "\r\n" +
                                record({.state = "25", .rate80 = "0.033"}) + "\r\n";
    const RateLookup r = lookUp(content, {41});
    EXPECT_EQ(r.rows[0].rates[0], 0.022);
    EXPECT_FALSE(r.rows[0].livestock());
    EXPECT_FALSE(r.rows[0].insurable());
}

TEST(RateFile, RowsWithTheSameCodeGetTheSameRecord) {
    const RateLookup r = lookUp(record({}) + "\r\n", {41, 7, 41});
    EXPECT_EQ(r.rows[0].rates[2], 0.03);
    EXPECT_EQ(r.rows[1].rates[2], 0);
    EXPECT_EQ(r.rows[2].rates[2], 0.03);
}

struct KeyCase {
    const char* name;
    Fields fields;
    double state;
    double county;
    double code;
    bool matches;
};
void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

class RateFileKeys : public testing::TestWithParam<KeyCase> {};

TEST_P(RateFileKeys, CompareKeysByNumericValue) {
    const KeyCase& c = GetParam();
    const RateLookup r = lookUp(record(c.fields) + "\r\n", {c.code}, c.state, c.county);
    EXPECT_EQ(r.rows[0].rates[0] == 0.052, c.matches);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Keys, RateFileKeys, testing::Values(
    KeyCase{"LeadingZeroCounty",        {.county = "081"},                    26, 81, 41,  true},
    KeyCase{"BlankBeforeCode",          {.code = " 041"},                     26, 81, 41,  true},
    KeyCase{"CodeRightAligned",         {.code = "0041"},                     26, 81, 41,  true},
    KeyCase{"BlankInsideCode",          {.code = "4 1 "},                     26, 81, 41,  true},
    KeyCase{"CodeWithPoint",            {.code = "41. "},                     26, 81, 41,  true},
    KeyCase{"FractionalWorksheetCode",  {.code = "41.5"},                     26, 81, 41.5, true},
    KeyCase{"OtherState",               {.state = "23"},                      26, 81, 41,  false},
    KeyCase{"OtherCounty",              {.county = "031"},                    26, 81, 41,  false},
    KeyCase{"OtherCode",                {.code = "  42"},                     26, 81, 41,  false},
    KeyCase{"CountyOfAnotherStateUsed", {.county = "031"},                    26, 31, 41,  true},
    KeyCase{"LettersReadAsZero",        {.state = "MI"},                      0,  81, 41,  true},
    KeyCase{"NoStateSelectedNoMatch",   {},                                   0,  0,  41,  false}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(RateFile, AShortLineIsPaddedWithBlanks) {
    const RateLookup r = lookUp(record({}).substr(0, 40) + "\r\n", {41});
    EXPECT_EQ(r.rows[0].rates, (std::array<double, 3>{0.052, 0, 0}));
    EXPECT_TRUE(r.rows[0].insurable());
}

TEST(RateFile, CharactersAfterTheSixtiethAreIgnored) {
    const RateLookup r = lookUp(record({}) + "7777777" + "\r\n", {41});
    EXPECT_EQ(r.rows[0].rates[2], 0.03);
}

TEST(RateFile, RatesReadAsTheWorksheetReadsNumbers) {
    const RateLookup r = lookUp(record({.rate80 = " .05x", .rate75 = "5e-2 ", .rate65 = "abc  "}) + "\r\n", {41});
    EXPECT_EQ(r.rows[0].rates, (std::array<double, 3>{0.05, 0.05, 0}));
}

struct EndCase {
    const char* name;
    std::string content;
    double rate80;       // of code 41 in state 26, county 81
    std::uint64_t line;  // of the record it came from, from 1; 0 for none
};
void PrintTo(const EndCase& c, std::ostream* os) { *os << c.name; }

class RateFileLineEnds : public testing::TestWithParam<EndCase> {};

TEST_P(RateFileLineEnds, SplitRecords) {
    const RateLookup r = lookUp(GetParam().content, {41});
    EXPECT_EQ(r.rows[0].rates[0], GetParam().rate80);
    EXPECT_EQ(r.rows[0].line, GetParam().line);
}

const std::string kFirst = record({.rate80 = "0.011"});
const std::string kSecond = record({.rate80 = "0.022"});

// clang-format off
INSTANTIATE_TEST_SUITE_P(Ends, RateFileLineEnds, testing::Values(
    EndCase{"CarriageReturnLineFeed", kFirst + "\r\n" + kSecond + "\r\n", 0.022, 2},
    EndCase{"CarriageReturnOnly",     kFirst + "\r" + kSecond + "\r",     0.022, 2},
    EndCase{"LineFeedOnly",           kFirst + "\n" + kSecond + "\n",     0.022, 2},
    EndCase{"MixedEnds",              kFirst + "\n" + kSecond + "\r",     0.022, 2},
    EndCase{"NoEndAfterLastLine",     kFirst + "\r\n" + kSecond,          0.022, 2},
    EndCase{"LineFeedThenCarriageReturnIsTwoEnds", kFirst + "\n\r" + kSecond + "\n", 0.022, 3},
    EndCase{"OneLongLineWithoutEnds", kFirst + kSecond,                   0.011, 1},
    EndCase{"EmptyFile",              "",                                 0,     0}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(RateFile, AnEmptyLineIsARecordOfBlanks) {
    // All keys of an empty line read 0: it matches state 0, county 0, code 0.
    const RateLookup r = lookUp(record({.state = "0", .county = "0", .code = "0"}) + "\r\n\r\n", {0}, 0, 0);
    EXPECT_EQ(r.rows[0].rates[0], 0);
    EXPECT_EQ(r.rows[0].livestockFlag, ' ');
}

TEST(RateFile, AFileThatCannotBeOpenedGivesTheSystemError) {
    const RateLookup r = readRates((scratch("missing") / "Ratefile.prn").string(), 26, 81, std::vector<double>{41});
    ASSERT_TRUE(r.error);
    EXPECT_EQ(r.error->number, ENOENT);
    EXPECT_EQ(r.error->description, "No such file or directory");
}

TEST(RateFile, AFolderInPlaceOfTheFileGivesAReadError) {
    const fs::path dir = scratch("folder") / "Ratefile.prn";
    fs::create_directories(dir);
    const RateLookup r = readRates(dir.string(), 26, 81, std::vector<double>{41});
    ASSERT_TRUE(r.error);
    EXPECT_EQ(r.error->number, EISDIR);
}

// Lines cut at every possible place by block boundaries must read as the
// same records: compare with reading the whole content as one block. Keys of
// 0 make empty lines count, so a line end read twice shows.
TEST(RateFile, BlockBoundariesDoNotChangeTheRecords) {
    std::mt19937 random(20240601);
    const char* ends[] = {"\r\n", "\r", "\n", "\r\n\r\n", "\n\r"};
    const std::vector<double> codes{0, 40, 41, 42, 43};
    for (int round = 0; round < 40; ++round) {
        std::string content;
        for (int line = 0; line < 30; ++line) {
            const bool zeroKeys = random() % 3 == 0;
            std::string text = record({.state = zeroKeys ? "0" : "26",
                                       .county = zeroKeys ? "0" : "081",
                                       .code = std::to_string(zeroKeys ? 0 : random() % 4 + 40),
                                       .livestock = random() % 2 ? 'Y' : 'N',
                                       .rate80 = "0.0" + std::to_string(random() % 90 + 10)});
            text.resize(random() % 3 == 0 ? random() % 70 : 60, 'x');
            content += text + ends[random() % 5];
        }
        if (random() % 2) content += record({.rate80 = "0.077"});
        const fs::path file = scratch("blocks") / "Ratefile.prn";
        writeFile(file, content);
        for (const double key : {0.0, 1.0}) {
            const double state = key * 26;
            const double county = key * 81;
            const RateLookup whole = readRates(file.string(), state, county, codes, content.size() + 1);
            for (size_t block : {1u, 2u, 3u, 7u, 59u, 60u, 61u, 62u, 63u, 64u, 100u}) {
                const RateLookup split = readRates(file.string(), state, county, codes, block);
                for (size_t i = 0; i < codes.size(); ++i) {
                    EXPECT_EQ(split.rows[i].rates, whole.rows[i].rates) << "round " << round << " block " << block;
                    EXPECT_EQ(split.rows[i].livestockFlag, whole.rows[i].livestockFlag);
                }
            }
        }
    }
}

// Blocks of a page or more are read on a second thread while the one before
// is scanned; a file of many such blocks, with lines and CR LF pairs cut at
// their edges, gives what reading it in small blocks gives.
TEST(RateFile, BlocksReadAheadGiveTheSameRecords) {
    std::mt19937 random(20261208);
    const char* ends[] = {"\r\n", "\r", "\n"};
    std::string content;
    for (int line = 0; line < 4000; ++line) {
        std::string text =
            record({.code = std::to_string(random() % 4 + 40), .rate80 = "0.0" + std::to_string(line % 90 + 10)});
        text.resize(random() % 5 == 0 ? random() % 70 : 60, 'x');
        content += text + ends[random() % 3];
    }
    const fs::path file = scratch("ahead") / "Ratefile.prn";
    writeFile(file, content);
    const std::vector<double> codes{40, 41, 42, 43};
    const RateLookup small = readRates(file.string(), 26, 81, codes, 100);
    for (size_t block : {4096u, 4097u, 65536u, 1u << 20}) {
        const RateLookup ahead = readRates(file.string(), 26, 81, codes, block);
        ASSERT_FALSE(ahead.error) << "block " << block;
        EXPECT_EQ(ahead.records, small.records) << "block " << block;
        for (size_t i = 0; i < codes.size(); ++i)
            EXPECT_EQ(ahead.rows[i].rates, small.rows[i].rates) << "block " << block;
    }
}

// What a reading tells of the table as a whole, beside the rows: whether it
// holds any valid record (keys in digits, each above 0), whether it is the
// shipped sample, how many records it has and which rows found one. Each row
// is read through the premium's reader and the batch's table alike.
struct ContentsCase {
    const char* name;
    std::string content;
    std::uint64_t records;
    bool keyed;
    bool sample;
    std::vector<bool> found;  // of codes 41 and 54 in state 26, county 81
    std::uint64_t line41;     // the line of code 41's record, 0 when none
};

const std::string kGood = record({}) + "\r\n" + record({.code = "  54", .livestock = 'Y'}) + "\r\n";
const std::string kMark = "#KBT2-SAMPLE-RATES made-up rates for trying the program\r\n";

// clang-format off
const ContentsCase kContents[] = {
    {"Whole",          kGood,                                             2, true,  false, {true, true},   1},
    {"Empty",          "",                                                0, false, false, {false, false}, 0},
    {"BlankLines",     "\r\n\r\n  \r\n",                                  3, false, false, {false, false}, 0},
    {"Garbage",        "hello world\r\nthis is no rate table at all\r\n", 2, false, false, {false, false}, 0},
    {"Binary",         std::string("\x7f" "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0\x01\0\0\0", 24) + "\n\x01\x02\x03",
                                                                          2, false, false, {false, false}, 0},
    // A key with a sign or a point still matches as a number, but is no
    // valid record of its own.
    {"KeysNotInDigits", record({.code = " +41"}) + "\r\n" + record({.county = "81.", .code = "  54"}) + "\r\n",
                                                                          2, false, false, {true, true},   1},
    {"ZeroKeys",       record({.state = "00", .county = "000", .code = "   0"}) + "\r\n",
                                                                          1, false, false, {false, false}, 0},
    {"CutShort",       kGood.substr(0, 70),                               2, true,  false, {true, false},  1},
    {"ARecordMissing", record({}) + "\r\n" + record({.county = "082", .code = "  54"}) + "\r\n",
                                                                          2, true,  false, {true, false},  1},
    {"SampleMarkAtTheEnd", kGood + kMark,                                 2, true,  true,  {true, true},   1},
    {"SampleMarkFirst",    kMark + kGood,                                 2, true,  true,  {true, true},   2},
    {"SampleMarkAlone",    kMark,                                         0, false, true,  {false, false}, 0},
    {"MarkNotAtLineStart", " " + kMark + kGood,                           3, true,  false, {true, true},   2},
};
// clang-format on

void PrintTo(const ContentsCase& c, std::ostream* os) { *os << c.name; }

class RateFileContentsTable : public testing::TestWithParam<ContentsCase> {};

TEST_P(RateFileContentsTable, ThePremiumsReaderAndTheBatchsTableAgree) {
    const ContentsCase& c = GetParam();
    const RateLookup r = lookUp(c.content, {41, 54});
    ASSERT_FALSE(r.error);
    EXPECT_EQ(r.records, c.records);
    EXPECT_EQ(r.keyed, c.keyed);
    EXPECT_EQ(r.sample, c.sample);
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[0].found, c.found[0]);
    EXPECT_EQ(r.rows[1].found, c.found[1]);
    EXPECT_EQ(r.rows[0].line, c.line41);

    const fs::path file = scratch("table") / "Ratefile.prn";
    writeFile(file, c.content);
    RateTable table;
    const std::vector<double> codes{41, 54};
    table.want(26, 81, codes);
    ASSERT_TRUE(table.read(file.string(), 7).ok());  // small blocks: the mark crosses them
    EXPECT_EQ(table.records(), c.records);
    EXPECT_EQ(table.contents().keyed, c.keyed);
    EXPECT_EQ(table.contents().sample, c.sample);
    const auto rows = table.rates(26, 81, codes);
    EXPECT_EQ(rows[0].found, c.found[0]);
    EXPECT_EQ(rows[1].found, c.found[1]);
}

INSTANTIATE_TEST_SUITE_P(Tables, RateFileContentsTable, testing::ValuesIn(kContents),
                         [](const auto& info) { return std::string(info.param.name); });

// The use a premium reports: figures are a quote only when the table is one
// and every row found its record.
TEST(RateFileUse, NamesTheRowsNoRecordMatched) {
    SourcedRates sourced;
    sourced.path = "/r/Ratefile.prn";
    sourced.lookup = lookUp(record({}) + "\r\n", {54, 41, 7});
    const auto use = rateFileUse(sourced);
    ASSERT_TRUE(use);
    EXPECT_EQ(use->unmatched, (std::vector<int>{0, 2}));
    EXPECT_FALSE(use->pricesEveryRow());
    sourced.lookup = lookUp(record({}) + "\r\n", {41});
    EXPECT_TRUE(rateFileUse(sourced)->pricesEveryRow());
    sourced.lookup = lookUp("garbage\r\n", {});
    EXPECT_FALSE(rateFileUse(sourced)->pricesEveryRow()) << "no valid record, even with no row to price";
}

// The desktop's data folders come first, the user's before the system's,
// and then the program's own and the root.
class RateFileDataFolders : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"XDG_DATA_HOME", "XDG_DATA_DIRS", "HOME"})
            if (const char* value = std::getenv(name))
                saved_.emplace_back(name, value);
            else
                saved_.emplace_back(name, std::nullopt);
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_)
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(RateFileDataFolders, TheUsersThenEachOfTheSystemsThenTheProgramsThenTheRoot) {
    setenv("XDG_DATA_HOME", "/home/agent/data", 1);
    setenv("XDG_DATA_DIRS", "/opt/share:relative/share::/usr/share/", 1);
    const std::vector<std::string> folders = defaultRateFileFolders();
    ASSERT_EQ(folders.size(), 5u);
    EXPECT_EQ(folders[0], "/home/agent/data/kbt2");
    EXPECT_EQ(folders[1], "/opt/share/kbt2");
    EXPECT_EQ(folders[2], "/usr/share/kbt2");
    EXPECT_EQ(folders[3], programDataFolder());
    EXPECT_EQ(folders[4], "/");
}

TEST_F(RateFileDataFolders, UnsetTheDesktopsDefaultsApply) {
    unsetenv("XDG_DATA_HOME");
    unsetenv("XDG_DATA_DIRS");
    setenv("HOME", "/home/agent", 1);
    EXPECT_EQ(dataRateFileFolders(),
              (std::vector<std::string>{"/home/agent/.local/share/kbt2", "/usr/local/share/kbt2", "/usr/share/kbt2"}));
    setenv("XDG_DATA_HOME", "not/absolute", 1);
    EXPECT_EQ(dataRateFileFolders().front(), "/usr/local/share/kbt2");
}

TEST(RateFilePlaces, TheFirstFolderHoldingTheFileWins) {
    const fs::path a = scratch("place_a");
    const fs::path b = scratch("place_b");
    FakePlatform platform;
    platform.folders = {a.string(), b.string() + "/"};
    EXPECT_EQ(findRateFile(platform), std::nullopt);
    writeFile(b / "Ratefile.prn", "");
    EXPECT_EQ(findRateFile(platform), b.string() + "/Ratefile.prn");
    writeFile(a / "Ratefile.prn", "");
    EXPECT_EQ(findRateFile(platform), a.string() + "/Ratefile.prn");
}

TEST(RateFilePlaces, AFolderNamedLikeTheFileIsNoFile) {
    const fs::path a = scratch("place_dir");
    fs::create_directories(a / "Ratefile.prn");
    FakePlatform platform;
    platform.folders = {a.string()};
    EXPECT_EQ(findRateFile(platform), std::nullopt);
}

}  // namespace
}  // namespace kbt2
