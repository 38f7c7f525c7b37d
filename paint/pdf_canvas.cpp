#include "paint/pdf_canvas.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "paint/base_font_widths.h"

namespace kbt2::paint {
namespace {

constexpr qreal kPageWidth = 612;  // Letter, in points
constexpr qreal kPageHeight = 792;
// The standard fonts' vertical measures as a reader's stand-in for them
// draws, in fractions of the size.
constexpr qreal kAscent = 0.905;
constexpr qreal kDescent = 0.212;
constexpr qreal kLineSpacing = 1.15;
// Hatching: lines 6 points apart, three quarters of a point wide, what a
// screen's 8-pixel pattern measures on paper.
constexpr qreal kHatchStep = 6;
constexpr qreal kHatchWidth = 0.75;

// The code of `c` in the fonts' encoding: WinAnsiEncoding, with the minus
// sign of the premium's steps at 0x81, which WinAnsiEncoding leaves empty.
std::optional<unsigned char> winAnsi(char16_t c) {
    if ((c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
    static constexpr std::pair<char16_t, unsigned char> kHigh[] = {
        {0x20AC, 0x80}, {0x2212, 0x81}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85}, {0x2020, 0x86},
        {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A}, {0x2039, 0x8B}, {0x0152, 0x8C}, {0x017D, 0x8E},
        {0x2018, 0x91}, {0x2019, 0x92}, {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95}, {0x2013, 0x96}, {0x2014, 0x97},
        {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B}, {0x0153, 0x9C}, {0x017E, 0x9E}, {0x0178, 0x9F}};
    for (const auto& [unicode, code] : kHigh)
        if (unicode == c) return code;
    return std::nullopt;
}

const std::array<short, 256>& widthsOf(const CanvasFont& font) {
    return font.bold ? kHelveticaBoldWidths : kHelveticaWidths;
}

}  // namespace

PdfCanvas::PdfCanvas(qreal margin) : margin_(margin) { newPage(); }

QRectF PdfCanvas::area() const { return QRectF(0, 0, kPageWidth - 2 * margin_, kPageHeight - 2 * margin_); }

void PdfCanvas::newPage() { pages_.emplace_back().reserve(32 * 1024); }

qreal PdfCanvas::advance(QStringView text) const {
    const auto& widths = widthsOf(font());
    long total = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        total += widths[u < 0x7F ? u : winAnsi(u).value_or('?')];
    }
    return static_cast<qreal>(total) * font().points / 1000;
}

qreal PdfCanvas::ascent() const { return font().points * kAscent; }
qreal PdfCanvas::descent() const { return font().points * kDescent; }
qreal PdfCanvas::lineSpacing() const { return font().points * kLineSpacing; }

// Two decimals at most, trailing zeros left off, the same under every
// locale: "12.5", "-3", "0.75".
void PdfCanvas::number(qreal value) {
    long long hundredths = std::llround(value * 100);
    std::string& out = content();
    if (hundredths < 0) {
        out += '-';
        hundredths = -hundredths;
    }
    char digits[24];
    const auto whole = std::to_chars(digits, digits + sizeof digits, hundredths / 100).ptr;
    out.append(digits, whole);
    if (const long long part = hundredths % 100; part != 0) {
        out += '.';
        out += static_cast<char>('0' + part / 10);
        if (part % 10 != 0) out += static_cast<char>('0' + part % 10);
    }
    out += ' ';
}

// A page's point: x from the left margin, y from the top one, down.
void PdfCanvas::point(QPointF at) {
    number(margin_ + at.x());
    number(kPageHeight - margin_ - at.y());
}

void PdfCanvas::rect(const QRectF& r) {
    point(r.bottomLeft());
    number(r.width());
    number(r.height());
    content().append("re ");
}

void PdfCanvas::color(const QColor& c, const char* op) {
    number(c.redF());
    number(c.greenF());
    number(c.blueF());
    content().append(op) += ' ';
}

void PdfCanvas::text(QPointF baseline, QStringView text, bool upwards) {
    content().append(font().bold ? "BT /F2 " : "BT /F1 ");
    number(font().points);
    content().append(upwards ? "Tf 0 1 -1 0 " : "Tf 1 0 0 1 ");
    point(baseline);
    content().append("Tm (");
    for (const QChar c : text) {
        const std::optional<unsigned char> code = winAnsi(c.unicode());
        if (!code) encodable_ = false;
        const char byte = static_cast<char>(code.value_or('?'));
        if (byte == '(' || byte == ')' || byte == '\\') content() += '\\';
        content() += byte;
    }
    content().append(") Tj ET\n");
}

void PdfCanvas::drawTextAt(QPointF baseline, QStringView text) { this->text(baseline, text, false); }
void PdfCanvas::drawTextUpwards(QPointF baseline, QStringView text) { this->text(baseline, text, true); }

void PdfCanvas::fillRect(const QRectF& r, const QColor& c) {
    content().append("q ");
    color(c, "rg");
    rect(r);
    content().append("f Q\n");
}

void PdfCanvas::fillRect(const QRectF& given, const QColor& c, CanvasFill fill) {
    // No more lines than the page can show, however large the rectangle.
    const QRectF r = given & QRectF(-margin_, -margin_, kPageWidth, kPageHeight);
    if (r.isEmpty()) return;
    switch (fill) {
    case CanvasFill::Solid: fillRect(r, c); return;
    case CanvasFill::Dotted:
        // A tint of a bit over a third of the colour, as a dotted
        // screen pattern looks from reading distance.
        fillRect(
            r, QColor::fromRgbF(1 - (1 - c.redF()) * 0.37f, 1 - (1 - c.greenF()) * 0.37f, 1 - (1 - c.blueF()) * 0.37f));
        return;
    case CanvasFill::Diagonal:
    case CanvasFill::Cross: break;
    }
    // Lines clipped to the rectangle: rising ones every step across it, or a
    // grid of level and upright ones.
    content().append("q ");
    rect(r);
    content().append("W n ");
    color(c, "RG");
    number(kHatchWidth);
    content().append("w\n");
    const auto line = [&](QPointF from, QPointF to) {
        point(from);
        content().append("m ");
        point(to);
        content().append("l\n");
    };
    if (fill == CanvasFill::Diagonal) {
        for (qreal x = r.left() - r.height(); x < r.right(); x += kHatchStep)
            line(QPointF(x, r.bottom()), QPointF(x + r.height(), r.top()));
    } else {
        for (qreal x = r.left() + kHatchStep / 2; x < r.right(); x += kHatchStep)
            line(QPointF(x, r.top()), QPointF(x, r.bottom()));
        for (qreal y = r.top() + kHatchStep / 2; y < r.bottom(); y += kHatchStep)
            line(QPointF(r.left(), y), QPointF(r.right(), y));
    }
    content().append("S Q\n");
}

void PdfCanvas::strokeWithPen() {
    content().append("q 0 G ");
    number(pen().width);
    content().append(pen().dashed ? "w [3 2] 0 d " : "w ");
}

void PdfCanvas::drawRect(const QRectF& r) {
    strokeWithPen();
    rect(r);
    content().append("S Q\n");
}

void PdfCanvas::drawLine(QPointF from, QPointF to) {
    strokeWithPen();
    point(from);
    content().append("m ");
    point(to);
    content().append("l S Q\n");
}

namespace {

// A text string of the document's information: UTF-16 with its mark, in hex.
QByteArray infoText(const QString& text) {
    QByteArray hex = "<FEFF";
    for (const QChar c : text) hex += QByteArray::number(c.unicode() | 0x10000, 16).mid(1).toUpper();
    return hex + '>';
}

}  // namespace

QByteArray PdfCanvas::finish(const QString& title, const QString& creator, const QDate& created) const {
    QByteArray pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<qsizetype> offsets;
    const auto object = [&](const QByteArray& body) {
        offsets.push_back(pdf.size());
        pdf += QByteArray::number(static_cast<qsizetype>(offsets.size())) + " 0 obj\n" + body + "\nendobj\n";
    };
    // 1 the catalogue, 2 the page tree, 3 and 4 the fonts, 5 the document's
    // information, 6 the fonts' encoding, then each page and its content.
    constexpr int kFirstPage = 7;
    QByteArray kids;
    for (size_t p = 0; p < pages_.size(); ++p)
        kids += QByteArray::number(static_cast<qsizetype>(kFirstPage + 2 * p)) + " 0 R ";
    object("<< /Type /Catalog /Pages 2 0 R >>");
    object("<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(static_cast<qsizetype>(pages_.size())) +
           " >>");
    object("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding 6 0 R >>");
    object("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding 6 0 R >>");
    QByteArray info =
        "<< /Title " + infoText(title) + " /Creator " + infoText(creator) + " /Producer " + infoText(creator);
    if (created.isValid()) info += " /CreationDate (D:" + created.toString(QStringLiteral("yyyyMMdd")).toLatin1() + ")";
    object(info + " >>");
    object("<< /Type /Encoding /BaseEncoding /WinAnsiEncoding /Differences [129 /minus] >>");
    for (size_t p = 0; p < pages_.size(); ++p) {
        // Not packed: a page's few thousand bytes of text and rules cost
        // less to write as they are than to deflate.
        const QByteArray stream = QByteArray::fromStdString(pages_[p]);
        object(
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources << /Font << /F1 3 0 R /F2 4 0 R >> "
            ">> /Contents " +
            QByteArray::number(static_cast<qsizetype>(kFirstPage + 2 * p + 1)) + " 0 R >>");
        object("<< /Length " + QByteArray::number(stream.size()) + " >>\nstream\n" + stream + "\nendstream");
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(static_cast<qsizetype>(offsets.size() + 1)) + "\n0000000000 65535 f \n";
    for (const qsizetype offset : offsets) pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(static_cast<qsizetype>(offsets.size() + 1)) +
           " /Root 1 0 R /Info 5 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

}  // namespace kbt2::paint
