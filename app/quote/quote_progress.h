#pragma once
// The progress line of a large batch, redrawn in place on a terminal.

#include <cstddef>
#include <iosfwd>
#include <string>

namespace kbt2::quote {

class Progress {
public:
    // Draws nothing unless `enabled` (standard error is a terminal).
    Progress(std::ostream& out, bool enabled) : out_(out), enabled_(enabled) {}
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;
    ~Progress() { clear(); }

    // A stage and how far it is (done of total; total 0 when not counted).
    // Small batches finish before a line would help: they draw none.
    void show(const char* stage, size_t done, size_t total);
    void clear();

private:
    std::ostream& out_;
    bool enabled_;
    std::string shown_;
};

}  // namespace kbt2::quote
