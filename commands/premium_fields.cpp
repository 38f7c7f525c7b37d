#include "commands/premium_fields.h"

#include "commands/messages.h"
#include "commands/premium_warnings.h"

namespace kbt2 {
namespace {

// The order the premium writes the rows in after the liability.
constexpr Control kWriteOrder[] = {Control::Text23, Control::Text24, Control::Text25, Control::Text26,
                                   Control::Text28, Control::Text16, Control::Text18, Control::Text17};

}  // namespace

void writeLiabilities(FieldDraft& draft, const PremiumColumns& columns) {
    for (int j = 0; j < kPremiumColumns; ++j)
        draft.setNumber({Control::Text27, j}, columns[static_cast<size_t>(j)].figure(Control::Text27));
}

void writePremiums(FieldDraft& draft, const PremiumColumns& columns) {
    for (const Control row : kWriteOrder)
        for (int j = 0; j < kPremiumColumns; ++j)
            draft.setNumber({row, j}, columns[static_cast<size_t>(j)].figure(row));
}

void showOfferedLevels(FieldDraft& draft, const PremiumColumns& columns) {
    for (int j = 0; j < kPremiumColumns; ++j) {
        if (alwaysOffered(j)) continue;
        const bool offered = columns[static_cast<size_t>(j)].offered;
        for (Control row : kPremiumRows) {
            draft.setVisible({row, j}, offered);
            if (!offered) draft.setText({row, j}, "");
        }
    }
}

void clearWarningResults(FieldDraft& draft) {
    for (const PremiumWarningTexts& warning : kPremiumWarningTexts) draft.setText({warning.result}, "No");
}

void writeWarning(FieldDraft& draft, PremiumWarning warning) {
    draft.message(messages::premiumWarning(warning));
    draft.setText({premiumWarningTexts(warning).result}, "Yes");
}

void writeLiabilities(FieldDraft& draft, double allowable) {
    for (int j = 0; j < kPremiumColumns; ++j) draft.setNumber({Control::Text27, j}, kbtLiability(allowable, j));
}

void writePremiums(FieldDraft& draft, double allowable, const std::array<double, kPremiumColumns>& weightedRates,
                   double diversificationFactor) {
    PremiumColumns columns;
    for (int j = 0; j < kPremiumColumns; ++j)
        columns[static_cast<size_t>(j)] =
            premiumColumn(j, allowable, weightedRates[static_cast<size_t>(j)], diversificationFactor,
                          draft.number({Control::Text27, j}), draft.number({Control::MPCI}));
    writePremiums(draft, columns);
}

void showOfferedLevels(FieldDraft& draft, int significantCount) {
    PremiumColumns columns;
    for (int j = 0; j < kPremiumColumns; ++j)
        columns[static_cast<size_t>(j)].offered = levelOffered(j, significantCount);
    showOfferedLevels(draft, columns);
}

}  // namespace kbt2
