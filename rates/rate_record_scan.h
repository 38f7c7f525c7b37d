#pragma once
// How the rate file is cut into records and how a record's columns are read:
// shared by the reader of one premium and the batch's table, so both see
// exactly the same records.

#include <bit>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#if defined(__x86_64__)
#include <immintrin.h>
#define KBT2_WIDE_LINE_ENDS 1
#endif

#include "calc/commodity_rates.h"
#include "calc/numbers.h"
#include "rates/rate_file.h"

namespace kbt2::rate_records {

inline constexpr size_t kRecordWidth = 60;

struct Column {
    size_t at;  // 0-based
    size_t width;
};

// clang-format off
inline constexpr Column kState          {0,  2};
inline constexpr Column kCounty         {7,  3};
inline constexpr Column kCommodity      {12, 4};
inline constexpr size_t kLivestockFlag = 18;
inline constexpr size_t kInsurableFlag = 24;
inline constexpr Column kRates[]       {{34, 5}, {45, 5}, {55, 5}};  // one per coverage level
// clang-format on
static_assert(std::size(kRates) == kPremiumColumns, "a rate column for every coverage level");

// The numeric value of a column. A column of digits and blanks, nearly every
// column of a real file, is read on the spot; anything else (a sign, a point,
// letters) goes through the worksheet's own number reading.
inline double columnValue(const char* record, Column column) {
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

// A column of digits and blanks as a whole number (0 when all blanks), or -1
// for any other column (a sign, a point, letters, other bytes): the blanks
// are passed over, as the column's numeric value passes them.
inline int digitsValue(const char* record, Column column) {
    int value = 0;
    for (size_t k = 0; k < column.width; ++k) {
        const char c = record[column.at + k];
        if (c >= '0' && c <= '9')
            value = value * 10 + (c - '0');
        else if (c != ' ')
            return -1;
    }
    return value;
}

// A valid record: a line whose state (columns 1-2), county (8-10) and
// commodity code (13-16) are each written in digits and each above 0. A rate
// table without one cannot price anything; other lines are still read as the
// premium has always read them (a malformed line simply matches nothing).
inline bool validRecord(const char* record) {
    return digitsValue(record, kState) > 0 && digitsValue(record, kCounty) > 0 && digitsValue(record, kCommodity) > 0;
}

// The sample table shipped with the program carries a line beginning with
// this mark. It is no record: it is neither counted nor matched, and a table
// that has it is known to be the made-up sample wherever it was copied.
inline constexpr std::string_view kSampleMark = "#KBT2-SAMPLE-RATES";

inline bool sampleMark(const char* line, size_t length) {
    return length >= kSampleMark.size() && line[0] == '#' &&
           std::memcmp(line, kSampleMark.data(), kSampleMark.size()) == 0;
}

// The values a matching record gives its commodity row; `line` is where the
// record stands in the file, from 1.
inline CommodityRates ratesOf(const char* record, std::uint64_t line) {
    CommodityRates rates;
    for (size_t j = 0; j < rates.rates.size(); ++j) rates.rates[j] = columnValue(record, kRates[j]);
    rates.livestockFlag = record[kLivestockFlag];
    rates.insurableFlag = record[kInsurableFlag];
    rates.found = true;
    rates.line = line;
    return rates;
}

// The CR and LF positions of 64 characters as bits, 16 at a time (every
// x86-64 processor can).
struct NarrowLineEnds {
    static std::uint64_t of(const char* p) {
#if defined(__SSE2__)
        const __m128i cr = _mm_set1_epi8('\r');
        const __m128i lf = _mm_set1_epi8('\n');
        auto hits = [&](std::ptrdiff_t k) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
            return std::uint64_t{static_cast<std::uint16_t>(
                _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, cr), _mm_cmpeq_epi8(chunk, lf))))};
        };
        return hits(0) | hits(1) << 16 | hits(2) << 32 | hits(3) << 48;
#else
        std::uint64_t mask = 0;
        for (int k = 0; k < 64; ++k)
            if (p[k] == '\r' || p[k] == '\n') mask |= std::uint64_t{1} << k;
        return mask;
#endif
    }
};

#if defined(KBT2_WIDE_LINE_ENDS)
// The same 32 at a time, on processors with AVX2; about a tenth of the time
// of a national file's premium. Compiled for AVX2 on its own and called only
// from code compiled so, after the processor was asked.
struct WideLineEnds {
    [[gnu::target("avx2")]] static std::uint64_t of(const char* p) {
        // No lambda here: it would not be compiled for AVX2.
        const __m256i cr = _mm256_set1_epi8('\r');
        const __m256i lf = _mm256_set1_epi8('\n');
        const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
        const auto lowHits = static_cast<std::uint32_t>(
            _mm256_movemask_epi8(_mm256_or_si256(_mm256_cmpeq_epi8(low, cr), _mm256_cmpeq_epi8(low, lf))));
        const auto highHits = static_cast<std::uint32_t>(
            _mm256_movemask_epi8(_mm256_or_si256(_mm256_cmpeq_epi8(high, cr), _mm256_cmpeq_epi8(high, lf))));
        return std::uint64_t{lowHits} | std::uint64_t{highHits} << 32;
    }
};

