#pragma once
// Whole-file reading and writing for the worksheet file. A failure comes
// back as a reason a user can read; nothing here shows a message.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "worksheet/outcome.h"

namespace kbt2 {

// Why a file could not be read or written.
struct FileFailure {
    std::string reason;  // in words for the user: "The disk is full."
};
using FileOutcome = Outcome<Done, FileFailure>;

// The largest file read whole: thousands of times any worksheet.
inline constexpr unsigned long long kLargestWholeFile = 64ull << 20;

// The file's bytes. Fails for a folder, for anything but an ordinary
// file (a pipe, a device), for a file larger than kLargestWholeFile and for
// anything that cannot be read.
Outcome<std::string, FileFailure> readWholeFile(const std::string& path);

// Replaces the file with `contents` so that it is never half written: the
// bytes go to a new file beside it, are flushed to the disk, and the new file
// then takes the old one's name in one step. On any failure the old file is
// left as it was and the new one removed. An existing file keeps its
// permissions; a symbolic link keeps pointing at the file it names. A file
// the user may not write is refused, and so is a name that belongs to
// anything but an ordinary file (a device, a pipe): it is never replaced.
// The new file's name is "NAME.~PID-N"; such a file left beside the target
// by a process that is gone (one that was killed while writing) is removed.
FileOutcome replaceFileAtomically(const std::string& path, std::string_view contents);

// A write past the process's file-size limit (ulimit -f) fails with "The file
// is too large." rather than ending the process with SIGXFSZ, so the program
// can say so and keep its work. Each program calls this once at its start.
void reportFileSizeLimitAsError();

// The same for a file written in pieces: nothing appears under the name
// until commit() succeeds, and a writer dropped before that leaves no trace.
// After a failure every later call reports that failure again.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string path);
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter();

    FileOutcome open();
    FileOutcome write(std::string_view bytes);
    FileOutcome commit();

private:
    FileOutcome abandon(int error);
    FileOutcome refuse(FileFailure why);

    std::string path_;
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    int fd_ = -1;
    std::optional<FileFailure> failed_;  // the failure every later call reports
};

}  // namespace kbt2
