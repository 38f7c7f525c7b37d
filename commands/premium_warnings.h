#pragma once
// How each eligibility warning of the premium shows, one row per row of
// calc's kPremiumWarnings (calc/premium.h), in its order: the message box,
// page 9's result, what kbt2-quote prints and the quote summary's words.
// calc decides a warning and holds its limit; everything above it that tells
// one kind from another reads this table, so a new kind is a row here and
// one there (docs/architecture.md, "Adding a new warning").
//
// The messages are the system's own texts, kept exactly as they stand, odd
// blank and carriage return included (see commands/messages.h).

#include <cstddef>
#include <iterator>
#include <string_view>

#include "calc/premium.h"
#include "worksheet/controls.h"
#include "worksheet/translatable.h"

namespace kbt2 {

struct PremiumWarningTexts {
    PremiumWarning kind;
    // Page 9's result: "Yes" when the premium warned, "No" when it did not.
    Control result;
    // That result as the window's premium watch names it.
    const char* resultName;
    // The message box, "*** ERROR ***" with OK and Cancel; the premium goes on
    // whatever the answer.
    const char* message;
    // kbt2-quote's token in the warnings column, and the change --compare
    // names when the warning comes or goes between two rate tables.
    const char* token;
    const char* change;
    // The quote summary's warning: {share} is the share tested as a
    // percentage, {limit} the limit in whole per cent. This and the two
    // below are the farmer's paper's words, marked for its translations.
    const char* summary;
    // What the warning means for the farmer, after the summary's warning:
    // what the plan requires and what happens next; {limit} as above.
    const char* meaning;
    // The premium details' clause on the test: {share} and {limit} as plain
    // numbers. The clauses of every kind make one sentence.
    const char* step;
};

// clang-format off
inline constexpr PremiumWarningTexts kPremiumWarningTexts[] = {
    {PremiumWarning::LivestockOver35, Control::Lvstex, "the livestock result",
     "You are not eligible for KBT because more than\r 35% of your expected KBT comes from livestock.",
     "livestock-over-35", "livestock-warning",
     N_("Livestock bring {share} of the expected revenue, more than the {limit} the plan allows: as the worksheet "
        "stands, the farm is not eligible for KBT."),
     N_("The plan insures a farm only while livestock bring no more than {limit} of its expected revenue; the farm "
        "as entered does not meet that rule. The policy cannot be written as it stands unless livestock come to "
        "{limit} or less of what the farm intends to produce. The premium shown is an estimate for a farm that meets "
        "the rule."),
     N_("Livestock make up {share} of the expected KBT (the limit is {limit})")},
    {PremiumWarning::LivestockOrInsurableOver50, Control::Mpciex, "the MPCI result",
     "You must purchase an MPCI product on insurable crops because\r50% of your expected KBT comes from livestock "
     "and insurable crops.",
     "mpci-over-50", "mpci-warning",
     N_("Livestock and crops insurable under MPCI bring {share} of the expected revenue, more than {limit}: an MPCI "
        "policy must be bought on the insurable crops."),
     N_("The plan requires an MPCI policy on the insurable crops when livestock and those crops bring more than "
        "{limit} of the expected revenue. The KBT policy can be written only with that MPCI policy in place; the MPCI "
        "premium is not part of the premium shown."),
     N_("livestock and insurable crops {share} (the limit is {limit})")},
};
// clang-format on

constexpr bool textsInKindOrder() {
    if (std::size(kPremiumWarningTexts) != kPremiumWarningKinds) return false;
    for (size_t i = 0; i < kPremiumWarningKinds; ++i)
        if (kPremiumWarningTexts[i].kind != kPremiumWarnings[i].kind) return false;
    return true;
}
static_assert(textsInKindOrder(), "kPremiumWarningTexts holds one row per row of kPremiumWarnings, in its order");

// Two kinds never share a result or a token: a reader of either could not
// tell them apart.
constexpr bool resultsAndTokensDistinct() {
    for (size_t i = 0; i < std::size(kPremiumWarningTexts); ++i)
        for (size_t j = 0; j < i; ++j)
            if (kPremiumWarningTexts[i].result == kPremiumWarningTexts[j].result ||
                std::string_view(kPremiumWarningTexts[i].token) == kPremiumWarningTexts[j].token)
                return false;
    return true;
}
static_assert(resultsAndTokensDistinct(), "every kind has a result and a token of its own");

constexpr const PremiumWarningTexts& premiumWarningTexts(PremiumWarning kind) {
    return kPremiumWarningTexts[static_cast<size_t>(kind)];
}

}  // namespace kbt2
