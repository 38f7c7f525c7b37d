// A save onto a disk that fills up mid-way: the old file stays whole, no
// temporary file is left behind, and the user is told. The disk is a small
// tmpfs mounted in a mount namespace of a child process, so nothing outside
// the test sees it; where the system refuses that (no privileges), the test
// is skipped.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "app/driver/model_target.h"
#include "app/driver/runner.h"
#include "app/driver/session.h"
#include "tests/core/known_messages.h"

namespace kbt2::driver {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs a script against the model; the driver's output.
std::string drive(const std::string& script) {
    std::istringstream in(script);
    std::ostringstream out;
    std::ostringstream errors;
    Session session(out);
    ModelTarget target(session);
    if (runScript(in, session, target, errors) != 0) return "script error: " + errors.str();
    return out.str();
}

// Fills the disk of `folder` to the last byte, then frees `room` bytes.
void fill(const fs::path& folder, off_t room) {
    const int fd = ::open((folder / "filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const std::string block(512, 'x');
    while (fd >= 0 && ::write(fd, block.data(), block.size()) > 0) {
    }
    for (char c = 'x'; fd >= 0 && ::write(fd, &c, 1) == 1;) {
    }
    if (fd < 0) return;
    const off_t full = ::lseek(fd, 0, SEEK_END);
    if (full > room && ::ftruncate(fd, full - room) != 0) return;
    ::close(fd);
}

// What the child found; empty when all is well. Exit status 77: no tmpfs.
constexpr int kCannotMount = 77;

std::string saveOntoAFullDisk(const fs::path& disk) {
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0)
        ::_exit(kCannotMount);

    const fs::path file = disk / "case.wsk";
    // The old file: a small worksheet, saved while there is room.
    std::string out = drive("set Producer1 Old Farm\nfile " + file.string() + "\nclick save\n");
    const std::string old = readFile(file);
    if (old.empty()) return "the first save wrote nothing: " + out;

    // The new worksheet is larger than the room left: the write stops mid-way.
    fill(disk, 8192);
    std::string script = "set Producer1 New Farm\nset Infobox ";
    for (int line = 0; line < 400; ++line) script += "a long note that needs more room than the disk has\\n";
    script += "\nfile " + file.string() + "\nclick save\n";
    out = drive(script);

    if (readFile(file) != old) return "the old file was changed";
    for (const auto& entry : fs::directory_iterator(disk))
        if (entry.path().filename() != "case.wsk" && entry.path().filename() != "filler")
            return "a temporary file was left: " + entry.path().filename().string();
    const auto messages = testing_support::messagesInDriverOutput(out);
    if (messages.size() != 1) return "expected one message, the driver printed:\n" + out;
    if (messages[0].text != "The worksheet could not be saved as \"" + file.string() + "\".\rThe disk is full.")
        return "the message was: " + messages[0].text;
    return {};
}

TEST(SaveOntoAFullDisk, KeepsTheOldFileAndTellsTheUser) {
    const fs::path disk = fs::path(KBT2_TEST_SCRATCH_DIR) / "full-disk";
    fs::create_directories(disk);
    int report[2];
    ASSERT_EQ(::pipe(report), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(report[0]);
        const std::string problem = saveOntoAFullDisk(disk);
        [[maybe_unused]] const ssize_t written = ::write(report[1], problem.data(), problem.size());
        ::_exit(0);
    }
    ::close(report[1]);
    std::string problem;
    char buffer[512];
    for (ssize_t got; (got = ::read(report[0], buffer, sizeof buffer)) > 0;) problem.append(buffer, got);
    ::close(report[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child ended by signal " << WTERMSIG(status);
    if (WEXITSTATUS(status) == kCannotMount) GTEST_SKIP() << "no small tmpfs can be mounted here (needs root)";
    EXPECT_EQ(problem, "");
}

}  // namespace
}  // namespace kbt2::driver
