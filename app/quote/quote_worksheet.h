#pragma once
// One worksheet quoted as a person quotes it in a window just started: Load,
// Calculate KBT, the calculation of the commodity report, Calculate Premium,
// OK to every message, then Tab 9 read off.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "calc/premium.h"
#include "calc/rate_source.h"

namespace kbt2::quote {

// One coverage level of the premium table: its caption and, in the order of
// kLevelColumns, the texts of its fields.
struct LevelQuote {
    std::string coverage;
    std::vector<std::string> figures;
};

struct WorksheetQuote {
    std::string file;
    bool ok = false;
    std::string message;                // the message that stopped it
    std::vector<std::string> warnings;  // "livestock-over-35", "mpci-over-50"
    std::vector<LevelQuote> levels;     // the coverage levels shown
    std::vector<std::string> totals;    // in the order of kTotalColumns
};

struct QuoteColumn {
    const char* name;
    FieldRef field;  // for a level, the field of column 0
};

// clang-format off
inline constexpr QuoteColumn kLevelColumns[] = {
    {"indemnity_threshold",    {Control::Text23, 0}},
    {"weighted_rate",          {Control::Text24, 0}},
    {"diversification_factor", {Control::Text25, 0}},
    {"kbt_rate",               {Control::Text26, 0}},
    {"kbt_liability",          {Control::Text27, 0}},
    {"net_kbt_liability",      {Control::Text28, 0}},
    {"gross_premium",          {Control::Text16, 0}},
    {"subsidy",                {Control::Text17, 0}},
    {"producer_premium",       {Control::Text18, 0}},
};
inline constexpr QuoteColumn kTotalColumns[] = {
    {"preliminary_kbt",        {Control::Projkbt, 0}},
    {"total_expected_kbt",     {Control::Text15, 0}},
    {"allowable_kbt",          {Control::Text21, 0}},
    {"crops",                  {Control::Croptext, 0}},
};
// clang-format on

// The rate file the window would read: the first of its places that holds one.
std::optional<std::string> windowRateFile();
// What the window's search counts as a file: an ordinary one, not a folder,
// a pipe or a device.
bool isOrdinaryFile(const std::string& path);

// The rate keys the worksheet's premium will ask for; nothing when the file
// does not load.
std::optional<PremiumRateKeys> rateKeysOf(const std::string& path);

WorksheetQuote quoteWorksheet(const std::string& path, RateSource& rates);

// An item that named no worksheet: an error with this message.
WorksheetQuote failedQuote(const std::string& path, std::string message);

}  // namespace kbt2::quote
