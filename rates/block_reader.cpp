// Reading the rate file in blocks. A national rate table is hundreds of
// megabytes, and the time to read it is mostly the system copying it out of
// the page cache; with large blocks a second thread does that copy while the
// caller scans the block before, so on two cores the whole read takes about as
// long as the copy alone. Where the scan costs more than the copy (a table
// that is all the plan's states) and nothing else needs the blocks in order,
// the file is read in two halves at once instead, each copied and scanned on
// a thread of its own.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <set>
#include <system_error>
#include <thread>
#include <vector>

#include "rates/rate_record_scan.h"
#include "worksheet/system_error_text.h"

namespace kbt2::rate_records {
namespace {

// A page. The system copies from the page cache into an aligned buffer
// faster than into one 16 bytes off, which is what an ordinary allocation of
// this size returns: by some 15 per cent up to several times, depending on
// the processor.
constexpr std::align_val_t kBufferAlignment{4096};

// Below this a block is too small to be worth handing to another thread:
// the hand-over would cost more than the copy it overlaps.
constexpr size_t kOverlapFrom = 4096;

// One being filled, one being scanned, one ready between them.
constexpr int kOverlapBuffers = 3;

// A file of this many blocks or more is read in two parts at once.
constexpr std::uint64_t kPartsFrom = 8;

struct AlignedDelete {
    void operator()(char* p) const { ::operator delete[](p, kBufferAlignment); }
};
using AlignedBuffer = std::unique_ptr<char[], AlignedDelete>;

AlignedBuffer alignedBuffer(size_t size) { return AlignedBuffer(new (kBufferAlignment) char[size]); }

RateFileError systemError(int number) {
    if (number == 0) number = EIO;
    return {number, systemErrorText(number)};
}

// One read of up to `size` characters, repeated when a signal interrupts it:
// the count read (0 at the end of the file), or -1 with errno set.
ssize_t readSome(int fd, char* into, size_t size) {
    for (;;) {
        const ssize_t got = ::read(fd, into, size);
        if (got >= 0 || errno != EINTR) return got;
    }
}

std::optional<RateFileError> readInTurn(int fd, size_t blockSize, const BlockHandler& onBlock,
                                        const BlockHandler& tap) {
    const AlignedBuffer buffer = alignedBuffer(blockSize);
    for (;;) {
        const ssize_t got = readSome(fd, buffer.get(), blockSize);
        if (got < 0) return systemError(errno);
        if (got == 0) return std::nullopt;
        onBlock(buffer.get(), buffer.get() + got);
        if (tap) tap(buffer.get(), buffer.get() + got);
    }
}

// The reading thread fills free buffers in file order and queues them; the
// caller's thread scans them in that order and gives each back. Blocks reach
// the handler exactly as readInTurn hands them over. A tap, when given, has
// each block too, on a third thread, and the buffer is free again once both
// are done with it.
class OverlappedReader {
public:
    OverlappedReader(int fd, size_t blockSize, const BlockHandler& tap) : fd_(fd), blockSize_(blockSize), tap_(tap) {
        for (int i = 0; i < kOverlapBuffers + (tap ? 1 : 0); ++i) {
            buffers_.push_back(alignedBuffer(blockSize));
            free_.push_back(buffers_.back().get());
        }
    }

