// kbt2-quote as a user runs it: exit statuses, what goes to standard output
// and standard error, and the output file written whole or not at all.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>
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
    "allowable_kbt,crops,producer,county,scenario\r\n";
const std::string kSampleLine =
    kSample + ",ok,,mpci-over-50,.65,116,0.042,0.698,0.029,87,44,1,0,1,179,48400,179,3,Jane Doe,Marion,base\r\n";
// What a run priced from the shipped sample table says once on standard error.
const std::string kMadeUp = "the sample rate table shipped with the program; its rates are made up";

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
    {"BadLanguage",         {"--summaries", "@SCRATCH@/pdf", "--language", "xx", kSample}, 2, "", "--language takes en or es"},
    {"LanguageWithoutValue", {kSample, "--summaries=@SCRATCH@/pdf", "--language"}, 2, "", "--language takes en or es"},
    {"LanguageInCapitals",  {"--summaries=@SCRATCH@/pdf", "--language=ES", kSample}, 2, "", "--language takes en or es"},
    {"LanguageWithoutSummaries", {"--language=es", kSample},           2, "", "--language needs --summaries"},
    {"DetailsWithCompare",  {"--format=jsonl", "--details", "--compare=@RATES@", kSample}, 2, "", "--details is not for --compare"},
    {"CompareOneWorksheet", {"--jobs=3", "--rates", "@RATES@", "--compare=@RATES@", kSample}, 0,
     "file,status,message,producer,county,coverage,old_producer_premium,new_producer_premium,change,change_percent,"
     "old_gross_premium,new_gross_premium,old_weighted_rate,new_weighted_rate,changes,scenario\r\n" +
     kSample + ",ok,,Jane Doe,Marion,.65,1,1,0,0.0,1,1,0.042,0.042,,base\r\n", kMadeUp},
    {"Help",                {"--help"},                                0, "*", ""},
    {"Version",             {"--version"},                             0, "kbt2-quote 1.0.0\n", ""},
    {"OneWorksheet",        {"--rates", "@RATES@", kSample},           0, kHeader + kSampleLine, kMadeUp},
    {"MissingWorksheet",    {"--rates", "@RATES@", "@SCRATCH@/none.wsk", kSample}, 1,
     kHeader + "@SCRATCH@/none.wsk,error,\"The worksheet file \"\"@SCRATCH@/none.wsk\"\" could not be opened. The file does not exist.\",,,,,,,,,,,,,,,,,,base\r\n" + kSampleLine, kMadeUp},
    // A rate table that can price nothing is refused before any worksheet.
    {"RatesAFolder",        {"--rates", "@SCRATCH@", kSample},          2, "", "no ordinary file of that name"},
    {"RatesADevice",        {"--rates", "/dev/zero", kSample},         2, "", "/dev/zero: no ordinary file"},
    {"RateFileEmpty",       {"--rates", "/dev/null", "--format", "jsonl", kSample}, 2, "", "/dev/null: no ordinary file"},
    {"RatesNotThere",       {"--rates", "@SCRATCH@/none.prn", kSample}, 1,
     kHeader + kSample + ",error,\"Ratefile.prn - cannot find file, Program will not work without it If you put the file in the root(C:\\) the program will find it there.\",,,,,,,,,,,,,,,,Jane Doe,Marion,base\r\n",
     "none.prn: no ordinary file of that name"},
    {"CompareAFolder",      {"--rates", "@RATES@", "--compare", "@SCRATCH@", kSample}, 2, "", "no ordinary file of that name"},
    {"EmptyFolder",         {"--rates", "@RATES@", "@SCRATCH@"},       1, kHeader, ": the folder holds no worksheet (*.wsk)"},
    {"DoubleDashEndsOptions", {"--rates", "@RATES@", "--", "--help"},  1, "*", kMadeUp},
    {"Jsonl",               {"--format=jsonl", "--rates=@RATES@", kSample}, 0,
     "{\"file\":\"" + kSample + "\",\"status\":\"ok\",\"message\":\"\",\"warnings\":[\"mpci-over-50\"],\"levels\":[{\"coverage\":\".65\","
     "\"indemnity_threshold\":\"116\",\"weighted_rate\":\"0.042\",\"diversification_factor\":\"0.698\",\"kbt_rate\":\"0.029\","
     "\"kbt_liability\":\"87\",\"net_kbt_liability\":\"44\",\"gross_premium\":\"1\",\"subsidy\":\"0\",\"producer_premium\":\"1\"}],"
     "\"preliminary_kbt\":\"179\",\"total_expected_kbt\":\"48400\",\"allowable_kbt\":\"179\",\"crops\":\"3\",\"scenario\":\"base\"}\n", kMadeUp},
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
    const std::string tail =
        ",ok,,mpci-over-50,.65,116,0.042,0.698,0.029,87,44,1,0,1,179,48400,179,3,Jane Doe,Marion,base\r\n";
    const std::string in = (scratch / "in").string();
    EXPECT_EQ(storage_testing::readBytes(output), kHeader + in + "/a.WSK" + tail + in + "/b.wsk" + tail);
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch), fs::directory_iterator()), 4);  // no temporary left
}

