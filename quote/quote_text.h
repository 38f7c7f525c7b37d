#pragma once
// The words and figures a quote summary and the premium details view share:
// dollar amounts as a farmer reads them, and the steps from the commodity
// shares to the premium told in plain words with the run's own figures. The
// words are in the summary's language (or the one given); the figures are
// written the same in every language.

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "quote/quote_summary.h"

namespace kbt2 {

// A sentence with each "{name}" replaced by its figure. The sentences stay
// whole, so each can be translated as one.
using Figures = std::initializer_list<std::pair<std::string_view, std::string>>;
std::string sentence(std::string_view words, Figures figures);
// `english`, a text marked N_, in `language` with its figures filled in.
std::string sentence(Language language, std::string_view english, Figures figures);

// "$1,287", "-$40", "$0": whole dollars, rounded half up, grouped by threes.
std::string dollarText(double amount);
// "12,345": a whole number grouped by threes, rounded half up.
std::string groupedText(double whole);
// "$4.27": dollars and cents, grouped by threes.
std::string dollarCentsText(double amount);
// Whole dollars as "$1,287", an amount with cents (a price, an MPCI
// liability) as "$1,287.50", so a figure worked out from it reads true.
std::string moneyText(double amount);
// "45.1%" of a share such as 0.451.
std::string percentText(double share);
// Premium per 1,000 dollars of guarantee; 0 when there is no guarantee.
double premiumPerThousand(const PremiumColumn& level);

// The premium's steps, a paragraph each, from the allowable KBT through the
// shares, the diversification factor and the commodities that count to each
// offered level's premium: every formula worked with the run's own figures.
std::vector<std::string> premiumSteps(const QuoteSummary& summary);

// Each eligibility warning of the run in plain words; none when it passed both.
std::vector<std::string> eligibilityWarnings(const QuoteSummary& summary);

// An eligibility warning as the farmer's paper gives it: the warning, then
// what it means for the farm (what the plan requires, what happens next).
struct EligibilityNotice {
    std::string warning;
    std::string meaning;
};
std::vector<EligibilityNotice> eligibilityNotices(const QuoteSummary& summary);

// ".75 (75% coverage)": a coverage level's caption with the share of the
// allowable KBT it guarantees.
std::string coverageText(const std::string& caption, Language language = Language::English);

// The paper's box of plain words, one paragraph each: what KBT, MPCI and a
// coverage level mean.
std::vector<std::string> plainWords(Language language = Language::English);

// The rate file's name without its folder: all the paper says of where it is.
std::string rateFileName(const SummaryRateFile& file);

// One coverage level of a renewal letter: the producer premium of the last
// quote and of this one ("not offered" where that table did not offer the
// level), the change in dollars and in per cent of the last premium (empty
// where either is not offered), and why it changed, in whole sentences.
struct RenewalLine {
    std::string coverage;
    std::string last;
    std::string current;
    std::string change;
    std::string percent;
    std::string reason;
};
// The letter's lines, one per level of the last quote; none without one.
std::vector<RenewalLine> renewalLines(const QuoteSummary& summary);

// The plain line every page of a summary or letter priced from the shipped
// sample table carries, and Premium Details shows.
std::string sampleRatesLine(Language language = Language::English);

// Why the summary's figures are no quote, naming each commodity the rate file
// has no record for and the county; empty when every commodity had its record.
std::string unratedText(const QuoteSummary& summary);

// The levels the premium offers, in column order.
std::vector<SummaryLevel> offeredLevels(const QuoteSummary& summary);

}  // namespace kbt2