    std::optional<RateFileError> run(const BlockHandler& onBlock) {
        std::thread reader;
        std::thread tapper;
        try {
            reader = std::thread([this] { readAll(); });
            if (tap_) tapper = std::thread([this] { tapAll(); });
        } catch (const std::system_error&) {
            // No thread to be had: nothing is read yet, so one thread reads
            // the whole file.
            if (reader.joinable()) {
                stopReading();
                reader.join();
                if (::lseek(fd_, 0, SEEK_SET) != 0) return systemError(errno);
            }
            return readInTurn(fd_, blockSize_, onBlock, tap_);
        }
        // Stops and joins the reader and the tap however the scan ends, a
        // throwing handler included.
        const struct Joiner {
            OverlappedReader& self;
            std::thread& reader;
            std::thread& tapper;
            ~Joiner() {
                self.stopReading();
                reader.join();
                if (tapper.joinable()) tapper.join();
            }
        } joiner{*this, reader, tapper};

        for (;;) {
            Block block;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return !filled_.empty() || ended_; });
                if (filled_.empty()) break;
                block = filled_.front();
                filled_.pop_front();
            }
            onBlock(block.data, block.data + block.size);
            release(block.data);
        }
        // The tap has every block read before the outcome is known.
        if (tapper.joinable()) tapper.join();
        const std::lock_guard lock(mutex_);
        if (tapThrown_) std::rethrow_exception(tapThrown_);
        if (errorNumber_ < 0) return std::nullopt;
        return systemError(errorNumber_);
    }

private:
    struct Block {
        char* data = nullptr;
        size_t size = 0;
    };

    // One of the block's two users (the scan, the tap) is done with it.
    void release(char* data) {
        {
            const std::lock_guard lock(mutex_);
            if (tap_ && !otherDone_.erase(data)) {
                otherDone_.insert(data);
                return;
            }
            free_.push_back(data);
        }
        changed_.notify_all();
    }

    // The tap's thread: every block in file order until the reading ends,
    // or the scan stops early. After a throw the rest is only given back.
    void tapAll() {
        for (;;) {
            Block block;
            bool failed = false;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return stopped_ || !tapping_.empty() || ended_; });
                if (stopped_ || tapping_.empty()) return;
                block = tapping_.front();
                tapping_.pop_front();
                failed = tapThrown_ != nullptr;
            }
            if (!failed) {
                try {
                    tap_(block.data, block.data + block.size);
                } catch (...) {
                    const std::lock_guard lock(mutex_);
                    tapThrown_ = std::current_exception();
                }
            }
            release(block.data);
        }
    }

    void readAll() {
        for (;;) {
            char* into = nullptr;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return stopped_ || !free_.empty(); });
                if (stopped_) return;
                into = free_.back();
                free_.pop_back();
            }
            const ssize_t got = readSome(fd_, into, blockSize_);
            const int number = errno;
            {
                const std::lock_guard lock(mutex_);
                if (got > 0) {
                    filled_.push_back({into, static_cast<size_t>(got)});
                    if (tap_) tapping_.push_back({into, static_cast<size_t>(got)});
                } else {
                    if (got < 0) errorNumber_ = number;
                    ended_ = true;
                }
            }
            changed_.notify_all();
            if (got <= 0) return;
        }
    }

    void stopReading() {
        {
            const std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        changed_.notify_all();
    }

    const int fd_;
    const size_t blockSize_;
    const BlockHandler& tap_;
    std::vector<AlignedBuffer> buffers_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<char*> free_;       // buffers the reader may fill
    std::deque<Block> filled_;      // read, waiting to be scanned, in file order
    std::deque<Block> tapping_;     // read, waiting for the tap, in file order
    std::set<char*> otherDone_;     // buffers one of the scan and the tap is done with
    std::exception_ptr tapThrown_;  // what the tap threw, thrown again on the caller's thread
    bool ended_ = false;            // the reader has met the end of the file or an error
    bool stopped_ = false;          // the scan is over: the reader reads no further
    int errorNumber_ = -1;          // why a read failed; the text is made on the caller's thread
};

// A file open for reading, closed when dropped; fd is -1, with errno set,
// when it could not be opened.
struct ReadOnlyFile {
    explicit ReadOnlyFile(const std::string& path) : fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    ~ReadOnlyFile() {
        if (fd >= 0) ::close(fd);
    }
    const int fd;
};

