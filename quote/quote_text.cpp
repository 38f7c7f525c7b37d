#include "quote/quote_text.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string_view>

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
