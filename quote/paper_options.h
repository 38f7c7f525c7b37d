#pragma once
// The scenarios ticked for the farmer's paper, side by side as the quote
// summary's "Options we looked at" shows them: what each one changed, the
// coverage levels it is offered and each level's figures, written as the
// summary writes its own.

#include <string>
#include <vector>

#include "quote/language.h"

namespace kbt2 {

struct ScenarioComparison;

struct PaperOptions {
    std::vector<std::string> names;                 // the ticked scenarios, in the case's order
    std::vector<std::string> changes;               // one sentence per scenario: what it changed
    std::vector<std::string> headings;              // one per row of the table
    std::vector<std::vector<std::string>> columns;  // per scenario, one text per heading
};

// The ticked scenarios of the comparison; no names when none is ticked.
PaperOptions paperOptions(const ScenarioComparison& comparison, Language language = Language::English);

}  // namespace kbt2
