#pragma once
// One run of a program as a whole process: wall time, the processor time of
// the process (user and system) and its peak resident memory, as the system
// accounts them for the finished child.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace kbt2::bench {

struct ProcessRun {
    double wallMs = 0;
    double cpuMs = 0;
    long peakKiB = 0;
    int status = -1;
};

// Standard output and error go to /dev/null: printing is not what is measured.
// Standard input is read from `input` when one is named.
inline ProcessRun runProcess(std::vector<std::string> argv, const std::string& input = {}) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!input.empty()) posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, input.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> args;
    for (std::string& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    ProcessRun run;
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, args[0], &actions, nullptr, args.data(), environ) != 0) {
        std::perror(args[0]);
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    run.wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    run.cpuMs =
        (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    run.peakKiB = usage.ru_maxrss;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Medians of several runs of each program, the programs taking turns so that
// a busy machine slows all of them alike.
struct Medians {
    std::vector<double> wallMs;
    std::vector<double> cpuMs;
    std::vector<long> peakKiB;
};

// A program to run: its arguments, and the file its standard input reads
// (none: the bench's own).
struct Program {
    std::vector<std::string> argv;
    std::string input;
    Program(std::vector<std::string> a, std::string in = {}) : argv(std::move(a)), input(std::move(in)) {}
    Program(std::initializer_list<std::string> a) : argv(a) {}
};

inline Medians medianRuns(const std::vector<Program>& programs, int runs) {
    std::vector<std::vector<double>> walls(programs.size()), cpus(programs.size());
    Medians m{{}, {}, std::vector<long>(programs.size(), 0)};
    for (int r = 0; r < runs; ++r) {
        for (size_t p = 0; p < programs.size(); ++p) {
            const ProcessRun run = runProcess(programs[p].argv, programs[p].input);
            walls[p].push_back(run.wallMs);
            cpus[p].push_back(run.cpuMs);
            m.peakKiB[p] = std::max(m.peakKiB[p], run.peakKiB);
        }
    }
    for (size_t p = 0; p < programs.size(); ++p) {
        m.wallMs.push_back(median(walls[p]));
        m.cpuMs.push_back(median(cpus[p]));
    }
    return m;
}

// The folder for generated files: bench-scratch in the build folder (beside
// bin/), never in the sources.
inline std::string scratchFolder() {
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string dir = n > 0 ? std::string(self, static_cast<size_t>(n)) : std::string("./x");
    dir = dir.substr(0, dir.rfind('/'));
    return dir.substr(0, dir.rfind('/')) + "/bench-scratch";
}

inline std::string binFolder() {
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    const std::string path = n > 0 ? std::string(self, static_cast<size_t>(n)) : std::string("./x");
    return path.substr(0, path.rfind('/'));
}

}  // namespace kbt2::bench
