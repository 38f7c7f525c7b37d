#include "commands/premium_watch_fields.h"

#include "worksheet/premium_rows.h"
#include "worksheet/report_rows.h"

namespace kbt2 {

std::vector<FieldRef> premiumInputFields() {
    std::vector<FieldRef> fields;
    for (const WatchedChoice& choice : kPremiumChoiceInputs)
        for (const Control options : choice.options)
            for (int i = 0; i < info(options).slots(); ++i) fields.push_back({options, i});
    for (const WatchedField& input : kPremiumSingleInputs) fields.push_back(input.field);
    for (int year = 0; year < info(kPremiumIncomes).slots(); ++year) fields.push_back({kPremiumIncomes, year});
    for (int row = 0; row < kReportRows; ++row)
        for (const WatchedRowField& input : kPremiumRowInputs) fields.push_back({input.control, row});
    return fields;
}

std::vector<FieldRef> premiumOutputFields() {
    std::vector<FieldRef> fields;
    for (int column = 0; column < kPremiumColumns; ++column)
        for (const Control row : kPremiumRows) fields.push_back({row, column});
    for (const WatchedField& output : kPremiumSingleOutputs) fields.push_back(output.field);
    return fields;
}

}  // namespace kbt2
