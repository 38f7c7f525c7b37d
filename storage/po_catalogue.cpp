#include "storage/po_catalogue.h"

#include <algorithm>
#include <optional>
#include <set>
#include <utility>

#include "storage/text_encoding.h"

namespace kbt2 {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && (isBlank(text.back()) || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The text of a C string literal that makes up all of `quoted` (blanks
// after it allowed); none, with the reason, for anything else.
std::optional<std::string> unquoted(std::string_view quoted, std::string& reason) {
    if (quoted.empty() || quoted.front() != '"') {
        reason = "a string in double quotes was expected";
        return std::nullopt;
    }
    std::string text;
    size_t at = 1;
    for (;;) {
        if (at >= quoted.size()) {
            reason = "the string is not closed";
            return std::nullopt;
        }
        const char c = quoted[at++];
        if (c == '"') break;
        if (c != '\\') {
            text += c;
            continue;
        }
        if (at >= quoted.size()) {
            reason = "the string is not closed";
            return std::nullopt;
        }
        const char e = quoted[at++];
        int byte = -1;
        switch (e) {
        case 'n': byte = '\n'; break;
        case 't': byte = '\t'; break;
        case 'r': byte = '\r'; break;
        case 'a': byte = '\a'; break;
        case 'b': byte = '\b'; break;
        case 'f': byte = '\f'; break;
        case 'v': byte = '\v'; break;
        case '\\':
        case '"':
        case '\'':
        case '?': byte = static_cast<unsigned char>(e); break;
        case 'x': {
            int value = 0;
            size_t digits = 0;
            while (at < quoted.size() && hexValue(quoted[at]) >= 0 && digits < 2) {
                value = value * 16 + hexValue(quoted[at++]);
                ++digits;
            }
            if (digits > 0) byte = value;
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                int value = e - '0';
                for (int digits = 1; digits < 3 && at < quoted.size() && quoted[at] >= '0' && quoted[at] <= '7';
                     ++digits)
                    value = value * 8 + (quoted[at++] - '0');
                if (value <= 0xff) byte = value;
            }
        }
        if (byte < 0) {
            reason = std::string("the escape \\") + e + " is not known";
            return std::nullopt;
        }
        if (byte == 0) {
            reason = "a string holds a NUL byte";
            return std::nullopt;
        }
        text += static_cast<char>(byte);
    }
    if (!trimmed(quoted.substr(at)).empty()) {
        reason = "there is more on the line after the string";
        return std::nullopt;
    }
    return text;
}

// The character set a header's Content-Type names; empty when it names none.
std::string headerCharset(std::string_view header) {
    constexpr std::string_view kCharset = "charset=";
    const size_t at = header.find(kCharset);
    if (at == std::string_view::npos) return {};
    std::string name;
    for (size_t i = at + kCharset.size();
         i < header.size() && !isBlank(header[i]) && header[i] != '\n' && header[i] != ';'; ++i)
        name += static_cast<char>(header[i] >= 'a' && header[i] <= 'z' ? header[i] - 'a' + 'A' : header[i]);
    return name;
}

// Where the lines of an entry stand: what its last keyword was.
enum class Part { None, Context, Id, Plural, Str };

class Reader {
public:
    std::optional<PoFailure> line(std::string_view text, size_t number) {
        text = trimmed(text);
        if (text.empty()) return finishAt(number);
        if (text.starts_with("#~")) return finishAt(number);  // obsolete: kept by the tools, not translated
        if (text.front() == '#') {
            if (part_ != Part::None && part_ != Part::Str)
                return PoFailure{number, "a comment stands inside an entry, before its msgstr"};
            if (auto failure = finishAt(number)) return failure;
            if (text.starts_with("#,")) {
                std::string_view flags = text.substr(2);
                while (!flags.empty()) {
                    const size_t comma = flags.find(',');
                    if (trimmed(flags.substr(0, comma)) == "fuzzy") fuzzy_ = true;
                    flags = comma == std::string_view::npos ? std::string_view() : flags.substr(comma + 1);
                }
            }
            return std::nullopt;
        }
        if (text.front() == '"') {
            if (!target_) return PoFailure{number, "a string continues no keyword"};
            std::string reason;
            const auto more = unquoted(text, reason);
            if (!more) return PoFailure{number, reason};
            *target_ += *more;
            return std::nullopt;
        }
        const size_t end = std::min(text.find_first_of(" \t\""), text.size());
        const std::string_view keyword = text.substr(0, end);
        std::string reason;
        auto value = unquoted(trimmed(text.substr(end)), reason);
        if (!value) return PoFailure{number, std::string(keyword) + ": " + reason};
        return keywordLine(keyword, std::move(*value), number);
    }

    // The entries once every line is read.
    Outcome<std::vector<PoEntry>, PoFailure> finish(size_t lastLine) {
        if (auto failure = finishAt(lastLine)) return *failure;
        return std::move(entries_);
    }

private:
    std::optional<PoFailure> keywordLine(std::string_view keyword, std::string value, size_t number) {
        if (keyword == "msgctxt") {
            if (auto failure = finishAt(number)) return failure;
            if (part_ != Part::None) return PoFailure{number, "msgctxt stands inside an entry"};
            start(number);
            entry_.context = std::move(value);
            target_ = &entry_.context;
            part_ = Part::Context;
        } else if (keyword == "msgid") {
            if (part_ != Part::Context) {
                if (auto failure = finishAt(number)) return failure;
                start(number);
            }
            entry_.line = number;
            entry_.id = std::move(value);
            target_ = &entry_.id;
            part_ = Part::Id;
        } else if (keyword == "msgid_plural") {
            if (part_ != Part::Id) return PoFailure{number, "msgid_plural does not follow a msgid"};
            entry_.plural = true;
            scratch_ = std::move(value);
            target_ = &scratch_;
            part_ = Part::Plural;
        } else if (keyword == "msgstr") {
            if (part_ != Part::Id) return PoFailure{number, "msgstr does not follow a msgid without plural forms"};
            entry_.str = std::move(value);
            target_ = &entry_.str;
            part_ = Part::Str;
        } else if (keyword.starts_with("msgstr[") && keyword.ends_with("]")) {
            const std::string_view index = keyword.substr(7, keyword.size() - 8);
            const std::string expected = std::to_string(nextForm_);
            if (!entry_.plural || (part_ != Part::Plural && part_ != Part::Str) || index != expected)
                return PoFailure{number, std::string(keyword) + " is not the next plural form of a msgid_plural"};
            if (nextForm_ == 0) {
                entry_.str = std::move(value);
                target_ = &entry_.str;
            } else {
                scratch_ = std::move(value);
                target_ = &scratch_;
            }
            ++nextForm_;
            part_ = Part::Str;
        } else {
            return PoFailure{number, "unknown keyword " + std::string(keyword.substr(0, 40))};
        }
        return std::nullopt;
    }

    void start(size_t number) {
        entry_ = PoEntry{};
        entry_.fuzzy = std::exchange(fuzzy_, false);
        entry_.line = number;
        nextForm_ = 0;
    }

    // Ends the entry being read, if it is whole; a line that starts
    // something else came too early when it is not.
    std::optional<PoFailure> finishAt(size_t number) {
        if (part_ == Part::None || part_ == Part::Context) {
            if (part_ == Part::Context) return PoFailure{number, "msgctxt is not followed by a msgid"};
            return std::nullopt;
        }
        if (part_ != Part::Str) return PoFailure{entry_.line, "the msgid has no msgstr"};
        target_ = nullptr;
        part_ = Part::None;
        for (const std::string* text : {&entry_.context, &entry_.id, &entry_.str})
            if (!isValidUtf8(*text)) return PoFailure{entry_.line, "the entry is not UTF-8 text"};
        if (entry_.id.empty() && entry_.context.empty()) {
            const std::string charset = headerCharset(entry_.str);
            if (!charset.empty() && charset != "UTF-8" && charset != "CHARSET")
                return PoFailure{entry_.line, "the catalogue is in " + charset.substr(0, 40) + ", not UTF-8"};
        }
        if (!keys_.insert(entry_.context + '\4' + entry_.id).second)
            return PoFailure{entry_.line, "the same msgid stands twice"};
        entries_.push_back(std::move(entry_));
        return std::nullopt;
    }

    std::vector<PoEntry> entries_;
    std::set<std::string> keys_;
    PoEntry entry_;
    Part part_ = Part::None;
    std::string* target_ = nullptr;
    std::string scratch_;  // the plural forms past the first, not kept
    int nextForm_ = 0;
    bool fuzzy_ = false;
};

}  // namespace

Outcome<std::vector<PoEntry>, PoFailure> parsePoCatalogue(std::string_view text) {
    if (text.size() > kLargestPoCatalogue) return PoFailure{1, "the catalogue is larger than 4 MiB"};
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    Reader reader;
    size_t number = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        ++number;
        if (auto failure = reader.line(text.substr(0, end), number)) return *failure;
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return reader.finish(number + 1);
}

PoTable translationTable(const std::vector<PoEntry>& entries) {
    PoTable table;
    for (const PoEntry& entry : entries)
        if (!entry.id.empty() && entry.context.empty() && !entry.plural && !entry.fuzzy && !entry.str.empty())
            table.emplace(entry.id, entry.str);
    return table;
}

}  // namespace kbt2