// Reads [from, to) in blocks to onBlock, in order, on the calling thread; a
// file that ends early ends the range there.
std::optional<RateFileError> readRange(int fd, std::uint64_t from, std::uint64_t to, size_t blockSize,
                                       const BlockHandler& onBlock) {
    const AlignedBuffer buffer = alignedBuffer(blockSize);
    while (from < to) {
        const auto want = static_cast<size_t>(std::min<std::uint64_t>(blockSize, to - from));
        ssize_t got = 0;
        do got = ::pread(fd, buffer.get(), want, static_cast<off_t>(from));
        while (got < 0 && errno == EINTR);
        if (got < 0) return systemError(errno);
        if (got == 0) return std::nullopt;
        onBlock(buffer.get(), buffer.get() + got);
        from += static_cast<std::uint64_t>(got);
    }
    return std::nullopt;
}

// Where the second part of a file of `size` characters begins: just after
// the first LF from its middle, so that it begins a line and the first part
// ends one. Nothing when there is none within 64 KiB (a file whose lines end
// in CR alone), or it could not be read.
std::optional<std::uint64_t> halfway(int fd, std::uint64_t size) {
    char window[4096];
    const std::uint64_t giveUp = std::min(size, size / 2 + 16 * sizeof window);
    for (std::uint64_t at = size / 2; at < giveUp;) {
        const ssize_t got = ::pread(fd, window, sizeof window, static_cast<off_t>(at));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return std::nullopt;
        if (const void* lf = std::memchr(window, '\n', static_cast<size_t>(got)))
            return at + static_cast<std::uint64_t>(static_cast<const char*>(lf) - window) + 1;
        at += static_cast<std::uint64_t>(got);
    }
    return std::nullopt;
}

}  // namespace

std::optional<RateFileError> readInTwo(const std::string& path, size_t blockSize, const BlockHandler& first,
                                       const BlockHandler& second, RateFileContents* contents, bool& split) {
    split = false;
    const ReadOnlyFile file(path);
    const int fd = file.fd;
    if (fd < 0) return std::nullopt;  // the reading in one says why
    blockSize = std::max<size_t>(blockSize, 1);
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    const auto size = static_cast<std::uint64_t>(status.st_size);
    if (size / blockSize < kPartsFrom) return std::nullopt;
    const std::optional<std::uint64_t> middle = halfway(fd, size);
    if (!middle) return std::nullopt;

    std::optional<RateFileError> secondError;
    std::exception_ptr secondThrown;
    std::thread later;
    try {
        later = std::thread([&] {
            try {
                secondError = readRange(fd, *middle, size, blockSize, second);
            } catch (...) {
                secondThrown = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        return std::nullopt;  // no thread to be had: read in one
    }
    split = true;
    if (contents) {
        contents->size = size;
        contents->modified = static_cast<std::int64_t>(status.st_mtime);
    }
    std::optional<RateFileError> firstError;
    std::exception_ptr firstThrown;
    try {
        firstError = readRange(fd, 0, *middle, blockSize, first);
    } catch (...) {
        firstThrown = std::current_exception();
    }
    later.join();
    if (firstThrown) std::rethrow_exception(firstThrown);
    if (secondThrown) std::rethrow_exception(secondThrown);
    return firstError ? firstError : secondError;
}

std::optional<RateFileError> readBlocks(const std::string& path, size_t blockSize, const BlockHandler& onBlock,
                                        RateFileContents* contents, const BlockHandler& tap) {
    const ReadOnlyFile file(path);
    const int fd = file.fd;
    if (fd < 0) return systemError(errno);
    blockSize = std::max<size_t>(blockSize, 1);
    // A file of one block has nothing to overlap.
    struct stat status {};
    const bool known = ::fstat(fd, &status) == 0;
    const bool oneBlock =
        known && S_ISREG(status.st_mode) && static_cast<unsigned long long>(status.st_size) < blockSize;
    if (known && contents) {
        contents->size = static_cast<std::uint64_t>(status.st_size);
        contents->modified = static_cast<std::int64_t>(status.st_mtime);
    }
    if (blockSize < kOverlapFrom || oneBlock) return readInTurn(fd, blockSize, onBlock, tap);
    return OverlappedReader(fd, blockSize, tap).run(onBlock);
}

}  // namespace kbt2::rate_records
