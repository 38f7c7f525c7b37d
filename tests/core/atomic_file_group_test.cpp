#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "storage/file_io.h"
#include "storage_test_support.h"

namespace kbt2 {
namespace {

using namespace storage_testing;
namespace fs = std::filesystem;

size_t entriesIn(const fs::path& folder) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// Nothing is under its name before the commit; after it every file is whole
// (one replacing a file already there), in two folders, and no temporary
// file is left.
TEST(AtomicFileGroup, FilesTakeTheirNamesWholeOnlyAtTheCommit) {
    const fs::path folder = scratchFolder("group");
    fs::create_directories(folder / "b");
    writeBytes(folder / "old.pdf", "the earlier file");
    const std::vector<fs::path> paths = {folder / "one.pdf", folder / "old.pdf", folder / "b" / "two.pdf"};
    const std::string big(300000, 'x');

    AtomicFileGroup group;
    for (const fs::path& path : paths) ASSERT_TRUE(group.add(path.string(), path.filename().string() + big).ok());
    EXPECT_EQ(group.size(), 3u);
    EXPECT_FALSE(fs::exists(folder / "one.pdf"));
    EXPECT_EQ(readBytes(folder / "old.pdf"), "the earlier file");

    const std::vector<FileOutcome> committed = group.commit();
    ASSERT_EQ(committed.size(), 3u);
    for (size_t i = 0; i < paths.size(); ++i) {
        EXPECT_TRUE(committed[i].ok()) << paths[i];
        EXPECT_EQ(readBytes(paths[i]), paths[i].filename().string() + big) << paths[i];
    }
    EXPECT_EQ(group.size(), 0u);
    EXPECT_TRUE(group.commit().empty());
    EXPECT_EQ(entriesIn(folder), 3u);  // one.pdf, old.pdf, b
    EXPECT_EQ(entriesIn(folder / "b"), 1u);
}

// A folder under a file's name refuses that file, when it is added or when
// it appears before the commit; the others of the group are written all
// the same and no temporary file is left.
TEST(AtomicFileGroup, AFileThatCannotTakeItsNameIsReportedAndTheOthersAreWritten) {
    const fs::path folder = scratchFolder("refused");
    fs::create_directories(folder / "taken.pdf");
    AtomicFileGroup group;
    const FileOutcome refused = group.add((folder / "taken.pdf").string(), "bytes");
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.failure().reason, "The name belongs to a folder.");
    ASSERT_TRUE(group.add((folder / "first.pdf").string(), "first").ok());
    ASSERT_TRUE(group.add((folder / "late.pdf").string(), "late").ok());
    ASSERT_TRUE(group.add((folder / "last.pdf").string(), "last").ok());
    fs::create_directories(folder / "late.pdf" / "inside");  // rename(2) cannot replace it

    const std::vector<FileOutcome> committed = group.commit();
    ASSERT_EQ(committed.size(), 3u);
    EXPECT_TRUE(committed[0].ok());
    ASSERT_FALSE(committed[1].ok());
    EXPECT_EQ(committed[1].failure().reason, "The name belongs to a folder.");
    EXPECT_TRUE(committed[2].ok());
    EXPECT_EQ(readBytes(folder / "first.pdf"), "first");
    EXPECT_EQ(readBytes(folder / "last.pdf"), "last");
    EXPECT_TRUE(fs::is_directory(folder / "late.pdf" / "inside"));
    EXPECT_EQ(entriesIn(folder), 4u);  // taken.pdf, first.pdf, late.pdf, last.pdf
}

TEST(AtomicFileGroup, AGroupDroppedBeforeItsCommitLeavesNoTrace) {
    const fs::path folder = scratchFolder("dropped");
    writeBytes(folder / "kept.pdf", "the earlier file");
    {
        AtomicFileGroup group;
        ASSERT_TRUE(group.add((folder / "kept.pdf").string(), "new").ok());
        ASSERT_TRUE(group.add((folder / "new.pdf").string(), "new").ok());
    }
    EXPECT_EQ(readBytes(folder / "kept.pdf"), "the earlier file");
    EXPECT_EQ(entriesIn(folder), 1u);
}

}  // namespace
}  // namespace kbt2
