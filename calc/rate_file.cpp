#include "calc/rate_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>

#include "calc/rate_record_scan.h"

namespace kbt2 {
namespace {

using namespace rate_records;

// Takes the values of every record that matches a row; later records
// overwrite earlier ones.
class RecordMatcher {
public:
    RecordMatcher(double state, double county, std::span<const double> codes)
        : state_(state), county_(county), codes_(codes), rows_(codes.size()) {}

    void record(const char* line) {
        if (columnValue(line, kState) != state_ || columnValue(line, kCounty) != county_) return;
        const double code = columnValue(line, kCommodity);
        for (size_t i = 0; i < codes_.size(); ++i)
            if (codes_[i] == code) rows_[i] = ratesOf(line);
    }

    std::vector<CommodityRates> take() { return std::move(rows_); }

private:
    double state_;
    double county_;
    std::span<const double> codes_;
    std::vector<CommodityRates> rows_;
};

RateFileError systemError(int number) { return {number, std::strerror(number)}; }

// A page. The system copies from the page cache into an aligned buffer
// faster than into one 16 bytes off, which is what an ordinary allocation of
// this size returns: by some 15 per cent up to several times, depending on
// the processor.
constexpr std::align_val_t kBufferAlignment{4096};

struct AlignedDelete {
    void operator()(char* p) const { ::operator delete[](p, kBufferAlignment); }
};

}  // namespace

std::optional<RateFileError> rate_records::readBlocks(const std::string& path, size_t blockSize,
                                                      const std::function<void(const char*, const char*)>& onBlock) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return systemError(errno != 0 ? errno : EIO);
    const struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    blockSize = std::max<size_t>(blockSize, 1);
    const std::unique_ptr<char[], AlignedDelete> buffer(new (kBufferAlignment) char[blockSize]);
    for (;;) {
        const ssize_t got = ::read(fd, buffer.get(), blockSize);
        if (got < 0) {
            if (errno == EINTR) continue;
            return systemError(errno != 0 ? errno : EIO);
        }
        if (got == 0) return std::nullopt;
        onBlock(buffer.get(), buffer.get() + got);
    }
}

std::optional<std::string> findRateFile(Platform& platform) {
    // A chosen file that has since gone (or become a folder) is passed over,
    // so a quote can still be priced from the usual places.
    if (auto chosen = platform.chosenRateFile(); chosen && platform.fileExists(*chosen)) return chosen;
    for (const std::string& folder : platform.rateFileFolders()) {
        const std::string path =
            folder.empty() || folder.back() == '/' ? folder + kRateFileName : folder + "/" + kRateFileName;
        if (platform.fileExists(path)) return path;
    }
    return std::nullopt;
}

RateLookup readRates(const std::string& path, double stateCode, double countyCode, std::span<const double> codes,
                     size_t blockSize) {
    RateLookup lookup;
    RecordMatcher matcher(stateCode, countyCode, codes);
    lookup.error = scan(path, blockSize, matcher, lookup.records);
    if (!lookup.error) lookup.rows = matcher.take();
    return lookup;
}

}  // namespace kbt2
