#pragma once
// Where kbt2-quote's --output may write. The name of one of the run's
// worksheets or rate files, however it is spelt (another path to it, a link),
// is refused before anything is read: the quotes would replace the very file
// they came from. A pipe, a device or a terminal is written into as a stream,
// never replaced by an ordinary file.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/quote/worksheet_list.h"
#include "storage/file_io.h"

namespace kbt2::quote {

// Why `output` may not be written, on one line; nothing when it may.
// `rateFiles` are the tables the run will read.
std::optional<std::string> outputConflict(const std::string& output, const WorksheetList& worksheets,
                                          const std::vector<std::string>& rateFiles);

// True when `output` names something that exists and is neither an ordinary
// file nor a folder.
bool isStreamTarget(const std::string& output);

// A pipe, a device or a terminal, written into as the lines come: there is
// nothing to keep whole.
class StreamTarget {
public:
    explicit StreamTarget(std::string path) : path_(std::move(path)) {}
    StreamTarget(const StreamTarget&) = delete;
    StreamTarget& operator=(const StreamTarget&) = delete;
    ~StreamTarget();

    FileOutcome open();
    FileOutcome write(std::string_view bytes);
    FileOutcome close();

private:
    std::string path_;
    int fd_ = -1;
};

}  // namespace kbt2::quote
