// How long one premium takes on a national-size rate file, against the floor
// of reading that file at all, on a file in the page cache:
//
// - whole process: kbt2-driver (model mode) running one premium, against
//   `wc -l` of the same file, the two taking turns;
// - in this process: the premium calculation against reading the file into a
//   page-aligned 1 MiB buffer and counting its line feeds with memchr, and
//   the same reading into a buffer 16 bytes off alignment (what an ordinary
//   allocation of that size returns), which some processors copy into
//   several times slower; and the file mapped in 16 MiB windows instead of
//   read, which saves the copy but would let a rate file cut short while it
//   is read end the program with a bus error, so the reader does not map.
//
// Prints the medians and their ratios: wall time, and processor time (user +
// system), which a machine busy with other work disturbs less.
//
//     kbt2_premium_bench [LINES] [RUNS]     defaults: 10000000 lines, 11 runs
//
// The rate file is generated once into bench-scratch/ of the build folder.

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "bench/generated_rate_file.h"
#include "bench/process_run.h"
#include "commands/premium.h"
#include "worksheet/platform.h"
#include "worksheet/worksheet.h"

namespace {

namespace fs = std::filesystem;
using namespace kbt2::bench;

class BenchPlatform : public kbt2::Platform {
public:
    explicit BenchPlatform(std::string folder) : folder_(std::move(folder)) {}
    kbt2::MessageAnswer showMessage(const kbt2::Message&) override { return kbt2::MessageAnswer::OK; }
    std::optional<std::string> chooseFile(kbt2::FileDialogMode, const std::string&) override { return std::nullopt; }
    std::vector<std::string> rateFileFolders() override { return {folder_}; }
    kbt2::PrintResult print(const kbt2::PrintDocument&) override { return {}; }
    kbt2::PrintResult printToPdf(const kbt2::PrintDocument&, const std::string&) override { return {}; }
    void closeWindow() override {}

private:
    std::string folder_;
};

// Michigan, Kent (26, 81), five incomes and 14 commodities: as fields of a
// worksheet and as the driver script that types them.
struct Entry {
    std::string ref;
    std::string text;
};

std::vector<Entry> worksheetEntries() {
    std::vector<Entry> entries;
    for (int k = 0; k < 5; ++k)
        entries.push_back({"Allinc1(" + std::to_string(k) + ")", std::to_string(100000 + 10000 * k)});
    entries.push_back({"Averageinc", "120000"});
    for (int i = 0; i < 14; ++i) {
        const std::string row = "(" + std::to_string(i) + ")";
        entries.push_back({"Cropname1" + row, "Commodity " + std::to_string(i)});
        entries.push_back({"Unit1" + row, std::to_string(kBenchCodes[i])});
        entries.push_back({"Totamt1" + row, std::to_string(100 + 10 * i)});
        entries.push_back({"Expval1" + row, "7.5"});
    }
    return entries;
}

void fillWorksheet(kbt2::Worksheet& ws) {
    ws.select({kbt2::Control::St, 0});   // Michigan
    ws.select({kbt2::Control::Mi1, 2});  // Kent
    for (const Entry& e : worksheetEntries()) ws.setText(*kbt2::parseRef(e.ref), e.text);
}

void writeDriverScript(const fs::path& script, const fs::path& rateFolder) {
    std::ofstream out(script, std::ios::binary);
    out << "places " << rateFolder.string() << " /nonexistent\nselect St(0)\nselect Mi1(2)\n";
    for (const Entry& e : worksheetEntries()) out << "set " << e.ref << ' ' << e.text << '\n';
    out << "click Command4\nget Text18(2)\n";
}

double cpuMsNow() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct Timing {
    std::vector<double> wall;
    std::vector<double> cpu;
};

template <class F>
void timeInto(Timing& timing, F&& f) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = cpuMsNow();
    f();
    timing.cpu.push_back(cpuMsNow() - cpuStart);
    timing.wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
}

long countLineFeeds(const fs::path& path, char* buffer, size_t size) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    long count = 0;
    for (ssize_t got; (got = read(fd, buffer, size)) > 0;) {
        const char* p = buffer;
        const char* end = p + got;
        while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)))) != nullptr) {
            ++count;
            ++p;
        }
    }
    close(fd);
    return count;
}

