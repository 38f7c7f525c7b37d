#pragma once
// What a masked number field shows while it does not have the input focus.

#include <string>
#include <string_view>

#include "worksheet/controls.h"

namespace kbt2 {

// Applies the field's display format to its plain text. A text that is not a
// number (or is empty) is shown as it stands. Positive values and zero take
// the format's first part, negative values the part in parentheses; digits are
// rounded half away from zero.
std::string displayText(DisplayFormat format, std::string_view text);

}  // namespace kbt2
