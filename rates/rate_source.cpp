#include "rates/rate_source.h"

#include <algorithm>

namespace kbt2 {

SourcedRates RateFileSource::ratesFor(Platform& platform, double stateCode, double countyCode,
                                      std::span<const double> codes) {
    SourcedRates sourced;
    RateFilePlace place = locateRateFile(platform);
    sourced.path = std::move(place.path);
    sourced.chosenGone = std::move(place.chosenGone);
    if (sourced.path) sourced.lookup = readRates(*sourced.path, stateCode, countyCode, codes);
    return sourced;
}

std::optional<RateFileUse> rateFileUse(const SourcedRates& sourced) {
    if (!sourced.path || sourced.lookup.error) return std::nullopt;
    const auto& rows = sourced.lookup.rows;
    RateFileUse use{*sourced.path, sourced.lookup.records, static_cast<int>(rows.size()),
                    static_cast<int>(std::count_if(rows.begin(), rows.end(), [](const auto& r) { return r.found; })),
                    sourced.chosenGone};
    // A record that matched a row is a record, whatever the source said.
    use.keyed = sourced.lookup.keyed || use.found > 0;
    use.sample = sourced.lookup.sample;
    for (size_t i = 0; i < rows.size(); ++i)
        if (!rows[i].found) use.unmatched.push_back(static_cast<int>(i));
    return use;
}

}  // namespace kbt2
