// Start-up time of the kbt2 window against a bare Qt program that shows an
// empty main window: each probe is started RUNS times (in turn), on the
// offscreen platform, and reports the time from its start to the window shown
// with the event loop idle. Prints the medians and their ratio. A third probe,
// the bare window with one line of text, shows how much of the difference is
// the loading of the system's fonts, which any window with text pays.
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
#include <string>
#include <vector>

#include "bench/startup_probe_clock.h"

extern char** environ;

namespace {

// Runs one probe and returns its start-up time in milliseconds, or a negative
// number when it failed.
double runOnce(const std::string& program, const char* argument = nullptr) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    // The platform's chatter is not what is measured.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        if (entry.rfind("QT_QPA_PLATFORM=", 0) != 0 && entry.rfind("KBT2_BENCH_START_NS=", 0) != 0)
            env.push_back(entry);
    }
    env.push_back("QT_QPA_PLATFORM=offscreen");
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
        return -1;
    }
    std::string output;
    char buffer[256];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) output.append(buffer, static_cast<size_t>(n));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    long long nanoseconds = 0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        std::sscanf(output.c_str(), "startup_ns %lld", &nanoseconds) != 1)
        return -1;
    return static_cast<double>(nanoseconds) / 1e6;
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

    // One run of each first, so both start from warm file caches.
    runOnce(kbt2Probe);
    runOnce(bareProbe);
    runOnce(bareProbe, "text");
    std::vector<double> kbt2Times, bareTimes, textTimes;
    for (int i = 0; i < runs; ++i) {
        const double a = runOnce(kbt2Probe);
        const double b = runOnce(bareProbe);
        const double c = runOnce(bareProbe, "text");
        if (a < 0 || b < 0 || c < 0) {
            std::fprintf(stderr, "a start-up probe failed\n");
            return 1;
        }
        kbt2Times.push_back(a);
        bareTimes.push_back(b);
        textTimes.push_back(c);
    }
    const double kbt2Median = median(kbt2Times);
    const double bareMedian = median(bareTimes);
    const double textMedian = median(textTimes);
    std::printf("start-up to idle, median of %d runs (offscreen):\n", runs);
    std::printf("  kbt2 window                   %8.1f ms\n", kbt2Median);
    std::printf("  bare QMainWindow              %8.1f ms\n", bareMedian);
    std::printf("  bare QMainWindow, one label   %8.1f ms\n", textMedian);
    std::printf("  ratio to the bare window      %8.2f (target at most 2)\n", kbt2Median / bareMedian);
    std::printf("  ratio to the one-label window %8.2f\n", kbt2Median / textMedian);
    return 0;
}
