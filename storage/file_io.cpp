#include "storage/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <filesystem>
#include <system_error>

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
    std::string text = std::error_code(error, std::generic_category()).message();
    if (!text.empty()) text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text + ".";
}

FileResult failure(int error, Access access) { return {false, reasonOf(error, access)}; }

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    // Closing can report a write error that the writes did not.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

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

// Makes the rename itself durable; a failure here loses nothing already
// written, so it is not reported.
void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

FileResult readWholeFile(const std::string& path, std::string& contents) {
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) return failure(errno, Access::Read);
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) return failure(errno, Access::Read);
    if (S_ISDIR(status.st_mode)) return failure(EISDIR, Access::Read);
    contents.clear();
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
    return {};
}

FileResult replaceFileAtomically(const std::string& path, std::string_view contents) {
    fs::path target(path);
    std::error_code ignored;
    if (fs::is_symlink(target, ignored)) {
        const fs::path resolved = fs::canonical(target, ignored);
        if (!ignored) target = resolved;
    }
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) return failure(EISDIR, Access::Write);
    // Renaming over a file needs only the folder's permission; a file the
    // user may not write stays protected as an ordinary write would leave it.
    if (exists && ::access(target.c_str(), W_OK) != 0) return failure(errno, Access::Write);

    fs::path temporary;
    Descriptor file(createTemporaryBeside(target, temporary));
    if (file.get() < 0) return failure(errno, Access::Write);
    auto abandon = [&](int error) {
        ::unlink(temporary.c_str());
        return failure(error, Access::Write);
    };
    if (exists && ::fchmod(file.get(), existing.st_mode & 07777) != 0) return abandon(errno);
    if (!writeAll(file.get(), contents)) return abandon(errno);
    if (::fsync(file.get()) != 0) return abandon(errno);
    if (file.close() != 0) return abandon(errno);
    if (::rename(temporary.c_str(), target.c_str()) != 0) return abandon(errno);
    syncFolder(target.parent_path());
    return {};
}

}  // namespace kbt2
