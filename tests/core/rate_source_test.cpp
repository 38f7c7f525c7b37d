// The premium's rate sources: the batch's table gives every row exactly what
// reading the file for that premium gives, and the form hands the premium the
// source it was given and remembers what the premium read.

#include "rates/rate_source.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "commands/form.h"
#include "fake_platform.h"
#include "rate_records.h"
#include "rates/rate_record_scan.h"
#include "rates/rate_table.h"
#include "rates/recording_source.h"
#include "storage_test_support.h"

namespace kbt2 {
namespace {

namespace fs = std::filesystem;
using testing_support::FakePlatform;
using testing_support::RateFields;
using testing_support::rateRecord;

// Keys as a real file writes them and as an odd one might: blanks inside,
// signs, points, exponents, letters.
// clang-format off
const char* const kStates[]   = {"26", "2 6", " 26", "23", "-0", "0", "26.", "ab", ""};
const char* const kCounties[] = {"081", "81", " 8 1", "082", "1e1", "10", "0", "x"};
const char* const kCodes[]    = {"  41", "41", "0041", "4.1e1", "  54", "   0", "  -0", "54xy", ""};
const char* const kEnds[]     = {"\r\n", "\r", "\n", "\r\n", "\r\n"};
// clang-format on
const double kStateKeys[] = {26, 23, 0};
const double kCountyKeys[] = {81, 82, 10, 0};
const std::vector<double> kCodeKeys = {41, 54, 0, 41, 7};

template <class T, size_t N>
const T& pick(std::mt19937& random, const T (&values)[N]) {
    return values[std::uniform_int_distribution<size_t>(0, N - 1)(random)];
}

// Records with keys from the tables, cut short or run long now and then.
std::string randomRateFile(std::mt19937& random) {
    std::string file;
    const int lines = std::uniform_int_distribution<int>(0, 200)(random);
    for (int n = 0; n < lines; ++n) {
        RateFields fields{.state = pick(random, kStates),
                          .county = pick(random, kCounties),
                          .code = pick(random, kCodes),
                          .livestock = random() % 2 ? 'Y' : 'N',
                          .insurable = random() % 2 ? 'Y' : ' ',
                          .rate80 = "0." + std::to_string(random() % 1000)};
        std::string line = rateRecord(fields);
        if (random() % 5 == 0) line.resize(random() % 70, '7');
        file += line + pick(random, kEnds);
    }
    if (random() % 3 == 0 && !file.empty()) file.pop_back();
    return file;
}

class RateTableAgainstFile : public testing::TestWithParam<unsigned> {};

TEST_P(RateTableAgainstFile, GivesEveryCountyWhatReadingTheFileGives) {
    std::mt19937 random(GetParam());
    const fs::path file = storage_testing::scratchFolder("table") / "Ratefile.prn";
    storage_testing::writeBytes(file, randomRateFile(random));
    const size_t blockSize = std::vector<size_t>{1, 7, 61, 62, 4096}[GetParam() % 5];

    RateTable table;
    for (const double state : kStateKeys)
        for (const double county : kCountyKeys) table.want(state, county, kCodeKeys);
    ASSERT_TRUE(table.read(file.string(), blockSize).ok());
    for (const double state : kStateKeys) {
        for (const double county : kCountyKeys) {
            const RateLookup expected = readRates(file.string(), state, county, kCodeKeys);
            ASSERT_FALSE(expected.error);
            EXPECT_EQ(table.records(), expected.records);
            const std::vector<CommodityRates> got = table.rates(state, county, kCodeKeys);
            ASSERT_EQ(got.size(), expected.rows.size());
            for (size_t i = 0; i < got.size(); ++i) {
                SCOPED_TRACE(testing::Message() << state << "/" << county << " code " << kCodeKeys[i]);
                EXPECT_EQ(got[i].rates, expected.rows[i].rates);
                EXPECT_EQ(got[i].livestockFlag, expected.rows[i].livestockFlag);
                EXPECT_EQ(got[i].insurableFlag, expected.rows[i].insurableFlag);
                EXPECT_EQ(got[i].found, expected.rows[i].found);
                EXPECT_EQ(got[i].line, expected.rows[i].line);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RateTableAgainstFile, testing::Range(1u, 41u));

struct CollectRecords {
    std::vector<std::string> records;
    void record(const char* line) { records.emplace_back(line, rate_records::kRecordWidth); }
};

std::vector<std::string> splitInBlocks(const std::string& file, size_t blockSize, bool wide) {
    CollectRecords sink;
    rate_records::LineSplitter<CollectRecords> splitter(sink, wide);
    for (size_t at = 0; at < file.size(); at += blockSize)
        splitter.block(file.data() + at, file.data() + std::min(file.size(), at + blockSize));
    splitter.finish();
    return sink.records;
}

// The processor's wide search for line ends is what runs here when it has
// one; the narrow one must cut every file into the same records.
TEST_P(RateTableAgainstFile, BothSearchesForLineEndsCutTheSameRecords) {
    std::mt19937 random(GetParam());
    const std::string file = randomRateFile(random);
    for (const size_t blockSize : {size_t{1}, size_t{63}, size_t{64}, size_t{65}, size_t{4096}})
        EXPECT_EQ(splitInBlocks(file, blockSize, false), splitInBlocks(file, blockSize, true)) << blockSize;
}

TEST(RateTable, AKeyNeverAskedForReadsAsUnmatched) {
    const fs::path file = storage_testing::scratchFolder("unasked") / "Ratefile.prn";
    storage_testing::writeBytes(file, rateRecord({}) + "\r\n");
    RateTable table;
    table.want(26, 81, std::vector<double>{54});
    ASSERT_TRUE(table.read(file.string()).ok());
    EXPECT_FALSE(table.rates(26, 81, std::vector<double>{41})[0].found);
}

// Answers every premium with the rows it holds and remembers the question.
class StubSource : public RateSource {
public:
    SourcedRates answer;
    std::vector<double> askedCodes;
    double askedState = -1;
    double askedCounty = -1;

    SourcedRates ratesFor(Platform&, double state, double county, std::span<const double> codes) override {
        askedState = state;
        askedCounty = county;
        askedCodes.assign(codes.begin(), codes.end());
        return answer;
    }
};

// What a premium asked and got is kept, the last question's only, and the
// answer passed on as it came.
TEST(RecordingSource, PassesEachQuestionOnAndKeepsTheLastOne) {
    FakePlatform platform;
    StubSource inner;
    RecordingSource recording(inner);
    EXPECT_TRUE(recording.codes().empty());
    EXPECT_TRUE(recording.rows().empty());

    inner.answer.path = "first.prn";
    inner.answer.lookup.rows.resize(2);
    recording.ratesFor(platform, 26, 81, std::vector<double>{41, 54});
    CommodityRates found;
    found.found = true;
    found.line = 7;
    inner.answer.path = "second.prn";
    inner.answer.lookup.rows = {found};
    const SourcedRates given = recording.ratesFor(platform, 26, 82, std::vector<double>{54});

    EXPECT_EQ(inner.askedCounty, 82);
    EXPECT_EQ(given.path, "second.prn");
    EXPECT_EQ(recording.codes(), std::vector<double>{54});
    EXPECT_EQ(recording.answer().path, "second.prn");
    ASSERT_EQ(recording.rows().size(), 1U);
    EXPECT_EQ(recording.rows()[0].line, 7U);
}

// Michigan, Kent (26, 81): two commodities with KBTs 300 and 100.
void readyForPremium(Worksheet& ws) {
    ws.select({Control::St, 0});
    ws.select({Control::Mi1, 2});
    for (int k = 0; k < 5; ++k) ws.setText({Control::Allinc1, k}, "1000");
    ws.setText({Control::Averageinc}, "1000");
    for (const auto& [row, code, amount] : {std::tuple{0, "41", "300"}, {1, "54", "100"}}) {
        ws.setText({Control::Cropname1, row}, "Commodity");
        ws.setText({Control::Unit1, row}, code);
        ws.setText({Control::Totamt1, row}, amount);
        ws.setText({Control::Expval1, row}, "1");
    }
}

TEST(FormRates, ThePremiumTakesItsRatesFromTheInjectedSource) {
    FakePlatform platform;  // no folders: reading a file would find none
    StubSource source;
    CommodityRates rates;
    rates.rates = {0.08, 0.06, 0.04};
    rates.found = true;
    source.answer = {"/rates/Ratefile.prn", {{rates, CommodityRates{}}, std::nullopt, 1234}, std::nullopt};
    Form form(platform, source);
    readyForPremium(form.worksheet());

    form.click(Control::Command4);
    EXPECT_EQ(platform.messages.size(), 0u);
    EXPECT_EQ(source.askedState, 26);
    EXPECT_EQ(source.askedCounty, 81);
    EXPECT_EQ(source.askedCodes, (std::vector<double>{41, 54}));
    EXPECT_EQ(form.worksheet().text({Control::Text24, 2}), "0.03");  // 0.04 weighted by the share 0.75
    ASSERT_TRUE(form.lastRateFileUse());
    EXPECT_EQ(form.lastRateFileUse()->path, "/rates/Ratefile.prn");
    EXPECT_EQ(form.lastRateFileUse()->records, 1234u);
    EXPECT_EQ(form.lastRateFileUse()->commodities, 2);
    EXPECT_EQ(form.lastRateFileUse()->found, 1);

    // A premium that stops before reading forgets the last one.
    form.worksheet().setText({Control::Allinc1, 0}, "0");
    form.click(Control::Command4);
    EXPECT_FALSE(form.lastRateFileUse());
}

TEST(FormRates, ATableWithoutAFileGivesTheWindowsMessagesAndNoUse) {
    const RateTable table;
    struct Case {
        std::optional<std::string> path;
        std::optional<RateFileError> error;
        std::string firstMessage;
    };
    for (const Case& c : {Case{std::nullopt, std::nullopt, "Ratefile.prn - cannot find file"},
                          Case{"/r/Ratefile.prn", RateFileError{13, "Permission denied"}, "Error #  13 was"}}) {
        FakePlatform platform;
        RateTableSource source(table, c.path, c.error);
        Form form(platform, source);
        readyForPremium(form.worksheet());
        form.click(Control::Command4);
        ASSERT_EQ(platform.messages.size(), 2u);
        EXPECT_EQ(platform.messages[0].text.rfind(c.firstMessage, 0), 0u) << platform.messages[0].text;
        EXPECT_FALSE(form.lastRateFileUse());
    }
}

TEST(FormRates, TheWindowsFormReadsTheFileOfItsPlaces) {
    FakePlatform platform;
    const fs::path folder = storage_testing::scratchFolder("places");
    storage_testing::writeBytes(folder / "Ratefile.prn",
                                rateRecord({}) + "\r\n" + rateRecord({.code = "  99"}) + "\r\n");
    platform.folders = {folder.string()};
    Form form(platform);
    readyForPremium(form.worksheet());
    form.click(Control::Command4);
    ASSERT_TRUE(form.lastRateFileUse());
    EXPECT_EQ(form.lastRateFileUse()->path, (folder / "Ratefile.prn").string());
    EXPECT_EQ(form.lastRateFileUse()->records, 2u);
    EXPECT_EQ(form.lastRateFileUse()->found, 1);
}

}  // namespace
}  // namespace kbt2
