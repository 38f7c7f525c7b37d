#include "commands/preliminary_kbt.h"

#include <array>
#include <string>

#include "calc/adjustment.h"
#include "calc/numbers.h"
#include "calc/preliminary.h"
#include "commands/field_draft.h"
#include "commands/messages.h"

namespace kbt2 {
namespace {

using FiveTexts = std::array<std::string, 5>;

FiveTexts readTexts(const Worksheet& ws, Control array) {
    FiveTexts texts;
    for (int k = 0; k < 5; ++k) texts[static_cast<size_t>(k)] = ws.text({array, k});
    return texts;
}

// The message of the first failed check, each box numbered 1 (1993) to 5
// (1997). Every box passes the numeric test before any character check, and
// all incomes before any expense.
std::string firstFailedCheck(const FiveTexts& incomes, const FiveTexts& expenses) {
    struct Check {
        const FiveTexts& texts;
        bool (*fails)(std::string_view);
        const char* message;
    };
    const auto notNumeric = [](std::string_view t) { return !isNumeric(t); };
    // clang-format off
    const Check checks[] = {
        {incomes,  notNumeric,       messages::kIncomeNotNumeric},
        {expenses, notNumeric,       messages::kExpenseNotNumeric},
        {incomes,  hasCommaOrDollar, messages::kIncomeCommaOrDollar},
        {expenses, hasCommaOrDollar, messages::kExpenseCommaOrDollar},
    };
    // clang-format on
    for (const Check& check : checks)
        for (int n = 1; n <= 5; ++n)
            if (check.fails(check.texts[static_cast<size_t>(n - 1)])) return check.message + std::to_string(n);
    return {};
}

}  // namespace

void command2Click(Worksheet& ws, Platform& platform) {
    const FiveTexts incomeTexts = readTexts(ws, Control::Allinc1);
    const FiveTexts expenseTexts = readTexts(ws, Control::Allexp1);
    if (const std::string failed = firstFailedCheck(incomeTexts, expenseTexts); !failed.empty()) {
        tell(platform, failed);
        return;
    }
    FiveYears incomes{};
    FiveYears expenses{};
    for (size_t k = 0; k < 5; ++k) {
        incomes[k] = numericValue(incomeTexts[k]);
        expenses[k] = numericValue(expenseTexts[k]);
    }
    // Each of 1993 to 1996 divides the next year's income.
    if (const int box = zeroDivisorBox(incomes)) {
        tell(platform, messages::preliminaryZeroIncome(box));
        return;
    }

    const PreliminaryFigures f = preliminaryFigures(incomes, expenses);
    if (!f.finite()) {
        tell(platform, messages::kPreliminaryOutOfRange);
        return;
    }
    FieldDraft draft(ws);
    draft.setNumber({Control::Totalinc}, f.totalIncome);
    draft.setNumber({Control::Totalexp}, f.totalExpense);
    draft.setNumber({Control::Averageinc}, f.averageIncome);
    draft.setNumber({Control::Averageexp}, f.averageExpense);
    draft.setNumber({Control::GrowthFact}, f.adjustmentFactor);
    draft.setNumber({Control::Text29}, f.preliminaryKbt);
    draft.setNumber({Control::Text30}, f.preliminaryExpense);
    draft.commit(ws, platform);
}

}  // namespace kbt2
