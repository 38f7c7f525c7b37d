#include "commands/commodity_kbt.h"

#include <array>
#include <cmath>
#include <string>

#include "calc/numbers.h"
#include "calc/premium.h"
#include "commands/messages.h"
#include "worksheet/report_rows.h"

namespace kbt2 {
namespace {

bool zeroOrNotNumeric(std::string_view text) { return numericValue(text) == 0 || !isNumeric(text); }

// The checks of the used rows, in their fixed order: every total amount for
// zero and number before any comma test, total amounts before expected
// values, expected values for zero last. The row number (1-based) goes
// between prefix and suffix.
struct RowCheck {
    Control field;
    bool (*fails)(std::string_view);
    const char* prefix;
    const char* suffix;
};

// clang-format off
constexpr RowCheck kChecks[] = {
    {Control::Totamt1, zeroOrNotNumeric, messages::kTotalAmountInvalid,          messages::kTotalAmountInvalidEnd},
    {Control::Totamt1, hasCommaOrDollar, messages::kTotalAmountCommaOrDollar,    ""},
    {Control::Expval1, hasCommaOrDollar, messages::kExpectedValueCommaOrDollar,  ""},
    {Control::Expval1, zeroOrNotNumeric, messages::kExpectedValueInvalid,        messages::kExpectedValueInvalidEnd},
};
// clang-format on

std::string firstFailedCheck(const Worksheet& ws, int used) {
    for (const RowCheck& check : kChecks)
        for (int i = 0; i < used; ++i)
            if (check.fails(ws.text({check.field, i}))) return check.prefix + std::to_string(i + 1) + check.suffix;
    return {};
}

bool named(const Worksheet& ws, int row) { return !reportRowEmpty(ws, row); }

}  // namespace

int reportLength(const Worksheet& ws) {
    // A named last row makes the report full length, gaps or not; otherwise
    // it ends at the first unnamed row after the first.
    if (named(ws, kReportRows - 1)) return kReportRows;
    for (int i = 1; i < kReportRows - 1; ++i)
        if (!named(ws, i)) return i;
    return kReportRows - 1;
}

void command3Click(Worksheet& ws, Platform& platform) {
    // Every named row's KBT is written before the checks, so a failed check
    // still leaves them on the page. A product out of range writes nothing.
    std::array<double, kReportRows> kbt{};
    for (int i = 0; i < kReportRows; ++i) {
        if (!named(ws, i)) continue;
        kbt[static_cast<size_t>(i)] =
            rowKbt(numericValue(ws.text({Control::Totamt1, i})), numericValue(ws.text({Control::Expval1, i})));
        if (!std::isfinite(kbt[static_cast<size_t>(i)])) {
            tell(platform, messages::rowKbtOutOfRange(i + 1));
            return;
        }
    }
    for (int i = 0; i < kReportRows; ++i)
        if (named(ws, i)) ws.setText({Control::Total1, i}, plainText(kbt[static_cast<size_t>(i)]));

    const int used = reportLength(ws);
    if (const std::string failed = firstFailedCheck(ws, used); !failed.empty()) {
        tell(platform, failed);
        return;
    }
    double total = 0;
    for (int i = 0; i < used; ++i) total += numericValue(ws.text({Control::Total1, i}));
    if (!std::isfinite(total)) {
        tell(platform, messages::kTotalKbtOutOfRange);
        return;
    }
    ws.setText({Control::Text15, 1}, plainText(total));
}

}  // namespace kbt2
