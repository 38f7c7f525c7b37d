#pragma once
// Whole-file reading and writing for the worksheet file. A failure comes
// back as a reason a user can read; nothing here shows a message.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "worksheet/outcome.h"

namespace kbt2 {

// Why a file could not be read or written.
struct FileFailure {
    std::string reason;  // in words for the user: "The disk is full."
};
using FileOutcome = Outcome<Done, FileFailure>;

// Said after why a file could not be written, when a file was already under
// its name: that file is untouched.
inline constexpr const char* kEarlierFileKept = " The file already there is left as it was.";

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
    friend class AtomicFileGroup;
    // commit() in its steps: the bytes to the disk, then the name.
    void startWriteback();
    FileOutcome flushToDisk();
    FileOutcome takeName();
    FileOutcome abandon(int error);
    FileOutcome refuse(FileFailure why);

    std::string path_;
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    int fd_ = -1;
    std::optional<FileFailure> failed_;  // the failure every later call reports
};

// Many files, each written whole or not at all as above, made durable
// together: add() writes each under a temporary name beside its target at
// once, and commit() flushes them all to the disk, then gives each its name
// and flushes each folder once. A batch of many small files so waits for the
// disk a few times per group rather than twice per file. Until its commit a
// file is not under its name; files not committed when the group is dropped
// leave no trace.
class AtomicFileGroup {
public:
    AtomicFileGroup() = default;
    AtomicFileGroup(const AtomicFileGroup&) = delete;
    AtomicFileGroup& operator=(const AtomicFileGroup&) = delete;

    // A failure (a refused name, a full disk) concerns this file alone: it
    // is not in the group and nothing of it is left.
    FileOutcome add(const std::string& path, std::string_view contents);
    // The files added since the last commit.
    size_t size() const { return files_.size(); }
    // Each file added since the last commit, in the order added: under its
    // name and on the disk, or why not (its earlier file then left as it was).
    std::vector<FileOutcome> commit();

private:
    std::vector<std::unique_ptr<AtomicFileWriter>> files_;
};

}  // namespace kbt2