long countLineFeedsMapped(const fs::path& path) {
    constexpr off_t kWindow = off_t{16} << 20;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const off_t size = lseek(fd, 0, SEEK_END);
    long count = 0;
    for (off_t at = 0; at < size; at += kWindow) {
        const auto length = static_cast<size_t>(std::min(kWindow, size - at));
        void* map = mmap(nullptr, length, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, at);
        if (map == MAP_FAILED) break;
        const char* p = static_cast<const char*>(map);
        const char* end = p + length;
        while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)))) != nullptr) {
            ++count;
            ++p;
        }
        munmap(map, length);
    }
    close(fd);
    return count;
}

void printRow(const std::string& what, const Timing& t, const Timing& floor) {
    std::printf("  %-44s wall %8.1f ms (%.2fx)   cpu %8.1f ms (%.2fx)\n", what.c_str(), median(t.wall),
                median(t.wall) / median(floor.wall), median(t.cpu), median(t.cpu) / median(floor.cpu));
}

}  // namespace

int main(int argc, char** argv) {
    const long lines = argc > 1 ? std::atol(argv[1]) : 10000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 11;
    const fs::path dir = fs::path(scratchFolder()) / ("rates-" + std::to_string(lines));
    fs::create_directories(dir);
    const fs::path file = dir / "Ratefile.prn";
    writeGeneratedRateFile(file, lines);
    const fs::path script = dir / "premium.txt";
    writeDriverScript(script, dir);
    const std::string driver = binFolder() + "/kbt2-driver";

    BenchPlatform platform(dir.string());
    kbt2::Worksheet ws;
    fillWorksheet(ws);
    kbt2::command4Click(ws, platform);  // warms the page cache
    const std::string premium = ws.text({kbt2::Control::Text18, 2});

    constexpr size_t kBlock = size_t{1} << 20;
    char* buffer = static_cast<char*>(::operator new (kBlock + 64, std::align_val_t{4096}));
    Timing calc, aligned, offset, mapped, driverRuns, wcRuns;
    long lineFeeds = 0;
    for (int run = 0; run < runs; ++run) {
        timeInto(calc, [&] { kbt2::command4Click(ws, platform); });
        timeInto(aligned, [&] { lineFeeds = countLineFeeds(file, buffer, kBlock); });
        timeInto(offset, [&] { countLineFeeds(file, buffer + 16, kBlock); });
        timeInto(mapped, [&] { countLineFeedsMapped(file); });
        const ProcessRun d = runProcess({driver, script.string()});
        const ProcessRun w = runProcess({"/usr/bin/wc", "-l", file.string()});
        if (d.status != 0 || w.status != 0) {
            std::fprintf(stderr, "kbt2-driver or wc failed\n");
            return 1;
        }
        driverRuns.wall.push_back(d.wallMs);
        driverRuns.cpu.push_back(d.cpuMs);
        wcRuns.wall.push_back(w.wallMs);
        wcRuns.cpu.push_back(w.cpuMs);
    }
    ::operator delete (buffer, std::align_val_t{4096});

    std::printf("rate file: %ld lines, %.1f MB, %ld line feeds; medians of %d runs\n", lines,
                static_cast<double>(lines * kRateRecordBytes) / 1e6, lineFeeds, runs);
    std::printf("whole process, against wc -l of the file:\n");
    printRow("wc -l", wcRuns, wcRuns);
    printRow("kbt2-driver, one premium of 14 commodities", driverRuns, wcRuns);
    std::printf("in this process, against an aligned read with memchr:\n");
    printRow("aligned 1 MiB read, memchr line feeds", aligned, aligned);
    printRow("the same read 16 bytes off alignment", offset, aligned);
    printRow("the file mapped in 16 MiB windows, memchr", mapped, aligned);
    printRow("premium calculation (0.65 premium " + premium + ")", calc, aligned);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident memory of this process: %ld KiB\n", usage.ru_maxrss);
    return 0;
}
