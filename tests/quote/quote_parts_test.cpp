// The parts of kbt2-quote that need no process: its arguments, the choice of
// worksheets in a folder and the quoting of CSV fields.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "app/quote/compare_format.h"
#include "app/quote/ordered_jobs.h"
#include "app/quote/quote_details.h"
#include "app/quote/quote_format.h"
#include "app/quote/quote_options.h"
#include "app/quote/worksheet_list.h"
#include "quote/printable.h"

namespace kbt2::quote {
namespace {

struct ArgumentCase {
    const char* name;
    std::vector<std::string> arguments;
    std::string rates;  // "" when none
    OutputFormat format;
    std::string output;  // "" when none
    std::vector<std::string> inputs;
};

// clang-format off
const ArgumentCase kArgumentCases[] = {
    {"Defaults",         {"a.wsk"},                                  "",  OutputFormat::Csv,   "",  {"a.wsk"}},
    {"SeparateValues",   {"--rates", "r", "--format", "jsonl", "--output", "o", "a", "b"}, "r", OutputFormat::Jsonl, "o", {"a", "b"}},
    {"JoinedValues",     {"--rates=r", "--format=csv", "--output=o", "a"}, "r", OutputFormat::Csv, "o", {"a"}},
    {"OptionsAnywhere",  {"a", "--rates", "r", "b"},                 "r", OutputFormat::Csv,   "",  {"a", "b"}},
    {"DashesEndOptions", {"--", "--rates", "-x"},                    "",  OutputFormat::Csv,   "",  {"--rates", "-x"}},
    {"LoneDashIsAName",  {"-"},                                      "",  OutputFormat::Csv,   "",  {"-"}},
    {"LastValueWins",    {"--rates", "r1", "--rates", "r2", "a"},    "r2", OutputFormat::Csv,  "",  {"a"}},
};
// clang-format on

void PrintTo(const ArgumentCase& c, std::ostream* os) { *os << c.name; }

class QuoteArguments : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(QuoteArguments, AreRead) {
    const ArgumentCase& c = GetParam();
    const auto parsed = parseQuoteArguments(c.arguments);
    ASSERT_TRUE(parsed.ok());
    ASSERT_TRUE(std::holds_alternative<QuoteOptions>(parsed.value()));
    const auto& options = std::get<QuoteOptions>(parsed.value());
    EXPECT_EQ(options.ratesPath.value_or(""), c.rates);
    EXPECT_EQ(options.format, c.format);
    EXPECT_EQ(options.outputPath.value_or(""), c.output);
    EXPECT_EQ(options.inputs, c.inputs);
}

INSTANTIATE_TEST_SUITE_P(Cases, QuoteArguments, ::testing::ValuesIn(kArgumentCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(QuoteArguments, EmptyValuesAreUsageErrors) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--rates=", "a"}, {"--output=", "a"}, {"--format=", "a"}, {"a", "--output"}})
        EXPECT_FALSE(parseQuoteArguments(arguments).ok()) << arguments[0];
}

TEST(QuoteArguments, AnUnknownOptionIsNamedOnOneLine) {
    const auto parsed = parseQuoteArguments({"--out\nput", "a"});
    ASSERT_FALSE(parsed.ok());
    EXPECT_EQ(parsed.failure().reason, "unknown option --out?put");
}

// Standard error keeps one line per message whatever a name or an argument
// holds; a name keeps every other byte.
struct PrintableCase {
    const char* name;
    std::string text;
    std::string asName;
    std::string asArgument;
};

// clang-format off
const PrintableCase kPrintableCases[] = {
    {"Plain",       "farm.wsk",        "farm.wsk",        "farm.wsk"},
    {"LineBreaks",  "a\r\nb\nc",       "a  b c",          "a??b?c"},
    {"TabAndOthers", "a\tb\x01" "c\x7f", "a\tb\x01" "c\x7f", "a?b?c?"},
    {"Utf8",        "M\xc3\xbcller",    "M\xc3\xbcller",    "M\xc3\xbcller"},
};
// clang-format on

void PrintTo(const PrintableCase& c, std::ostream* os) { *os << c.name; }

class Printable : public ::testing::TestWithParam<PrintableCase> {};

TEST_P(Printable, StaysOnOneLine) {
    const PrintableCase& c = GetParam();
    EXPECT_EQ(printable(c.text), c.asName);
    EXPECT_EQ(printable(c.text, PrintableAs::Name), c.asName);
    EXPECT_EQ(printable(c.text, PrintableAs::Argument), c.asArgument);
}

INSTANTIATE_TEST_SUITE_P(Cases, Printable, ::testing::ValuesIn(kPrintableCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WorksheetNames, TakesWorksheetFilesOnlyInByteOrder) {
    const std::vector<FolderEntry> entries = {
        {"b.wsk", false}, {"A.WSK", false},     {"sub.wsk", true}, {"notes.txt", false},
        {".wsk", false},  {"a.wsk.bak", false}, {"wsk", false},    {"a.Wsk", false},
    };
    EXPECT_EQ(worksheetNames(entries), (std::vector<std::string>{".wsk", "A.WSK", "a.Wsk", "b.wsk"}));
}

TEST(QuoteLines, AnErrorIsOneCsvLineWithItsMessageQuotedAndOnOneLine) {
    WorksheetQuote quote;
    quote.file = "farm, \"north\".wsk";
    quote.message = "Line 1\r\nsaid \"no\"\rtwice";
    EXPECT_EQ(linesOf(quote, OutputFormat::Csv),
              "\"farm, \"\"north\"\".wsk\",error,\"Line 1 said \"\"no\"\" twice\",,,,,,,,,,,,,,,,,,base\r\n");
    EXPECT_EQ(linesOf(quote, OutputFormat::Jsonl),
              "{\"file\":\"farm, \\\"north\\\".wsk\",\"status\":\"error\",\"message\":\"Line 1\\r\\nsaid "
              "\\\"no\\\"\\rtwice\",\"warnings\":[],\"levels\":[],\"scenario\":\"base\"}\n");
}

// A file name in another character set still makes a line of JSON.
TEST(QuoteLines, AFileNameThatIsNotUtf8IsReadAsWindows1252InJson) {
    WorksheetQuote quote;
    quote.file = "M\xfcller.wsk";
    EXPECT_EQ(linesOf(quote, OutputFormat::Jsonl),
              "{\"file\":\"M\xc3\xbcller.wsk\",\"status\":\"error\",\"message\":\"\",\"warnings\":[],\"levels\":[],"
              "\"scenario\":\"base\"}\n");
}

// A compared worksheet's JSON line: both quotes whole, and each record the
// tables differ in with what each gave (a record not found has no line).
TEST(CompareLines, AJsonLineHoldsBothQuotesAndTheRecordsThatDiffer) {
    ComparedQuote compared;
    for (WorksheetQuote* quote : {&compared.before, &compared.after}) {
        quote->file = "a.wsk";
        quote->ok = true;
        quote->producer = "Doe \"Jr\"";
        quote->county = "Kent";
    }
    compared.after.warnings = {"mpci-over-50"};
    CommodityRates before;
    before.rates = {0.05, 0.04, 0.03};
    before.livestockFlag = 'Y';
    before.found = true;
    before.line = 3;
    compared.records.push_back({41, before, CommodityRates{}});
    EXPECT_EQ(compareLinesOf(compared, {"old.prn", "new.prn"}, OutputFormat::Jsonl),
              "{\"file\":\"a.wsk\",\"status\":\"ok\",\"message\":\"\",\"producer\":\"Doe \\\"Jr\\\"\","
              "\"county\":\"Kent\",\"scenario\":\"base\",\"changed\":true,"
              "\"old\":{\"file\":\"a.wsk\",\"status\":\"ok\",\"message\":\"\",\"warnings\":[],\"levels\":[],"
              "\"scenario\":\"base\"},"
              "\"new\":{\"file\":\"a.wsk\",\"status\":\"ok\",\"message\":\"\",\"warnings\":[\"mpci-over-50\"],"
              "\"levels\":[],\"scenario\":\"base\"},\"records\":[{\"code\":\"41\",\"old\":{\"found\":true,\"rates\":["
              "\"0.05\",\"0.04\","
              "\"0.03\"],\"livestock\":\"Y\",\"insurable\":\" \",\"line\":3},\"new\":{\"found\":false,"
              "\"rates\":[\"0\",\"0\",\"0\"],\"livestock\":\" \",\"insurable\":\" \",\"line\":null}}]}\n");
    compared.after.ok = false;
    compared.after.message = "No rates.";
    EXPECT_EQ(compareLinesOf(compared, {"old.prn", "new.prn"}, OutputFormat::Jsonl).substr(0, 99),
              "{\"file\":\"a.wsk\",\"status\":\"error\",\"message\":\"under the new rate table new.prn: No rates.\","
              "\"producer\"");
}

// Text a spreadsheet would run is written as text; figures as they stand.
struct CellCase {
    const char* name;
    std::string text;
    std::string asText;    // csvText
    std::string asFigure;  // csvField
};

// clang-format off
const CellCase kCellCases[] = {
    {"Plain",        "Jane Doe",     "Jane Doe",         "Jane Doe"},
    {"Empty",        "",             "",                 ""},
    {"Equals",       "=1+2",         "'=1+2",            "=1+2"},
    {"Plus",         "+1+1",         "'+1+1",            "+1+1"},
    {"Minus",        "-2+3",         "'-2+3",            "-2+3"},
    {"At",           "@SUM(1)",      "'@SUM(1)",         "@SUM(1)"},
    {"Tab",          "\t=1",         "'\t=1",            "\t=1"},
    {"Return",       "\r=1",         "\"'\r=1\"",        "\"\r=1\""},
    {"QuotedFormula", "=A1,\"x\"",   "\"'=A1,\"\"x\"\"\"", "\"=A1,\"\"x\"\"\""},
    {"SignInside",   "Doe + Sons",   "Doe + Sons",       "Doe + Sons"},
    {"NegativeFigure", "-5",         "'-5",              "-5"},
};
// clang-format on

void PrintTo(const CellCase& c, std::ostream* os) { *os << c.name; }

class CsvCells : public ::testing::TestWithParam<CellCase> {};

TEST_P(CsvCells, TextIsGuardedFiguresAreNot) {
    const CellCase& c = GetParam();
    EXPECT_EQ(csvText(c.text), c.asText);
    EXPECT_EQ(csvField(c.text), c.asFigure);
}

INSTANTIATE_TEST_SUITE_P(Cases, CsvCells, ::testing::ValuesIn(kCellCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A worksheet file named like a formula, in an error line: the file name is
// guarded, the empty figures stay empty.
TEST(QuoteLines, AFileNamedLikeAFormulaIsText) {
    WorksheetQuote quote;
    quote.file = "=HYPERLINK(1).wsk";
    quote.message = "-1";
    EXPECT_EQ(linesOf(quote, OutputFormat::Csv), "'=HYPERLINK(1).wsk,error,'-1,,,,,,,,,,,,,,,,,,base\r\n");
}

TEST(SummaryNames, NoTwoWorksheetsShareAPdf) {
    SummaryNames names("out");
    EXPECT_EQ(names.pathFor("a/client.wsk"), "out/client.pdf");
    EXPECT_EQ(names.pathFor("b/client.WSK"), "out/client-2.pdf");
    EXPECT_EQ(names.pathFor("client-2.wsk"), "out/client-2-2.pdf");
    EXPECT_EQ(names.pathFor("c/client"), "out/client-3.pdf");
    EXPECT_EQ(names.pathFor("c/other.wsk"), "out/other.pdf");
}

// A job that throws on a worker thread does not end the program: what it
// threw reaches the giver, after the results before it.
TEST(OrderedJobs, AnExceptionOnAWorkerReachesTheGiverInItsTurn) {
    for (const unsigned workers : {1u, 4u}) {
        std::vector<int> delivered;
        bool caught = false;
        try {
            OrderedJobs<int> jobs(workers, [&](int&& n) { delivered.push_back(n); });
            for (int i = 0; i < 20; ++i)
                jobs.add([i]() -> int {
                    if (i == 5) throw std::runtime_error("no memory");
                    return i;
                });
            jobs.finish();
        } catch (const std::runtime_error& error) {
            caught = std::string(error.what()) == "no memory";
        }
        EXPECT_TRUE(caught) << workers;
        EXPECT_EQ(delivered, (std::vector<int>{0, 1, 2, 3, 4})) << workers;
    }
}

// Held to one processor (taskset, a container's share), the batch does not
// start a thread for each processor of the machine.
TEST(OrderedJobs, TheDefaultFollowsTheProcessorsThisProcessMayUse) {
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    ASSERT_EQ(::sched_getaffinity(0, sizeof allowed, &allowed), 0);
    int first = 0;
    while (!CPU_ISSET(first, &allowed)) ++first;
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(first, &one);
    ASSERT_EQ(::sched_setaffinity(0, sizeof one, &one), 0);
    const unsigned workers = defaultWorkers();
    ::sched_setaffinity(0, sizeof allowed, &allowed);
    EXPECT_EQ(workers, 1u);
}

}  // namespace
}  // namespace kbt2::quote
