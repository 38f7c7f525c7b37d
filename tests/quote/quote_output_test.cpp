// What kbt2-quote writes to and what it never writes over: --output that
// names an input, a pipe, a size limit, leftovers of a killed run, PDFs of
// same-named worksheets, and text a spreadsheet would run.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "run_process.h"
#include "storage_test_support.h"

namespace kbt2 {
namespace {

namespace fs = std::filesystem;
using testing_support::runProcess;

const std::string kSample = std::string(KBT2_FIXTURES_DIR) + "/sample.wsk";

std::string expanded(std::string text, const fs::path& scratch) {
    for (const auto& [mark, value] : {std::pair<std::string, std::string>{"@SCRATCH@", scratch.string()}})
        for (size_t at; (at = text.find(mark)) != std::string::npos;) text.replace(at, mark.size(), value);
    return text;
}

size_t filesIn(const fs::path& folder) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

struct OutputCase {
    const char* name;
    std::vector<std::string> arguments;  // after the program; @SCRATCH@ is the test's folder
    int status;
    std::string err;   // a part of standard error
    std::string kept;  // a file under @SCRATCH@ that must keep its bytes; "" for none
};

// The scratch folder holds a.wsk, the rate files rates.prn and old.prn, a
// folder in/ with b.wsk, links to a.wsk (link.csv, hard.csv, a link to the
// rates) and a pipe. The program itself is copied to bin/ with the sample rate
// file in share/kbt2/, where its search finds it.
// clang-format off
const OutputCase kOutputCases[] = {
    {"TheWorksheet",          {"--rates", "@SCRATCH@/rates.prn", "--output", "@SCRATCH@/a.wsk", "@SCRATCH@/a.wsk", "@SCRATCH@/in"}, 2,
     "is the worksheet @SCRATCH@/a.wsk", "a.wsk"},
    {"TheWorksheetByDotPath", {"--rates", "@SCRATCH@/rates.prn", "--output", "@SCRATCH@/./in/../a.wsk", "@SCRATCH@/a.wsk"}, 2,
     "is the worksheet", "a.wsk"},
    {"AWorksheetOfAFolder",   {"--rates", "@SCRATCH@/rates.prn", "--output=@SCRATCH@/in/b.wsk", "@SCRATCH@/in"}, 2,
     "is the worksheet @SCRATCH@/in/b.wsk", "in/b.wsk"},
    {"AWorksheetBySymlink",   {"--rates", "@SCRATCH@/rates.prn", "--output", "@SCRATCH@/link.csv", "@SCRATCH@/a.wsk"}, 2,
     "is the worksheet", "a.wsk"},
    {"AWorksheetByHardLink",  {"--rates", "@SCRATCH@/rates.prn", "--output", "@SCRATCH@/hard.csv", "@SCRATCH@/a.wsk"}, 2,
     "is the worksheet", "a.wsk"},
    {"TheRateFile",           {"--rates", "@SCRATCH@/rates.prn", "--output", "@SCRATCH@/rates.prn", "@SCRATCH@/a.wsk"}, 2,
     "is the rate file @SCRATCH@/rates.prn", "rates.prn"},
    {"TheRateFileByLink",     {"--rates", "@SCRATCH@/rates.prn", "--output", "@SCRATCH@/rates-link.prn", "@SCRATCH@/a.wsk"}, 2,
     "is the rate file", "rates.prn"},
    {"TheOldRateFile",        {"--rates", "@SCRATCH@/rates.prn", "--compare", "@SCRATCH@/old.prn", "--output", "@SCRATCH@/old.prn",
                               "@SCRATCH@/a.wsk"}, 2, "is the rate file @SCRATCH@/old.prn", "old.prn"},
    {"TheSearchedRateFile",   {"--output", "@SCRATCH@/share/kbt2/Ratefile.prn", "@SCRATCH@/a.wsk"}, 2,
     "is the rate file", "share/kbt2/Ratefile.prn"},
    {"ANewFile",              {"--rates", "@SCRATCH@/rates.prn", "--output", "@SCRATCH@/new.csv", "@SCRATCH@/a.wsk"}, 0, "", "a.wsk"},
    {"APipe",                 {"--rates", "@SCRATCH@/rates.prn", "--output", "@SCRATCH@/pipe", "@SCRATCH@/a.wsk"}, 0, "", "a.wsk"},
};
// clang-format on

void PrintTo(const OutputCase& c, std::ostream* os) { *os << c.name; }

class QuoteOutputPath : public ::testing::TestWithParam<OutputCase> {};

TEST_P(QuoteOutputPath, NeverWritesOverAnInput) {
    const OutputCase& c = GetParam();
    const fs::path scratch = storage_testing::scratchFolder("output");
    fs::create_directories(scratch / "in");
    fs::create_directories(scratch / "bin");
    fs::create_directories(scratch / "share" / "kbt2");
    fs::copy_file(kSample, scratch / "a.wsk");
    fs::copy_file(kSample, scratch / "in" / "b.wsk");
    fs::copy_file(KBT2_SAMPLE_RATE_FILE, scratch / "rates.prn");
    fs::copy_file(KBT2_SAMPLE_RATE_FILE, scratch / "old.prn");
    fs::copy_file(KBT2_SAMPLE_RATE_FILE, scratch / "share" / "kbt2" / "Ratefile.prn");
    fs::copy_file(KBT2_QUOTE, scratch / "bin" / "kbt2-quote");
    fs::create_symlink(scratch / "a.wsk", scratch / "link.csv");
    fs::create_hard_link(scratch / "a.wsk", scratch / "hard.csv");
    fs::create_symlink("rates.prn", scratch / "rates-link.prn");
    ASSERT_EQ(::mkfifo((scratch / "pipe").c_str(), 0600), 0);
    // The pipe's reader, open before the program opens it for writing.
    const int reader = ::open((scratch / "pipe").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    const std::string kept = c.kept.empty() ? "" : storage_testing::readBytes(scratch / c.kept);

    std::vector<std::string> command{(scratch / "bin" / "kbt2-quote").string()};
    for (const std::string& argument : c.arguments) command.push_back(expanded(argument, scratch));
    const auto result = runProcess(command, scratch);
    std::string piped;
    char buffer[4096];
    for (ssize_t got; (got = ::read(reader, buffer, sizeof buffer)) > 0;)
        piped.append(buffer, static_cast<size_t>(got));
    ::close(reader);

    EXPECT_EQ(result.status, c.status) << result.err;
    if (c.err.empty()) {
        // The rates are the shipped sample's, which the run names as made up;
        // nothing else may be said.
        EXPECT_TRUE(result.err.empty() || (result.err.find("its rates are made up") != std::string::npos &&
                                           std::count(result.err.begin(), result.err.end(), '\n') == 1))
            << result.err;
    } else
        EXPECT_NE(result.err.find(expanded(c.err, scratch)), std::string::npos) << result.err;
    if (!c.kept.empty()) {
        EXPECT_EQ(storage_testing::readBytes(scratch / c.kept), kept) << c.kept;
    }
    EXPECT_TRUE(fs::is_fifo(scratch / "pipe"));
    if (std::string(c.name) == "APipe") {
        EXPECT_NE(piped.find("/a.wsk,ok,"), std::string::npos) << piped;
    } else {
        EXPECT_EQ(piped, "");
    }
    for (const auto& entry : fs::recursive_directory_iterator(scratch))
        EXPECT_EQ(entry.path().filename().string().find(".~"), std::string::npos) << entry.path();
}

INSTANTIATE_TEST_SUITE_P(Cases, QuoteOutputPath, ::testing::ValuesIn(kOutputCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Under a file-size limit (ulimit -f, in 512-byte blocks for sh) a write
// fails with a word; the run is not killed, and the file that was there
// stays as it was.
struct LimitCase {
    const char* name;
    const char* blocks;
    std::vector<std::string> arguments;
    std::string kept;  // under @SCRATCH@
    int status;
    std::string err;
};

// clang-format off
const LimitCase kLimitCases[] = {
    {"SummaryPdf", "16", {"--summaries", "@SCRATCH@/pdf", "@SCRATCH@/in"}, "pdf/b.pdf", 1,
     "pdf/b.pdf: The file is too large. The file already there is left as it was."},
    {"OutputFile", "1",  {"--output", "@SCRATCH@/quotes.csv", "@SCRATCH@/in", "@SCRATCH@/in", "@SCRATCH@/in", "@SCRATCH@/in"},
     "quotes.csv", 2, "quotes.csv: The file is too large."},
};
// clang-format on

void PrintTo(const LimitCase& c, std::ostream* os) { *os << c.name; }

class QuoteUnderASizeLimit : public ::testing::TestWithParam<LimitCase> {};

TEST_P(QuoteUnderASizeLimit, KeepsTheEarlierFileAndSaysSo) {
    const LimitCase& c = GetParam();
    const fs::path scratch = storage_testing::scratchFolder("limit");
    fs::create_directories(scratch / "in");
    fs::create_directories(scratch / "pdf");
    fs::copy_file(kSample, scratch / "in" / "b.wsk");
    storage_testing::writeBytes(scratch / c.kept, "the earlier file");
    std::vector<std::string> command{
        "/bin/sh",  "-c",      std::string("ulimit -f ") + c.blocks + "; exec \"$0\" \"$@\"",
        KBT2_QUOTE, "--rates", KBT2_SAMPLE_RATE_FILE};
    for (const std::string& argument : c.arguments) command.push_back(expanded(argument, scratch));
    const auto result = runProcess(command, scratch);
    EXPECT_EQ(result.status, c.status) << result.err;
    EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
    EXPECT_EQ(storage_testing::readBytes(scratch / c.kept), "the earlier file");
    EXPECT_EQ(filesIn(scratch / "pdf"), c.kept.starts_with("pdf/") ? 1u : 0u);
    EXPECT_EQ(filesIn(scratch), 5u - (c.kept.starts_with("pdf/") ? 1u : 0u));  // in, pdf, process.out/err, kept
}

INSTANTIATE_TEST_SUITE_P(Cases, QuoteUnderASizeLimit, ::testing::ValuesIn(kLimitCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The driver, in both modes, under a limit of a kilobyte or two: room for
// what it prints, none for the worksheet. Save fails with a word, the typed
// work stays and the program goes on to the end of its script.
class DriverUnderASizeLimit : public ::testing::TestWithParam<const char*> {};

TEST_P(DriverUnderASizeLimit, SaveFailsWithAWordAndTheWorkStays) {
    const fs::path scratch = storage_testing::scratchFolder("driver");
    fs::create_directories(scratch / "case");
    const fs::path file = scratch / "case" / "case.wsk";
    storage_testing::writeBytes(scratch / "script.txt", "set Producer1 Typed work\nset Infobox " +
                                                            std::string(4000, 'x') + "\nfile " + file.string() +
                                                            "\nclick save\nget Producer1\n");
    std::vector<std::string> command{"/bin/sh", "-c", "ulimit -f 2; exec \"$0\" \"$@\"", KBT2_DRIVER};
    if (std::string(GetParam()) == "window") command.push_back("--window");
    command.push_back((scratch / "script.txt").string());
    const auto result = runProcess(command, scratch);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("The file is too large."), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("Producer1=\"Typed work\""), std::string::npos) << result.out;
    EXPECT_EQ(filesIn(scratch / "case"), 0u);
}

INSTANTIATE_TEST_SUITE_P(Modes, DriverUnderASizeLimit, ::testing::Values("model", "window"));

// A process number that no process has now.
pid_t goneProcess() {
    for (pid_t pid = 4000000; pid > 1000; --pid)
        if (::kill(pid, 0) != 0 && errno == ESRCH) return pid;
    return 0;
}

TEST(QuoteOutputFile, TheTemporaryFilesOfAKilledRunAreRemovedByTheNext) {
    const fs::path scratch = storage_testing::scratchFolder("killed");
    const std::string gone = std::to_string(goneProcess());
    const fs::path leftOutput = scratch / ("quotes.csv.~" + gone + "-1");
    const fs::path leftPdf = scratch / "pdf" / ("sample.pdf.~" + gone + "-3");
    fs::create_directories(scratch / "pdf");
    storage_testing::writeBytes(leftOutput, "half");
    storage_testing::writeBytes(leftPdf, "%PDF-1.4 half");
    const auto result =
        runProcess({KBT2_QUOTE, "--rates", KBT2_SAMPLE_RATE_FILE, "--output", (scratch / "quotes.csv").string(),
                    "--summaries", (scratch / "pdf").string(), kSample},
                   scratch);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_FALSE(fs::exists(leftOutput));
    EXPECT_FALSE(fs::exists(leftPdf));
    EXPECT_TRUE(fs::is_regular_file(scratch / "pdf" / "sample.pdf"));
}

// Two client.wsk from two folders, and a client-2.wsk: three PDFs, the first
// quoted keeping the plain name.
TEST(QuoteSummaries, SameNamedWorksheetsGetDistinctPdfs) {
    const fs::path scratch = storage_testing::scratchFolder("sameName");
    for (const char* path : {"x/client.wsk", "x/client-2.wsk", "y/client.wsk"}) {
        fs::create_directories((scratch / path).parent_path());
        fs::copy_file(kSample, scratch / path);
    }
    const auto result =
        runProcess({KBT2_QUOTE, "--rates", KBT2_SAMPLE_RATE_FILE, "--summaries", (scratch / "pdf").string(),
                    (scratch / "y" / "client.wsk").string(), (scratch / "x").string()},
                   scratch);
    EXPECT_EQ(result.status, 0) << result.err;
    for (const char* pdf : {"client.pdf", "client-2.pdf", "client-3.pdf"})
        EXPECT_TRUE(fs::is_regular_file(scratch / "pdf" / pdf)) << pdf;
    EXPECT_EQ(filesIn(scratch / "pdf"), 3u);
}

// Letters are flushed to the disk in groups: with more worksheets than a
// group holds and a folder in the way of two letters' names, those letters
// alone are reported, in order, and every other is written whole under its
// own name, the lines all in order.
TEST(QuoteSummaries, ALetterThatCannotBeWrittenIsReportedAndTheOthersAreWritten) {
    const fs::path scratch = storage_testing::scratchFolder("manyLetters");
    constexpr int kWorksheets = 75;
    fs::create_directories(scratch / "in");
    char name[16];
    for (int i = 0; i < kWorksheets; ++i) {
        std::snprintf(name, sizeof name, "w%02d.wsk", i);
        fs::copy_file(kSample, scratch / "in" / name);
    }
    fs::create_directories(scratch / "pdf" / "w05.pdf");
    fs::create_directories(scratch / "pdf" / "w37.pdf");
    const auto result = runProcess({KBT2_QUOTE, "--rates", KBT2_SAMPLE_RATE_FILE, "--summaries",
                                    (scratch / "pdf").string(), (scratch / "in").string()},
                                   scratch);
    EXPECT_EQ(result.status, 1) << result.err;
    const std::string refused = ".pdf: The name belongs to a folder. The file already there is left as it was.\n";
    const size_t first = result.err.find("pdf/w05" + refused);
    EXPECT_NE(first, std::string::npos) << result.err;
    EXPECT_NE(result.err.find("pdf/w37" + refused, first), std::string::npos) << result.err;
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), kWorksheets + 1);
    for (int i = 0; i < kWorksheets; ++i) {
        std::snprintf(name, sizeof name, "w%02d", i);
        const size_t line = result.out.find(std::string("/") + name + ".wsk,ok,");
        EXPECT_NE(line, std::string::npos) << name;
        if (i > 0) {
            std::snprintf(name, sizeof name, "w%02d", i - 1);
            EXPECT_LT(result.out.find(std::string("/") + name + ".wsk,"), line) << name;
        }
        std::snprintf(name, sizeof name, "w%02d.pdf", i);
        if (i != 5 && i != 37) {
            EXPECT_TRUE(fs::is_regular_file(scratch / "pdf" / name)) << name;
            EXPECT_TRUE(storage_testing::readBytes(scratch / "pdf" / name).starts_with("%PDF-")) << name;
        }
    }
    EXPECT_TRUE(fs::is_directory(scratch / "pdf" / "w05.pdf"));
    EXPECT_TRUE(fs::is_directory(scratch / "pdf" / "w37.pdf"));
    EXPECT_EQ(filesIn(scratch / "pdf"), static_cast<size_t>(kWorksheets));
    for (const auto& entry : fs::recursive_directory_iterator(scratch))
        EXPECT_EQ(entry.path().filename().string().find(".~"), std::string::npos) << entry.path();
}

// A producer's name that a spreadsheet would run as a formula is written as
// text; the figures beside it are not touched.
struct FormulaCase {
    const char* name;
    std::string producer;
    std::string cell;  // as the CSV line holds it
};

// clang-format off
const FormulaCase kFormulaCases[] = {
    {"Plain",     "Jane Doe",                              "Jane Doe"},
    {"Plus",      "+1+1",                                  "'+1+1"},
    {"Minus",     "-2+3",                                  "'-2+3"},
    {"At",        "@SUM(1)",                               "'@SUM(1)"},
    {"Equals",    "=1+2",                                  "'=1+2"},
    {"Hyperlink", "=HYPERLINK(\"http://example.com\",\"x\")", "\"'=HYPERLINK(\"\"http://example.com\"\",\"\"x\"\")\""},
    {"Tab",       "\tx",                                   "'\tx"},
    {"InnerSign", "Doe + Sons",                            "Doe + Sons"},
};
// clang-format on

void PrintTo(const FormulaCase& c, std::ostream* os) { *os << c.name; }

class QuoteFormulaCells : public ::testing::TestWithParam<FormulaCase> {};

TEST_P(QuoteFormulaCells, AreWrittenAsText) {
    const FormulaCase& c = GetParam();
    const fs::path scratch = storage_testing::scratchFolder("formula");
    std::string worksheet = storage_testing::readBytes(kSample);
    worksheet.replace(0, worksheet.find("\r\n"), c.producer);
    storage_testing::writeBytes(scratch / "farm.wsk", worksheet);
    const auto result = runProcess({KBT2_QUOTE, "--rates", KBT2_SAMPLE_RATE_FILE, "--compare", KBT2_SAMPLE_RATE_FILE,
                                    (scratch / "farm.wsk").string()},
                                   scratch);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find((scratch / "farm.wsk").string() + ",ok,," + c.cell +
                              ",Marion,.65,1,1,0,0.0,1,1,0.042,0.042,,base\r\n"),
              std::string::npos)
        << result.out;
}

INSTANTIATE_TEST_SUITE_P(Cases, QuoteFormulaCells, ::testing::ValuesIn(kFormulaCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kbt2
