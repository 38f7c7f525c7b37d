// The rate file's identity: the SHA-256 against the digests FIPS 180-4 and
// sha256sum give, and size and time of a file written here.

#include "quote/rate_file_identity.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

namespace kbt2 {
namespace {

struct DigestCase {
    std::string text;
    const char* digest;
};

class Sha256Digest : public testing::TestWithParam<DigestCase> {};

TEST_P(Sha256Digest, MatchesTheKnownDigest) { EXPECT_EQ(sha256OfText(GetParam().text), GetParam().digest); }

// Taken block by block as a reading hands the blocks over, in pieces of 1,
// 7 and 64 bytes, the digest is the same.
TEST_P(Sha256Digest, IsTheSameTakenInPieces) {
    const std::string& text = GetParam().text;
    for (const size_t piece : {size_t{1}, size_t{7}, size_t{64}}) {
        Sha256Stream digest;
        for (size_t at = 0; at < text.size(); at += piece)
            digest.add(text.data() + at, text.data() + std::min(text.size(), at + piece));
        EXPECT_EQ(digest.finish(), GetParam().digest) << piece;
    }
}

// The empty text, one block, two blocks, and 56 bytes (the padding then
// needs a block of its own).
INSTANTIATE_TEST_SUITE_P(
    Texts, Sha256Digest,
    testing::Values(DigestCase{"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
                    DigestCase{"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
                    DigestCase{"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
                               "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
                    DigestCase{std::string(1000, 'a'),
                               "41edece42d63e8d9bf515a9ba6932e1c20cbc9f5a5d134645adb5db1b9737ea3"}));

TEST(RateFileIdentity, GivesSizeTimeDigestAndTheRecordsRead) {
    const auto path = std::filesystem::path(KBT2_TEST_SCRATCH_DIR) / "identity" / "Ratefile.prn";
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << "abc";
    const SummaryRateFile file = rateFileIdentity(path.string(), 7);
    EXPECT_EQ(file.path, path.string());
    EXPECT_EQ(file.size, 3U);
    EXPECT_EQ(file.records, 7U);
    EXPECT_EQ(file.sha256, sha256OfText("abc"));
    ASSERT_EQ(file.modified.size(), 19U) << file.modified;
    EXPECT_EQ(file.modified[10], 'T');

    // Without the digest, all the rest.
    const SummaryRateFile stamp = rateFileStamp(path.string(), 7);
    EXPECT_EQ(stamp.size, 3U);
    EXPECT_EQ(stamp.modified, file.modified);
    EXPECT_EQ(stamp.sha256, "");

    const SummaryRateFile gone = rateFileIdentity((path.parent_path() / "none.prn").string(), 0);
    EXPECT_TRUE(gone.sha256.empty());
    EXPECT_TRUE(gone.modified.empty());
}

// A batch hashes each rate file once: a later quote from the same file gets
// the identity first read, with its own sample flag.
TEST(RateFileIdentities, ReadEachFileOnceAndKeepEachQuotesSampleFlag) {
    const auto folder = std::filesystem::path(KBT2_TEST_SCRATCH_DIR) / "identities";
    std::filesystem::create_directories(folder);
    const std::string first = (folder / "Ratefile.prn").string();
    const std::string other = (folder / "Other.prn").string();
    std::ofstream(first, std::ios::binary) << "abc";
    std::ofstream(other, std::ios::binary) << "abcd";
    RateFileIdentities identities;

    SummaryRateFile quoted{first, 0, {}, {}, 7, true};
    identities.fill(quoted);
    EXPECT_EQ(quoted.sha256, sha256OfText("abc"));
    EXPECT_EQ(quoted.size, 3U);
    EXPECT_EQ(quoted.records, 7U);
    EXPECT_TRUE(quoted.sample);

    std::ofstream(first, std::ios::binary) << "changed since";
    SummaryRateFile again{first, 0, {}, {}, 7, false};
    identities.fill(again);
    EXPECT_EQ(again.sha256, sha256OfText("abc"));
    EXPECT_EQ(again.size, 3U);
    EXPECT_FALSE(again.sample);

    SummaryRateFile elsewhere{other, 0, {}, {}, 2, false};
    identities.fill(elsewhere);
    EXPECT_EQ(elsewhere.sha256, sha256OfText("abcd"));
    EXPECT_EQ(elsewhere.records, 2U);
}

}  // namespace
}  // namespace kbt2
