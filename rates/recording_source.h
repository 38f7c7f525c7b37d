#pragma once
// A rate source that passes every question on and keeps the last one's
// codes and the answer it got: what a premium's rows were priced from, for
// the details of a quote or for telling which records two tables differ in.

#include <span>
#include <vector>

#include "rates/rate_source.h"

namespace kbt2 {

class RecordingSource final : public RateSource {
public:
    explicit RecordingSource(RateSource& inner) : inner_(inner) {}
    SourcedRates ratesFor(Platform& platform, double stateCode, double countyCode,
                          std::span<const double> codes) override {
        answer_ = inner_.ratesFor(platform, stateCode, countyCode, codes);
        codes_.assign(codes.begin(), codes.end());
        return answer_;
    }
    // The codes last asked for, in the order asked; none before any question.
    const std::vector<double>& codes() const { return codes_; }
    // The answer to them, as the premium got it.
    const SourcedRates& answer() const { return answer_; }
    // Its rows, one per code.
    const std::vector<CommodityRates>& rows() const { return answer_.lookup.rows; }

private:
    RateSource& inner_;
    std::vector<double> codes_;
    SourcedRates answer_;
};

}  // namespace kbt2
