#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "rates/rate_record_scan.h"
#include "storage_test_support.h"

namespace kbt2 {
namespace {

using namespace storage_testing;
using rate_records::readBlocks;
using rate_records::readInTwo;

// A file of many blocks, each line different, so that a block lost, doubled
// or out of order shows.
std::string manyBlocksFile(const std::string& name) {
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "line " + std::to_string(i) + "\r\n";
    const auto path = scratchFolder("blocks") / name;
    writeBytes(path, text);
    return path.string();
}

// The tap has every block the scan has, in order, whether the blocks are
// read on a second thread (and tapped on a third) or in turn.
TEST(BlockTap, SeesTheWholeFileInOrderBesideTheScan) {
    const std::string path = manyBlocksFile("rates.prn");
    const std::string whole = readBytes(path);
    for (const size_t blockSize : {size_t{4096}, size_t{65536}, size_t{100}, size_t{1} << 20}) {
        std::string scanned, tapped;
        const auto error = readBlocks(
            path, blockSize, [&](const char* p, const char* end) { scanned.append(p, end); }, nullptr,
            [&](const char* p, const char* end) { tapped.append(p, end); });
        EXPECT_FALSE(error) << blockSize;
        EXPECT_EQ(scanned, whole) << blockSize;
        EXPECT_EQ(tapped, whole) << blockSize;
    }
}

// What the tap or the scan throws reaches the caller, and nothing waits
// for ever.
TEST(BlockTap, AThrowOnEitherSideReachesTheCaller) {
    const std::string path = manyBlocksFile("rates.prn");
    size_t blocks = 0;
    const auto throwing = [&](const char*, const char*) {
        if (++blocks == 3) throw std::runtime_error("stop");
    };
    const auto nothing = [](const char*, const char*) {};
    EXPECT_THROW((void)readBlocks(path, 4096, nothing, nullptr, throwing), std::runtime_error);
    blocks = 0;
    EXPECT_THROW((void)readBlocks(path, 4096, throwing, nullptr, nothing), std::runtime_error);
}

// Read in two parts, the parts make the whole file, the second beginning a
// line; a file too small for two is not read at all; what either part's
// handler throws reaches the caller.
TEST(BlockParts, MakeTheWholeFileAndThrowToTheCaller) {
    const std::string path = manyBlocksFile("rates.prn");
    const std::string whole = readBytes(path);
    std::string first, second;
    bool split = false;
    const auto error = readInTwo(
        path, 4096, [&](const char* p, const char* end) { first.append(p, end); },
        [&](const char* p, const char* end) { second.append(p, end); }, nullptr, split);
    ASSERT_TRUE(split);
    EXPECT_FALSE(error);
    EXPECT_EQ(first + second, whole);
    EXPECT_TRUE(first.ends_with("\r\n"));
    EXPECT_TRUE(second.starts_with("line "));

    const auto nothing = [](const char*, const char*) {};
    EXPECT_FALSE(readInTwo(path, whole.size(), nothing, nothing, nullptr, split));
    EXPECT_FALSE(split);

    const auto throwing = [](const char*, const char*) { throw std::runtime_error("stop"); };
    EXPECT_THROW((void)readInTwo(path, 4096, nothing, throwing, nullptr, split), std::runtime_error);
    EXPECT_THROW((void)readInTwo(path, 4096, throwing, nothing, nullptr, split), std::runtime_error);
}

}  // namespace
}  // namespace kbt2
