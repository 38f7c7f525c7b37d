#include "commands/rate_file_identity.h"

#include <sys/stat.h>

#include <array>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <vector>

namespace kbt2 {
namespace {

// SHA-256 as FIPS 180-4 gives it, fed block by block.
class Sha256 {
public:
    void add(const unsigned char* data, size_t size) {
        for (size_t i = 0; i < size; ++i) {
            block_[fill_++] = data[i];
            if (fill_ == block_.size()) {
                compress();
                fill_ = 0;
            }
        }
        length_ += size;
    }

    std::string hex() {
        const std::uint64_t bits = length_ * 8;
        const unsigned char one = 0x80;
        const unsigned char zero = 0;
        add(&one, 1);
        while (fill_ != 56) add(&zero, 1);
        for (int i = 7; i >= 0; --i) {
            const auto byte = static_cast<unsigned char>(bits >> (i * 8));
            add(&byte, 1);
        }
        std::string out;
        char digits[9];
        for (std::uint32_t word : state_) {
            std::snprintf(digits, sizeof digits, "%08x", word);
            out += digits;
        }
        return out;
    }

private:
    static std::uint32_t rotate(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

    void compress() {
        static constexpr std::uint32_t k[64] = {
            0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
            0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
            0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
            0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
            0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
            0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
            0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
            0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};
        std::array<std::uint32_t, 64> w{};
        for (size_t i = 0; i < 16; ++i)
            w[i] = static_cast<std::uint32_t>(block_[i * 4]) << 24 |
                   static_cast<std::uint32_t>(block_[i * 4 + 1]) << 16 |
                   static_cast<std::uint32_t>(block_[i * 4 + 2]) << 8 | block_[i * 4 + 3];
        for (size_t i = 16; i < 64; ++i) {
            const std::uint32_t s0 = rotate(w[i - 15], 7) ^ rotate(w[i - 15], 18) ^ (w[i - 15] >> 3);
            const std::uint32_t s1 = rotate(w[i - 2], 17) ^ rotate(w[i - 2], 19) ^ (w[i - 2] >> 10);
            w[i] = w[i - 16] + s0 + w[i - 7] + s1;
        }
        auto [a, b, c, d, e, f, g, h] = state_;
        for (size_t i = 0; i < 64; ++i) {
            const std::uint32_t t1 =
                h + (rotate(e, 6) ^ rotate(e, 11) ^ rotate(e, 25)) + ((e & f) ^ (~e & g)) + k[i] + w[i];
            const std::uint32_t t2 = (rotate(a, 2) ^ rotate(a, 13) ^ rotate(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
            h = g;
            g = f;
            f = e;
            e = d + t1;
            d = c;
            c = b;
            b = a;
            a = t1 + t2;
        }
        const std::array<std::uint32_t, 8> next{a, b, c, d, e, f, g, h};
        for (size_t i = 0; i < 8; ++i) state_[i] += next[i];
    }

    std::array<std::uint32_t, 8> state_{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                        0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::array<unsigned char, 64> block_{};
    size_t fill_ = 0;
    std::uint64_t length_ = 0;
};

}  // namespace

std::string sha256OfText(std::string_view text) {
    Sha256 hash;
    hash.add(reinterpret_cast<const unsigned char*>(text.data()), text.size());
    return hash.hex();
}

std::string sha256OfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    Sha256 hash;
    std::vector<char> buffer(size_t{1} << 16);
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        hash.add(reinterpret_cast<const unsigned char*>(buffer.data()), static_cast<size_t>(in.gcount()));
    }
    if (in.bad()) return {};
    return hash.hex();
}

SummaryRateFile rateFileIdentity(const std::string& path, std::uint64_t records) {
    SummaryRateFile file;
    file.path = path;
    file.records = records;
    struct stat info {};
    if (stat(path.c_str(), &info) == 0) {
        file.size = static_cast<std::uint64_t>(info.st_size);
        std::tm local{};
        char when[32];
        if (localtime_r(&info.st_mtime, &local) && std::strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%S", &local))
            file.modified = when;
    }
    file.sha256 = sha256OfFile(path);
    return file;
}

}  // namespace kbt2