inline bool wideLineEnds() {
    static const bool wide = __builtin_cpu_supports("avx2");
    return wide;
}
#endif

// The CR and LF positions of the last, partial window of a block.
inline std::uint64_t lineEndMaskOfTail(const char* p, const char* end) {
    std::uint64_t mask = 0;
    for (std::ptrdiff_t k = 0; k < end - p; ++k)
        if (p[k] == '\r' || p[k] == '\n') mask |= std::uint64_t{1} << k;
    return mask;
}

// Splits blocks into records for a sink with `void record(const char* line)`
// or `void record(const char* line, std::uint64_t number)`, which always gets
// 60 readable characters; the number counts the lines from 1. The sample's
// mark line goes to no sink and is not counted as a record (its own line
// still counts, so later lines keep their numbers). A line ends at CR, CR LF or LF
// and is fitted to 60 characters: a shorter one is padded with blanks, only
// the first 60 characters of a longer one are kept.
template <class Sink>
class LineSplitter {
public:
    // `wide` chooses the AVX2 search where the processor has it; tests turn
    // it off to check the other.
    explicit LineSplitter(Sink& sink, bool wide = true) : sink_(sink) {
#if defined(KBT2_WIDE_LINE_ENDS)
        wide_ = wide && wideLineEnds();
#else
        (void)wide;
#endif
    }

    void block(const char* begin, const char* end) {
#if defined(KBT2_WIDE_LINE_ENDS)
        if (wide_) return blockWide(begin, end);
#endif
        blockWith<NarrowLineEnds>(begin, end);
    }

    // The last line, when the file does not end with a line end.
    void finish() {
        if (carried_ > 0) emit(carry_, carried_);
        carried_ = 0;
    }

    std::uint64_t records() const { return records_; }
    // Lines split so far, records or not.
    std::uint64_t lines() const { return lines_; }
    // Whether any record was a valid one; whether the sample's mark was met.
    bool keyed() const { return keyed_; }
    bool sample() const { return sample_; }

private:
#if defined(KBT2_WIDE_LINE_ENDS)
    [[gnu::target("avx2")]] void blockWide(const char* begin, const char* end) { blockWith<WideLineEnds>(begin, end); }
#endif

    // Each 64 characters are searched once, and every line end of them is
    // taken from the one mask: line by line searching cost twice as much.
    template <class LineEnds>
    [[gnu::always_inline]] void blockWith(const char* begin, const char* end) {
        if (begin == end) return;
        const char* start = begin;                  // of the line being read
        if (crPending_ && *start == '\n') ++start;  // the LF of a CR LF split by the block boundary
        crPending_ = false;
        const auto size = static_cast<size_t>(end - begin);
        for (size_t at = 0; at < size; at += 64) {
            const char* window = begin + at;
            std::uint64_t mask = size - at >= 64 ? LineEnds::of(window) : lineEndMaskOfTail(window, end);
            for (; mask != 0; mask &= mask - 1) {
                const int bit = std::countr_zero(mask);
                const char* eol = window + bit;
                if (eol < start) continue;  // the LF of a CR LF, taken with its CR
                if (carried_ > 0) {
                    keep(start, eol);
                    emit(carry_, carried_);
                    carried_ = 0;
                } else {
                    emit(start, static_cast<size_t>(eol - start));
                }
                start = eol + 1;
                if (*eol != '\r') continue;
                if (start == end) {
                    crPending_ = true;
                } else if (*start == '\n') {
                    ++start;
                    if (bit < 63) mask &= ~(std::uint64_t{2} << bit);
                }
            }
        }
        if (start < end) keep(start, end);
    }

    void emit(const char* line, size_t length) {
        ++lines_;
        if (sampleMark(line, length)) {
            sample_ = true;
            return;
        }
        ++records_;
        if (length >= kRecordWidth)
            toSink(line);
        else
            emitPadded(line, length);
    }

    void toSink(const char* line) {
        if (!keyed_) keyed_ = validRecord(line);
        if constexpr (requires { sink_.record(line, lines_); })
            sink_.record(line, lines_);
        else
            sink_.record(line);
    }

