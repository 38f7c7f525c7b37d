#include "app/quote/output_target.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "quote/printable.h"

namespace kbt2::quote {
namespace {

namespace fs = std::filesystem;

fs::path resolved(const std::string& path) {
    std::error_code error;
    fs::path full = fs::weakly_canonical(path, error);
    return error ? fs::absolute(path, error).lexically_normal() : full;
}

// Compares a path with the output: by device and inode when both exist (a
// hard link, a symbolic link and "./" all name one file), by the resolved
// name when neither does.
class OutputIdentity {
public:
    explicit OutputIdentity(const std::string& output) : output_(output) {
        exists_ = ::stat(output.c_str(), &status_) == 0;
    }
    bool is(const std::string& path) const {
        struct stat other {};
        if (::stat(path.c_str(), &other) == 0)
            return exists_ && other.st_dev == status_.st_dev && other.st_ino == status_.st_ino;
        if (exists_) return false;
        if (!resolvedOutput_) resolvedOutput_ = resolved(output_);
        return resolved(path) == *resolvedOutput_;
    }

private:
    std::string output_;
    struct stat status_ {};
    bool exists_ = false;
    mutable std::optional<fs::path> resolvedOutput_;
};

FileFailure failed() { return {std::error_code(errno, std::generic_category()).message() + "."}; }

}  // namespace

std::optional<std::string> outputConflict(const std::string& output, const WorksheetList& worksheets,
                                          const std::vector<std::string>& rateFiles) {
    const OutputIdentity identity(output);
    for (const std::string& rates : rateFiles)
        if (identity.is(rates))
            return "--output " + printable(output) + " is the rate file " + printable(rates) +
                   "; the output would replace it";
    std::optional<std::string> conflict;
    worksheets.forEach([&](const QuoteItem& item) {
        if (!conflict && identity.is(item.path))
            conflict = "--output " + printable(output) + " is the worksheet " + printable(item.path) +
                       "; the output would replace it";
    });
    return conflict;
}

bool isStreamTarget(const std::string& output) {
    struct stat status {};
    return ::stat(output.c_str(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode);
}

StreamTarget::~StreamTarget() {
    if (fd_ >= 0) ::close(fd_);
}

FileOutcome StreamTarget::open() {
    // Neither created nor cut short: the pipe or device is there already.
    fd_ = ::open(path_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0) return failed();
    return Done{};
}

FileOutcome StreamTarget::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return failed();
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return Done{};
}

FileOutcome StreamTarget::close() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return failed();
    return Done{};
}

}  // namespace kbt2::quote
