// The batch's county-wide rate table gives every row exactly what the
// window's own reading of the file gives, for every county a worksheet can
// select and every code, tells the line of the record that won, and refuses
// a file with more records than it takes.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "commodities/catalogue.h"
#include "fake_platform.h"
#include "location/states.h"
#include "quote/batch_rates.h"
#include "quote/rate_file_identity.h"
#include "rate_records.h"
#include "rates/county_rates.h"
#include "rates/rate_file.h"
#include "storage_test_support.h"

namespace kbt2::quote {
namespace {

namespace fs = std::filesystem;

// The sample file, then lines the reader must fit (short, long, ended by
// CR alone) and records that override earlier ones, some with odd columns.
fs::path trickyRateFile(const std::string& name) {
    std::string text = storage_testing::readBytes(KBT2_SAMPLE_RATE_FILE);
    text += "26 MI  081    41  Y     N         0.111      0.222     0.333 and more\r";
    text += "26 MI  081    54  N     Y         0.5\n";
    text += "   MI   81    11  Y     Y         0.444      0.555     0.666\r\n";  // no state: state 0
    text += "26 MI  081  0041  N     N         0.777      0.888     0.999\r\n";  // wins over the first
    text += "26 MI  +81    13  Y     Y         0.101      0.202     0.303\r\n";  // a sign: county 81 all the same
    text += "23 ME  005  9999  N     N         1.000      2.000     3.000";      // no line end
    const fs::path path = storage_testing::scratchFolder("county-rates") / name;
    storage_testing::writeBytes(path, text);
    return path;
}

void expectSameRows(const std::vector<CommodityRates>& got, const std::vector<CommodityRates>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(got[i].rates, want[i].rates);
        EXPECT_EQ(got[i].livestockFlag, want[i].livestockFlag);
        EXPECT_EQ(got[i].insurableFlag, want[i].insurableFlag);
        EXPECT_EQ(got[i].found, want[i].found);
        EXPECT_EQ(got[i].line, want[i].line);
    }
}

// In one reading, and (blocks of 4096) in two parts at once.
class CountyRateBlocks : public testing::TestWithParam<size_t> {};

TEST_P(CountyRateBlocks, GivesEveryCountyAndCodeWhatReadingTheFileGives) {
    const fs::path path = trickyRateFile("Ratefile.prn");
    CountyRateTable table;
    ASSERT_TRUE(table.read(path.string(), {}, GetParam()).ok());
    ASSERT_FALSE(table.overflowed());

    std::vector<double> codes{0, 9999, 41.5};
    for (const CommodityEntry& entry : catalogue()) codes.push_back(entry.code);
    std::vector<std::pair<double, double>> places{{0, 0}, {0, 81}, {26, 0}};
    for (const StateInfo& state : states())
        for (const CountyInfo& county : counties())
            if (county.array == state.counties) places.emplace_back(state.code, county.code);
    for (const auto& [state, county] : places) {
        SCOPED_TRACE(std::to_string(state) + " " + std::to_string(county));
        const RateLookup read = readRates(path.string(), state, county, codes);
        ASSERT_FALSE(read.error);
        expectSameRows(table.rates(state, county, codes), read.rows);
        EXPECT_EQ(table.records(), read.records);
    }
}

TEST_P(CountyRateBlocks, TellsTheLineOfTheRecordThatWon) {
    CountyRateTable table;
    ASSERT_TRUE(table.read(trickyRateFile("Ratefile.prn").string(), {}, GetParam()).ok());
    const auto sampleLines = storage_testing::crlfLines(storage_testing::readBytes(KBT2_SAMPLE_RATE_FILE)).size();
    const auto lineOf = [&table](double state, double county, double code) {
        const double codes[] = {code};
        return table.rates(state, county, codes)[0].line;
    };
    EXPECT_EQ(lineOf(26, 81, 41), sampleLines + 4);  // the later of two
    EXPECT_EQ(lineOf(26, 81, 54), sampleLines + 2);
    EXPECT_EQ(lineOf(0, 81, 11), sampleLines + 3);
    EXPECT_EQ(lineOf(26, 81, 13), sampleLines + 5);
    EXPECT_EQ(lineOf(23, 5, 9999), sampleLines + 6);
    EXPECT_EQ(lineOf(26, 81, 12345), 0u);
}

TEST_P(CountyRateBlocks, RefusesMoreRecordsThanItTakes) {
    CountyRateTable table(100);
    ASSERT_TRUE(table.read(trickyRateFile("Ratefile.prn").string(), {}, GetParam()).ok());
    EXPECT_TRUE(table.overflowed());
    EXPECT_FALSE(table.rates(26, 81, std::vector<double>{41})[0].found);
}

INSTANTIATE_TEST_SUITE_P(Readings, CountyRateBlocks, testing::Values(kRateFileBlockSize, size_t{4096}));

// Read in two halves, the table counts the keys of both: each half's alone
// fit, together they do not.
TEST(CountyRateTable, CountsTheKeysOfBothHalvesTogether) {
    std::string text;
    for (int code = 1; code <= 4000; ++code)
        text += testing_support::rateRecord({.code = std::to_string(code)}) + "\r\n";
    const fs::path path = storage_testing::scratchFolder("county-halves") / "Ratefile.prn";
    storage_testing::writeBytes(path, text);
    for (const auto& [limit, overflows] : {std::pair{size_t{3000}, true}, std::pair{size_t{4000}, false}}) {
        CountyRateTable table(limit);
        ASSERT_TRUE(table.read(path.string(), {}, 4096).ok());
        EXPECT_EQ(table.overflowed(), overflows) << limit;
        if (!overflows) EXPECT_EQ(table.rates(26, 81, std::vector<double>{4000})[0].line, 4000u);
    }
}

// A file too large for the county-wide table is read again for the keys
// the worksheets ask for, and gives the same rows.
TEST(BatchRates, ReadsAFileTooLargeCountyWideForTheWorksheetsKeys) {
    const std::string path = trickyRateFile("Ratefile.prn").string();
    std::ostringstream errors;
    BatchRates whole;
    BatchRates keyed(100);
    for (BatchRates* rates : {&whole, &keyed}) {
        rates->locate(path, errors);
        rates->readCountyWide();
    }
    EXPECT_FALSE(whole.needsKeys());
    ASSERT_TRUE(keyed.needsKeys());
    const std::vector<double> codes{41, 54, 13, 11, 12345};
    keyed.keyed().want(26, 81, codes);
    keyed.readKeyed();
    testing_support::FakePlatform platform;
    const SourcedRates fromKeys = keyed.source().ratesFor(platform, 26, 81, codes);
    const SourcedRates countyWide = whole.source().ratesFor(platform, 26, 81, codes);
    EXPECT_EQ(fromKeys.path, countyWide.path);
    EXPECT_FALSE(fromKeys.lookup.error);
    expectSameRows(fromKeys.lookup.rows, countyWide.lookup.rows);
    EXPECT_EQ(fromKeys.lookup.records, countyWide.lookup.records);
    EXPECT_EQ(errors.str(), "");
}

// A handful of worksheets read the file for their keys only: the same rows,
// and a reading with identify() names the copy read as the file itself does.
TEST(BatchRates, ReadByKeysOnlyGivesTheRowsAndIdentityOfTheWholeReading) {
    const std::string path = trickyRateFile("Ratefile.prn").string();
    std::ostringstream errors;
    BatchRates whole;
    BatchRates keyed;
    for (BatchRates* rates : {&whole, &keyed}) {
        rates->locate(path, errors);
        rates->identify();
    }
    whole.readCountyWide();
    keyed.readByKeysOnly();
    keyed.readCountyWide();  // passed over
    ASSERT_TRUE(keyed.needsKeys());
    EXPECT_FALSE(keyed.identity());
    const std::vector<double> codes{41, 54, 13, 11, 12345};
    keyed.keyed().want(26, 81, codes);
    keyed.readKeyed();
    testing_support::FakePlatform platform;
    const SourcedRates fromKeys = keyed.source().ratesFor(platform, 26, 81, codes);
    const SourcedRates countyWide = whole.source().ratesFor(platform, 26, 81, codes);
    expectSameRows(fromKeys.lookup.rows, countyWide.lookup.rows);
    EXPECT_EQ(fromKeys.lookup.records, countyWide.lookup.records);

    const SummaryRateFile file = rateFileIdentity(path, countyWide.lookup.records);
    for (const BatchRates* rates : {&whole, &keyed}) {
        ASSERT_TRUE(rates->identity());
        EXPECT_EQ(rates->identity()->path, file.path);
        EXPECT_EQ(rates->identity()->size, file.size);
        EXPECT_EQ(rates->identity()->modified, file.modified);
        EXPECT_EQ(rates->identity()->sha256, file.sha256);
        EXPECT_EQ(rates->identity()->records, file.records);
    }
    EXPECT_FALSE(whole.refused(errors));
    EXPECT_FALSE(keyed.refused(errors));
    EXPECT_EQ(errors.str(), "");
}

// Read for no key at all, a file without a valid record is still refused,
// and the sample still known, as when read county-wide.
TEST(BatchRates, ReadByKeysOnlyForNoKeyStillTellsWhatTheFileIs) {
    const fs::path notRates = storage_testing::scratchFolder("county-rates") / "notes.txt";
    storage_testing::writeBytes(notRates, "no records here\r\n");
    for (const std::string& path : {notRates.string(), std::string(KBT2_SAMPLE_RATE_FILE)}) {
        SCOPED_TRACE(path);
        std::ostringstream errors;
        BatchRates whole;
        BatchRates keyed;
        whole.locate(path, errors);
        keyed.locate(path, errors);
        whole.readCountyWide();
        keyed.readByKeysOnly();
        keyed.readKeyed();
        std::ostringstream wholeSaid;
        std::ostringstream keyedSaid;
        EXPECT_EQ(keyed.refused(keyedSaid), whole.refused(wholeSaid));
        EXPECT_EQ(keyedSaid.str(), wholeSaid.str());
        EXPECT_EQ(keyed.sample(), whole.sample());
    }
}

}  // namespace
}  // namespace kbt2::quote
