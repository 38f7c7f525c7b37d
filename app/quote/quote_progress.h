#pragma once
// The progress line of a large batch, redrawn in place on a terminal.

#include <cstddef>
#include <iosfwd>
#include <string>

namespace kbt2::quote {

class Progress {
public:
    // Draws nothing unless `terminal` (standard error is one) and the batch
    // is large: a small one is done before a progress line would help.
    Progress(std::ostream& out, bool terminal, size_t batchSize);
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;
    ~Progress() { clear(); }

    // A stage, and how many worksheets of the batch it has done.
    void show(const char* stage, size_t done);
    void show(const char* stage);
    void clear();

private:
    std::ostream& out_;
    bool enabled_;
    size_t total_;
    std::string shown_;
    const char* shownStage_ = nullptr;  // of the last count drawn
    size_t shownPercent_ = 0;
};

}  // namespace kbt2::quote
