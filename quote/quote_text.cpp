#include "quote/quote_text.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string_view>
#include <utility>

#include "calc/numbers.h"
#include "calc/premium_table.h"
#include "commands/premium.h"
#include "commands/premium_warnings.h"

namespace kbt2 {
namespace {

// "1234567" as "1,234,567".
std::string grouped(const std::string& digits) {
    std::string result;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) result += ',';
        result += digits[i];
    }
    return result;
}

std::string signedDollars(double amount, const std::string& wholePart, const std::string& cents) {
    return (amount < 0 ? "-$" : "$") + grouped(wholePart) + cents;
}

std::string plain(double value) { return plainText(value); }

// The share each eligibility test compares with its limit, as the premium's
// figures keep it: one per row of kPremiumWarnings, in its order.
constexpr double PremiumFigures::*kTestedShares[] = {
    &PremiumFigures::livestockShare,
    &PremiumFigures::livestockOrInsurableShare,
};
static_assert(std::size(kTestedShares) == kPremiumWarningKinds, "every eligibility test has its share here");

// A warning's words with its share and limit put in.
std::string filledIn(std::string_view words, const std::string& share, const std::string& limit) {
    std::string text;
    for (size_t at = 0; at < words.size();) {
        if (words.substr(at).starts_with("{share}")) {
            text += share;
            at += std::string_view("{share}").size();
        } else if (words.substr(at).starts_with("{limit}")) {
            text += limit;
            at += std::string_view("{limit}").size();
        } else {
            text += words[at++];
        }
    }
    return text;
}

// Words with each "{name}" of `figures` put in; a name the words do not
// hold is left out.
std::string withFigures(std::string_view words,
                        std::initializer_list<std::pair<std::string_view, std::string>> figures) {
    std::string text;
    for (size_t at = 0; at < words.size();) {
        bool put = false;
        for (const auto& [name, figure] : figures) {
            if (words.substr(at).starts_with(name)) {
                text += figure;
                at += name.size();
                put = true;
                break;
            }
        }
        if (!put) text += words[at++];
    }
    return text;
}

// The words of a renewal letter's reasons; each a whole sentence.
constexpr const char* kLevelOffered = "The new rate table offers this level; the last quote did not.";
constexpr const char* kLevelWithdrawn =
    "The new rate table no longer offers this level, so the policy cannot be renewed at it.";
constexpr const char* kRateRose = "The rate for {commodity} at this level rose from {old} to {new}.";
constexpr const char* kRateFell = "The rate for {commodity} at this level fell from {old} to {new}.";
constexpr const char* kFactorChanged = "The diversification factor changed from {old} to {new}.";
constexpr const char* kNothingChanged =
    "Nothing that sets this premium changed: the same rates and the same diversification factor.";
constexpr const char* kSamePremium = "The premium at this level is the same as the last quote's.";
constexpr const char* kOtherChange = "The new rate table changed the figures behind this premium; page 2 shows them.";
constexpr const char* kUnnamedCommodity = "commodity code {code}";
constexpr const char* kNotOffered = "not offered";

// The column of a coverage level's caption; none for a caption not in the table.
std::optional<size_t> columnOf(const std::string& caption) {
    for (size_t column = 0; column < std::size(kCoverageLevels); ++column)
        if (caption == kCoverageLevels[column].caption) return column;
    return std::nullopt;
}

// "+$6", "-$3", "$0".
std::string signedDollarText(double change) { return (roundWhole(change) > 0 ? "+" : "") + dollarText(change); }

// The change in per cent of the last premium, one decimal rounded half up
// as kbt2-quote's comparison writes it: "+46.2%", "-3.0%", "0.0%".
std::string changePercentText(double last, double current) {
    const double percent = std::floor((current - last) / std::fabs(last) * 1000 + 0.5) / 10 + 0.0;
    std::string text = plainText(std::fabs(percent));
    if (text.find('.') == std::string::npos) text += ".0";
    return (percent > 0 ? "+" : percent < 0 ? "-" : "") + text + "%";
}

