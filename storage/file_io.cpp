#include "storage/file_io.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <system_error>
#include <utility>

#include "worksheet/system_error_text.h"

namespace kbt2 {
namespace {

namespace fs = std::filesystem;

enum class Access { Read, Write };

// The usual causes in plain words; anything rarer in the system's words.
std::string reasonOf(int error, Access access) {
    switch (error) {
    case ENOENT: return access == Access::Read ? "The file does not exist." : "The folder does not exist.";
    case EACCES:
    case EPERM: return "Permission denied.";
    case EISDIR: return "The name belongs to a folder.";
    case ENOTDIR: return "A part of the path is not a folder.";
    case ENOSPC: return "The disk is full.";
    case EDQUOT: return "The disk quota is exhausted.";
    case EROFS: return "The disk is read-only.";
    case EFBIG: return "The file is too large.";
    case ENAMETOOLONG: return "The name is too long.";
    default: break;
    }
    std::string text = systemErrorText(error);
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text + ".";
}

FileFailure failure(int error, Access access) { return {reasonOf(error, access)}; }

constexpr const char* kNotOrdinaryFile = "The name does not belong to an ordinary file.";

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// A name beside the target that no other file has: "~" marks it as
// temporary, the process id and a counter keep two saves apart.
int createTemporaryBeside(const fs::path& target, fs::path& temporary) {
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target;
        temporary += ".~" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// The process id of a temporary file's name "NAME.~PID-N", and NAME; nothing
// for any other name.
std::optional<std::pair<std::string, pid_t>> temporaryOwner(const std::string& name) {
    const size_t mark = name.rfind(".~");
    if (mark == std::string::npos || mark == 0) return std::nullopt;
    const char* const end = name.data() + name.size();
    pid_t pid = 0;
    const auto [afterPid, pidError] = std::from_chars(name.data() + mark + 2, end, pid);
    if (pidError != std::errc() || pid <= 0 || afterPid == end || *afterPid != '-') return std::nullopt;
    unsigned long count = 0;
    const auto [afterCount, countError] = std::from_chars(afterPid + 1, end, count);
    if (countError != std::errc() || afterCount != end) return std::nullopt;
    return std::pair{name.substr(0, mark), pid};
}

bool processIsGone(pid_t pid) { return pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH; }

// A run that was killed while it wrote left its temporary file beside the
// target. The folder is looked through once per process, at its first write
// there, so a batch writing thousands of files into one folder reads its
// listing once; each write then removes the leftovers of its own name only.
void removeStaleTemporaries(const fs::path& target) {
    static std::mutex mutex;
    static std::map<fs::path, std::multimap<std::string, fs::path>> staleByFolder;  // NAME -> its leftovers
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    const std::lock_guard lock(mutex);
    auto [found, firstVisit] = staleByFolder.try_emplace(folder);
    if (firstVisit) {
        std::error_code error;
        for (fs::directory_iterator it(folder, error); !error && it != fs::directory_iterator(); it.increment(error)) {
            const auto owner = temporaryOwner(it->path().filename().string());
            std::error_code ignored;
            if (owner && it->is_regular_file(ignored) && !it->is_symlink(ignored) && processIsGone(owner->second))
                found->second.emplace(owner->first, it->path());
        }
    }
    const auto [begin, end] = found->second.equal_range(target.filename().string());
    for (auto it = begin; it != end; ++it) ::unlink(it->second.c_str());
    found->second.erase(begin, end);
}

// Makes the rename itself durable; a failure here loses nothing already
// written, so it is not reported.
void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

Outcome<std::string, FileFailure> readWholeFile(const std::string& path) {
    // Not blocking: opening a named pipe would otherwise wait for a writer.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) return failure(errno, Access::Read);
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) return failure(errno, Access::Read);
    if (S_ISDIR(status.st_mode)) return failure(EISDIR, Access::Read);
    // A pipe or a device could be endless or never answer.
    if (!S_ISREG(status.st_mode)) return FileFailure{kNotOrdinaryFile};
    // A worksheet is a few kilobytes; reading a file of gigabytes whole would
    // exhaust the memory before its first line could be refused.
    if (static_cast<unsigned long long>(status.st_size) > kLargestWholeFile)
        return FileFailure{"The file is far larger than any worksheet."};
    std::string contents;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            return failure(errno, Access::Read);
        }
        if (got == 0) break;
        contents.append(buffer, static_cast<size_t>(got));
    }
    return contents;
}

