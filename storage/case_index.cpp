#include "storage/case_index.h"

#include <algorithm>
#include <charconv>
#include <set>

namespace kbt2 {
namespace {

constexpr std::string_view kVersionLine = "KBT2 case 1";
constexpr size_t kLongestFileName = 64;
constexpr size_t kLongestName = 256;  // bytes, escapes decoded
constexpr const char* kHex = "0123456789abcdef";

bool escaped(unsigned char c) { return c < 0x20 || c == 0x7F || c == '%'; }

std::string escapeName(std::string_view name) {
    std::string out;
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (escaped(c)) {
            out += '%';
            out += "0123456789ABCDEF"[c >> 4];
            out += "0123456789ABCDEF"[c & 0xF];
        } else {
            out += ch;
        }
    }
    return out;
}

int upperHexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Only what escapeName writes: every escaped byte as %XX (upper case), no
// other byte escaped, no bare control byte.
bool unescapeName(std::string_view text, std::string& name) {
    name.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) return false;
        if (c != '%') {
            name += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return false;
        const int high = upperHexDigit(text[i + 1]);
        const int low = upperHexDigit(text[i + 2]);
        if (high < 0 || low < 0) return false;
        const auto byte = static_cast<unsigned char>(high * 16 + low);
        if (!escaped(byte)) return false;
        name += static_cast<char>(byte);
        i += 2;
    }
    return true;
}

bool parseDecimal(std::string_view text, uint64_t& value) {
    if (text.empty() || text.size() > 19 || (text.size() > 1 && text[0] == '0')) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool parseHash(std::string_view text, uint64_t& value) {
    if (text.size() != 16) return false;
    value = 0;
    for (const char c : text) {
        const char* digit = std::find(kHex, kHex + 16, c);
        if (digit == kHex + 16) return false;
        value = value * 16 + static_cast<uint64_t>(digit - kHex);
    }
    return true;
}

std::string hashText(uint64_t value) {
    std::string out(16, '0');
    for (size_t i = 16; i-- > 0; value >>= 4) out[i] = kHex[value & 0xF];
    return out;
}

// Splits off the text up to the next blank; false when there is none.
bool nextWord(std::string_view& rest, std::string_view& word) {
    const size_t blank = rest.find(' ');
    if (blank == std::string_view::npos || blank == 0) return false;
    word = rest.substr(0, blank);
    rest.remove_prefix(blank + 1);
    return true;
}

bool parseFlags(std::string_view text, CaseIndexEntry& entry) {
    if (text == "-") return true;
    for (const char c : text) {
        bool* flag = c == 'c' ? &entry.current : c == 'p' ? &entry.paper : nullptr;
        if (!flag || *flag) return false;  // unknown or repeated
        *flag = true;
    }
    return !text.empty();
}

}  // namespace

FileFingerprint fingerprintOf(std::string_view bytes) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ull;
    }
    return {bytes.size(), hash};
}

bool isScenarioFileName(std::string_view name) {
    if (name.size() > kLongestFileName || name.size() <= 4 || name.front() == '.' || !name.ends_with(".wsk"))
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
               c == '.';
    });
}

std::string formatCaseIndex(const CaseIndex& index) {
    std::string out(kVersionLine);
    out += "\r\nbase " + std::to_string(index.base.size) + " " + hashText(index.base.hash) + "\r\n";
    for (const CaseIndexEntry& s : index.scenarios) {
        std::string flags = std::string(s.current ? "c" : "") + (s.paper ? "p" : "");
        out += "scenario " + (s.file.empty() ? std::string("-") : s.file) + " " + (flags.empty() ? "-" : flags) + " " +
               escapeName(s.name) + "\r\n";
    }
    return out;
}

std::variant<CaseIndex, CaseIndexError> parseCaseIndex(std::string_view text) {
    if (text.size() > kLargestCaseIndex) return CaseIndexError{1, "The index is far larger than any case's."};
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        if (end == std::string_view::npos)
            return CaseIndexError{static_cast<int>(lines.size() + 1), "The last line has no line end."};
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.push_back(line);
        text.remove_prefix(end + 1);
    }
    const auto error = [](size_t line, std::string what) {
        return CaseIndexError{static_cast<int>(line + 1), std::move(what)};
    };
    if (lines.empty() || lines[0] != kVersionLine) return error(0, "The first line is not \"KBT2 case 1\".");

    CaseIndex index;
    std::string_view rest = lines.size() > 1 ? lines[1] : std::string_view{};
    std::string_view word, size;
    if (!nextWord(rest, word) || word != "base" || !nextWord(rest, size) || !parseDecimal(size, index.base.size) ||
        !parseHash(rest, index.base.hash))
        return error(1, "The second line does not give the base file's size and hash.");

    std::set<std::string> names, files;
    size_t currents = 0;
    for (size_t i = 2; i < lines.size(); ++i) {
        if (index.scenarios.size() == kMostScenarioFiles) return error(i, "The index names too many scenarios.");
        rest = lines[i];
        std::string_view file, flags;
        CaseIndexEntry entry;
        if (!nextWord(rest, word) || word != "scenario" || !nextWord(rest, file) || !nextWord(rest, flags))
            return error(i, "The line is not a scenario's.");
        const bool base = index.scenarios.empty();
        if (base ? file != "-" : !isScenarioFileName(file) || !files.insert(std::string(file)).second)
            return error(i, base ? "The first scenario is not the base file's."
                                 : "The scenario's file name is not one the case writes, or is used twice.");
        if (!base) entry.file = std::string(file);
        if (!parseFlags(flags, entry)) return error(i, "The scenario's flags are not known.");
        if (!unescapeName(rest, entry.name) || entry.name.empty() || entry.name.size() > kLongestName ||
            entry.name.find('"') != std::string::npos || !names.insert(entry.name).second)
            return error(i,
                         "The scenario's name is empty, too long, not written as the case writes it, or used twice.");
        currents += entry.current ? 1 : 0;
        index.scenarios.push_back(std::move(entry));
    }
    if (index.scenarios.empty()) return error(lines.size(), "The index names no scenario.");
    if (currents != 1) return error(lines.size(), "The index does not name exactly one current scenario.");
    return index;
}

}  // namespace kbt2
