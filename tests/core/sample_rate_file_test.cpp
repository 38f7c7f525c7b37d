// The sample rate file shipped with the program must cover every county and
// every commodity of the worksheet, and be found where the program looks.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "commodities/catalogue.h"
#include "location/states.h"
#include "rates/rate_file.h"
#include "rates/rate_file_places.h"

namespace kbt2 {
namespace {

// tests/data is a sibling of the source tree's data/ folder.
const std::string kSample =
    (std::filesystem::path(KBT2_TEST_DATA_DIR).parent_path().parent_path() / "data" / "Ratefile.prn").string();

std::vector<double> catalogueCodes() {
    std::set<double> codes;
    for (const CommodityEntry& e : catalogue()) codes.insert(e.code);
    return {codes.begin(), codes.end()};
}

bool livestockCode(double code) {
    return (code >= 800 && code <= 810) || (code >= 820 && code <= 823) || (code >= 840 && code <= 846);
}

TEST(SampleRateFile, EveryLineIsSixtyCharactersAndCrLf) {
    std::ifstream in(kSample, std::ios::binary);
    ASSERT_TRUE(in);
    const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(content.size() % 62, 0u);
    for (size_t at = 0; at < content.size(); at += 62) {
        ASSERT_EQ(content.substr(at + 60, 2), "\r\n") << "line " << at / 62 + 1;
        ASSERT_EQ(content.substr(at, 60).find_first_of("\r\n"), std::string::npos) << "line " << at / 62 + 1;
    }
}

// Its last line marks it as the made-up sample wherever it is copied; that
// line is no record, so the records and their line numbers stay as they were.
TEST(SampleRateFile, ItsMarkLineMakesItKnownAndIsNoRecord) {
    const RateLookup r = readRates(kSample, 26, 5, std::vector<double>{11});
    ASSERT_FALSE(r.error);
    EXPECT_TRUE(r.sample);
    EXPECT_TRUE(r.keyed);
    EXPECT_EQ(r.records, 5652u);
    ASSERT_TRUE(r.rows[0].found);
    EXPECT_EQ(r.rows[0].line, 1u);
}

TEST(SampleRateFile, RatesEveryCommodityOfEveryCounty) {
    const std::vector<double> codes = catalogueCodes();
    for (const CountyInfo& county : counties()) {
        int stateCode = 0;
        for (const StateInfo& s : states())
            if (s.counties == county.array) stateCode = s.code;
        const RateLookup r = readRates(kSample, stateCode, county.code, codes);
        ASSERT_FALSE(r.error);
        for (size_t i = 0; i < codes.size(); ++i) {
            const CommodityRates& row = r.rows[i];
            SCOPED_TRACE(std::string(county.caption) + " code " + std::to_string(codes[i]));
            EXPECT_GE(row.rates[0], 0.02);
            EXPECT_LE(row.rates[0], 0.09);
            EXPECT_GT(row.rates[1], row.rates[2]);
            EXPECT_GT(row.rates[0], row.rates[1]);
            EXPECT_GT(row.rates[2], 0);
            EXPECT_EQ(row.livestock(), livestockCode(codes[i]));
            EXPECT_TRUE(row.livestockFlag == 'Y' || row.livestockFlag == 'N');
        }
    }
}

TEST(SampleRateFile, MarksTheCommonFieldCropsInsurable) {
    const std::vector<double> codes{41, 81, 11, 91, 16, 51, 21, 18, 47, 84, 39, 71, 75, 78, 15, 54, 53, 800, 609};
    const RateLookup r = readRates(kSample, 26, 81, codes);
    for (size_t i = 0; i < codes.size(); ++i)
        EXPECT_EQ(r.rows[i].insurable(), codes[i] < 800 && codes[i] != 609) << codes[i];
}

TEST(SampleRateFile, IsCopiedToTheProgramsDataFolder) {
    // The tests run from bin/ of the build tree, laid out like an installation.
    const std::string copy = programDataFolder() + "/Ratefile.prn";
    ASSERT_TRUE(std::filesystem::is_regular_file(copy)) << copy;
    EXPECT_EQ(std::filesystem::file_size(copy), std::filesystem::file_size(kSample));
}

}  // namespace
}  // namespace kbt2
