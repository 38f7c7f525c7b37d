#include "quote/compare_summary.h"

#include <algorithm>
#include <optional>

#include "calc/numbers.h"

namespace kbt2::quote {
namespace {

std::string premiumText(const LevelQuote* level) {
    constexpr size_t kProducerPremium = figureIndex("producer_premium");
    return level ? level->figures[kProducerPremium] : std::string("-");
}

}  // namespace

void CompareSummary::add(const ComparedQuote& compared) {
    ++compared_;
    if (failed(compared)) {
        ++errors_;
        return;
    }
    bool fell = false;
    std::optional<Rise> largest;
    for (const LevelPair& level : levelPairs(compared)) {
        const double change = premiumChange(level);
        fell = fell || change < 0;
        if (change > 0 && (!largest || change > largest->change))
            largest =
                Rise{change, compared.after.file, level.coverage, premiumText(level.before), premiumText(level.after)};
    }
    if (!largest) {
        ++(fell ? down_ : unchanged_);
        return;
    }
    ++up_;
    // Earlier worksheets stay ahead of later ones with the same rise.
    const auto at = std::upper_bound(rises_.begin(), rises_.end(), largest->change,
                                     [](double change, const Rise& r) { return change > r.change; });
    if (static_cast<size_t>(at - rises_.begin()) >= kRisesShown) return;
    rises_.insert(at, std::move(*largest));
    if (rises_.size() > kRisesShown) rises_.pop_back();
}

std::string CompareSummary::text() const {
    std::string text = "kbt2-quote: " + std::to_string(compared_) + " worksheets compared: producer premium up for " +
                       std::to_string(up_) + ", down for " + std::to_string(down_) + ", unchanged for " +
                       std::to_string(unchanged_) + "; " + std::to_string(errors_) + " errors\n";
    if (rises_.empty()) return text;
    text += "kbt2-quote: the largest rises:\n";
    for (const Rise& r : rises_)
        text += "  +" + plainText(r.change) + " at " + r.coverage + " (" + r.before + " -> " + r.after + ")  " +
                r.file + "\n";
    return text;
}

}  // namespace kbt2::quote
