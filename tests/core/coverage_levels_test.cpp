// Every consumer of the coverage levels follows their table
// (kCoverageLevels, worksheet/premium_rows.h): for farms whose count of
// significant commodities steps past every level's threshold, each consumer
// shows one entry per level it should show, with the table's caption and
// count, in the table's order. A failure names the consumer.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "commands/case.h"
#include "commands/form.h"
#include "commands/premium.h"
#include "fake_platform.h"
#include "quote/quote_text.h"
#include "quote/quote_worksheet.h"
#include "quote/scenario_comparison.h"
#include "rate_records.h"
#include "storage/report.h"
#include "storage/worksheet_file_format.h"
#include "worksheet/premium_rows.h"

namespace kbt2 {
namespace {

namespace fs = std::filesystem;
using testing_support::FakePlatform;
using testing_support::rateRecord;
using Texts = std::vector<std::string>;

// The farm's rate file, whichever platform asks (kbt2-quote's asks its own
// places).
class FarmRates final : public RateSource {
public:
    explicit FarmRates(Platform& platform) : platform_(platform) {}
    SourcedRates ratesFor(Platform&, double stateCode, double countyCode, std::span<const double> codes) override {
        return RateFileSource().ratesFor(platform_, stateCode, countyCode, codes);
    }

private:
    Platform& platform_;
};

// What each layer made of one farm: `count` commodities of equal KBT, so
// every one of them counts.
struct Farm {
    int count = 0;
    Texts report;       // the printed report
    Texts pageColumns;  // the captions of the page-9 columns shown after Calculate Premium
    QuoteSummary summary;
    ScenarioComparison comparison;
    quote::WorksheetQuote quote;
};

Farm farmOf(int count, const fs::path& dir) {
    Farm run;
    run.count = count;
    fs::remove_all(dir);
    fs::create_directories(dir);
    {
        std::ofstream out(dir / "Ratefile.prn", std::ios::binary);
        for (int row = 0; row < count; ++row) out << rateRecord({.code = std::to_string(100 + row)}) << "\r\n";
    }
    FakePlatform platform;
    platform.folders = {dir.string()};
    Form live(platform);
    Case scenarios(live);
    Worksheet& ws = live.worksheet();
    ws.select({Control::St, 0});
    ws.select({Control::Mi1, 2});
    for (int k = 0; k < 5; ++k) {
        ws.setText({Control::Allinc1, k}, "100000");
        ws.setText({Control::Allexp1, k}, "50000");
    }
    ws.setText({Control::Averageinc}, "100000");
    for (int row = 0; row < count; ++row) {
        ws.setText({Control::Cropname1, row}, "Commodity " + std::to_string(row));
        ws.setText({Control::Unit1, row}, std::to_string(100 + row));
        ws.setText({Control::Totamt1, row}, "100");
        ws.setText({Control::Expval1, row}, "1");
    }

    RateFileSource rates;
    run.comparison = compareScenarios(scenarios, platform, rates);
    if (run.comparison.scenarios.front().summary) run.summary = *run.comparison.scenarios.front().summary;
    command4Click(ws, platform);
    run.report = renderPlainText(composeReport(ws));
    for (int column = 0; column < kPremiumColumns; ++column)
        if (ws.visible({Control::Text23, column})) run.pageColumns.push_back(kCoverageLevels[column].caption);
    const fs::path file = dir / "farm.wsk";
    std::ofstream(file, std::ios::binary) << formatWorksheetFile(ws);
    FarmRates farmRates(platform);
    run.quote = quote::quoteWorksheet(file.string(), farmRates);
    return run;
}

// What a consumer shows of the table's rows.
enum class Shows {
    Every,     // every level, offered or not: its caption
    Offered,   // the levels the count offers: their captions
    Rule,      // the levels the count opens, fewest needed first: "caption needs N"
    NextStep,  // the first of those the count does not offer, else the last
};

Texts expected(Shows shows, int count) {
    Texts texts;
    std::vector<CoverageLevel> rule;
    for (const CoverageLevel& level : kCoverageLevels) {
        if (shows == Shows::Every || (shows == Shows::Offered && count >= level.offeredFrom))
            texts.push_back(level.caption);
        if (level.offeredFrom > 1) rule.push_back(level);
    }
    std::ranges::stable_sort(rule, {}, &CoverageLevel::offeredFrom);
    const auto needs = [](const CoverageLevel& l) {
        return l.caption + std::string(" needs ") + std::to_string(l.offeredFrom);
    };
    if (shows == Shows::Rule)
        for (const CoverageLevel& level : rule) texts.push_back(needs(level));
    if (shows == Shows::NextStep && !rule.empty()) {
        const auto next = std::ranges::find_if(rule, [count](const CoverageLevel& l) { return count < l.offeredFrom; });
        texts.push_back(needs(next == rule.end() ? rule.back() : *next));
    }
    return texts;
}

// `text` cut at each `separator`.
Texts split(const std::string& text, const std::string& separator) {
    Texts parts;
    for (size_t start = 0;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) return parts;
        start = end + separator.size();
    }
}

// The text between `from` and the next `to`; empty when there is no `from`.
std::string between(const std::string& text, const std::string& from, const std::string& to) {
    const size_t start = text.find(from);
    if (start == std::string::npos) return {};
    const size_t begin = start + from.size();
    return text.substr(begin, text.find(to, begin) - begin);
}

// The premium step that names the levels offered and the count rule.
std::string countStep(const Farm& run) {
    for (const std::string& step : premiumSteps(run.summary))
        if (step.starts_with("A commodity counts")) return step;
    return {};
}

struct Consumer {
    const char* name;
    Shows shows;
    Texts (*texts)(const Farm&);
};

// clang-format off
const Consumer kConsumers[] = {
    {"the report's captions (storage/report.cpp)", Shows::Every, [](const Farm& run) {
        Texts captions;
        const auto heading = std::ranges::find_if(
            run.report, [](const std::string& line) { return line.find("Coverage level") != std::string::npos; });
        if (heading == run.report.end() || heading + 1 == run.report.end()) return captions;
        std::istringstream words(*(heading + 1));
        for (std::string word; words >> word;) captions.push_back(word);
        return captions;
    }},
    {"the page-9 columns shown (calc/premium_table.cpp, commands/premium_fields.cpp)", Shows::Offered,
     [](const Farm& run) { return run.pageColumns; }},
    {"the summary's levels (quote/quote_summary.cpp)", Shows::Every, [](const Farm& run) {
        Texts captions;
        for (const SummaryLevel& level : summaryLevels(run.summary)) captions.push_back(level.coverage);
        return captions;
    }},
    {"the fresh quote's levels offered (quote/fresh_quote.cpp, quote/quote_text.cpp)", Shows::Offered,
     [](const Farm& run) {
        Texts captions;
        for (const SummaryLevel& level : offeredLevels(run.summary)) captions.push_back(level.coverage);
        return captions;
    }},
    {"the steps' levels offered (quote/quote_text.cpp)", Shows::Offered, [](const Farm& run) {
        const std::string step = countStep(run);
        const std::string from = step.find("offered are ") != std::string::npos ? "offered are " : "offered is ";
        return split(between(step, from, ". "), ", ");
    }},
    {"the steps' count rule (quote/quote_text.cpp)", Shows::Rule, [](const Farm& run) {
        Texts rule;
        for (const std::string& sentence : split(countStep(run), ". "))
            if (sentence.starts_with("The ") && sentence.find(" level needs ") != std::string::npos)
                rule.push_back(between(sentence, "The ", " level needs") + " needs " +
                               between(sentence, " level needs ", " commodities"));
        return rule;
    }},
    {"the steps of each level offered (quote/quote_text.cpp)", Shows::Offered, [](const Farm& run) {
        Texts captions;
        for (const std::string& step : premiumSteps(run.summary))
            if (step.starts_with("At ")) captions.push_back(between(step, "At ", ":"));
        return captions;
    }},
    {"the comparison's headings (quote/scenario_comparison.cpp)", Shows::Every, [](const Farm& run) {
        Texts captions;
        for (const std::string& heading : comparisonTable(run.comparison).headings)
            if (const std::string first = split(heading, " ")[0]; heading == first + " guarantee")
                captions.push_back(first);
        return captions;
    }},
    {"the comparison's levels offered (quote/scenario_comparison.cpp)", Shows::Offered, [](const Farm& run) {
        Texts captions;
        for (const ComparedLevel& level : run.comparison.scenarios.front().levels)
            if (level.offered) captions.push_back(level.coverage);
        return captions;
    }},
    {"the next level's advice (quote/scenario_comparison.cpp)", Shows::NextStep, [](const Farm& run) {
        if (!run.comparison.advice) return Texts{};
        const NextLevelAdvice& advice = *run.comparison.advice;
        if (advice.coverage) return Texts{*advice.coverage + " needs " + std::to_string(advice.needed)};
        return Texts{between(advice.words, "and the ", " level") + " needs " +
                     between(advice.words, "level needs ", ".")};
    }},
    {"kbt2-quote's levels (quote/quote_worksheet.cpp)", Shows::Offered, [](const Farm& run) {
        Texts captions;
        for (const quote::LevelQuote& level : run.quote.levels) captions.push_back(level.coverage);
        return captions;
    }},
};
// clang-format on

TEST(CoverageLevels, EveryConsumerFollowsTheTable) {
    int mostNeeded = 1;
    for (const CoverageLevel& level : kCoverageLevels) mostNeeded = std::max(mostNeeded, level.offeredFrom);
    ASSERT_LE(mostNeeded + 1, 14) << "a farm has at most 14 commodities";
    const fs::path scratch = fs::path(KBT2_TEST_SCRATCH_DIR) / "coverage_levels";
    for (int count = 1; count <= mostNeeded + 1; ++count) {
        const Farm run = farmOf(count, scratch / std::to_string(count));
        ASSERT_TRUE(run.quote.ok) << run.quote.message;
        ASSERT_EQ(run.summary.premium.significantCount, count) << run.comparison.scenarios.front().problem;
        for (const Consumer& consumer : kConsumers)
            EXPECT_EQ(consumer.texts(run), expected(consumer.shows, count))
                << consumer.name << ", with " << count << " commodities that count";
    }
}

}  // namespace
}  // namespace kbt2
