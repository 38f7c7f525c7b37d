// The rate file reader on any file, read in blocks of any size, checked
// against the plain reading of the same file: every line (ended by CR, CR LF
// or LF) fitted to 60 characters, keys compared by their numeric value, the
// last matching record winning. The batch's table, read from the same file
// in the same blocks, must give the same rows, and the line splitting must
// give the plain reading's records with either search for line ends. The
// sample table's mark line is no record in either.
//
// Input: one byte choosing the block size, then the file. The keys looked up
// are those of the file's first lines, so that records match.

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "calc/numbers.h"
#include "fuzz/require.h"
#include "rates/rate_file.h"
#include "rates/rate_record_scan.h"
#include "rates/rate_table.h"

using kbt2::fuzzing::require;

namespace {

constexpr size_t kWidth = 60;

std::vector<std::string> records(std::string_view file) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < file.size(); ++i) {
        if (file[i] != '\r' && file[i] != '\n') continue;
        lines.emplace_back(file.substr(start, i - start));
        if (file[i] == '\r' && i + 1 < file.size() && file[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < file.size()) lines.emplace_back(file.substr(start));
    // The sample table's mark line is no record.
    std::erase_if(lines, [](const std::string& line) { return line.starts_with(kbt2::rate_records::kSampleMark); });
    for (std::string& line : lines) line.resize(kWidth, ' ');
    return lines;
}

double field(const std::string& record, size_t position, size_t width) {
    return kbt2::numericValue(std::string_view(record).substr(position - 1, width));
}

struct Collect {
    std::vector<std::string> lines;
    void record(const char* line) { lines.emplace_back(line, kWidth); }
};

std::vector<std::string> split(std::string_view file, size_t blockSize, bool wide) {
    Collect collect;
    kbt2::rate_records::LineSplitter<Collect> splitter(collect, wide);
    for (size_t at = 0; at < file.size(); at += blockSize)
        splitter.block(file.data() + at, file.data() + std::min(file.size(), at + blockSize));
    splitter.finish();
    return collect.lines;
}

std::vector<kbt2::CommodityRates> plainReading(const std::vector<std::string>& lines, double state, double county,
                                               const std::vector<double>& codes) {
    std::vector<kbt2::CommodityRates> rows(codes.size());
    for (const std::string& r : lines) {
        if (field(r, 1, 2) != state || field(r, 8, 3) != county) continue;
        for (size_t i = 0; i < codes.size(); ++i) {
            if (field(r, 13, 4) != codes[i]) continue;
            rows[i].rates = {field(r, 35, 5), field(r, 46, 5), field(r, 56, 5)};
            rows[i].livestockFlag = r[18];
            rows[i].insurableFlag = r[24];
        }
    }
    return rows;
}

// The file lives in memory; the reader opens it by its /proc path.
int memoryFile() {
    static const int fd = memfd_create("Ratefile.prn", 0);
    if (fd < 0) std::abort();
    return fd;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const size_t blockSizes[] = {1, 2, 3, 7, 59, 60, 61, 62, 64, 121, 4096, kbt2::kRateFileBlockSize};
    const size_t blockSize = blockSizes[data[0] % std::size(blockSizes)];
    const std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);

    const int fd = memoryFile();
    if (ftruncate(fd, 0) != 0 || pwrite(fd, file.data(), file.size(), 0) != static_cast<ssize_t>(file.size()))
        std::abort();

    const std::vector<std::string> lines = records(file);
    double state = 26;
    double county = 81;
    std::vector<double> codes = {0, 54};
    if (!lines.empty()) {
        state = field(lines[0], 1, 2);
        county = field(lines[0], 8, 3);
    }
    for (size_t i = 0; i < lines.size() && i < 3; ++i) codes.push_back(field(lines[i], 13, 4));

    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    const kbt2::RateLookup lookup = kbt2::readRates(path, state, county, codes, blockSize);
    require(!lookup.error);
    const std::vector<kbt2::CommodityRates> expected = plainReading(lines, state, county, codes);
    require(lookup.rows.size() == expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        require(lookup.rows[i].rates == expected[i].rates);
        require(lookup.rows[i].livestockFlag == expected[i].livestockFlag);
        require(lookup.rows[i].insurableFlag == expected[i].insurableFlag);
    }

    require(split(file, blockSize, false) == lines);
    require(split(file, blockSize, true) == lines);

    kbt2::RateTable table;
    table.want(state, county, codes);
    require(table.read(path, blockSize).ok());
    require(table.records() == lines.size() && lookup.records == lines.size());
    const std::vector<kbt2::CommodityRates> fromTable = table.rates(state, county, codes);
    for (size_t i = 0; i < expected.size(); ++i) {
        require(fromTable[i].rates == expected[i].rates);
        require(fromTable[i].livestockFlag == expected[i].livestockFlag);
        require(fromTable[i].insurableFlag == expected[i].insurableFlag);
        require(fromTable[i].found == lookup.rows[i].found);
    }
    return 0;
}
