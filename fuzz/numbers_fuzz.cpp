// The number reading of every field: the numeric value, the numeric test,
// plain decimal text and the display formats, on any text a user can type.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "calc/display_format.h"
#include "calc/numbers.h"
#include "fuzz/require.h"

using kbt2::fuzzing::require;

namespace {

bool holdsInfOrNan(std::string_view text) {
    return text.find("inf") != std::string_view::npos || text.find("nan") != std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    using namespace kbt2;

    const double value = numericValue(text);
    require(!std::isnan(value));
    const bool numeric = isNumeric(text);
    (void)hasCommaOrDollar(text);

    if (std::isfinite(value)) {
        // Plain text reads back as itself: what a command writes into a field
        // is what the next command reads from it.
        const std::string plain = plainText(value);
        require(!holdsInfOrNan(plain));
        require(isNumeric(plain));
        if (std::isnormal(value) || value == 0) require(plainText(numericValue(plain)) == plain);
        (void)roundWhole(value);
        (void)roundThousandths(value);
    }

    for (DisplayFormat format :
         {DisplayFormat::None, DisplayFormat::WholeDollars, DisplayFormat::Dollars, DisplayFormat::Amount}) {
        const std::string shown = displayText(format, text);
        // A numeric text is shown formatted; anything else as it stands.
        if (format == DisplayFormat::None || !numeric) require(shown == text);
        if (!holdsInfOrNan(text)) require(!holdsInfOrNan(shown));
    }
    return 0;
}
