#pragma once
// Helpers shared by the worksheet file, report and print tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "worksheet/platform.h"
#include "worksheet/worksheet.h"

namespace kbt2::storage_testing {

using testing_support::FakePlatform;

// Every field of the worksheet, one readable line each: text, value and
// visibility. Two equal snapshots mean two equal worksheets.
inline std::vector<std::string> snapshot(const Worksheet& ws) {
    std::vector<std::string> lines;
    for (const ControlInfo& c : kControls) {
        if (c.kind == Kind::Button) continue;
        for (int i = 0; i < c.slots(); ++i) {
            const FieldRef f{c.control, i};
            std::string line = refName(f) + " \"" + ws.text(f) + "\"";
            if (c.kind == Kind::Check) line += ws.checked(f) ? " on" : " off";
            if (c.kind == Kind::Option) line += ws.selected(f) ? " on" : " off";
            line += ws.visible(f) ? "" : " hidden";
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

// A fresh, empty folder of the running test (tests may run in parallel, each
// in a process of its own).
inline std::filesystem::path scratchFolder(const std::string& name) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string owner = std::string(test->test_suite_name()) + "." + test->name();
    std::replace(owner.begin(), owner.end(), '/', '_');
    const std::filesystem::path folder = std::filesystem::path(KBT2_TEST_SCRATCH_DIR) / owner / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The file's lines, split at CR LF.
inline std::vector<std::string> crlfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

inline std::string joinCrlf(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

}  // namespace kbt2::storage_testing
