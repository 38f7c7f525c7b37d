#pragma once
// What Calculate Premium reads and what it writes, for whoever watches
// whether page 9's figures still hold (the window's premium watch): a change
// to an input after the premium leaves the figures out of date; the outputs
// are the figures. No field is both. Each comes with what a person calls it;
// the premium table's rows and levels are named by the page's captions,
// which stay with the window.

#include <array>
#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "commands/premium_warnings.h"
#include "worksheet/controls.h"

namespace kbt2 {

// A field with what a person calls it.
struct WatchedField {
    FieldRef field;
    std::string_view name;
};

// The inputs.
// The option arrays whose choice is read, each group as one input: the
// state, and the county among the counties of every state.
struct WatchedChoice {
    std::span<const Control> options;
    std::string_view name;
};
inline constexpr Control kPremiumStateOptions[] = {Control::St};
inline constexpr Control kPremiumCountyOptions[] = {Control::Mi1, Control::Me1, Control::Ma1, Control::Nh1,
                                                    Control::Fl1};
inline constexpr WatchedChoice kPremiumChoiceInputs[] = {
    {kPremiumStateOptions, "the state"},
    {kPremiumCountyOptions, "the county"},
};
inline constexpr WatchedField kPremiumSingleInputs[] = {
    {{Control::MPCI}, "the MPCI liability"},
    {{Control::Averageinc}, "the average income"},
};
// The allowable income of each tax year, the first element of 1993.
inline constexpr Control kPremiumIncomes = Control::Allinc1;
inline constexpr int kPremiumFirstIncomeYear = 1993;
// The fields of every commodity report row, each named after its row.
struct WatchedRowField {
    Control control;
    std::string_view what;
};
inline constexpr WatchedRowField kPremiumRowInputs[] = {
    {Control::Cropname1, "name"},
    {Control::Unit1, "commodity code"},
    {Control::Totamt1, "total amount"},
    {Control::Expval1, "expected value"},
};

// The outputs: every field of the premium table (kPremiumRows in each
// column, worksheet/premium_rows.h) and these, the eligibility results first.
inline constexpr WatchedField kPremiumResultOutputs[] = {
    {{Control::Projkbt}, "the preliminary KBT"},
    {{Control::Text15, 0}, "the total expected KBT"},
    {{Control::Text21}, "the allowable KBT"},
    {{Control::Croptext}, "the number of crops"},
};
constexpr auto premiumSingleOutputs() {
    std::array<WatchedField, kPremiumWarningKinds + std::size(kPremiumResultOutputs)> outputs{};
    size_t at = 0;
    for (const PremiumWarningTexts& warning : kPremiumWarningTexts)
        outputs[at++] = {{warning.result}, warning.resultName};
    for (const WatchedField& output : kPremiumResultOutputs) outputs[at++] = output;
    return outputs;
}
inline constexpr auto kPremiumSingleOutputs = premiumSingleOutputs();

// Every field behind the inputs (each element of the option arrays) and the
// outputs, in the order above.
std::vector<FieldRef> premiumInputFields();
std::vector<FieldRef> premiumOutputFields();

}  // namespace kbt2
