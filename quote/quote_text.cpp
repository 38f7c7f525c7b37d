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
#include "calc/shares.h"
#include "commands/premium.h"
#include "commands/premium_warnings.h"
#include "quote/language.h"

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

// The words of a renewal letter's reasons; each a whole sentence.
constexpr const char* kLevelOffered = N_("The new rate table offers this level; the last quote did not.");
constexpr const char* kLevelWithdrawn =
    N_("The new rate table no longer offers this level, so the policy cannot be renewed at it.");
constexpr const char* kRateRose = N_("The rate for {commodity} at this level rose from {old} to {new}.");
constexpr const char* kRateFell = N_("The rate for {commodity} at this level fell from {old} to {new}.");
constexpr const char* kFactorChanged = N_("The diversification factor changed from {old} to {new}.");
constexpr const char* kNothingChanged =
    N_("Nothing that sets this premium changed: the same rates and the same diversification factor.");
constexpr const char* kSamePremium = N_("The premium at this level is the same as the last quote's.");
constexpr const char* kOtherChange =
    N_("The new rate table changed the figures behind this premium; page 2 shows them.");
constexpr const char* kUnnamedCommodity = N_("commodity code {code}");
constexpr const char* kNotOffered = N_("not offered");

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
    const double percent = changeInPercent(last, current);
    std::string text = plainText(std::fabs(percent));
    if (text.find('.') == std::string::npos) text += ".0";
    return (percent > 0 ? "+" : percent < 0 ? "-" : "") + text + "%";
}

// Why a level offered under both tables moved, or that nothing did.
std::string renewalReason(const QuoteSummary& summary, const LastQuote& last, size_t column, double change) {
    const auto words = [&](const char* english) { return translated(summary.language, english); };
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
            const std::string name = c.name.empty() ? sentence(words(kUnnamedCommodity), {{"code", c.code}}) : c.name;
            if (std::find(named.begin(), named.end(), name) != named.end()) continue;
            named.push_back(name);
            const bool rose = last.rates[i][column] < summary.premium.rows[i].rates[column];
            sentences.push_back(
                sentence(words(rose ? kRateRose : kRateFell), {{"commodity", name}, {"old", before}, {"new", after}}));
        }
    }
    const std::string factorBefore = plain(last.diversificationFactor);
    const std::string factorAfter = plain(summary.premium.diversificationFactor);
    if (ratesKnown && factorBefore != factorAfter)
        sentences.push_back(sentence(words(kFactorChanged), {{"old", factorBefore}, {"new", factorAfter}}));
    if (sentences.empty())
        sentences.emplace_back(words(roundWhole(change) != 0 ? kOtherChange
                                     : ratesKnown            ? kNothingChanged
                                                             : kSamePremium));
    std::string reason;
    for (const std::string& sentence : sentences) reason += (reason.empty() ? "" : " ") + sentence;
    return reason;
}

}  // namespace

std::string sentence(std::string_view words, Figures figures) {
    std::string text;
    text.reserve(words.size());
    for (size_t at = 0; at < words.size();) {
        const size_t open = words.find('{', at);
        text.append(words.substr(at, open - at));
        if (open == std::string_view::npos) break;
        const std::string_view rest = words.substr(open + 1);
        const auto figure = std::ranges::find_if(figures, [&](const auto& f) {
            return rest.starts_with(f.first) && rest.substr(f.first.size()).starts_with('}');
        });
        if (figure == figures.end()) {
            text += '{';
            at = open + 1;
            continue;
        }
        text += figure->second;
        at = open + figure->first.size() + 2;
    }
    return text;
}

std::string sentence(Language language, std::string_view english, Figures figures) {
    return sentence(translated(language, english), figures);
}

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

std::string moneyText(double amount) {
    return amount == roundWhole(amount) ? dollarText(amount) : dollarCentsText(amount);
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
        warnings.push_back(sentence(summary.language, premiumWarningTexts(warning).summary,
                                    {{"share", percentText(summary.premium.*kTestedShares[kind])},
                                     {"limit", plain(kPremiumWarnings[kind].limit * 100) + "%"}}));
    }
    return warnings;
}

