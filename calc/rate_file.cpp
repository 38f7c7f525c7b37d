#include "calc/rate_file.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "calc/numbers.h"

namespace kbt2 {
namespace {

constexpr size_t kRecordWidth = 60;

struct Column {
    size_t at;  // 0-based
    size_t width;
};

// clang-format off
constexpr Column kState          {0,  2};
constexpr Column kCounty         {7,  3};
constexpr Column kCommodity      {12, 4};
constexpr size_t kLivestockFlag = 18;
constexpr size_t kInsurableFlag = 24;
constexpr Column kRates[3]      {{34, 5}, {45, 5}, {55, 5}};
// clang-format on

// The numeric value of a column. A column of digits and blanks, nearly every
// column of a real file, is read on the spot; anything else (a sign, a point,
// letters) goes through the worksheet's own number reading.
double columnValue(const char* record, Column column) {
    double value = 0;
    for (size_t k = 0; k < column.width; ++k) {
        const char c = record[column.at + k];
        if (c >= '0' && c <= '9')
            value = value * 10 + (c - '0');
        else if (c != ' ')
            return numericValue(std::string_view(record + column.at, column.width));
    }
    return value;
}

// Takes the values of every record that matches a row; later records
// overwrite earlier ones.
class RecordMatcher {
public:
    RecordMatcher(double state, double county, std::span<const double> codes)
        : state_(state), county_(county), codes_(codes), rows_(codes.size()) {}

    void record(const char* line, size_t length) {
        char padded[kRecordWidth];
        if (length < kRecordWidth) {
            std::memcpy(padded, line, length);
            std::memset(padded + length, ' ', kRecordWidth - length);
            line = padded;
        }
        if (columnValue(line, kState) != state_ || columnValue(line, kCounty) != county_) return;
        const double code = columnValue(line, kCommodity);
        for (size_t i = 0; i < codes_.size(); ++i) {
            if (codes_[i] != code) continue;
            CommodityRates& row = rows_[i];
            for (size_t j = 0; j < 3; ++j) row.rates[j] = columnValue(line, kRates[j]);
            row.livestockFlag = line[kLivestockFlag];
            row.insurableFlag = line[kInsurableFlag];
        }
    }

    std::vector<CommodityRates> take() { return std::move(rows_); }

private:
    double state_;
    double county_;
    std::span<const double> codes_;
    std::vector<CommodityRates> rows_;
};

// The first CR or LF from p on, or end. Sixteen characters are compared at a
// time where the processor allows: this search is most of the reader's work.
const char* lineEnd(const char* p, const char* end) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; end - p >= 16; p += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int hits = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, cr), _mm_cmpeq_epi8(chunk, lf)));
        if (hits != 0) return p + std::countr_zero(static_cast<unsigned>(hits));
    }
#endif
    while (p < end && *p != '\r' && *p != '\n') ++p;
    return p;
}

// Splits blocks into lines. A line ends at CR, CR LF or LF. Only the first 60
// characters of a line are kept when it crosses a block boundary.
class LineSplitter {
public:
    explicit LineSplitter(RecordMatcher& matcher) : matcher_(matcher) {}

    void block(const char* p, const char* end) {
        if (p == end) return;
        if (crPending_ && *p == '\n') ++p;  // the LF of a CR LF split by the block boundary
        crPending_ = false;
        while (p < end) {
            const char* eol = lineEnd(p, end);
            if (eol == end) {
                keep(p, end);
                return;
            }
            if (carried_ > 0) {
                keep(p, eol);
                matcher_.record(carry_, carried_);
                carried_ = 0;
            } else {
                matcher_.record(p, static_cast<size_t>(eol - p));
            }
            p = eol + 1;
            if (*eol == '\r') {
                if (p == end)
                    crPending_ = true;
                else if (*p == '\n')
                    ++p;
            }
        }
    }

    // The last line, when the file does not end with a line end.
    void finish() {
        if (carried_ > 0) matcher_.record(carry_, carried_);
        carried_ = 0;
    }

private:
    void keep(const char* p, const char* end) {
        const size_t room = kRecordWidth - carried_;
        const size_t n = std::min(room, static_cast<size_t>(end - p));
        std::memcpy(carry_ + carried_, p, n);
        carried_ += n;
    }

    RecordMatcher& matcher_;
    char carry_[kRecordWidth];
    size_t carried_ = 0;  // above 0 exactly while a line crosses into the next block
    bool crPending_ = false;
};

RateFileError systemError(int number) { return {number, std::strerror(number)}; }

}  // namespace

std::optional<std::string> findRateFile(Platform& platform) {
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
    errno = 0;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
        lookup.error = systemError(errno != 0 ? errno : EIO);
        return lookup;
    }
    RecordMatcher matcher(stateCode, countyCode, codes);
    LineSplitter lines(matcher);
    blockSize = std::max<size_t>(blockSize, 1);
    std::unique_ptr<char[]> buffer(new char[blockSize]);
    for (;;) {
        errno = 0;
        const size_t got = std::fread(buffer.get(), 1, blockSize, file.get());
        if (got == 0) {
            if (std::ferror(file.get())) {
                lookup.error = systemError(errno != 0 ? errno : EIO);
                return lookup;
            }
            break;
        }
        lines.block(buffer.get(), buffer.get() + got);
    }
    lines.finish();
    lookup.rows = matcher.take();
    return lookup;
}

}  // namespace kbt2
