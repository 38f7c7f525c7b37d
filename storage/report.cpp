#include "storage/report.h"

#include <string_view>

#include "calc/numbers.h"
#include "worksheet/premium_rows.h"
#include "worksheet/report_rows.h"

namespace kbt2 {
namespace {

// Characters, not bytes: a UTF-8 continuation byte takes no column.
size_t columnsOf(std::string_view text) {
    size_t n = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

// One line of plain text being laid out, as the stand-in printer prints it.
class PlainLine {
public:
    void text(std::string_view t) {
        text_ += t;
        width_ += columnsOf(t);
    }
    // Past column n already: the line ends into `finished` and the next
    // begins at column n.
    void moveTo(int column, std::vector<std::string>& finished) {
        const size_t target = column > 1 ? static_cast<size_t>(column - 1) : 0;
        if (width_ > target) {
            finished.push_back(std::move(text_));
            text_.clear();
            width_ = 0;
        }
        text_.append(target - width_, ' ');
        width_ = target;
    }
    size_t width() const { return width_; }
    std::string take() { return std::move(text_); }

private:
    std::string text_;
    size_t width_ = 0;
};

// An item of the report's description: a literal, a field, or a column move.
struct Item {
    enum class Kind { Literal, Field, Column };
    Kind kind;
    std::string_view literal;
    FieldRef field{Control::Producer1};
    int column = 0;
};
Item lit(std::string_view text) { return {Item::Kind::Literal, text}; }
Item fld(Control c, int index = 0) { return {Item::Kind::Field, {}, {c, index}}; }
Item col(int n) { return {Item::Kind::Column, {}, {Control::Producer1}, n}; }

// The lines of a field's text; CR LF, CR and LF all end a line.
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

class Composer {
public:
    explicit Composer(const Worksheet& ws) : ws_(ws) {}

    void line(const std::vector<Item>& items) {
        PrintLine current;
        PlainLine plain;  // tracks the column, for fields of several lines
        std::vector<std::string> scratch;
        for (const Item& item : items) {
            switch (item.kind) {
            case Item::Kind::Literal:
                current.push_back(PrintItem::textItem(std::string(item.literal)));
                plain.text(item.literal);
                break;
            case Item::Kind::Column:
                current.push_back(PrintItem::columnItem(item.column));
                plain.moveTo(item.column, scratch);
                break;
            case Item::Kind::Field: {
                const std::vector<std::string_view> parts = linesOf(ws_.text(item.field));
                const int startColumn = static_cast<int>(plain.width()) + 1;
                for (size_t k = 0; k < parts.size(); ++k) {
                    if (k > 0) {
                        doc_.lines.push_back(std::move(current));
                        current = {PrintItem::columnItem(startColumn)};
                        plain = {};
                        plain.moveTo(startColumn, scratch);
                    }
                    if (!parts[k].empty()) current.push_back(PrintItem::textItem(std::string(parts[k])));
                    plain.text(parts[k]);
                }
                break;
            }
            }
        }
        doc_.lines.push_back(std::move(current));
    }
    void blank(int count = 1) {
        for (int i = 0; i < count; ++i) doc_.lines.emplace_back();
    }
    void rule(size_t width) { doc_.lines.push_back({PrintItem::textItem(std::string(width, '-'))}); }

    PrintDocument take() { return std::move(doc_); }

private:
    const Worksheet& ws_;
    PrintDocument doc_;
};

// The column each field of a commodity row starts in, one per report row
// field; the first starts the line.
constexpr int kCommodityColumns[] = {0, 21, 32, 44, 53, 69, 85, 98};
static_assert(std::size(kCommodityColumns) == std::size(kReportRowFields));

// The label of each premium row, top to bottom; per coverage level, the
// column its caption and the column its values start in.
// clang-format off
constexpr std::string_view kPremiumLabels[] = {
    "Indemnity Threshold",
    "Weighted Average Rate",
    "Diversification Factor",
    "KBT Rate",
    "KBT Liability",
    "Net KBT Liability",
    "Gross Premium",
    "Subsidy",
    "Producer Premium",
};
// clang-format on
static_assert(std::size(kPremiumLabels) == std::size(kPremiumRows));
constexpr int kPremiumCaptionColumns[] = {35, 46, 57};
constexpr int kPremiumValueColumns[] = {32, 44, 56};
static_assert(std::size(kPremiumCaptionColumns) == kPremiumColumns);
static_assert(std::size(kPremiumValueColumns) == kPremiumColumns);

void commodityRow(Composer& r, int row) {
    std::vector<Item> items;
    for (size_t k = 0; k < std::size(kReportRowFields); ++k) {
        if (k > 0) items.push_back(col(kCommodityColumns[k]));
        items.push_back(fld(kReportRowFields[k], row));
    }
    r.line(items);
}

void premiumRow(Composer& r, size_t row) {
    std::vector<Item> items = {lit(kPremiumLabels[row])};
    for (int level = 0; level < kPremiumColumns; ++level) {
        items.push_back(col(kPremiumValueColumns[level]));
        items.push_back(fld(kPremiumRows[row], level));
    }
    r.line(items);
}

// The number of commodity rows to print, read once: the count the premium
// calculation left in Croptext, but never more rows than exist.
int printedRows(const Worksheet& ws) {
    const double n = numericValue(ws.text({Control::Croptext}));
    int rows = 0;
    while (rows < kReportRows && rows < n) ++rows;
    return rows;
}

}  // namespace

PrintDocument composeReport(const Worksheet& ws) {
    using C = Control;
    Composer r(ws);
    r.line({lit("Producer Information"), col(50), lit("Agency Information")});
    r.blank();
    r.line({fld(C::Producer1), col(50), fld(C::Agent1)});
    r.line({fld(C::Producer2), col(50), fld(C::Agent2)});
    r.line({fld(C::Producer3), col(50), fld(C::Agent3)});
    r.blank();
    r.line({lit("Phone Number:"), col(25), fld(C::ProducerPhone), col(50), lit("Phone Number:"), col(75),
            fld(C::AgentPhone)});
    r.blank();
    if (ws.selected({C::SSN}))
        r.line({lit("SSN:"), col(25), fld(C::SSNEIN), col(50), lit("Agent Code:"), col(75), fld(C::AgentCode)});
    if (ws.selected({C::EIN}))
        r.line({lit("EIN:"), col(25), fld(C::SSNEIN), col(50), lit("Agent Code:"), col(75), fld(C::AgentCode)});
    r.blank();
    r.line({lit("Type of Tax Entity:"), col(25), fld(C::TaxEntity)});
    r.blank();
    if (ws.selected({C::IRSCash})) r.line({lit("IRS Accounting Method:"), col(30), lit("Cash")});
    if (ws.selected({C::IRSAcc})) r.line({lit("IRS Accounting Method:"), col(30), lit("Accrural")});
    r.blank();
    r.line({lit("Insurance Year:"), col(25), fld(C::InsuranceYear)});
    r.blank();
    r.line({lit("State(s):"), col(25), fld(C::statename)});
    r.blank(2);
    r.line({lit("County(ies):"), col(25), fld(C::countyname)});
    r.blank(2);
    r.line({lit("Liability for MPCI:"), col(25), fld(C::MPCI)});
    r.blank();

    r.line({col(30), lit("Kelbrant")});
    r.rule(84);
    r.line({lit("   Tax Year"), col(20), lit("Allowable Income"), col(44), lit("Allowable Expenses")});
    r.line({lit("     1993"), col(22), fld(C::Allinc1, 0), col(46), fld(C::Allexp1, 0)});
    r.line({lit("     1994"), col(22), fld(C::Allinc1, 1), col(46), fld(C::Allexp1, 1)});
    r.line({lit("     1995"), col(22), fld(C::Allinc1, 2), col(46), fld(C::Allexp1, 2)});
    r.line({lit("     1996"), col(22), fld(C::Allinc1, 3), col(46), fld(C::Allexp1, 3)});
    r.line({lit("     1997"), col(22), fld(C::Allinc1, 4), col(46), fld(C::Allexp1, 4)});
    r.rule(84);
    r.line({lit("   Total"), col(22), fld(C::Totalinc), col(46), fld(C::Totalexp)});
    r.line({lit("   Average"), col(22), fld(C::Averageinc), col(46), fld(C::Averageexp)});
    r.line({lit("   Preliminary KBT"), col(22), fld(C::Text29), col(46), fld(C::Text30), col(63), lit("Based on  "),
            fld(C::GrowthFact), lit("  Adjustment")});
    r.rule(84);
    r.blank(3);

    r.line({col(28), lit("Intended Commodity Report")});
    r.rule(139);
    r.line({lit("Commodity"), col(20), lit("Unit of"), col(31), lit("Comm."), col(43), lit("Years"), col(52),
            lit("Intended Amt."), col(68), lit("Total Amount"), col(84), lit("Exp. Value"), col(97), lit("KBT by")});
    r.line({lit(" Name"), col(20), lit("measure"), col(31), lit("code"), col(43), lit("exp."), col(52),
            lit("(e.g. acre)"), col(68), lit("(e.g. bu)"), col(84), lit("/ unit"), col(97), lit("Commodity")});
    r.rule(139);
    const int rows = printedRows(ws);
    for (int i = 0; i < rows; ++i) commodityRow(r, i);
    r.blank(3);

    r.line({col(26), lit("Calculate Premium")});
    r.rule(83);
    r.line({col(28), lit("Coverage level")});
    std::vector<Item> captions;
    for (int level = 0; level < kPremiumColumns; ++level)
        captions.insert(captions.end(), {col(kPremiumCaptionColumns[level]), lit(kCoverageLevels[level].caption)});
    r.line(captions);
    for (size_t row = 0; row < std::size(kPremiumRows); ++row) premiumRow(r, row);
    r.rule(83);
    r.blank();
    r.line({lit("Preliminay KBT:"), col(55), fld(C::Projkbt)});
    r.line({lit("Total Expected  KBT:"), col(55), fld(C::Text15, 0)});
    r.line({lit("Preliminary Estimate of Allowable KBT:"), col(55), fld(C::Text21)});
    r.blank();
    r.line({lit("Livestock exceed 35% of KBT"), col(55), fld(C::Lvstex)});
    r.blank();
    r.line({lit("Livestock and MPCI crops exceeds 50% of KBT"), col(55), fld(C::Mpciex)});
    r.blank();
    r.line({lit("Report of Changes")});
    r.line({lit(" "), fld(C::Infobox)});
    return r.take();
}

std::vector<std::string> renderPlainText(const PrintDocument& document) {
    std::vector<std::string> lines;
    for (const PrintLine& items : document.lines) {
        PlainLine current;
        for (const PrintItem& item : items) {
            if (item.kind == PrintItem::Kind::Text)
                current.text(item.text);
            else
                current.moveTo(item.column, lines);
        }
        lines.push_back(current.take());
    }
    return lines;
}

}  // namespace kbt2
