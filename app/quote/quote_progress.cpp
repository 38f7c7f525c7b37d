#include "app/quote/quote_progress.h"

#include <ostream>

namespace kbt2::quote {
namespace {

constexpr size_t kLargeBatch = 200;

}  // namespace

Progress::Progress(std::ostream& out, bool terminal, size_t batchSize)
    : out_(out), enabled_(terminal && batchSize >= kLargeBatch), total_(batchSize) {}

void Progress::show(const char* stage, size_t done) {
    // Whole per cent steps only: redrawing for every worksheet would cost
    // more than quoting it. The count may move by several at a time.
    if (!enabled_) return;
    const size_t percent = done * 100 / total_;
    if (percent == shownPercent_ && stage == shownStage_) return;
    shownPercent_ = percent;
    shownStage_ = stage;
    show((std::string(stage) + " " + std::to_string(done) + " of " + std::to_string(total_) + " (" +
          std::to_string(percent) + "%)")
             .c_str());
}

void Progress::show(const char* stage) {
    if (!enabled_) return;
    const std::string line = std::string("kbt2-quote: ") + stage;
    if (line == shown_) return;
    out_ << '\r' << line << std::string(shown_.size() > line.size() ? shown_.size() - line.size() : 0, ' ') << '\r'
         << std::flush;
    shown_ = line;
}

void Progress::clear() {
    if (shown_.empty()) return;
    out_ << '\r' << std::string(shown_.size(), ' ') << '\r' << std::flush;
    shown_.clear();
}

}  // namespace kbt2::quote
