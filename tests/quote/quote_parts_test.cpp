// The parts of kbt2-quote that need no process: its arguments, the choice of
// worksheets in a folder and the quoting of CSV fields.

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "app/quote/quote_format.h"
#include "app/quote/quote_options.h"
#include "app/quote/worksheet_list.h"

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
    ASSERT_TRUE(std::holds_alternative<QuoteOptions>(parsed));
    const auto& options = std::get<QuoteOptions>(parsed);
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
        EXPECT_TRUE(std::holds_alternative<UsageError>(parseQuoteArguments(arguments))) << arguments[0];
}

TEST(QuoteArguments, AnUnknownOptionIsNamedOnOneLine) {
    const auto parsed = parseQuoteArguments({"--out\nput", "a"});
    ASSERT_TRUE(std::holds_alternative<UsageError>(parsed));
    EXPECT_EQ(std::get<UsageError>(parsed).reason, "unknown option --out?put");
}

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
              "\"farm, \"\"north\"\".wsk\",error,\"Line 1 said \"\"no\"\" twice\",,,,,,,,,,,,,,,\r\n");
    EXPECT_EQ(linesOf(quote, OutputFormat::Jsonl),
              "{\"file\":\"farm, \\\"north\\\".wsk\",\"status\":\"error\",\"message\":\"Line 1\\r\\nsaid "
              "\\\"no\\\"\\rtwice\",\"warnings\":[],\"levels\":[]}\n");
}

// A file name in another character set still makes a line of JSON.
TEST(QuoteLines, AFileNameThatIsNotUtf8IsReadAsWindows1252InJson) {
    WorksheetQuote quote;
    quote.file = "M\xfcller.wsk";
    EXPECT_EQ(linesOf(quote, OutputFormat::Jsonl),
              "{\"file\":\"M\xc3\xbcller.wsk\",\"status\":\"error\",\"message\":\"\",\"warnings\":[],\"levels\":[]}\n");
}

}  // namespace
}  // namespace kbt2::quote
