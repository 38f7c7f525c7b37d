#include "app/quote/quote_format.h"

#include <string_view>

#include "app/json/json_writer.h"
#include "app/quote/quote_details.h"

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

// Every line ends with whose worksheet it is and which scenario of its case,
// so that a spreadsheet tells the lines apart without the file names.
std::string csvLines(const WorksheetQuote& quote) {
    const std::string head = csvText(quote.file) + (quote.ok ? ",ok," : ",error,") + csvText(oneLine(quote.message)) +
                             "," + csvText(joinedWarnings(quote));
    const std::string tail = "," + csvText(quote.producer) + "," + csvText(quote.county) + "," +
                             csvText(quote.scenario) + std::string(kCsvLineEnd);
    if (!quote.ok || quote.levels.empty()) {
        std::string line = head;
        for (size_t i = 0; i < 1 + std::size(kLevelColumnNames) + std::size(kTotalColumns); ++i) line += ',';
        return line + tail;
    }
    std::string lines;
    for (const LevelQuote& level : quote.levels) {
        lines += head + "," + csvField(level.coverage);
        for (const std::string& figure : level.figures) lines += "," + csvField(figure);
        for (const std::string& total : quote.totals) lines += "," + csvField(total);
        lines += tail;
    }
    return lines;
}

// A level's coverage and, in the order of the premium table's rows, its
// figures, each as the page shows it.
std::string levelJson(const LevelQuote& level) {
    json::Object object;
    object.text("coverage", level.coverage);
    for (size_t k = 0; k < level.figures.size(); ++k) object.text(kLevelColumnNames[k], level.figures[k]);
    return object.done();
}

std::string quotedText(const std::string& text) { return json::escaped(text); }

}  // namespace

std::string jsonObject(const WorksheetQuote& quote) {
    json::Object object;
    object.text("file", quote.file)
        .text("status", quote.ok ? "ok" : "error")
        .text("message", quote.message)
        .raw("warnings", json::arrayOf(quote.warnings, quotedText))
        .raw("levels", json::arrayOf(quote.levels, levelJson));
    if (!quote.unrated.empty())
        object.raw("no_rate_record", json::arrayOf(quote.unrated, [](const WorksheetQuote::Unrated& row) {
                       return json::escaped(row.code);
                   }));
    for (size_t k = 0; k < quote.totals.size(); ++k) object.text(kTotalColumns[k].name, quote.totals[k]);
    object.text("scenario", quote.scenario);
    if (quote.details) object.raw("details", detailsJson(*quote.details));
    return object.done();
}

std::string headerOf(OutputFormat format) {
    if (format == OutputFormat::Jsonl) return {};
    std::string header = "file,status,message,warnings,coverage";
    for (const char* name : kLevelColumnNames) header += std::string(",") + name;
    for (const QuoteColumn& c : kTotalColumns) header += std::string(",") + c.name;
    return header + ",producer,county,scenario" + std::string(kCsvLineEnd);
}

std::string linesOf(const WorksheetQuote& quote, OutputFormat format) {
    return format == OutputFormat::Csv ? csvLines(quote) : jsonObject(quote) + "\n";
}

}  // namespace kbt2::quote