// Why a level offered under both tables moved, or that nothing did.
std::string renewalReason(const QuoteSummary& summary, const LastQuote& last, size_t column, double change) {
    std::vector<std::string> sentences;
    const bool ratesKnown = last.rates.size() == summary.premium.rows.size();
    if (ratesKnown) {
        std::vector<std::string> named;
        for (size_t i = 0; i < last.rates.size(); ++i) {
            const std::string before = plain(last.rates[i][column]);
            const std::string after = plain(summary.premium.rows[i].rates[column]);
            if (before == after) continue;
            if (i >= summary.commodities.size()) continue;
            const SummaryCommodity& c = summary.commodities[i];
            const std::string name = c.name.empty() ? withFigures(kUnnamedCommodity, {{"{code}", c.code}}) : c.name;
            if (std::find(named.begin(), named.end(), name) != named.end()) continue;
            named.push_back(name);
            const bool rose = last.rates[i][column] < summary.premium.rows[i].rates[column];
            sentences.push_back(withFigures(rose ? kRateRose : kRateFell,
                                            {{"{commodity}", name}, {"{old}", before}, {"{new}", after}}));
        }
    }
    const std::string factorBefore = plain(last.diversificationFactor);
    const std::string factorAfter = plain(summary.premium.diversificationFactor);
    if (ratesKnown && factorBefore != factorAfter)
        sentences.push_back(withFigures(kFactorChanged, {{"{old}", factorBefore}, {"{new}", factorAfter}}));
    if (sentences.empty())
        sentences.push_back(roundWhole(change) != 0 ? kOtherChange : ratesKnown ? kNothingChanged : kSamePremium);
    std::string reason;
    for (const std::string& sentence : sentences) reason += (reason.empty() ? "" : " ") + sentence;
    return reason;
}

// " (.75 needs 3 such commodities, .80 needs 8)": what each level the count
// opens needs, the fewest first.
std::string countRuleText() {
    std::string text;
    for (const CoverageLevel& step : levelSteps()) {
        const bool first = text.empty();
        text += (first ? " (" : ", ") + std::string(step.caption) + " needs " + std::to_string(step.offeredFrom) +
                (first ? " such commodities" : "");
    }
    return text.empty() ? text : text + ")";
}

}  // namespace

std::string groupedText(double whole) {
    const double rounded = roundWhole(std::fabs(whole));
    return (whole < 0 && rounded != 0 ? "-" : "") + grouped(plainText(rounded));
}

std::string dollarText(double amount) {
    const double whole = roundWhole(std::fabs(amount));
    return signedDollars(whole == 0 ? 0 : amount, plainText(whole), "");
}

std::string dollarCentsText(double amount) {
    const auto cents = static_cast<long long>(roundWhole(std::fabs(amount) * 100));
    const std::string centText = std::to_string(100 + cents % 100).substr(1);
    return signedDollars(cents == 0 ? 0 : amount, std::to_string(cents / 100), "." + centText);
}

std::string percentText(double share) {
    const double tenths = roundWhole(share * 1000) / 10;
    std::string text = plainText(tenths);
    if (text.find('.') == std::string::npos) text += ".0";
    return text + "%";
}

double premiumPerThousand(const PremiumColumn& level) {
    return level.indemnityThreshold() > 0 ? level.producerPremium() / level.indemnityThreshold() * 1000 : 0;
}

std::vector<SummaryLevel> offeredLevels(const QuoteSummary& summary) {
    std::vector<SummaryLevel> levels;
    for (const SummaryLevel& level : summaryLevels(summary))
        if (level.figures.offered) levels.push_back(level);
    return levels;
}

std::vector<std::string> eligibilityWarnings(const QuoteSummary& summary) {
    std::vector<std::string> warnings;
    for (const PremiumWarning warning : summary.premium.warnings) {
        const auto kind = static_cast<size_t>(warning);
        warnings.push_back(filledIn(premiumWarningTexts(warning).summary,
                                    percentText(summary.premium.*kTestedShares[kind]),
                                    plain(kPremiumWarnings[kind].limit * 100) + "%"));
    }
    return warnings;
}

std::vector<EligibilityNotice> eligibilityNotices(const QuoteSummary& summary) {
    std::vector<EligibilityNotice> notices;
    const std::vector<std::string> warnings = eligibilityWarnings(summary);
    for (size_t i = 0; i < warnings.size(); ++i) {
        const auto kind = static_cast<size_t>(summary.premium.warnings[i]);
        notices.push_back({warnings[i], withFigures(kPremiumWarningTexts[kind].meaning,
                                                    {{"{limit}", plain(kPremiumWarnings[kind].limit * 100) + "%"}})});
    }
    return notices;
}

std::string coverageText(const std::string& caption) {
    const std::optional<size_t> column = columnOf(caption);
    if (!column) return caption;
    return withFigures("{level} ({percent} coverage)",
                       {{"{level}", caption}, {"{percent}", plain(kCoverageLevels[*column].level * 100) + "%"}});
}