    // Out of line: its buffer would otherwise weigh on every full-length line.
    [[gnu::noinline]] void emitPadded(const char* line, size_t length) {
        char padded[kRecordWidth];
        std::memcpy(padded, line, length);
        std::memset(padded + length, ' ', kRecordWidth - length);
        toSink(padded);
    }

    void keep(const char* p, const char* end) {
        const size_t room = kRecordWidth - carried_;
        const size_t n = std::min(room, static_cast<size_t>(end - p));
        std::memcpy(carry_ + carried_, p, n);
        carried_ += n;
    }

    Sink& sink_;
    char carry_[kRecordWidth];
    size_t carried_ = 0;      // above 0 exactly while a line crosses into the next block
    bool crPending_ = false;  // the block ended with a CR: an LF opening the next belongs to it
    std::uint64_t lines_ = 0;
    std::uint64_t records_ = 0;
    bool keyed_ = false;
    bool sample_ = false;
    bool wide_ = false;
};

using BlockHandler = std::function<void(const char*, const char*)>;

// Hands the file to onBlock in blocks of at most blockSize, in file order,
// read into buffers aligned to a page (the system copies into those markedly
// faster); blocks of a page or more are read on a second thread while onBlock
// scans the one before. `tap`, when given, has every block too, in order,
// and on a third thread of its own when the blocks are read on a second: work
// on the bytes alone (a digest) so runs beside the scan. Nothing when the
// whole file was read, otherwise why not. `contents`, when given, gets the
// open file's size and time.
std::optional<RateFileError> readBlocks(const std::string& path, size_t blockSize, const BlockHandler& onBlock,
                                        RateFileContents* contents = nullptr, const BlockHandler& tap = {});

// An ordinary file of eight blocks or more, read in two parts at once, each
// on a thread of its own: the first part, up to and with the first LF from
// the file's middle, to `first`, the rest to `second`, each in file order.
// `split` tells whether it was so read; when it was not (a smaller file, no
// such LF, no thread to be had) nothing was read. Nothing when the whole
// file was read, otherwise why not; `contents`, when given, gets the open
// file's size and time.
std::optional<RateFileError> readInTwo(const std::string& path, size_t blockSize, const BlockHandler& first,
                                       const BlockHandler& second, RateFileContents* contents, bool& split);

// A sink that can take a later part of the file on its own, on another
// thread: laterPart() gives an empty sink for it, and takeLater() takes what
// that one found as coming after its own records, the later part's line
// numbers counted on from `linesBefore`.
template <class Sink>
concept PartedSink = requires(Sink& sink, std::uint64_t linesBefore) {
    { sink.laterPart() } -> std::same_as<Sink>;
    sink.takeLater(sink, linesBefore);
};

// A large file in two parts at once for a sink that can take them (see
// readInTwo); false, with nothing read, where it was not so read.
template <PartedSink Sink>
bool scanInTwo(const std::string& path, size_t blockSize, Sink& sink, RateFileContents& contents,
               std::optional<RateFileError>& error) {
    Sink later = sink.laterPart();
    LineSplitter<Sink> firstLines(sink);
    LineSplitter<Sink> laterLines(later);
    RateFileContents file;
    bool split = false;
    error = readInTwo(
        path, blockSize, [&firstLines](const char* p, const char* end) { firstLines.block(p, end); },
        [&laterLines](const char* p, const char* end) { laterLines.block(p, end); }, &file, split);
    if (!split) return false;
    if (!error) {
        firstLines.finish();  // the first part ends with a line end: nothing is left
        laterLines.finish();
        sink.takeLater(later, firstLines.lines());
    }
    contents = {firstLines.records() + laterLines.records(), firstLines.keyed() || laterLines.keyed(),
                firstLines.sample() || laterLines.sample(), file.size, file.modified};
    return true;
}

// Every record of the file, in order, to the sink; what the file held, or
// why it could not be read. `tap`, when given, sees every block in order,
// beside the sink (a digest of the bytes is so taken in the same pass; it
// may run on a thread of its own). Without a tap, a large file is read in
// two parts at once by a sink that can take them.
template <class Sink>
std::optional<RateFileError> scan(const std::string& path, size_t blockSize, Sink& sink, RateFileContents& contents,
                                  const BlockHandler& tap = {}) {
    if constexpr (PartedSink<Sink>) {
        std::optional<RateFileError> error;
        if (!tap && scanInTwo(path, blockSize, sink, contents, error)) return error;
    }
    LineSplitter<Sink> lines(sink);
    RateFileContents file;
    auto error = readBlocks(
        path, blockSize, [&lines](const char* p, const char* end) { lines.block(p, end); }, &file, tap);
    if (!error) lines.finish();
    contents = {lines.records(), lines.keyed(), lines.sample(), file.size, file.modified};
    return error;
}

}  // namespace kbt2::rate_records
