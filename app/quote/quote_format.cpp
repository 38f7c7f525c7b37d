#include "app/quote/quote_format.h"

#include <cstdio>
#include <string_view>

#include "app/quote/quote_details.h"
#include "storage/text_encoding.h"

namespace kbt2::quote {

// RFC 4180: a field holding a comma, a quote or a line break is quoted,
// its quotes doubled.
std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string csvText(std::string_view text) {
    if (text.empty() || std::string_view("=+-@\t\r").find(text.front()) == std::string_view::npos)
        return csvField(text);
    return csvField("'" + std::string(text));
}

// A message's line breaks (CR, or CR LF) become one blank each, so that an
// error stays on one line.
std::string oneLine(std::string_view text) {
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            line += ' ';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += text[i];
        }
    }
    return line;
}

namespace {

std::string joinedWarnings(const WorksheetQuote& quote) {
    std::string joined;
    for (const std::string& w : quote.warnings) joined += (joined.empty() ? "" : ";") + w;
    return joined;
}

std::string csvLines(const WorksheetQuote& quote) {
    const std::string head = csvText(quote.file) + (quote.ok ? ",ok," : ",error,") + csvText(oneLine(quote.message)) +
                             "," + csvText(joinedWarnings(quote));
    if (!quote.ok || quote.levels.empty()) {
        std::string line = head;
        for (size_t i = 0; i < 1 + std::size(kLevelColumnNames) + std::size(kTotalColumns); ++i) line += ',';
        return line + std::string(kCsvLineEnd);
    }
    std::string lines;
    for (const LevelQuote& level : quote.levels) {
        lines += head + "," + csvField(level.coverage);
        for (const std::string& figure : level.figures) lines += "," + csvField(figure);
        for (const std::string& total : quote.totals) lines += "," + csvField(total);
        lines += kCsvLineEnd;
    }
    return lines;
}

}  // namespace

// A JSON string: quotes, backslashes and control characters escaped; other
// bytes as they stand (a worksheet's texts are UTF-8 already). A file name
// that is not UTF-8 would make the line no JSON at all, so it is read as
// Windows-1252, as a worksheet file of an older installation is.
std::string jsonString(std::string_view text) {
    const std::string utf8 = isValidUtf8(text) ? std::string(text) : windows1252ToUtf8(text);
    std::string out = "\"";
    for (const char c : utf8) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + '"';
}

std::string jsonObject(const WorksheetQuote& quote) {
    std::string line = "{\"file\":" + jsonString(quote.file) + ",\"status\":" + (quote.ok ? "\"ok\"" : "\"error\"") +
                       ",\"message\":" + jsonString(quote.message) + ",\"warnings\":[";
    for (size_t i = 0; i < quote.warnings.size(); ++i) line += (i ? "," : "") + jsonString(quote.warnings[i]);
    line += "],\"levels\":[";
    for (size_t i = 0; i < quote.levels.size(); ++i) {
        const LevelQuote& level = quote.levels[i];
        line += std::string(i ? "," : "") + "{\"coverage\":" + jsonString(level.coverage);
        for (size_t k = 0; k < level.figures.size(); ++k)
            line += ",\"" + std::string(kLevelColumnNames[k]) + "\":" + jsonString(level.figures[k]);
        line += "}";
    }
    line += "]";
    if (!quote.unrated.empty()) {
        line += ",\"no_rate_record\":[";
        for (size_t i = 0; i < quote.unrated.size(); ++i) line += (i ? "," : "") + jsonString(quote.unrated[i].code);
        line += "]";
    }
    for (size_t k = 0; k < quote.totals.size(); ++k)
        line += ",\"" + std::string(kTotalColumns[k].name) + "\":" + jsonString(quote.totals[k]);
    if (quote.details) line += ",\"details\":" + detailsJson(*quote.details);
    return line + "}";
}

std::string headerOf(OutputFormat format) {
    if (format == OutputFormat::Jsonl) return {};
    std::string header = "file,status,message,warnings,coverage";
    for (const char* name : kLevelColumnNames) header += std::string(",") + name;
    for (const QuoteColumn& c : kTotalColumns) header += std::string(",") + c.name;
    return header + std::string(kCsvLineEnd);
}

std::string linesOf(const WorksheetQuote& quote, OutputFormat format) {
    return format == OutputFormat::Csv ? csvLines(quote) : jsonObject(quote) + "\n";
}

}  // namespace kbt2::quote
