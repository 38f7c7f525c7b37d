#include "quote/scenario_comparison.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "calc/numbers.h"
#include "calc/premium_table.h"
#include "calc/shares.h"
#include "quote/fresh_quote.h"
#include "quote/language.h"
#include "quote/quote_text.h"
#include "worksheet/report_rows.h"

namespace kbt2 {
namespace {

struct ReportRow {
    std::string name;
    std::string unit;
    double amount = 0;
    double value = 0;
    bool matched = false;
};

std::vector<ReportRow> reportRows(const Worksheet& ws) {
    std::vector<ReportRow> rows;
    for (int row = 0; row < kReportRows; ++row) {
        if (reportRowEmpty(ws, row)) continue;
        rows.push_back({ws.text({Control::Cropname1, row}), ws.text({Control::Type1, row}),
                        numericValue(ws.text({Control::Totamt1, row})),
                        numericValue(ws.text({Control::Expval1, row}))});
    }
    return rows;
}

// A change of one commodity's figure: its amount or its expected value.
struct FigureChange {
    const char* what;      // "{owner} amount", the owner "Milk's"
    bool dollars = false;  // the figure is a price
};
constexpr FigureChange kAmountChange{N_("{owner} amount"), false};
constexpr FigureChange kValueChange{N_("{owner} expected value"), true};

// "Milk's", "Apples'": whose figure changed.
std::string possessive(Language language, const std::string& name) {
    return sentence(language, name.ends_with('s') ? N_("{name}'") : N_("{name}'s"), {{"name", name}});
}

// "Milk's expected value 50 % lower", or the two figures when the old one
// is 0.
std::string changeText(Language language, const FigureChange& change, const std::string& name, double before,
                       double after) {
    const auto figure = [&](double v) { return change.dollars ? moneyText(v) : plainText(v); };
    const std::string what = sentence(language, change.what, {{"owner", possessive(language, name)}});
    if (before == 0)
        return sentence(language, N_("{what} {new} instead of {old}"),
                        {{"what", what}, {"new", figure(after)}, {"old", figure(before)}});
    const double percent = roundWhole(std::fabs((after - before) / before) * 100);
    const std::string direction(translated(language, after > before ? N_("higher") : N_("lower")));
    if (percent == 0)
        return sentence(language, N_("{what} less than 1 % {direction}"), {{"what", what}, {"direction", direction}});
    return sentence(language, N_("{what} {percent} % {direction}"),
                    {{"what", what}, {"percent", plainText(percent)}, {"direction", direction}});
}

std::string count(int n, const char* one, const char* many) { return std::to_string(n) + " " + (n == 1 ? one : many); }

std::string oneLine(std::string text) {
    std::ranges::replace(text, '\r', ' ');
    std::ranges::replace(text, '\n', ' ');
    return text;
}

ComparedLevel comparedLevel(const SummaryLevel& level) {
    ComparedLevel c;
    c.coverage = level.coverage;
    c.offered = level.figures.offered;
    c.guarantee = level.figures.indemnityThreshold();
    c.producerPremium = level.figures.producerPremium();
    c.perThousand = premiumPerThousand(level.figures);
    return c;
}

// The premium per $1,000 as shown, in cents, so that levels shown alike are
// marked alike.
double shownCents(double perThousand) { return roundWhole(perThousand * 100); }

}  // namespace

double cheapestShownCents(const std::vector<const ComparedScenario*>& scenarios) {
    double cheapest = std::numeric_limits<double>::infinity();
    for (const ComparedScenario* c : scenarios)
        for (const ComparedLevel& level : c->levels)
            if (c->summary && level.offered && level.guarantee > 0)
                cheapest = std::min(cheapest, shownCents(level.perThousand));
    return cheapest;
}

bool atCheapest(const ComparedLevel& level, double cheapestCents) {
    return level.offered && level.guarantee > 0 && shownCents(level.perThousand) == cheapestCents;
}

std::vector<std::string> differencesFromBase(const Worksheet& base, const Worksheet& other, Language language) {
    std::vector<std::string> phrases;
    std::vector<ReportRow> before = reportRows(base);
    for (const ReportRow& row : reportRows(other)) {
        auto was = std::ranges::find_if(before, [&](const ReportRow& b) { return !b.matched && b.name == row.name; });
        if (was == before.end()) {
            phrases.push_back(sentence(language, N_("{name} added, {amount} at {price}"),
                                       {{"name", row.name},
                                        {"amount", plainText(row.amount) + (row.unit.empty() ? "" : " " + row.unit)},
                                        {"price", moneyText(row.value)}}));
            continue;
        }
        was->matched = true;
        if (was->amount != row.amount)
            phrases.push_back(changeText(language, kAmountChange, row.name, was->amount, row.amount));
        if (was->value != row.value)
            phrases.push_back(changeText(language, kValueChange, row.name, was->value, row.value));
    }
    for (const ReportRow& row : before)
        if (!row.matched) phrases.push_back(sentence(language, N_("{name} removed"), {{"name", row.name}}));

    const auto dollars = [&](Control control, int index, const std::string& what) {
        const double was = numericValue(base.text({control, index}));
        const double is = numericValue(other.text({control, index}));
        if (was != is)
            phrases.push_back(sentence(language, N_("{what} {new} instead of {old}"),
                                       {{"what", what}, {"new", moneyText(is)}, {"old", moneyText(was)}}));
    };
    for (int k = 0; k < kTaxYears; ++k)
        dollars(Control::Allinc1, k,
                sentence(language, N_("{year} income"), {{"year", std::to_string(kFirstTaxYear + k)}}));
    for (int k = 0; k < kTaxYears; ++k)
        dollars(Control::Allexp1, k,
                sentence(language, N_("{year} expenses"), {{"year", std::to_string(kFirstTaxYear + k)}}));
    dollars(Control::MPCI, 0, std::string(translated(language, N_("MPCI liability"))));
    const std::string none(translated(language, N_("(none)")));
    const std::string county = other.text({Control::countyname});
    const std::string state = other.text({Control::statename});
    const std::string wasCounty = base.text({Control::countyname});
    if (county != wasCounty || state != base.text({Control::statename}))
        phrases.push_back(sentence(language, N_("County {county} instead of {old}"),
                                   {{"county", (county.empty() ? none : county) + (state.empty() ? "" : ", " + state)},
                                    {"old", wasCounty.empty() ? none : wasCounty}}));
    return phrases;
}

NextLevelAdvice nextLevelAdvice(const QuoteSummary& summary) {
    const PremiumFigures& s = summary.premium;
    NextLevelAdvice advice;
    const int counted = s.significantCount;
    const int all = static_cast<int>(s.rows.size());
    // The count rule's steps, the fewest commodities needed first.
    const std::vector<CoverageLevel> steps = levelSteps();
    const auto step =
        std::ranges::find_if(steps, [counted](const CoverageLevel& level) { return counted < level.offeredFrom; });
    if (step == steps.end()) {
        advice.words = "Every coverage level is offered: " + std::to_string(counted) + " of the farm's " +
                       count(all, "commodity", "commodities") + " each bring at least " + percentText(s.threshold) +
                       " of the expected revenue (half an even share)";
        if (!steps.empty())
            advice.words += ", and the " + std::string(steps.back().caption) + " level needs " +
                            std::to_string(steps.back().offeredFrom);
        advice.words += ".";
        return advice;
    }
    advice.coverage = step->caption;
    advice.needed = step->offeredFrom;
    const int needed = step->offeredFrom;
    std::string words =
        "The " + std::string(step->caption) + " level needs " + std::to_string(needed) +
        " commodities that each bring at least " + percentText(significanceThreshold(static_cast<size_t>(needed))) +
        " of the expected revenue when there are " + std::to_string(needed) +
        " (half an even share; shares to a tenth of a per cent); this farm has " + std::to_string(counted) +
        (counted == 1 ? " that counts" : " that count") + " of its " + count(all, "commodity", "commodities") + ".";
    if (all < needed) {
        words += " It needs at least " + count(needed - all, "more commodity", "more commodities") +
                 "; with more than " + std::to_string(needed) + " each needs a smaller share.";
    } else {
        // The largest of those that fall short, as many as are missing.
        std::vector<size_t> short_;
        for (size_t i = 0; i < s.rows.size(); ++i)
            if (s.rows[i].share < s.threshold) short_.push_back(i);
        std::ranges::stable_sort(short_, [&s](size_t a, size_t b) { return s.rows[a].share > s.rows[b].share; });
        short_.resize(std::min(short_.size(), static_cast<size_t>(needed - counted)));
        words += " With " + std::to_string(all) + " a commodity counts from " + percentText(s.threshold) + "; " +
                 std::to_string(needed - counted) + " more must reach it, the nearest being ";
        for (size_t i = 0; i < short_.size(); ++i) {
            if (i > 0) words += i + 1 == short_.size() ? " and " : ", ";
            words += summary.commodities[short_[i]].name + " at " + percentText(s.rows[short_[i]].share);
        }
        words += ".";
    }
    advice.words = std::move(words);
    return advice;
}

std::string tryName(const Case& scenarios, const NextLevelAdvice& advice) {
    std::string base = "Try " + advice.coverage.value_or(std::string("it"));
    if (!scenarios.find(base)) return base;
    for (int n = 2;; ++n) {
        std::string name = base + " (" + std::to_string(n) + ")";
        if (!scenarios.find(name)) return name;
    }
}

ScenarioComparison compareScenarios(const Case& scenarios, Platform& platform, RateSource& rates, Language language) {
    ScenarioComparison result;
    const Worksheet& base = scenarios.worksheet(0);
    for (size_t i = 0; i < scenarios.size(); ++i) {
        ComparedScenario c;
        c.name = scenarios.name(i);
        c.current = i == scenarios.current();
        c.forPaper = scenarios.forPaper(i);
        if (i > 0) c.differences = differencesFromBase(base, scenarios.worksheet(i), language);
        // The view shows no fingerprint: the rate file is not hashed once per
        // scenario on the window's thread.
        FreshQuote quote = freshQuote(scenarios.worksheet(i), platform, rates, c.name, false);
        c.summary = std::move(quote.summary);
        c.problem = oneLine(std::move(quote.problem));
        if (c.summary) {
            const std::vector<SummaryLevel> levels = summaryLevels(*c.summary);
            for (size_t j = 0; j < c.levels.size(); ++j) c.levels[j] = comparedLevel(levels[j]);
        }
        if (c.current && c.summary) result.advice = nextLevelAdvice(*c.summary);
        result.scenarios.push_back(std::move(c));
    }

    const ComparedScenario& first = result.scenarios.front();
    std::vector<const ComparedScenario*> all;
    for (const ComparedScenario& c : result.scenarios) all.push_back(&c);
    const double cheapest = cheapestShownCents(all);
    for (size_t i = 0; i < result.scenarios.size(); ++i) {
        ComparedScenario& c = result.scenarios[i];
        if (!c.summary) continue;
        for (size_t j = 0; j < c.levels.size(); ++j) {
            ComparedLevel& level = c.levels[j];
            level.cheapest = atCheapest(level, cheapest);
            if (i == 0 || !first.summary) continue;
            const bool before = first.levels[j].offered;
            if (level.offered && !before) level.change = LevelChange::Opened;
            if (!level.offered && before) level.change = LevelChange::Closed;
        }
    }
    return result;
}

ComparisonTable comparisonTable(const ScenarioComparison& comparison) {
    ComparisonTable table;
    table.headings = {"Changes from the base",  "Total expected KBT",     "Allowable KBT",
                      "Commodities that count", "Diversification factor", "Levels offered"};
    for (const CoverageLevel& level : kCoverageLevels)
        for (const char* what : {" guarantee", " producer premium", " premium per $1,000 of guarantee"})
            table.headings.push_back(std::string(level.caption) + what);

    for (size_t i = 0; i < comparison.scenarios.size(); ++i) {
        const ComparedScenario& c = comparison.scenarios[i];
        std::vector<std::string> cells;
        std::string changes;
        for (const std::string& phrase : c.differences) changes += (changes.empty() ? "" : "; ") + phrase;
        if (i == 0)
            changes = "The base";
        else if (changes.empty())
            changes = "No change from the base";
        cells.push_back(changes);
        if (!c.summary) {
            cells.push_back("Cannot be calculated: " + c.problem);
            cells.resize(table.headings.size(), "—");
            table.columns.push_back(std::move(cells));
            continue;
        }
        const PremiumFigures& s = c.summary->premium;
        cells.push_back(dollarText(s.totalExpectedKbt));
        cells.push_back(dollarText(s.allowableKbt));
        cells.push_back(std::to_string(s.significantCount) + " of " + std::to_string(s.rows.size()));
        cells.push_back(plainText(s.diversificationFactor));
        std::string offered;
        for (const ComparedLevel& level : c.levels) {
            if (!level.offered) continue;
            offered += (offered.empty() ? "" : ", ") + level.coverage;
            if (level.change == LevelChange::Opened) offered += " (opened)";
        }
        for (const ComparedLevel& level : c.levels)
            if (level.change == LevelChange::Closed) offered += "; " + level.coverage + " closed";
        cells.push_back(offered);
        for (const ComparedLevel& level : c.levels) {
            if (!level.offered) {
                const std::string why =
                    level.change == LevelChange::Closed ? "Not offered: closed by a change" : "Not offered";
                cells.insert(cells.end(), {why, "—", "—"});
                continue;
            }
            cells.push_back(dollarText(level.guarantee) +
                            (level.change == LevelChange::Opened ? " (opened by a change)" : ""));
            cells.push_back(dollarText(level.producerPremium));
            cells.push_back(dollarCentsText(level.perThousand) + (level.cheapest ? " (cheapest)" : ""));
        }
        table.columns.push_back(std::move(cells));
    }
    return table;
}

}  // namespace kbt2
