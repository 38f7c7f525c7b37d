// kbt2-quote --details: the details object's keys and numbers, and its
// figures equal to the fields the same quote prints.

#include "app/quote/quote_details.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "quote/rate_file_identity.h"
#include "run_process.h"
#include "storage_test_support.h"

namespace kbt2 {
namespace {

using testing_support::runProcess;

const std::string kSample = std::string(KBT2_FIXTURES_DIR) + "/sample.wsk";

TEST(QuoteDetailsJson, WritesEveryKeyInOrderWithPlainNumbers) {
    QuoteSummary s;
    PremiumFigures& f = s.premium;
    f.averageIncome = 1000;
    f.projectedKbt = 1000;
    f.totalExpectedKbt = 100;
    f.allowableKbt = 100;
    s.commodities.push_back({"Corn \"yellow\"", "41", 12});
    f.rows.push_back({100, 1, false, true, {0.052, 0.041, 0.03}, {0.052, 0.041, 0.03}});
    s.commodities.push_back({"Hay", "100", std::nullopt});
    f.rows.push_back({0, 0, false, false, {}, {}});
    f.equalShare = 0.5;
    f.deviationSum = 1;
    f.threshold = 0.25;
    f.significantCount = 1;
    f.diversificationFactor = 0.992;
    // threshold, weighted rate, factor, KBT rate, liability, net, gross, subsidy, producer; offered
    f.columns = {PremiumColumn{{80, 0.052, 0.992, 0.052, 60, 60, 3, 1, 2}, false},
                 PremiumColumn{{75, 0.041, 0.992, 0.041, 56, 56, 2, 1, 1}, false},
                 PremiumColumn{{65, 0.03, 0.992, 0.03, 49, 49, 1, 0, 1}, true}};
    s.rateFile = {"/r/Ratefile.prn", 120, "2026-11-30T08:15:00", "ab", 2};
    EXPECT_EQ(quote::detailsJson(s),
              "{\"average_income\":1000,\"projected_kbt\":1000,\"total_expected_kbt\":100,\"allowable_kbt\":100,"
              "\"mpci\":0,\"commodities\":[{\"row\":0,\"name\":\"Corn \\\"yellow\\\"\",\"code\":41,\"kbt\":100,"
              "\"share\":1,\"livestock\":false,\"insurable\":true,\"record_line\":12,\"rates\":[0.052,0.041,0.03],"
              "\"weighted\":[0.052,0.041,0.03]},{\"row\":1,\"name\":\"Hay\",\"code\":100,\"kbt\":0,\"share\":0,"
              "\"livestock\":false,\"insurable\":false,\"record_line\":null,\"rates\":[0,0,0],\"weighted\":[0,0,0]}],"
              "\"equal_share\":0.5,\"deviation_sum\":1,\"significance_threshold\":0.25,\"significant_count\":1,"
              "\"livestock_share\":0,\"livestock_or_insurable_share\":0,\"diversification_factor\":\"0.992\","
              "\"levels\":[{\"coverage\":\".80\",\"offered\":false,\"indemnity_threshold\":80,\"weighted_rate\":0.052,"
              "\"kbt_rate\":0.052,\"kbt_liability\":60,\"net_kbt_liability\":60,\"gross_premium\":3,\"subsidy\":1,"
              "\"producer_premium\":2},{\"coverage\":\".75\",\"offered\":false,\"indemnity_threshold\":75,"
              "\"weighted_rate\":0.041,\"kbt_rate\":0.041,\"kbt_liability\":56,\"net_kbt_liability\":56,"
              "\"gross_premium\":2,\"subsidy\":1,\"producer_premium\":1},{\"coverage\":\".65\",\"offered\":true,"
              "\"indemnity_threshold\":65,\"weighted_rate\":0.03,\"kbt_rate\":0.03,\"kbt_liability\":49,"
              "\"net_kbt_liability\":49,\"gross_premium\":1,\"subsidy\":0,\"producer_premium\":1}],"
              "\"rate_file\":{\"path\":\"/r/Ratefile.prn\",\"size\":120,\"modified\":\"2026-11-30T08:15:00\","
              "\"sha256\":\"ab\",\"records\":2}}");
}

TEST(QuoteDetailsCli, NeedsJsonLines) {
    const auto result = runProcess({KBT2_QUOTE, "--details", kSample}, storage_testing::scratchFolder("details"));
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("--details needs --format jsonl"), std::string::npos) << result.err;
}

// The sample worksheet: its .65 level as the fields print it (116, 0.042,
// 0.698, 0.029, 87, 44, 1, 0, 1), the same figures in the details; a
// worksheet that fails has none.
TEST(QuoteDetailsCli, FiguresEqualThePrintedFields) {
    const auto scratch = storage_testing::scratchFolder("details");
    const auto result = runProcess({KBT2_QUOTE, "--format", "jsonl", "--details", "--rates", KBT2_SAMPLE_RATE_FILE,
                                    kSample, (scratch / "none.wsk").string()},
                                   scratch);
    EXPECT_EQ(result.status, 1) << result.err;
    const auto lineEnd = result.out.find('\n');
    ASSERT_NE(lineEnd, std::string::npos);
    const std::string line = result.out.substr(0, lineEnd);
    const std::string failed = result.out.substr(lineEnd + 1);
    EXPECT_EQ(failed.find("\"details\":"), std::string::npos) << failed;

    const auto details = line.find(",\"details\":{\"average_income\":");
    ASSERT_NE(details, std::string::npos) << line;
    EXPECT_NE(line.find("\"allowable_kbt\":\"179\",\"crops\":\"3\",\"scenario\":\"base\",\"details\""),
              std::string::npos)
        << line;
    const std::string d = line.substr(details);
    for (const char* figure :
         {"\"allowable_kbt\":179,", "\"total_expected_kbt\":48400,", "\"diversification_factor\":\"0.698\"",
          "{\"coverage\":\".65\",\"offered\":true,\"indemnity_threshold\":116,\"weighted_rate\":0.042,"
          "\"kbt_rate\":0.029,\"kbt_liability\":87,\"net_kbt_liability\":44,\"gross_premium\":1,\"subsidy\":0,"
          "\"producer_premium\":1}",
          "{\"coverage\":\".80\",\"offered\":false,", "{\"row\":0,\"name\":\"Apples\",\"code\":54,"})
        EXPECT_NE(d.find(figure), std::string::npos) << figure << " in " << d;
    EXPECT_EQ(d.find("\"record_line\":null"), std::string::npos) << "every commodity of the sample has a record";
    EXPECT_NE(d.find("\"sha256\":\"" + sha256OfFile(KBT2_SAMPLE_RATE_FILE) + "\""), std::string::npos) << d;
    // Numbers only: a string (the SHA-256's hex digits) may hold "9e9".
    const std::string numbers = std::regex_replace(d, std::regex("\"[^\"]*\""), "\"\"");
    EXPECT_FALSE(std::regex_search(numbers, std::regex("[0-9][eE][-+]?[0-9]"))) << "a number with an exponent: " << d;
}

TEST(QuoteDetailsCli, SummariesGivesAPdfPerQuotedWorksheetNamedAfterIt) {
    const auto scratch = storage_testing::scratchFolder("summaries");
    const auto folder = scratch / "pdf" / "new";
    const auto result = runProcess({KBT2_QUOTE, "--summaries", folder.string(), "--rates", KBT2_SAMPLE_RATE_FILE,
                                    kSample, (scratch / "none.wsk").string()},
                                   scratch);
    EXPECT_EQ(result.status, 1) << result.err;
    // The CSV is as without the option.
    EXPECT_NE(result.out.find(
                  ",ok,,mpci-over-50,.65,116,0.042,0.698,0.029,87,44,1,0,1,179,48400,179,3,Jane Doe,Marion,base\r\n"),
              std::string::npos)
        << result.out;
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "sample.pdf"));
    EXPECT_FALSE(std::filesystem::exists(folder / "none.pdf"));
    const auto text = runProcess({"pdftotext", (folder / "sample.pdf").string(), "-"}, scratch);
    EXPECT_NE(text.out.find("Rates from Ratefile.prn"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("This is an estimate, not an offer of insurance."), std::string::npos) << text.out;
}

}  // namespace
}  // namespace kbt2
