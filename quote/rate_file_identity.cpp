#include "quote/rate_file_identity.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <memory>
#include <vector>

namespace kbt2 {
namespace {

// The digest in lower-case hex digits.
std::string hex(const unsigned char* digest, unsigned int size) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(size_t{size} * 2);
    for (unsigned int i = 0; i < size; ++i) {
        out += kDigits[digest[i] >> 4];
        out += kDigits[digest[i] & 0xf];
    }
    return out;
}

}  // namespace

std::string sha256OfText(std::string_view text) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (!EVP_Digest(text.data(), text.size(), digest, &size, EVP_sha256(), nullptr)) return {};
    return hex(digest, size);
}

Sha256Stream::Sha256Stream() : context_(EVP_MD_CTX_new()) {
    sound_ = context_ && EVP_DigestInit_ex(context_.get(), EVP_sha256(), nullptr);
}

void Sha256Stream::Free::operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }

void Sha256Stream::add(const char* begin, const char* end) {
    if (sound_) sound_ = EVP_DigestUpdate(context_.get(), begin, static_cast<size_t>(end - begin));
}

std::string Sha256Stream::finish() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (!sound_ || !EVP_DigestFinal_ex(context_.get(), digest, &size)) return {};
    sound_ = false;
    return hex(digest, size);
}

// Read in large blocks straight into libcrypto's SHA-256, which uses the
// processor's SHA instructions where there are any: a national table of
// 600 MB takes about as long to hash as to read.
std::string sha256OfFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    Sha256Stream digest;
    std::vector<char> buffer(size_t{1} << 20);
    bool sound = true;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            sound = got == 0;
            break;
        }
        digest.add(buffer.data(), buffer.data() + got);
    }
    ::close(fd);
    return sound ? digest.finish() : std::string();
}

SummaryRateFile rateFileStamp(const std::string& path, std::uint64_t records) {
    RateFileContents now;
    now.records = records;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        SummaryRateFile file;
        file.path = path;
        file.records = records;
        return file;
    }
    now.size = static_cast<std::uint64_t>(info.st_size);
    now.modified = static_cast<std::int64_t>(info.st_mtime);
    return rateFileIdentity(path, now, {});
}

SummaryRateFile rateFileIdentity(const std::string& path, std::uint64_t records) {
    SummaryRateFile file = rateFileStamp(path, records);
    file.sha256 = sha256OfFile(path);
    return file;
}

void RateFileIdentities::fill(SummaryRateFile& file) {
    auto known = known_.find(file.path);
    if (known == known_.end()) known = known_.emplace(file.path, rateFileIdentity(file.path, file.records)).first;
    const bool sample = file.sample;
    file = known->second;
    file.sample = sample;
}

SummaryRateFile rateFileIdentity(const std::string& path, const RateFileContents& read, std::string sha256) {
    SummaryRateFile file;
    file.path = path;
    file.records = read.records;
    file.size = read.size;
    const auto modified = static_cast<std::time_t>(read.modified);
    std::tm local{};
    char when[32];
    if (localtime_r(&modified, &local) && std::strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%S", &local))
        file.modified = when;
    file.sha256 = std::move(sha256);
    return file;
}

}  // namespace kbt2