std::vector<EligibilityNotice> eligibilityNotices(const QuoteSummary& summary) {
    std::vector<EligibilityNotice> notices;
    const std::vector<std::string> warnings = eligibilityWarnings(summary);
    for (size_t i = 0; i < warnings.size(); ++i) {
        const auto kind = static_cast<size_t>(summary.premium.warnings[i]);
        notices.push_back({warnings[i], sentence(summary.language, kPremiumWarningTexts[kind].meaning,
                                                 {{"limit", plain(kPremiumWarnings[kind].limit * 100) + "%"}})});
    }
    return notices;
}

std::string coverageText(const std::string& caption, Language language) {
    const std::optional<size_t> column = columnOf(caption);
    if (!column) return caption;
    return sentence(language, N_("{level} ({percent} coverage)"),
                    {{"level", caption}, {"percent", plain(kCoverageLevels[*column].level * 100) + "%"}});
}

std::vector<std::string> plainWords(Language language) {
    const CoverageLevel& example = kCoverageLevels[std::size(kCoverageLevels) / 2];
    return {
        std::string(translated(
            language, N_("KBT is the farm revenue this plan insures, worked out from the allowable income of the five "
                         "tax years and from the expected revenue of the commodities; the smaller of the two is the "
                         "allowable KBT."))),
        std::string(translated(
            language, N_("MPCI is multiple-peril crop insurance: the farm's other policies on its crops. What they "
                         "already cover is taken off the KBT liability, so the same revenue is not insured twice."))),
        sentence(language,
                 N_("The coverage level is the share of the allowable KBT that the plan "
                    "guarantees as revenue: at {level} the revenue guarantee is {percent} of the "
                    "allowable KBT."),
                 {{"level", coverageText(example.caption, language)}, {"percent", plain(example.level * 100) + "%"}}),
    };
}

std::string rateFileName(const SummaryRateFile& file) { return std::filesystem::path(file.path).filename().string(); }

