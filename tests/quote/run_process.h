#pragma once
// Runs a program of the build as a process and collects what it printed.

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "storage_test_support.h"

namespace kbt2::testing_support {

struct ProcessResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string shellQuoted(const std::string& word) {
    std::string quoted = "'";
    for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Standard error goes to a file beside `scratch`, standard input is empty.
inline ProcessResult runProcess(const std::vector<std::string>& command, const std::filesystem::path& scratch) {
    std::string line;
    for (const std::string& word : command) line += shellQuoted(word) + " ";
    const std::filesystem::path out = scratch / "process.out";
    const std::filesystem::path err = scratch / "process.err";
    line += "</dev/null >" + shellQuoted(out.string()) + " 2>" + shellQuoted(err.string());
    const int raw = std::system(line.c_str());
    ProcessResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = storage_testing::readBytes(out);
    result.err = storage_testing::readBytes(err);
    return result;
}

}  // namespace kbt2::testing_support
