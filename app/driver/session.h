#pragma once
// What a script has queued for the dialogues to come, and the output a person
// would see. Shared by both modes of the driver.

#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "worksheet/platform.h"

namespace kbt2::driver {

class Session {
public:
    explicit Session(std::ostream& out) : out_(out) {}

    void queueAnswer(MessageAnswer answer) { answers_.push_back(answer); }
    void queueFile(std::optional<std::string> path) { files_.push_back(std::move(path)); }
    void setPlaces(std::vector<std::string> places) { places_ = std::move(places); }

    // The queued answer of the next message box; OK when nothing is queued.
    MessageAnswer takeAnswer();
    // The queued answer of the next file dialogue; cancel when nothing is queued.
    std::optional<std::string> takeFile();
    // The rate file folders set by `places`, else the program's own.
    std::vector<std::string> rateFileFolders() const;

    void reportMessage(const Message& message);
    void reportDialog(FileDialogMode mode, const std::string& filter);
    void reportPrint(const PrintDocument& document);
    void reportClosed();
    bool closed() const { return closed_; }

    std::ostream& out() { return out_; }

private:
    std::ostream& out_;
    std::deque<MessageAnswer> answers_;
    std::deque<std::optional<std::string>> files_;
    std::optional<std::vector<std::string>> places_;
    bool closed_ = false;
};

}  // namespace kbt2::driver