std::vector<std::string> plainWords() {
    const CoverageLevel& example = kCoverageLevels[std::size(kCoverageLevels) / 2];
    return {
        "KBT is the farm revenue this plan insures, worked out from the allowable income of the five tax years and "
        "from the expected revenue of the commodities; the smaller of the two is the allowable KBT.",
        "MPCI is multiple-peril crop insurance: the farm's other policies on its crops. What they already cover is "
        "taken off the KBT liability, so the same revenue is not insured twice.",
        withFigures("The coverage level is the share of the allowable KBT that the plan guarantees as revenue: at "
                    "{level} the revenue guarantee is {percent} of the allowable KBT.",
                    {{"{level}", coverageText(example.caption)}, {"{percent}", plain(example.level * 100) + "%"}}),
    };
}

std::string rateFileName(const SummaryRateFile& file) { return std::filesystem::path(file.path).filename().string(); }

std::vector<RenewalLine> renewalLines(const QuoteSummary& summary) {
    std::vector<RenewalLine> lines;
    if (!summary.lastQuote) return lines;
    const LastQuote& last = *summary.lastQuote;
    for (const LastQuoteLevel& level : last.levels) {
        RenewalLine line{coverageText(level.coverage),
                         level.last ? dollarText(*level.last) : kNotOffered,
                         level.current ? dollarText(*level.current) : kNotOffered,
                         {},
                         {},
                         {}};
        const std::optional<size_t> column = columnOf(level.coverage);
        if (!level.last) {
            line.reason = kLevelOffered;
        } else if (!level.current) {
            line.reason = kLevelWithdrawn;
        } else {
            const double change = roundWhole(*level.current - *level.last);
            line.change = signedDollarText(change);
            if (*level.last != 0) line.percent = changePercentText(*level.last, *level.current);
            line.reason = column ? renewalReason(summary, last, *column, change) : kOtherChange;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<std::string> premiumSteps(const QuoteSummary& summary) {
    const PremiumFigures& s = summary.premium;
    const std::string factor = plain(s.diversificationFactor);
    std::vector<std::string> steps;
    steps.push_back("The allowable KBT is the smaller of the projected KBT (" + dollarText(s.projectedKbt) +
                    ") and the total expected KBT of the commodities (" + dollarText(s.totalExpectedKbt) +
                    "): " + dollarText(s.allowableKbt) + ".");

    const auto count = s.rows.size();
    if (count == 1) {
        steps.push_back("1 commodity carries the whole expected KBT, so its share is 1 and the factor is " + factor +
                        ".");
    } else {
        std::string step = std::to_string(count) + " commodities; an even spread would give each " +
                           plain(s.equalShare) + "; yours differ from it by " + plain(s.deviationSum) + " in all, ";
        step += count >= 7 ? "and from 7 commodities on the factor is " + factor + " however they are spread."
                           : "so the factor is " + factor + ".";
        steps.push_back(step);
    }

    std::string levels;
    for (const SummaryLevel& level : offeredLevels(summary)) levels += (levels.empty() ? "" : ", ") + level.coverage;
    steps.push_back("A commodity counts when its share is at least " + plain(s.threshold) + ": " +
                    std::to_string(s.significantCount) + (s.significantCount == 1 ? " does" : " do") +
                    ", so the coverage levels offered are " + levels + countRuleText() + ".");

    std::string tests;
    for (size_t kind = 0; kind < kPremiumWarningKinds; ++kind)
        tests += (kind == 0 ? "" : "; ") + filledIn(kPremiumWarningTexts[kind].step, plain(s.*kTestedShares[kind]),
                                                    plain(kPremiumWarnings[kind].limit));
    steps.push_back(tests + ".");

    for (const SummaryLevel& level : offeredLevels(summary)) {
        const PremiumColumn& l = level.figures;
        steps.push_back("At " + level.coverage + ": the weighted rate " + plain(l.weightedRate()) +
                        " times the factor gives the KBT rate " + plain(l.kbtRate()) + "; the liability " +
                        dollarText(l.kbtLiability()) + ", less the MPCI cover, leaves " +
                        dollarText(l.netKbtLiability()) + ", which at that rate gives the gross premium " +
                        dollarText(l.grossPremium()) + "; the producer pays " + dollarText(l.producerPremium()) +
                        " and the subsidy is " + dollarText(l.subsidy()) + ".");
    }
    return steps;
}

std::string sampleRatesLine() {
    return "Sample rates: the rates are the made-up sample shipped with the program, and this paper is no quote.";
}

std::string unratedText(const QuoteSummary& summary) {
    std::vector<std::string> rows;
    for (const SummaryCommodity& c : summary.commodities)
        if (!c.recordLine) rows.push_back(c.name.empty() ? "code " + c.code : c.name + " (code " + c.code + ")");
    if (rows.empty()) return {};
    return unratedSentence(summary.rateFile.path, rows, summary.county);
}

}  // namespace kbt2
