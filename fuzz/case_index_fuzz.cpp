// The index of a case's scenarios on any text, as opening a case reads it:
// refused with a line that exists and a reason, or read into an index that
// the writer writes back in a form that reads again to the same index.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "fuzz/require.h"
#include "storage/case_index.h"

using kbt2::fuzzing::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto parsed = kbt2::parseCaseIndex(text);
    if (const auto* error = std::get_if<kbt2::CaseIndexError>(&parsed)) {
        require(error->line >= 1 && !error->reason.empty());
        return 0;
    }
    const auto& index = std::get<kbt2::CaseIndex>(parsed);
    require(!index.scenarios.empty() && index.scenarios.size() <= kbt2::kMostScenarioFiles);
    require(index.scenarios.front().file.empty());
    for (size_t i = 1; i < index.scenarios.size(); ++i) require(kbt2::isScenarioFileName(index.scenarios[i].file));
    const std::string written = kbt2::formatCaseIndex(index);
    const auto again = kbt2::parseCaseIndex(written);
    require(std::holds_alternative<kbt2::CaseIndex>(again));
    require(std::get<kbt2::CaseIndex>(again) == index);
    require(kbt2::formatCaseIndex(std::get<kbt2::CaseIndex>(again)) == written);
    return 0;
}
