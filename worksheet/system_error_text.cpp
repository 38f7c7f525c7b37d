#include "worksheet/system_error_text.h"

#include <locale.h>
#include <string.h>

namespace kbt2 {

std::string systemErrorText(int number) {
    // Made once and never freed: every thread may ask at any time.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    if (cLocale) return strerror_l(number, cLocale);
    return "System error " + std::to_string(number);
}

}  // namespace kbt2
