#include "storage/worksheet_file_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "calc/numbers.h"
#include "worksheet/report_rows.h"

namespace kbt2 {
namespace {

// How the lines of one record are written and read.
enum class Block {
    Text,     // one text line of the field
    Texts,    // one text line per element of the array, index 0 first
    Rows,     // the 14 commodity report rows, each as its eight fields
    Marker,   // the literal naming the selected option of a page-1 pair
    Options,  // a flag line, then the selected option's index when the flag is 1
    Checks,   // a count line, then the index of every checked box, ascending
};

struct RecordRow {
    Block block;
    Control control;
    int index = 0;
};

// clang-format off
constexpr RecordRow kRecordTable[] = {
    {Block::Text,    Control::Producer1},
    {Block::Text,    Control::Producer2},
    {Block::Text,    Control::Producer3},
    {Block::Text,    Control::InsuranceYear},
    {Block::Text,    Control::MPCI},
    {Block::Text,    Control::TaxEntity},
    {Block::Text,    Control::ProducerPhone},
    {Block::Text,    Control::SSNEIN},
    {Block::Text,    Control::Agent1},
    {Block::Text,    Control::Agent2},
    {Block::Text,    Control::Agent3},
    {Block::Text,    Control::AgentPhone},
    {Block::Text,    Control::AgentCode},
    {Block::Marker,  Control::SSN},
    {Block::Marker,  Control::IRSCash},
    {Block::Text,    Control::Infobox},
    {Block::Options, Control::St},
    {Block::Options, Control::Mi1},
    {Block::Options, Control::Me1},
    {Block::Options, Control::Ma1},
    {Block::Options, Control::Nh1},
    {Block::Options, Control::Fl1},
    {Block::Texts,   Control::Allinc1},
    {Block::Texts,   Control::Allexp1},
    {Block::Text,    Control::Totalinc},
    {Block::Text,    Control::Averageinc},
    {Block::Text,    Control::Text29},
    {Block::Text,    Control::Totalexp},
    {Block::Text,    Control::Averageexp},
    {Block::Text,    Control::Text30},
    {Block::Text,    Control::GrowthFact},
    {Block::Checks,  Control::Crop},
    {Block::Checks,  Control::Crop1},
    {Block::Checks,  Control::Crop2},
    {Block::Rows,    Control::Cropname1},
    {Block::Text,    Control::Text15, 1},
    {Block::Text,    Control::Projkbt},
    {Block::Text,    Control::Text15, 0},
    {Block::Text,    Control::Text21},
    {Block::Text,    Control::Croptext},
    {Block::Texts,   Control::Text23},
    {Block::Texts,   Control::Text24},
    {Block::Texts,   Control::Text25},
    {Block::Texts,   Control::Text26},
    {Block::Texts,   Control::Text27},
    {Block::Texts,   Control::Text28},
    {Block::Texts,   Control::Text16},
    {Block::Texts,   Control::Text17},
    {Block::Texts,   Control::Text18},
};

// The literal that names each option of the two page-1 pairs.
struct MarkerLiteral {
    Control option;
    std::string_view literal;
};
constexpr MarkerLiteral kMarkers[] = {
    {Control::SSN,     "SSN"},
    {Control::EIN,     "EIN"},
    {Control::IRSCash, "IRScash"},
    {Control::IRSAcc,  "IRSacc"},
};
// clang-format on

// The record table with every Texts and Rows block spread into single text
// records, so the writer and the reader both see one record per value.
struct Record {
    Block block;  // never Texts or Rows
    FieldRef field;
};

std::vector<Record> spreadRecords() {
    std::vector<Record> records;
    for (const RecordRow& entry : kRecordTable) {
        switch (entry.block) {
        case Block::Texts:
            for (int i = 0; i < info(entry.control).elements; ++i) records.push_back({Block::Text, {entry.control, i}});
            break;
        case Block::Rows:
            for (int row = 0; row < kReportRows; ++row)
                for (const Control field : kReportRowFields) records.push_back({Block::Text, {field, row}});
            break;
        default: records.push_back({entry.block, {entry.control, entry.index}}); break;
        }
    }
    return records;
}

const std::vector<Record>& records() {
    static const std::vector<Record> all = spreadRecords();
    return all;
}

// The options of the page-1 pair that `first` belongs to, with their literals.
std::vector<MarkerLiteral> markerPair(Control first) {
    std::vector<MarkerLiteral> pair;
    for (const MarkerLiteral& m : kMarkers)
        if (info(m.option).group == info(first).group) pair.push_back(m);
    return pair;
}

constexpr std::string_view kLineEnd = "\r\n";

// A text's own CR LF line breaks become bare line feeds, so that CR LF only
// ever ends a record. Every other character, a lone CR included, is kept.
std::string withBareLineFeeds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

class Writer {
public:
    void text(std::string_view value) {
        out_ += withBareLineFeeds(value);
        out_ += kLineEnd;
    }
    // A blank where a sign would stand, the digits, a blank.
    void number(int value) {
        out_ += ' ';
        out_ += std::to_string(value);
        out_ += ' ';
        out_ += kLineEnd;
    }
    std::string take() { return std::move(out_); }

private:
    std::string out_;
};

// ---- reading ----

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    // The next line without its CR LF; a last line without one still counts.
    std::optional<std::string_view> next() {
        if (pos_ >= text_.size()) return std::nullopt;
        const size_t end = text_.find(kLineEnd, pos_);
        const size_t stop = end == std::string_view::npos ? text_.size() : end;
        const std::string_view line = text_.substr(pos_, stop - pos_);
        pos_ = end == std::string_view::npos ? text_.size() : end + kLineEnd.size();
        ++number_;
        return line;
    }
    int lineNumber() const { return number_; }

private:
    std::string_view text_;
    size_t pos_ = 0;
    int number_ = 0;
};

struct Failed {
    LoadError error;
};

std::string_view trimBlanks(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

class Parser {
public:
    explicit Parser(std::string_view text) : reader_(text) {}

    LoadPlan run() {
        plan_.steps.reserve(records().size());  // about one step a record: no moving of steps while they pile up
        for (const Record& record : records()) {
            switch (record.block) {
            case Block::Text: add(LoadStep::Kind::SetText, record.field, textLine(record.field)); break;
            case Block::Marker: marker(record.field.control); break;
            case Block::Options: options(record.field.control); break;
            case Block::Checks: checks(record.field.control); break;
            default: break;
            }
        }
        return std::move(plan_);
    }

private:
    std::string_view line(const std::string& what) {
        const auto got = reader_.next();
        if (!got) endsEarly(what);
        return *got;
    }

    // A field's name is spelled out only when the file ends early: nearly
    // every line of a worksheet file is a text, and Load is run in bulk.
    std::string_view textLine(FieldRef field) {
        const auto got = reader_.next();
        if (!got) endsEarly(refName(field));
        return *got;
    }

    [[noreturn]] void endsEarly(const std::string& what) {
        const int missing = reader_.lineNumber() + 1;
        throw Failed{
            {missing, "The file ends before line " + std::to_string(missing) + ", which should hold " + what + "."}};
    }

    void add(LoadStep::Kind kind, FieldRef field, std::string_view text = {}) {
        plan_.steps.push_back({kind, field, std::string(text)});
    }

    // Anything but an exact literal selects nothing.
    void marker(Control first) {
        const std::vector<MarkerLiteral> pair = markerPair(first);
        const std::string_view got =
            line("the marker " + std::string(pair[0].literal) + " or " + std::string(pair[1].literal));
        for (const MarkerLiteral& m : pair)
            if (got == m.literal) add(LoadStep::Kind::Select, {m.option, 0});
    }

    void options(Control group) {
        const std::string name(info(group).name);
        if (numericValue(line("the flag of " + name)) == 0) return;
        add(LoadStep::Kind::Select, {group, index(group, "the index of the selected " + name + " option")});
    }

    // The index lines are read while k = 0, 1, 2, ... is below the count, so
    // a fractional count reads one line more than its whole part; a count
    // past what the file holds runs into its end.
    void checks(Control array) {
        const std::string name(info(array).name);
        const double count = numericValue(line("the number of checked " + name + " boxes"));
        const long long lines = count > 0 ? static_cast<long long>(std::min(std::ceil(count), 1e15)) : 0;
        for (long long k = 0; k < lines; ++k)
            add(LoadStep::Kind::Check, {array, index(array, "the index of a checked " + name + " box")});
    }

    int index(Control array, const std::string& what) {
        const std::string_view raw = line(what);
        const int number = reader_.lineNumber();
        const std::string_view digits = trimBlanks(raw);
        long long value = 0;
        const char* begin = digits.data();
        const char* end = digits.data() + digits.size();
        // One sign at most: from_chars takes a minus, a plus is skipped here.
        if (begin != end && *begin == '+' && begin + 1 != end && begin[1] != '-') ++begin;
        const auto [stop, error] = std::from_chars(begin, end, value);
        const bool whole =
            begin != end && stop == end && (error == std::errc() || error == std::errc::result_out_of_range);
        if (!whole)
            throw Failed{{number, "Line " + std::to_string(number) + " should hold " + what +
                                      ", a whole number, but holds \"" + std::string(raw) + "\"."}};
        const int size = info(array).elements;
        if (error != std::errc() || value < 0 || value >= size)
            throw Failed{{number, "Line " + std::to_string(number) + " holds " + std::string(digits) +
                                      ", which is not an index of " + std::string(info(array).name) + " (0 to " +
                                      std::to_string(size - 1) + ")."}};
        return static_cast<int>(value);
    }

    Reader reader_;
    LoadPlan plan_;
};

}  // namespace

std::string formatWorksheetFile(const Worksheet& ws) {
    Writer out;
    for (const Record& record : records()) {
        const Control control = record.field.control;
        switch (record.block) {
        case Block::Text: out.text(ws.text(record.field)); break;
        case Block::Marker: {
            // Exactly one option of a pair is selected; should none be, an
            // empty line keeps every later record in its place.
            std::string_view literal;
            for (const MarkerLiteral& m : markerPair(control))
                if (literal.empty() && ws.selected({m.option, 0})) literal = m.literal;
            out.text(literal);
            break;
        }
        case Block::Options: {
            // A group holds at most one selected option.
            const int selected = ws.selectedIndex(control);
            out.number(selected >= 0 ? 1 : 0);
            if (selected >= 0) out.number(selected);
            break;
        }
        case Block::Checks: {
            // Every checked box is listed, however many there are.
            std::vector<int> checked;
            for (int i = 0; i < info(control).elements; ++i)
                if (ws.checked({control, i})) checked.push_back(i);
            out.number(static_cast<int>(checked.size()));
            for (const int i : checked) out.number(i);
            break;
        }
        default: break;
        }
    }
    return out.take();
}

std::variant<LoadPlan, LoadError> parseWorksheetFile(std::string_view text) {
    try {
        return Parser(text).run();
    } catch (const Failed& failed) {
        return failed.error;
    }
}

void applyLoadPlan(Worksheet& ws, const LoadPlan& plan) {
    for (const LoadStep& step : plan.steps) {
        switch (step.kind) {
        case LoadStep::Kind::SetText: ws.setText(step.field, step.text); break;
        case LoadStep::Kind::Select: ws.select(step.field); break;
        case LoadStep::Kind::Check: ws.setChecked(step.field, true); break;
        }
    }
}

}  // namespace kbt2
