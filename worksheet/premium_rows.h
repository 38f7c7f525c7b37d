#pragma once
// The premium table of page 9: nine rows, each one field array with an
// element per coverage level (columns 0.80, 0.75 and 0.65, left to right).

#include <algorithm>

#include "worksheet/controls.h"

namespace kbt2 {

inline constexpr int kPremiumColumns = 3;

// The columns' captions, as the page and the quotes show them.
inline constexpr const char* kCoverageCaptions[kPremiumColumns] = {".80", ".75", ".65"};

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