void reportFileSizeLimitAsError() { ::signal(SIGXFSZ, SIG_IGN); }

AtomicFileWriter::AtomicFileWriter(std::string path) : path_(std::move(path)) {}

AtomicFileWriter::~AtomicFileWriter() {
    if (fd_ < 0) return;
    ::close(fd_);
    ::unlink(temporary_.c_str());
}

FileOutcome AtomicFileWriter::abandon(int error) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    ::unlink(temporary_.c_str());
    return refuse(failure(error, Access::Write));
}

FileOutcome AtomicFileWriter::refuse(FileFailure why) {
    failed_ = why;
    return why;
}

FileOutcome AtomicFileWriter::open() {
    target_ = path_;
    std::error_code ignored;
    if (fs::is_symlink(target_, ignored)) {
        const fs::path resolved = fs::canonical(target_, ignored);
        if (!ignored) target_ = resolved;
    }
    struct stat existing {};
    const bool exists = ::stat(target_.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) return refuse(failure(EISDIR, Access::Write));
    // A device or a pipe is never replaced by an ordinary file.
    if (exists && !S_ISREG(existing.st_mode)) return refuse(FileFailure{kNotOrdinaryFile});
    // Renaming over a file needs only the folder's permission; a file the
    // user may not write stays protected as an ordinary write would leave it.
    if (exists && ::access(target_.c_str(), W_OK) != 0) return refuse(failure(errno, Access::Write));

    removeStaleTemporaries(target_);
    fd_ = createTemporaryBeside(target_, temporary_);
    if (fd_ < 0) return refuse(failure(errno, Access::Write));
    if (exists && ::fchmod(fd_, existing.st_mode & 07777) != 0) return abandon(errno);
    return Done{};
}

FileOutcome AtomicFileWriter::write(std::string_view bytes) {
    if (fd_ < 0) return failed_.value_or(failure(EBADF, Access::Write));
    if (!writeAll(fd_, bytes)) return abandon(errno);
    return Done{};
}

void AtomicFileWriter::startWriteback() {
    // Only a head start for the fsync that follows; it reports nothing.
    if (fd_ >= 0) ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
}

FileOutcome AtomicFileWriter::flushToDisk() {
    if (fd_ < 0) return failed_.value_or(failure(EBADF, Access::Write));
    if (::fsync(fd_) != 0) return abandon(errno);
    const int closed = ::close(fd_);
    fd_ = -1;
    // Closing can report a write error that the writes did not.
    if (closed != 0) return abandon(errno);
    return Done{};
}

FileOutcome AtomicFileWriter::takeName() {
    if (failed_) return *failed_;
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) return abandon(errno);
    return Done{};
}

FileOutcome AtomicFileWriter::commit() {
    if (FileOutcome flushed = flushToDisk(); !flushed.ok()) return flushed;
    if (FileOutcome named = takeName(); !named.ok()) return named;
    syncFolder(target_.parent_path());
    return Done{};
}

FileOutcome AtomicFileGroup::add(const std::string& path, std::string_view contents) {
    auto file = std::make_unique<AtomicFileWriter>(path);
    if (FileOutcome opened = file->open(); !opened.ok()) return opened;
    if (FileOutcome written = file->write(contents); !written.ok()) return written;
    files_.push_back(std::move(file));
    return Done{};
}

std::vector<FileOutcome> AtomicFileGroup::commit() {
    // Every file's writeback under way first, so that the first fsync's
    // journal commit carries the others' blocks too and theirs find little
    // left to wait for.
    for (const auto& file : files_) file->startWriteback();
    std::vector<FileOutcome> outcomes;
    outcomes.reserve(files_.size());
    for (const auto& file : files_) outcomes.push_back(file->flushToDisk());
    std::vector<fs::path> folders;
    for (size_t i = 0; i < files_.size(); ++i) {
        if (!outcomes[i].ok()) continue;
        outcomes[i] = files_[i]->takeName();
        const fs::path folder = files_[i]->target_.parent_path();
        if (outcomes[i].ok() && std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
    }
    for (const fs::path& folder : folders) syncFolder(folder);
    files_.clear();
    return outcomes;
}

FileOutcome replaceFileAtomically(const std::string& path, std::string_view contents) {
    AtomicFileWriter file(path);
    if (FileOutcome opened = file.open(); !opened.ok()) return opened;
    if (FileOutcome written = file.write(contents); !written.ok()) return written;
    return file.commit();
}

}  // namespace kbt2
