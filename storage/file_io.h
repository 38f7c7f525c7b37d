#pragma once
// Whole-file reading and writing for the worksheet file. Errors come back as
// a reason a user can read; nothing here shows a message.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kbt2 {

struct FileResult {
    bool ok = true;
    std::string reason;  // why it failed, in words for the user
};

// The largest file read whole: thousands of times any worksheet.
inline constexpr unsigned long long kLargestWholeFile = 64ull << 20;

// Reads the whole file. Fails for a folder, for anything but an ordinary
// file (a pipe, a device), for a file larger than kLargestWholeFile and for
// anything that cannot be read.
FileResult readWholeFile(const std::string& path, std::string& contents);

// Replaces the file with `contents` so that it is never half written: the
// bytes go to a new file beside it, are flushed to the disk, and the new file
// then takes the old one's name in one step. On any failure the old file is
// left as it was and the new one removed. An existing file keeps its
// permissions; a symbolic link keeps pointing at the file it names. A file
// the user may not write is refused, and so is a name that belongs to
// anything but an ordinary file (a device, a pipe): it is never replaced.
// The new file's name is "NAME.~PID-N"; such a file left beside the target
// by a process that is gone (one that was killed while writing) is removed.
FileResult replaceFileAtomically(const std::string& path, std::string_view contents);

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

    FileResult open();
    FileResult write(std::string_view bytes);
    FileResult commit();

private:
    FileResult abandon(int error);

    std::string path_;
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    int fd_ = -1;
    FileResult failed_;
};

}  // namespace kbt2
