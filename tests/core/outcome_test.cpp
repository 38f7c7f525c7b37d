// The outcome every layer returns, and the file outcomes of storage/: a
// failure must never pass for a success, and a writer that failed keeps
// saying why.

#include "worksheet/outcome.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>
#include <variant>

#include "storage/file_io.h"
#include "storage_test_support.h"

namespace kbt2 {
namespace {

using namespace storage_testing;
namespace fs = std::filesystem;

// An outcome left unset would read as one or the other; there is none.
static_assert(!std::is_default_constructible_v<FileOutcome>);
static_assert(std::is_constructible_v<FileOutcome, Done>);
static_assert(std::is_constructible_v<FileOutcome, FileFailure>);
static_assert(!std::is_constructible_v<FileOutcome, std::string>);

TEST(Outcome, SaysWhichSideItHolds) {
    const FileOutcome worked = Done{};
    EXPECT_TRUE(worked.ok());
    EXPECT_THROW(static_cast<void>(worked.failure()), std::bad_variant_access);

    const FileOutcome failed = FileFailure{"The disk is full."};
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.failure().reason, "The disk is full.");
    EXPECT_THROW(static_cast<void>(failed.value()), std::bad_variant_access);
}

TEST(Outcome, GivesUpAValueThatCanOnlyMove) {
    Outcome<std::unique_ptr<int>, FileFailure> made = std::make_unique<int>(7);
    ASSERT_TRUE(made.ok());
    const std::unique_ptr<int> taken = std::move(made).value();
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(*taken, 7);
}

TEST(ReadWholeFile, GivesEveryByteOrTheReason) {
    const fs::path folder = scratchFolder("read");
    const std::string bytes{"Jane\r\n\0\x7f\r", 9};
    writeBytes(folder / "a.wsk", bytes);
    const auto read = readWholeFile((folder / "a.wsk").string());
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.value(), bytes);

    const auto missing = readWholeFile((folder / "gone.wsk").string());
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.failure().reason, "The file does not exist.");
    const auto folderRead = readWholeFile(folder.string());
    ASSERT_FALSE(folderRead.ok());
    EXPECT_EQ(folderRead.failure().reason, "The name belongs to a folder.");
}

// A caller that goes on after a refused open hears the refusal again, not
// some later error of a file that was never opened, and nothing is written.
TEST(AtomicFileWriter, RepeatsTheFailureOfItsOpen) {
    const fs::path folder = scratchFolder("refused");
    fs::create_directory(folder / "taken.wsk");
    AtomicFileWriter writer((folder / "taken.wsk").string());
    const FileOutcome opened = writer.open();
    ASSERT_FALSE(opened.ok());
    EXPECT_EQ(opened.failure().reason, "The name belongs to a folder.");
    for (const FileOutcome& later : {writer.write("new"), writer.commit()}) {
        ASSERT_FALSE(later.ok());
        EXPECT_EQ(later.failure().reason, "The name belongs to a folder.");
    }
    EXPECT_TRUE(fs::is_directory(folder / "taken.wsk"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST(AtomicFileWriter, RefusesAWriteAfterItsCommit) {
    const fs::path folder = scratchFolder("twice");
    AtomicFileWriter writer((folder / "a.wsk").string());
    ASSERT_TRUE(writer.open().ok());
    ASSERT_TRUE(writer.write("one").ok());
    ASSERT_TRUE(writer.commit().ok());
    EXPECT_FALSE(writer.write("two").ok());
    EXPECT_FALSE(writer.commit().ok());
    EXPECT_EQ(readBytes(folder / "a.wsk"), "one");
}

}  // namespace
}  // namespace kbt2
