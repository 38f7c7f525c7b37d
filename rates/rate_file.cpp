#include "rates/rate_file.h"

#include "rates/rate_record_scan.h"

namespace kbt2 {
namespace {

using namespace rate_records;

// Takes the values of every record that matches a row; later records
// overwrite earlier ones.
class RecordMatcher {
public:
    RecordMatcher(double state, double county, std::span<const double> codes)
        : state_(state), county_(county), codes_(codes), rows_(codes.size()) {}

    void record(const char* line, std::uint64_t number) {
        if (columnValue(line, kState) != state_ || columnValue(line, kCounty) != county_) return;
        const double code = columnValue(line, kCommodity);
        for (size_t i = 0; i < codes_.size(); ++i)
            if (codes_[i] == code) rows_[i] = ratesOf(line, number);
    }

    std::vector<CommodityRates> take() { return std::move(rows_); }

private:
    double state_;
    double county_;
    std::span<const double> codes_;
    std::vector<CommodityRates> rows_;
};

}  // namespace

RateFilePlace locateRateFile(Platform& platform) {
    // A chosen file that has since gone (or become a folder) is passed over,
    // so a quote can still be priced from the usual places.
    RateFilePlace place;
    if (auto chosen = platform.chosenRateFile()) {
        if (platform.fileExists(*chosen)) {
            place.path = std::move(chosen);
            return place;
        }
        place.chosenGone = std::move(chosen);
    }
    for (const std::string& folder : platform.rateFileFolders()) {
        std::string path = inFolder(folder, kRateFileName);
        if (platform.fileExists(path)) {
            place.path = std::move(path);
            break;
        }
    }
    return place;
}

std::optional<std::string> findRateFile(Platform& platform) { return locateRateFile(platform).path; }

RateLookup readRates(const std::string& path, double stateCode, double countyCode, std::span<const double> codes,
                     size_t blockSize) {
    RateLookup lookup;
    RecordMatcher matcher(stateCode, countyCode, codes);
    RateFileContents contents;
    lookup.error = scan(path, blockSize, matcher, contents);
    lookup.records = contents.records;
    lookup.keyed = contents.keyed;
    lookup.sample = contents.sample;
    if (!lookup.error) lookup.rows = matcher.take();
    return lookup;
}

}  // namespace kbt2