std::vector<RenewalLine> renewalLines(const QuoteSummary& summary) {
    std::vector<RenewalLine> lines;
    if (!summary.lastQuote) return lines;
    const LastQuote& last = *summary.lastQuote;
    for (const LastQuoteLevel& level : last.levels) {
        const std::string notOffered(translated(summary.language, kNotOffered));
        RenewalLine line{coverageText(level.coverage, summary.language),
                         level.last ? dollarText(*level.last) : notOffered,
                         level.current ? dollarText(*level.current) : notOffered,
                         {},
                         {},
                         {}};
        const std::optional<size_t> column = columnOf(level.coverage);
        if (!level.last) {
            line.reason = translated(summary.language, kLevelOffered);
        } else if (!level.current) {
            line.reason = translated(summary.language, kLevelWithdrawn);
        } else {
            const double change = roundWhole(*level.current - *level.last);
            line.change = signedDollarText(change);
            if (*level.last != 0) line.percent = changePercentText(*level.last, *level.current);
            line.reason =
                column ? renewalReason(summary, last, *column, change) : translated(summary.language, kOtherChange);
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

namespace {

// How the factor follows from the count of commodities and the spread of
// their shares.
std::string factorStep(const PremiumFigures& s, Language language) {
    const auto words = [&](const char* english) { return translated(language, english); };
    const int count = static_cast<int>(s.rows.size());
    const std::string factor = plain(s.diversificationFactor);
    if (const FactorQuadratic* q = factorQuadratic(count)) {
        return sentence(
                   words(N_("An even spread of the expected KBT over {count} commodities would give each a share of "
                            "{even} (1/{count} to three decimals); the farm's shares differ from it by S = {deviation} "
                            "in all (each share's distance from {even}, to three decimals, added up).")),
                   {{"count", std::to_string(count)},
                    {"even", plain(s.equalShare)},
                    {"deviation", plain(s.deviationSum)}}) +
               " " +
               sentence(
                   words(N_("For {count} commodities the diversification factor is {c0} + {c1} × S + {c2} × S², to "
                            "three decimals: {c0} + {c1} × {deviation} + {c2} × {deviation}² = {factor}.")),
                   {{"count", std::to_string(count)},
                    {"c0", plain(q->c0)},
                    {"c1", plain(q->c1)},
                    {"c2", plain(q->c2)},
                    {"deviation", plain(s.deviationSum)},
                    {"factor", factor}});
    }
    if (count <= 1)
        return sentence(
            words(N_("With a single commodity, which carries the whole expected KBT (a share of {share}), the "
                     "diversification factor is {factor}: there is no spread to reward.")),
            {{"share", plain(s.rows.front().share)}, {"factor", factor}});
    return sentence(
        words(N_("The farm has {count} commodities, and from {from} commodities on the diversification factor is "
                 "{factor} however the expected KBT is spread among them.")),
        {{"count", std::to_string(count)}, {"from", std::to_string(kFlatFactorFrom)}, {"factor", factor}});
}

// Which commodities count, why the share that counts depends on how many
// there are, and the levels the count offers.
std::string countStep(const QuoteSummary& summary) {
    const auto words = [&](const char* english) { return translated(summary.language, english); };
    const PremiumFigures& s = summary.premium;
    const size_t count = s.rows.size();
    const Figures figures = {{"count", std::to_string(count)},
                             {"even", plain(s.equalShare)},
                             {"threshold", plain(s.threshold)},
                             {"counting", std::to_string(s.significantCount)}};
    std::string step;
    if (count == 1) {
        step =
            sentence(words(N_("A commodity counts towards the coverage levels when its share is at least half an even "
                              "share; with 1 commodity the even share is {even} and half of it {threshold}, which the "
                              "farm's commodity reaches.")),
                     figures);
    } else {
        step =
            sentence(words(N_("A commodity counts towards the coverage levels when its share is at least half an even "
                              "share, so the share that counts is smaller the more commodities there are: with {count} "
                              "commodities the even share is {even} and half of it, to three decimals, {threshold}.")),
                     figures);
        step += " ";
        if (s.significantCount == 1)
            step += sentence(words(N_("1 of the {count} commodities reaches it.")), figures);
        else if (static_cast<size_t>(s.significantCount) == count)
            step += sentence(words(N_("All {count} commodities reach it.")), figures);
        else
            step += sentence(words(N_("{counting} of the {count} commodities reach it.")), figures);
    }

    std::string levels;
    for (const SummaryLevel& level : offeredLevels(summary)) levels += (levels.empty() ? "" : ", ") + level.coverage;
    const bool oneLevel = levels.find(',') == std::string::npos;
    const char* offered =
        oneLevel ? N_("The only coverage level offered is {levels}.") : N_("The coverage levels offered are {levels}.");
    step += " " + sentence(words(offered), {{"levels", levels}});
    for (const CoverageLevel& level : levelSteps())
        step += " " + sentence(words(N_("The {level} level needs {needed} commodities that count.")),
                               {{"level", level.caption}, {"needed", std::to_string(level.offeredFrom)}});
    return step;
}

// The net liability: the liability less the MPCI cover, as far as the plan
// lets MPCI take it.
std::string netLiabilityStep(const PremiumFigures& s, const PremiumColumn& l, Language language) {
    const auto words = [&](const char* english) { return translated(language, english); };
    const Figures figures = {{"liability", moneyText(l.kbtLiability())},
                             {"mpci", moneyText(s.mpciLiability)},
                             {"limit", plain(kMpciLimit)},
                             {"net", moneyText(l.netKbtLiability())}};
    switch (netLiabilityRule(l.kbtLiability(), s.mpciLiability)) {
    case NetLiabilityRule::NothingToCover:
        return sentence(words(N_("With no liability there is nothing to cover: the net liability is {net}.")), figures);
    case NetLiabilityRule::MpciOverLimit:
        return sentence(
            words(N_("The MPCI liability, {mpci}, is more than {limit} of the liability, so the net liability is "
                     "{limit} of it, to the dollar: {liability} × {limit} = {net}.")),
            figures);
    case NetLiabilityRule::LessMpci: break;
    }
    if (s.mpciLiability == 0)
        return sentence(words(N_("With no MPCI liability the net liability is the whole liability, {net}.")), figures);
    return sentence(
        words(N_("The net liability is the liability less the MPCI liability, to the dollar: {liability} − {mpci} = "
                 "{net}.")),
        figures);
}

// One offered level from the allowable KBT to the producer premium.
std::string levelStep(const PremiumFigures& s, const SummaryLevel& level, Language language) {
    const auto words = [&](const char* english) { return translated(language, english); };
    const PremiumColumn& l = level.figures;
    const std::optional<size_t> column = columnOf(level.coverage);
    const double share = column ? kCoverageLevels[*column].level : 0;
    const Figures figures = {{"level", level.coverage},
                             {"allowable", moneyText(s.allowableKbt)},
                             {"share", plain(share)},
                             {"threshold", moneyText(l.indemnityThreshold())},
                             {"liabilityFactor", plain(kLiabilityFactor)},
                             {"liability", moneyText(l.kbtLiability())},
                             {"weighted", plain(l.weightedRate())},
                             {"factor", plain(l.diversificationFactor())},
                             {"rate", plain(l.kbtRate())},
                             {"net", moneyText(l.netKbtLiability())},
                             {"gross", moneyText(l.grossPremium())},
                             {"part", plain(kProducerPart)},
                             {"producer", moneyText(l.producerPremium())},
                             {"subsidy", moneyText(l.subsidy())}};
    return sentence(
               words(N_(
                   "At {level}: the indemnity threshold is the allowable KBT times the coverage level, {allowable} × "
                   "{share} = {threshold}, and the liability {liabilityFactor} of that product, to the dollar: "
                   "{allowable} × {share} × {liabilityFactor} = {liability}.")),
               figures) +
           " " +
           sentence(words(N_("The weighted rate, each commodity's rate at {level} times its share, to three decimals, "
                             "added up, is "
                             "{weighted}; "
                             "times the diversification factor it gives the KBT rate, to three decimals: {weighted} × "
                             "{factor} = {rate}.")),
                    figures) +
           " " + netLiabilityStep(s, l, language) + " " +
           sentence(
               words(N_("The gross premium is the net liability times the KBT rate, to the dollar: {net} × {rate} = "
                        "{gross}.")),
               figures) +
           " " +
           sentence(
               words(
                   N_("The producer pays {part} of it, to the dollar: {gross} × {part} = {producer}; the subsidy pays "
                      "the rest: {gross} − {producer} = {subsidy}.")),
               figures);
}

}  // namespace

std::vector<std::string> premiumSteps(const QuoteSummary& summary) {
    const PremiumFigures& s = summary.premium;
    std::vector<std::string> steps;
    steps.push_back(sentence(summary.language,
                             N_("The allowable KBT is the smaller of the projected KBT ({projected}) "
                                "and the total expected KBT of the commodities ({total}): "
                                "{allowable}."),
                             {{"projected", dollarText(s.projectedKbt)},
                              {"total", dollarText(s.totalExpectedKbt)},
                              {"allowable", dollarText(s.allowableKbt)}}));
    if (!s.rows.empty()) {
        steps.push_back(factorStep(s, summary.language));
        steps.push_back(countStep(summary));
    }

    std::string tests;
    for (size_t kind = 0; kind < kPremiumWarningKinds; ++kind)
        tests += (kind == 0 ? "" : "; ") +
                 sentence(summary.language, kPremiumWarningTexts[kind].step,
                          {{"share", plain(s.*kTestedShares[kind])}, {"limit", plain(kPremiumWarnings[kind].limit)}});
    steps.push_back(tests + ".");

    for (const SummaryLevel& level : offeredLevels(summary)) steps.push_back(levelStep(s, level, summary.language));
    return steps;
}

std::string sampleRatesLine(Language language) {
    return std::string(translated(language, N_("Sample rates: the rates are the made-up sample shipped with the "
                                               "program, and this paper is no quote.")));
}

std::string unratedText(const QuoteSummary& summary) {
    std::vector<std::string> rows;
    for (const SummaryCommodity& c : summary.commodities)
        if (!c.recordLine) rows.push_back(c.name.empty() ? "code " + c.code : c.name + " (code " + c.code + ")");
    if (rows.empty()) return {};
    return unratedSentence(summary.rateFile.path, rows, summary.county);
}

}  // namespace kbt2
