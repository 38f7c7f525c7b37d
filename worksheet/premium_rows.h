#pragma once
// The premium table of page 9: a column per coverage level (the table of
// levels below, left to right) and nine rows, each one field array with an
// element per coverage level.

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>

#include "worksheet/controls.h"

namespace kbt2 {

// One coverage level: its caption as the page, the report and the quotes show
// it, the share of the allowable KBT it guarantees, and the count of
// significant commodities from which the premium offers it.
struct CoverageLevel {
    const char* caption;
    double level;
    int offeredFrom;
};

// The coverage levels, one per column of the premium table, left to right.
// Every layer walks this table: the premium's arithmetic and its offered rule,
// the words that tell that rule, the page, the report, the quotes and the
// summaries.
// clang-format off
inline constexpr CoverageLevel kCoverageLevels[] = {
    {".80", 0.80, 8},
    {".75", 0.75, 3},
    {".65", 0.65, 1},
};
// clang-format on

inline constexpr int kPremiumColumns = static_cast<int>(std::size(kCoverageLevels));

// One value per coverage level, in column order (a commodity's rates, say).
using LevelValues = std::array<double, kPremiumColumns>;

// The columns' captions, in column order.
inline constexpr std::array<const char*, kPremiumColumns> kCoverageCaptions = [] {
    std::array<const char*, kPremiumColumns> captions{};
    for (size_t i = 0; i < captions.size(); ++i) captions[i] = kCoverageLevels[i].caption;
    return captions;
}();

// Top to bottom, as the page and the printed report show them.
inline constexpr Control kPremiumRows[] = {
    Control::Text23, Control::Text24, Control::Text25, Control::Text26, Control::Text27,
    Control::Text28, Control::Text16, Control::Text17, Control::Text18,
};

static_assert(std::ranges::all_of(kPremiumRows, [](Control row) { return info(row).elements == kPremiumColumns; }),
              "every premium row has one element per coverage level");

constexpr bool isPremiumRow(Control control) {
    return std::ranges::find(kPremiumRows, control) != std::end(kPremiumRows);
}

}  // namespace kbt2