// Rate tables that cannot price the sample worksheet (Marion county: apples
// 54 on line 5216, cranberries 58 on 5219, rye 94 on 5238 of the sample
// table), and the sample itself: each through a plain run with summaries, in
// CSV and in JSON lines.
struct TableCase {
    const char* name;
    std::function<std::string(const std::string& sample)> content;
    int status;
    std::string warnings;      // the CSV's warnings column; "" for a refused table
    std::string unratedCodes;  // the JSON line's "no_rate_record", as written
    std::vector<std::string> err;
    bool summary;
};

std::string withoutLine(const std::string& sample, size_t line) {
    std::vector<std::string> lines = storage_testing::crlfLines(sample);
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(line - 1));
    return storage_testing::joinCrlf(lines);
}

const std::string kRefused = "not a rate table: it holds no valid record";

// clang-format off
const TableCase kTables[] = {
    {"Empty",    [](const std::string&) { return std::string(); }, 2, "", "", {kRefused, "usage: kbt2-quote"}, false},
    {"Garbage",  [](const std::string&) { return std::string("hello\r\nnot, a; rate table\r\n"); }, 2, "", "", {kRefused}, false},
    {"Binary",   [](const std::string&) { return std::string("\x7f" "ELF\x02\x01\x01\0\0\0\n\x03\0>\0", 16); }, 2, "", "", {kRefused}, false},
    {"OnlyTheSampleMark", [](const std::string& s) { return s.substr(s.size() - 62); }, 2, "", "", {kRefused}, false},
    // Cut in the middle of line 5217: apples still found, the others not.
    // Without their records the crops count as neither livestock nor
    // insurable: the MPCI warning goes, as the arithmetic gives.
    {"CutShort", [](const std::string& s) { return s.substr(0, 5216 * 62 + 30); }, 1, "no-rate-record",
     "[\"58\",\"94\"]",
     {"no quote summary: the rate file has no record for commodity 58 (Cranberries), commodity 94 (Rye) in Marion county",
      "1 worksheet was priced with commodities the rate file has no record for"}, false},
    {"ARecordMissing", [](const std::string& s) { return withoutLine(s, 5219); }, 1, "no-rate-record",
     "[\"58\"]", {"no record for commodity 58 (Cranberries) in Marion county", kMadeUp}, false},
    {"TheSample", [](const std::string& s) { return s; }, 0, "mpci-over-50", "", {kMadeUp}, true},
    {"TheSampleWithoutItsMark", [](const std::string& s) { return s.substr(0, s.size() - 62); }, 0, "mpci-over-50", "", {}, true},
};
// clang-format on

void PrintTo(const TableCase& c, std::ostream* os) { *os << c.name; }

class QuoteRateTables : public ::testing::TestWithParam<TableCase> {};

TEST_P(QuoteRateTables, RefusedWarnedOrSaidToBeMadeUp) {
    const TableCase& c = GetParam();
    const fs::path scratch = storage_testing::scratchFolder(std::string("tables-") + c.name);
    const fs::path rates = scratch / "Ratefile.prn";
    storage_testing::writeBytes(rates, c.content(storage_testing::readBytes(KBT2_SAMPLE_RATE_FILE)));
    const fs::path pdfs = scratch / "pdf";

    const auto csv =
        runProcess({KBT2_QUOTE, "--rates", rates.string(), "--summaries", pdfs.string(), kSample}, scratch);
    EXPECT_EQ(csv.status, c.status) << csv.err;
    for (const std::string& part : c.err) EXPECT_NE(csv.err.find(part), std::string::npos) << part << " in " << csv.err;
    EXPECT_EQ(csv.err.find(kMadeUp) != std::string::npos, std::ranges::count(c.err, kMadeUp) == 1) << csv.err;
    EXPECT_EQ(fs::exists(pdfs / "sample.pdf"), c.summary);
    if (c.status == 2) {
        EXPECT_EQ(csv.out, "");
        EXPECT_NE(csv.err.find(rates.string() + ": "), std::string::npos) << "names the file: " << csv.err;
        return;
    }
    // The figures are the specified arithmetic's, rate 0 and all: only the
    // warning is added to the line.
    EXPECT_NE(csv.out.find(kSample + ",ok,," + c.warnings + ",.65,"), std::string::npos) << csv.out;

    const auto json = runProcess({KBT2_QUOTE, "--rates", rates.string(), "--format=jsonl", kSample}, scratch);
    EXPECT_EQ(json.status, c.status);
    const auto unrated = json.out.find(",\"no_rate_record\":");
    if (c.unratedCodes.empty()) {
        EXPECT_EQ(unrated, std::string::npos) << json.out;
    } else {
        EXPECT_NE(json.out.find(",\"no_rate_record\":" + c.unratedCodes + ","), std::string::npos) << json.out;
        EXPECT_NE(json.out.find("\"no-rate-record\""), std::string::npos) << json.out;
    }
}

