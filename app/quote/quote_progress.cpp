#include "app/quote/quote_progress.h"

#include <ostream>

namespace kbt2::quote {
namespace {

constexpr size_t kLargeBatch = 200;

}  // namespace

void Progress::show(const char* stage, size_t done, size_t total) {
    if (!enabled_ || (total != 0 && total < kLargeBatch)) return;
    // Whole per cent steps only: a line per worksheet would cost more than
    // the quoting.
    std::string line = std::string("kbt2-quote: ") + stage;
    if (total != 0)
        line += " " + std::to_string(done) + " of " + std::to_string(total) + " (" +
                std::to_string(done * 100 / total) + "%)";
    if (line == shown_ || (total != 0 && done % (total / 100 + 1) != 0)) return;
    out_ << '\r' << line << std::string(shown_.size() > line.size() ? shown_.size() - line.size() : 0, ' ') << '\r'
         << std::flush;
    shown_ = std::move(line);
}

void Progress::clear() {
    if (shown_.empty()) return;
    out_ << '\r' << std::string(shown_.size(), ' ') << '\r' << std::flush;
    shown_.clear();
}

}  // namespace kbt2::quote
