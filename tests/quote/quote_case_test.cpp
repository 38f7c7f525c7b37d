// A worksheet saved as a case's base stands for every scenario of the case:
// each is quoted as its own lines, named in the last column, and a case
// whose files are partly missing or damaged quotes what is sound and says
// what is not.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "run_process.h"
#include "storage/case_index.h"
#include "storage_test_support.h"

namespace kbt2 {
namespace {

namespace fs = std::filesystem;
using testing_support::runProcess;

const std::string kSample = std::string(KBT2_FIXTURES_DIR) + "/sample.wsk";

// The sample's producer renamed, so that each scenario's lines tell whose they are.
std::string worksheetOf(const std::string& producer) {
    std::string worksheet = storage_testing::readBytes(kSample);
    worksheet.replace(0, worksheet.find("\r\n"), producer);
    return worksheet;
}

// farm.wsk with two scenarios beside it; `spoil` may damage the case.
fs::path writeCase(const fs::path& scratch, const std::function<void(const fs::path&, CaseIndex&)>& spoil) {
    const fs::path base = scratch / "farm.wsk";
    const fs::path folder = scratch / "farm.wsk.scenarios";
    fs::create_directories(folder);
    const std::string baseBytes = worksheetOf("Base Farm");
    storage_testing::writeBytes(base, baseBytes);
    storage_testing::writeBytes(folder / "02-hay-added.wsk", worksheetOf("Hay Farm"));
    storage_testing::writeBytes(folder / "03-milk-half.wsk", worksheetOf("Milk, Farm"));
    CaseIndex index{fingerprintOf(baseBytes),
                    {{"", "base", false, true},
                     {"02-hay-added.wsk", "Hay added", true, true},
                     {"03-milk-half.wsk", "Milk, half", false, false}}};
    spoil(folder, index);
    storage_testing::writeBytes(folder / "case.txt", formatCaseIndex(index));
    return base;
}

struct CaseRun {
    const char* name;
    std::function<void(const fs::path&, CaseIndex&)> spoil;
    int status;
    std::vector<std::string> lineEnds;  // each line's producer, county and scenario, in order
    std::string err;                    // a part of the error output; empty when none beyond the sample's
};

const CaseRun kRuns[] = {
    {"EveryScenarioInTheCasesOrder",
     [](const fs::path&, CaseIndex&) {},
     0,
     {"Base Farm,Marion,base", "Hay Farm,Marion,Hay added", "\"Milk, Farm\",Marion,\"Milk, half\""},
     ""},
    {"AMissingScenarioFileIsAnErrorLineOfItsOwn",
     [](const fs::path& folder, CaseIndex&) { fs::remove(folder / "02-hay-added.wsk"); },
     1,
     {"Base Farm,Marion,base", ",,Hay added", "\"Milk, Farm\",Marion,\"Milk, half\""},
     ""},
    {"ADamagedIndexQuotesTheBaseAloneAndSaysSo",
     [](const fs::path&, CaseIndex& index) { index.scenarios[1].file = "../elsewhere.wsk"; },
     1,
     {"Base Farm,Marion,base"},
     "the scenarios saved with it were not quoted: line 4 of their index"},
    {"ABaseSavedSinceWithoutItsScenariosIsQuotedAsItStands",
     [](const fs::path&, CaseIndex& index) { index.base.size += 1; },
     0,
     {"Base Farm,Marion,base"},
     "the file was saved again since without them; the base was quoted alone"},
};

class QuoteCase : public ::testing::TestWithParam<CaseRun> {};

TEST_P(QuoteCase, QuotesEachScenarioAsItsOwnLines) {
    const CaseRun& run = GetParam();
    const fs::path scratch = storage_testing::scratchFolder("case");
    const fs::path base = writeCase(scratch, run.spoil);
    // Given as a file and within its folder, the case is quoted the same way.
    for (const fs::path& argument : {base, scratch}) {
        const auto result = runProcess({KBT2_QUOTE, "--rates", KBT2_SAMPLE_RATE_FILE, argument.string()}, scratch);
        EXPECT_EQ(result.status, run.status) << result.err;
        std::vector<std::string> ends;
        for (size_t at = result.out.find("\r\n") + 2; at < result.out.size();) {
            const size_t end = result.out.find("\r\n", at);
            const std::string line = result.out.substr(at, end - at);
            // producer, county and scenario: the last three fields
            size_t from = line.size();
            for (int commas = 0; commas < 3 && from > 0;) {
                --from;
                if (line[from] == ',' && std::count(line.begin() + from, line.end(), '"') % 2 == 0) ++commas;
            }
            ends.push_back(line.substr(from + 1));
            at = end + 2;
        }
        EXPECT_EQ(ends, run.lineEnds) << result.out;
        if (!run.err.empty()) {
            EXPECT_NE(result.err.find(run.err), std::string::npos) << result.err;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, QuoteCase, ::testing::ValuesIn(kRuns),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(QuoteCaseLines, JsonNamesTheScenarioAndSummariesAreNamedAfterTheCase) {
    const fs::path scratch = storage_testing::scratchFolder("case-json");
    const fs::path base = writeCase(scratch, [](const fs::path&, CaseIndex&) {});
    const auto result = runProcess({KBT2_QUOTE, "--format=jsonl", "--rates", KBT2_SAMPLE_RATE_FILE, "--summaries",
                                    (scratch / "pdf").string(), base.string()},
                                   scratch);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("\"scenario\":\"Hay added\"}\n"), std::string::npos) << result.out;
    for (const char* pdf : {"farm.pdf", "farm-02-hay-added.pdf", "farm-03-milk-half.pdf"})
        EXPECT_TRUE(fs::exists(scratch / "pdf" / pdf)) << pdf;
}

}  // namespace
}  // namespace kbt2