INSTANTIATE_TEST_SUITE_P(Tables, QuoteRateTables, ::testing::ValuesIn(kTables),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(QuoteCliOutput, AFifoGivenAsTheRateFileIsRefusedUnread) {
    const fs::path scratch = storage_testing::scratchFolder("fifo");
    const fs::path fifo = scratch / "Ratefile.prn";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const auto result = runProcess({KBT2_QUOTE, "--rates", fifo.string(), kSample}, scratch);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find(fifo.string() + ": no ordinary file"), std::string::npos) << result.err;
}

// Without --rates, the user's data folder comes first: an agency's table
// there is the one read (here one that is refused, which names it).
TEST(QuoteCliOutput, TheUsersDataFolderIsSearchedFirst) {
    const fs::path scratch = storage_testing::scratchFolder("xdg");
    fs::create_directories(scratch / "data" / "kbt2");
    storage_testing::writeBytes(scratch / "data" / "kbt2" / "Ratefile.prn", "no table\r\n");
    const auto result = runProcess({"env", "XDG_DATA_HOME=" + (scratch / "data").string(),
                                    "XDG_DATA_DIRS=" + (scratch / "none").string(), KBT2_QUOTE, kSample},
                                   scratch);
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find((scratch / "data" / "kbt2" / "Ratefile.prn").string() + ": not a rate table"),
              std::string::npos)
        << result.err;
}

// The words of a PDF with every run of blanks and line ends made one blank.
std::string pdfWords(const fs::path& pdf, const fs::path& scratch) {
    std::string words;
    for (const char c : runProcess({"pdftotext", pdf.string(), "-"}, scratch).out) {
        const bool blank = c == ' ' || c == '\n' || c == '\f';
        if (!blank || (!words.empty() && words.back() != ' ')) words += blank ? ' ' : c;
    }
    return words;
}

// A summary from the sample says on each of its pages that the rates are
// made up, in the language asked for (English without --language).
TEST(QuoteCliOutput, ASummaryFromTheSampleSaysSoOnEveryPageInItsLanguage) {
    struct Run {
        std::vector<std::string> language;
        std::string madeUp;
        std::string heading;
        std::string otherHeading;
    };
    const Run runs[] = {
        {{}, "the rates are the made-up sample", "premium estimate", "estimación de la prima"},
        {{"--language", "en"}, "the rates are the made-up sample", "premium estimate", "estimación de la prima"},
        {{"--language=es"}, "las tarifas son la muestra inventada", "estimación de la prima", "premium estimate"},
    };
    for (const Run& run : runs) {
        const fs::path scratch = storage_testing::scratchFolder("sample-pdf");
        std::vector<std::string> command{KBT2_QUOTE, "--rates", KBT2_SAMPLE_RATE_FILE, "--summaries",
                                         (scratch / "pdf").string()};
        command.insert(command.end(), run.language.begin(), run.language.end());
        command.push_back(kSample);
        const auto result = runProcess(command, scratch);
        ASSERT_EQ(result.status, 0) << result.err;
        const std::string text = pdfWords(scratch / "pdf" / "sample.pdf", scratch);
        size_t pages = 0;
        for (size_t at = 0; (at = text.find(run.madeUp, at)) != std::string::npos; ++at) ++pages;
        EXPECT_EQ(pages, 2u) << text;
        EXPECT_NE(text.find(run.heading), std::string::npos) << text;
        EXPECT_EQ(text.find(run.otherHeading), std::string::npos) << text;
        // The figures of the sample's quote, as its CSV line gives them.
        EXPECT_NE(text.find("$116"), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace kbt2
