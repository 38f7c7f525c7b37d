// Start-up time of the kbt2 window against a bare Qt program that shows an
// empty main window: each probe is started RUNS times (in turn), on the
// offscreen platform, and reports the time from its start to the window shown
// with the event loop idle. Prints the medians and their ratio. A third probe,
// the bare window with one line of text, shows how much of the difference is
// the loading of the system's fonts, which any window with text pays. Then
// the time of each page from its first choice to its first paint, which
// should stay within one frame (16 ms): pages are built when first shown.
//
//   kbt2_startup_bench [RUNS]      default 15

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "bench/startup_probe_clock.h"

extern char** environ;

namespace {

constexpr int kPages = 9;
// One frame at 60 Hz: a page that takes longer shows a blank or half-drawn
// frame first.
constexpr double kFrameMs = 16;

// Runs one probe and returns what it printed, or nothing when it failed.
// Its settings and recovery copies go to `scratch`, never the user's.
std::optional<std::string> runProbe(const std::string& program, const char* argument, const std::string& scratch) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    // The platform's chatter is not what is measured.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        if (entry.rfind("QT_QPA_PLATFORM=", 0) != 0 && entry.rfind("KBT2_BENCH_START_NS=", 0) != 0 &&
            entry.rfind("XDG_CONFIG_HOME=", 0) != 0 && entry.rfind("XDG_DATA_HOME=", 0) != 0)
            env.push_back(entry);
    }
    env.push_back("QT_QPA_PLATFORM=offscreen");
    env.push_back("XDG_CONFIG_HOME=" + scratch + "/config");
    env.push_back("XDG_DATA_HOME=" + scratch + "/data");
    env.push_back("KBT2_BENCH_START_NS=" + std::to_string(kbt2::bench::monotonicNanoseconds()));
    std::vector<char*> envp;
    for (std::string& entry : env) envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string path = program;
    std::string arg = argument ? argument : "";
    char* argv[] = {path.data(), argument ? arg.data() : nullptr, nullptr};

    pid_t child = 0;
    const int spawned = posix_spawn(&child, path.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        return std::nullopt;
    }
    std::string output;
    char buffer[256];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) output.append(buffer, static_cast<size_t>(n));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return output;
}

// The start-up time of one run in milliseconds, or a negative number when it
// failed.
double runOnce(const std::string& program, const std::string& scratch, const char* argument = nullptr) {
    const auto output = runProbe(program, argument, scratch);
    long long nanoseconds = 0;
    if (!output || std::sscanf(output->c_str(), "startup_ns %lld", &nanoseconds) != 1) return -1;
    return static_cast<double>(nanoseconds) / 1e6;
}

// Each page's time from its first choice to its first paint, in
// milliseconds, or nothing when the probe failed.
std::optional<std::vector<double>> pagePaintTimes(const std::string& program, const std::string& scratch) {
    const auto output = runProbe(program, "pages", scratch);
    if (!output) return std::nullopt;
    std::vector<double> times(kPages, -1);
    std::istringstream lines(*output);
    std::string word;
    int page = 0;
    long long nanoseconds = 0;
    while (lines >> word >> page >> nanoseconds)
        if (word == "page_ns" && page >= 1 && page <= kPages && nanoseconds >= 0)
            times[static_cast<size_t>(page - 1)] = static_cast<double>(nanoseconds) / 1e6;
    if (std::find(times.begin(), times.end(), -1.0) != times.end()) return std::nullopt;
    return times;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const std::filesystem::path here = std::filesystem::canonical("/proc/self/exe").parent_path();
    const std::string kbt2Probe = (here / "kbt2_startup_probe").string();
    const std::string bareProbe = (here / "bare_startup_probe").string();
    char scratchTemplate[] = "/tmp/kbt2-startup-bench-XXXXXX";
    if (!mkdtemp(scratchTemplate)) {
        std::perror("kbt2_startup_bench: scratch folder");
        return 1;
    }
    const std::string scratch = scratchTemplate;

    // One run of each first, so both start from warm file caches.
    runOnce(kbt2Probe, scratch);
    runOnce(bareProbe, scratch);
    runOnce(bareProbe, scratch, "text");
    std::vector<double> kbt2Times, bareTimes, textTimes;
    std::vector<std::vector<double>> pageTimes(kPages);
    for (int i = 0; i < runs; ++i) {
        const double a = runOnce(kbt2Probe, scratch);
        const double b = runOnce(bareProbe, scratch);
        const double c = runOnce(bareProbe, scratch, "text");
        const auto pages = pagePaintTimes(kbt2Probe, scratch);
        if (a < 0 || b < 0 || c < 0 || !pages) {
            std::fprintf(stderr, "a start-up probe failed\n");
            return 1;
        }
        kbt2Times.push_back(a);
        bareTimes.push_back(b);
        textTimes.push_back(c);
        for (size_t p = 0; p < pageTimes.size(); ++p) pageTimes[p].push_back((*pages)[p]);
    }
    std::filesystem::remove_all(scratch);
    const double kbt2Median = median(kbt2Times);
    const double bareMedian = median(bareTimes);
    const double textMedian = median(textTimes);
    std::printf("start-up to idle, median of %d runs (offscreen):\n", runs);
    std::printf("  kbt2 window                   %8.1f ms\n", kbt2Median);
    std::printf("  bare QMainWindow              %8.1f ms\n", bareMedian);
    std::printf("  bare QMainWindow, one label   %8.1f ms\n", textMedian);
    std::printf("  ratio to the bare window      %8.2f (target at most 2)\n", kbt2Median / bareMedian);
    std::printf("  ratio to the one-label window %8.2f\n", kbt2Median / textMedian);
    std::printf("first choice of a page to its first paint, median of %d runs (page 1: from the window's show):\n",
                runs);
    for (size_t p = 0; p < pageTimes.size(); ++p) {
        const double ms = median(pageTimes[p]);
        std::printf("  page %zu                        %8.1f ms%s\n", p + 1, ms,
                    ms > kFrameMs ? "  (over one frame)" : "");
    }
    return 0;
}
