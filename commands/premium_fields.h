#pragma once
// The premium's figures and eligibility results written into the page-9
// fields through a draft, in the order the premium writes them.

#include <array>

#include "calc/premium.h"
#include "calc/premium_table.h"
#include "commands/field_draft.h"

namespace kbt2 {

using PremiumColumns = std::array<PremiumColumn, kPremiumColumns>;

// The KBT liability (Text27) of every column.
void writeLiabilities(FieldDraft& draft, const PremiumColumns& columns);
// The other eight rows, row by row across the columns; every producer
// premium is written before any subsidy.
void writePremiums(FieldDraft& draft, const PremiumColumns& columns);
// Columns not offered are hidden and emptied; offered ones are shown again.
// A level always offered (0.65) is never touched here.
void showOfferedLevels(FieldDraft& draft, const PremiumColumns& columns);

// Page 9's eligibility results: each "No" before the figures, and a warning
// shown with its result "Yes" (its row of kPremiumWarningTexts).
void clearWarningResults(FieldDraft& draft);
void writeWarning(FieldDraft& draft, PremiumWarning warning);

// The same from the allowable KBT, the weighted rates and the factor, with
// the KBT liability and MPCI liability the draft holds.
void writeLiabilities(FieldDraft& draft, double allowable);
void writePremiums(FieldDraft& draft, double allowable, const std::array<double, kPremiumColumns>& weightedRates,
                   double diversificationFactor);
void showOfferedLevels(FieldDraft& draft, int significantCount);

}  // namespace kbt2
