// kbt2-quote as a user runs it: exit statuses, what goes to standard output
// and standard error, and the output file written whole or not at all.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "run_process.h"
#include "storage_test_support.h"

namespace kbt2 {
namespace {

namespace fs = std::filesystem;
using testing_support::runProcess;

const std::string kFixtures = KBT2_FIXTURES_DIR;
const std::string kSample = kFixtures + "/sample.wsk";
const std::string kHeader =
    "file,status,message,warnings,coverage,indemnity_threshold,weighted_rate,diversification_factor,kbt_rate,"
    "kbt_liability,net_kbt_liability,gross_premium,subsidy,producer_premium,preliminary_kbt,total_expected_kbt,"
    "allowable_kbt,crops\r\n";
const std::string kSampleLine = kSample + ",ok,,mpci-over-50,.65,116,0.042,0.698,0.029,87,44,1,0,1,179,48400,179,3\r\n";

struct CliCase {
    const char* name;
    std::vector<std::string> arguments;  // @RATES@ is the sample rate file, @SCRATCH@ the test's folder
    int status;
    std::string out;  // exactly; "*" when only the status and the error output matter
    std::string err;  // a part of the error output; empty when there must be none
};

// clang-format off
const CliCase kCases[] = {
    {"NoArguments",         {},                                        2, "", "no worksheet file or folder given"},
    {"UnknownOption",       {"--fast", kSample},                       2, "", "unknown option --fast"},
    {"BadFormat",           {"--format", "xml", kSample},              2, "", "--format takes csv or jsonl"},
    {"RatesWithoutFile",    {kSample, "--rates"},                      2, "", "--rates needs a rate file"},
    {"OutputIntoNoFolder",  {"--output", "@SCRATCH@/no/such/q.csv", kSample}, 2, "", "The folder does not exist."},
    {"JobsZero",            {"--jobs", "0", kSample},                  2, "", "--jobs takes a number of threads"},
    {"JobsNotANumber",      {"--jobs=two", kSample},                   2, "", "--jobs takes a number of threads"},
    {"CompareWithoutFile",  {kSample, "--compare"},                    2, "", "--compare needs the old rate file"},
    {"ChangedOnlyAlone",    {"--changed-only", kSample},               2, "", "--changed-only needs --compare"},
    {"DetailsWithCompare",  {"--format=jsonl", "--details", "--compare=@RATES@", kSample}, 2, "", "--details is not for --compare"},
    {"CompareOneWorksheet", {"--jobs=3", "--rates", "@RATES@", "--compare=@RATES@", kSample}, 0,
     "file,status,message,producer,county,coverage,old_producer_premium,new_producer_premium,change,change_percent,"
     "old_gross_premium,new_gross_premium,old_weighted_rate,new_weighted_rate,changes\r\n" +
     kSample + ",ok,,Jane Doe,Marion,.65,1,1,0,0.0,1,1,0.042,0.042,\r\n", ""},
    {"Help",                {"--help"},                                0, "*", ""},
    {"Version",             {"--version"},                             0, "kbt2-quote 1.0.0\n", ""},
    {"OneWorksheet",        {"--rates", "@RATES@", kSample},           0, kHeader + kSampleLine, ""},
    {"MissingWorksheet",    {"--rates", "@RATES@", "@SCRATCH@/none.wsk", kSample}, 1,
     kHeader + "@SCRATCH@/none.wsk,error,\"The worksheet file \"\"@SCRATCH@/none.wsk\"\" could not be opened. The file does not exist.\",,,,,,,,,,,,,,,\r\n" + kSampleLine, ""},
    {"RatesAFolder",        {"--rates", "@SCRATCH@", kSample},          1,
     kHeader + kSample + ",error,\"Ratefile.prn - cannot find file, Program will not work without it If you put the file in the root(C:\\) the program will find it there.\",,,,,,,,,,,,,,,\r\n",
     "no ordinary file of that name"},
    {"RatesADevice",        {"--rates", "/dev/zero", kSample},         1, "*", "/dev/zero: no ordinary file"},
    {"RateFileEmpty",       {"--rates", "/dev/null", "--format", "jsonl", kSample}, 1, "*", "/dev/null: no ordinary file"},
    {"EmptyFolder",         {"--rates", "@RATES@", "@SCRATCH@"},       1, kHeader, ": the folder holds no worksheet (*.wsk)"},
    {"DoubleDashEndsOptions", {"--rates", "@RATES@", "--", "--help"},  1, "*", ""},
    {"Jsonl",               {"--format=jsonl", "--rates=@RATES@", kSample}, 0,
     "{\"file\":\"" + kSample + "\",\"status\":\"ok\",\"message\":\"\",\"warnings\":[\"mpci-over-50\"],\"levels\":[{\"coverage\":\".65\","
     "\"indemnity_threshold\":\"116\",\"weighted_rate\":\"0.042\",\"diversification_factor\":\"0.698\",\"kbt_rate\":\"0.029\","
     "\"kbt_liability\":\"87\",\"net_kbt_liability\":\"44\",\"gross_premium\":\"1\",\"subsidy\":\"0\",\"producer_premium\":\"1\"}],"
     "\"preliminary_kbt\":\"179\",\"total_expected_kbt\":\"48400\",\"allowable_kbt\":\"179\",\"crops\":\"3\"}\n", ""},
};
// clang-format on

void PrintTo(const CliCase& c, std::ostream* os) { *os << c.name; }

std::string expanded(std::string text, const fs::path& scratch) {
    for (const auto& [mark, value] :
         {std::pair<std::string, std::string>{"@SCRATCH@", scratch.string()}, {"@RATES@", KBT2_SAMPLE_RATE_FILE}})
        for (size_t at; (at = text.find(mark)) != std::string::npos;) text.replace(at, mark.size(), value);
    return text;
}

class QuoteCli : public ::testing::TestWithParam<CliCase> {};

TEST_P(QuoteCli, ExitStatusAndOutput) {
    const CliCase& c = GetParam();
    const fs::path scratch = storage_testing::scratchFolder("cli");
    std::vector<std::string> command{KBT2_QUOTE};
    for (const std::string& argument : c.arguments) command.push_back(expanded(argument, scratch));
    const auto result = runProcess(command, scratch);
    EXPECT_EQ(result.status, c.status) << result.err;
    if (c.out != "*") {
        EXPECT_EQ(result.out, expanded(c.out, scratch));
    }
    if (c.err.empty())
        EXPECT_EQ(result.err, "");
    else
        EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
    if (c.status == 2) {
        EXPECT_NE(result.err.find("usage: kbt2-quote"), std::string::npos) << result.err;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, QuoteCli, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(QuoteCliOutput, AFolderGivesItsWorksheetsInNameOrderIntoTheOutputFile) {
    const fs::path scratch = storage_testing::scratchFolder("folder");
    fs::create_directories(scratch / "in" / "sub.wsk");
    for (const char* name : {"b.wsk", "a.WSK", "notes.txt"}) fs::copy_file(kSample, scratch / "in" / name);
    fs::copy_file(kSample, scratch / "in" / "sub.wsk" / "c.wsk");
    const fs::path output = scratch / "quotes.csv";
    storage_testing::writeBytes(output, "old");
    const auto result = runProcess(
        {KBT2_QUOTE, "--rates", KBT2_SAMPLE_RATE_FILE, "--output", output.string(), (scratch / "in").string()},
        scratch);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
    const std::string tail = ",ok,,mpci-over-50,.65,116,0.042,0.698,0.029,87,44,1,0,1,179,48400,179,3\r\n";
    const std::string in = (scratch / "in").string();
    EXPECT_EQ(storage_testing::readBytes(output), kHeader + in + "/a.WSK" + tail + in + "/b.wsk" + tail);
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch), fs::directory_iterator()), 4);  // no temporary left
}

}  // namespace
}  // namespace kbt2
