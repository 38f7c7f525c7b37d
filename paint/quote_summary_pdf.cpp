#include "paint/quote_summary_pdf.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <vector>

#include "paint/painter_canvas.h"
#include "paint/paper_words.h"
#include "paint/pdf_canvas.h"
#include "paint/qt_text.h"
#include "paint/summary_charts.h"
#include "paint/summary_tables.h"
#include "quote/quote_text.h"
#include "storage/file_io.h"

namespace kbt2::paint {

namespace {

// The words every summary ends its first page with.
constexpr const char* kSummaryDisclaimer =
    N_("This is an estimate, not an offer of insurance. The premium is set when the policy is written, from the "
       "rates in force then and the insurer's review of the farm's records.");

// Three quarters of an inch all round: inside what any office printer keeps.
constexpr qreal kMarginPoints = 54;
constexpr int kResolution = 300;

QString dollars(double amount) { return toQString(dollarText(amount)); }

constexpr const char* kMonths[] = {N_("January"),   N_("February"), N_("March"),    N_("April"),
                                   N_("May"),       N_("June"),     N_("July"),     N_("August"),
                                   N_("September"), N_("October"),  N_("November"), N_("December")};

// "December 8, 2026", its month's name and the order in the paper's language.
QString dateText(const QDate& date, Language language) {
    if (!date.isValid()) return {};
    return paperWords(language, N_("{month} {day}, {year}"),
                      {{"month", std::string(translated(language, kMonths[date.month() - 1]))},
                       {"day", std::to_string(date.day())},
                       {"year", std::to_string(date.year())}});
}

// Lays blocks of text, tables and charts down a page from the top; one
// that does not draw only measures how far down they reach.
class PageWriter {
public:
    PageWriter(Canvas& canvas, const QRectF& page, bool drawing = true)
        : canvas_(canvas), page_(page), y_(page.top()), drawing_(drawing) {}

    bool drawing() const { return drawing_; }

    // What stands at the top of every page: drawn now, and again on each
    // page keepOnOnePage() starts.
    void onEveryPage(std::function<void(PageWriter&)> top) {
        top_ = std::move(top);
        top_(*this);
        pageStart_ = y_;
    }

    // Another page when what `draw` writes would run past this one's foot;
    // not when it stands alone on the page already, however long it is.
    template <typename Draw>
    void keepOnOnePage(Draw draw) {
        PageWriter measure(canvas_, QRectF(page_.left(), 0, page_.width(), page_.height()), false);
        draw(measure);
        if (drawing_ && y_ > pageStart_ && y_ + measure.y() > page_.bottom()) {
            canvas_.newPage();
            y_ = page_.top();
            if (top_) top_(*this);
            pageStart_ = y_;
        }
        draw(*this);
    }

    qreal line() const { return canvas_.lineSpacing(); }
    qreal y() const { return y_; }
    void skip(qreal lines) { y_ += line() * lines; }
    void moveTo(qreal y) { y_ = y; }

    void heading(const QString& text, qreal scale) {
        canvas_.save();
        canvas_.setFont({canvas_.font().points * scale, true});
        paragraph(text);
        canvas_.restore();
    }

    // Wrapped text across the page, or across `width` from `left`.
    void paragraph(const QString& text, qreal left = -1, qreal width = -1) {
        const QRectF box(left < 0 ? page_.left() : left, y_, width < 0 ? page_.width() : width, page_.bottom() - y_);
        const int flags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;
        const QRectF used = drawing_ ? canvas_.drawText(box, flags, text) : canvas_.boundingRect(box, flags, text);
        y_ += used.height() + line() * 0.3;
    }

    // `widths` are shares of the page's width, one per column; the first
    // column is aligned left, the figures right.
    void table(const TextTable& cells, const std::vector<qreal>& widths) {
        const qreal pad = line() * 0.25;
        canvas_.save();
        canvas_.setFont({canvas_.font().points, true});
        // Headers wrap onto a second line, or more where a header needs it,
        // and a word too long for its column is written smaller; figures are
        // cut short, never wrapped.
        std::vector<CanvasFont> headerFonts;
        qreal headerHeight = line() * 2.3;
        for (size_t c = 0; c < widths.size(); ++c) {
            const QString text = cells.headers.value(static_cast<qsizetype>(c));
            const qreal width = widths[c] * page_.width() - 2 * pad;
            headerFonts.push_back(fittedFont(text, width));
            canvas_.save();
            canvas_.setFont(headerFonts.back());
            const QRectF needed = canvas_.boundingRect(QRectF(0, 0, width, page_.height()), Qt::TextWordWrap, text);
            canvas_.restore();
            headerHeight = std::max(headerHeight, needed.height() + line() * 0.3);
        }
        const auto drawRow = [&](const QStringList& cells, bool header) {
            const qreal height = header ? headerHeight : line() * 1.15;
            if (!drawing_) {
                y_ += height;
                return;
            }
            qreal x = page_.left();
            if (header) canvas_.fillRect(QRectF(x, y_, page_.width(), height), QColor(225, 225, 225));
            for (size_t c = 0; c < widths.size(); ++c) {
                const qreal width = widths[c] * page_.width();
                const QRectF cell(x + pad, y_, width - 2 * pad, height);
                const QString text = cells.value(static_cast<qsizetype>(c));
                const int align = (c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter;
                if (header) {
                    canvas_.save();
                    canvas_.setFont(headerFonts[c]);
                    canvas_.drawText(cell, align | Qt::TextWordWrap, text);
                    canvas_.restore();
                } else {
                    canvas_.drawText(cell, align, canvas_.elidedText(text, cell.width()));
                }
                x += width;
            }
            y_ += height;
            canvas_.drawLine(QPointF(page_.left(), y_), QPointF(page_.right(), y_));
        };
        drawRow(cells.headers, true);
        canvas_.restore();
        for (const QStringList& row : cells.rows) drawRow(row, false);
        y_ += line() * 0.5;
    }

    QRectF band(qreal lines) const { return QRectF(page_.left(), y_, page_.width(), line() * lines); }

private:
    // The canvas's font, made smaller step by step (to three quarters at
    // most) until every word of `text` fits `width`.
    CanvasFont fittedFont(const QString& text, qreal width) const {
        const CanvasFont given = canvas_.font();
        const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        CanvasFont font = given;
        for (int step = 0; step <= 5; ++step) {
            font.points = given.points * (1 - 0.05 * step);
            canvas_.setFont(font);
            const bool fits = std::all_of(words.begin(), words.end(),
                                          [&](const QString& word) { return canvas_.advance(word) <= width; });
            if (fits) break;
        }
        canvas_.setFont(given);
        return font;
    }

    Canvas& canvas_;
    QRectF page_;
    qreal y_;
    bool drawing_;
    std::function<void(PageWriter&)> top_;
    qreal pageStart_ = page_.top();  // where the page's own lines begin, below its top
};

// The case in two columns: who (producer, agency) and where and when
// (county, the date prepared).
void caseLines(PageWriter& page, const QRectF& area, const QuoteSummary& s, const QDate& prepared) {
    const Language l = s.language;
    const std::string notGiven(translated(l, N_("(not given)")));
    const QString who =
        paperWords(l, N_("Producer: {producer}"), {{"producer", s.producer.empty() ? notGiven : s.producer}}) +
        QLatin1Char('\n') + paperWords(l, N_("Agency: {agency}"), {{"agency", s.agency.empty() ? notGiven : s.agency}});
    std::string place = s.county;
    if (!s.state.empty()) place += (place.empty() ? "" : ", ") + s.state;
    const QString where =
        paperWords(l, N_("County: {county}"),
                   {{"county", place.empty() ? std::string(translated(l, N_("(not chosen)"))) : place}}) +
        QLatin1Char('\n') + paperWords(l, N_("Prepared: {date}"), {{"date", dateText(prepared, l).toStdString()}});
    const qreal top = page.y();
    const qreal half = (area.width() - page.line()) / 2;
    page.paragraph(who, area.left(), half);
    const qreal whoBottom = page.y();
    page.moveTo(top);
    page.paragraph(where, area.right() - half, half);
    page.moveTo(std::max(whoBottom, page.y()));
}

QString rateFileLine(const SummaryRateFile& file, Language language) {
    return paperWords(language, N_("Rates from {file}, dated {date}, {records} records, SHA-256 {digest}."),
                      {{"file", rateFileName(file)},
                       {"date", file.modified.substr(0, 10)},
                       {"records", groupedText(static_cast<double>(file.records))},
                       {"digest", file.sha256.substr(0, 12)}});
}

// A frame round what `draw` writes on the page, a little outside the text
// and well inside the margins.
template <typename Draw>
void framed(Canvas& canvas, PageWriter& page, const QRectF& area, Draw draw) {
    const qreal pad = page.line() * 0.3;
    const qreal top = page.y();
    page.skip(0.2);
    draw();
    if (page.drawing()) canvas.drawRect(QRectF(area.left() - pad, top, area.width() + 2 * pad, page.y() - top));
    page.skip(0.5);
}

// What the words of the paper mean, once, in plain words.
void wordsBox(Canvas& canvas, PageWriter& page, const QRectF& area, Language language) {
    framed(canvas, page, area, [&] {
        page.heading(paperWords(language, N_("What the words mean")), 1.1);
        for (const std::string& words : plainWords(language)) page.paragraph(toQString(words));
    });
}

// A renewal letter's box: the producer premium of each level under the
// last quote's rate table and under this one, the change, and why.
void lastQuoteBox(Canvas& canvas, PageWriter& page, const QRectF& area, const QuoteSummary& s) {
    const Language l = s.language;
    TextTable cells{{paperWords(l, N_("Coverage")), paperWords(l, N_("Last quote: producer premium")),
                     paperWords(l, N_("This quote: producer premium")), paperWords(l, N_("Change")),
                     paperWords(l, N_("Change in per cent"))},
                    {}};
    const std::vector<RenewalLine> lines = renewalLines(s);
    for (const RenewalLine& line : lines)
        cells.rows.append({toQString(line.coverage), toQString(line.last), toQString(line.current),
                           toQString(line.change), toQString(line.percent)});
    framed(canvas, page, area, [&] {
        page.heading(paperWords(l, N_("Last quote / this quote")), 1.1);
        page.table(cells, {0.24, 0.2, 0.2, 0.16, 0.2});
        for (const RenewalLine& line : lines)
            page.paragraph(
                paperWords(l, N_("{coverage}: {reason}"), {{"coverage", line.coverage}, {"reason", line.reason}}));
    });
}

// The first page below the box of words: the charts of the case, the levels
// offered (and a letter's last quote), the charts of the levels, the
// eligibility, the rate file and the disclaimer. The two bands of charts are
// `topLines` and `lowerLines` high.
void lowerPart(Canvas& canvas, PageWriter& page, const QRectF& area, const QuoteSummary& s, qreal topLines,
               qreal lowerLines) {
    const Language l = s.language;
    const qreal half = (area.width() - page.line()) / 2;
    const QRectF charts = page.band(topLines);
    if (page.drawing()) {
        drawBarChart(canvas, QRectF(charts.left(), charts.top(), half, charts.height()), taxYearsChart(s));
        drawBarChart(canvas, QRectF(charts.right() - half, charts.top(), half, charts.height()),
                     commoditySharesChart(s));
    }
    page.moveTo(charts.bottom() + page.line() * 0.5);

    TextTable offered{
        {paperWords(l, N_("Coverage")), paperWords(l, N_("Revenue guarantee")), paperWords(l, N_("Producer premium")),
         paperWords(l, N_("Subsidy")), paperWords(l, N_("Premium per $1,000 of guarantee"))},
        {}};
    for (const SummaryLevel& level : offeredLevels(s))
        offered.rows.append({toQString(coverageText(level.coverage, l)), dollars(level.figures.indemnityThreshold()),
                             dollars(level.figures.producerPremium()), dollars(level.figures.subsidy()),
                             toQString(dollarCentsText(premiumPerThousand(level.figures)))});
    // What follows the charts goes on to another page where the page runs
    // out (a letter whose every rate moved, say), a block at a time.
    page.keepOnOnePage([&](PageWriter& on) {
        on.heading(paperWords(l, N_("Coverage levels offered")), 1.1);
        on.table(offered, {0.24, 0.2, 0.18, 0.14, 0.24});
    });
    if (s.lastQuote) page.keepOnOnePage([&](PageWriter& on) { lastQuoteBox(canvas, on, area, s); });

    if (lowerLines > 0) {
        const QRectF lower = page.band(lowerLines);
        if (page.drawing()) {
            drawBarChart(canvas, QRectF(lower.left(), lower.top(), half, lower.height()), guaranteeChart(s));
            drawBarChart(canvas, QRectF(lower.right() - half, lower.top(), half, lower.height()), premiumChart(s));
        }
        page.moveTo(lower.bottom() + page.line() * 0.5);
    }

    const std::vector<EligibilityNotice> notices = eligibilityNotices(s);
    page.keepOnOnePage([&](PageWriter& on) {
        on.heading(paperWords(l, N_("Eligibility")), 1.1);
        if (notices.empty()) on.paragraph(paperWords(l, N_("Neither eligibility test raised a warning.")));
        for (const EligibilityNotice& notice : notices)
            on.paragraph(paperWords(l, N_("Warning: {warning} {meaning}"),
                                    {{"warning", notice.warning}, {"meaning", notice.meaning}}));
        on.paragraph(rateFileLine(s.rateFile, l));
        on.skip(0.3);
    });
    page.keepOnOnePage([&](PageWriter& on) {
        on.heading(paperWords(l, N_("Please note")), 1.1);
        on.paragraph(paperWords(l, kSummaryDisclaimer));
    });
}

void firstPage(Canvas& canvas, PageWriter& page, const QRectF& area, const QuoteSummary& s, const QDate& prepared) {
    page.heading(paperWords(s.language, N_("KBT whole-farm revenue insurance: premium estimate")), 1.5);
    caseLines(page, area, s, prepared);
    wordsBox(canvas, page, area, s.language);

    // The charts take the room the words leave, up to a size that reads
    // well; the upper pair, with its rotated values, a little more of it,
    // and never less than a line for each commodity's share. Where both
    // pairs do not fit, the levels' pair is left out: the table of the
    // levels above it gives the same figures.
    PageWriter measure(canvas, QRectF(area.left(), page.y(), area.width(), area.height()), false);
    lowerPart(canvas, measure, area, s, 0, 0);
    const qreal spare = std::max<qreal>(0, (area.bottom() - measure.y()) / page.line() - 0.5);
    const qreal leastTop = std::max<qreal>(9, static_cast<qreal>(s.commodities.size()) + 2.5);
    constexpr qreal kLeastLower = 5;
    const bool both = spare >= leastTop + kLeastLower + 0.5;
    const qreal topLines =
        both ? std::clamp<qreal>(spare * 0.55, leastTop, std::max<qreal>(16, leastTop)) : std::max(spare, leastTop);
    const qreal lowerLines = both ? std::clamp<qreal>(spare - 0.5 - topLines, kLeastLower, 12) : 0;
    lowerPart(canvas, page, area, s, topLines, lowerLines);
}

void secondPage(PageWriter& page, const QuoteSummary& s) {
    const Language l = s.language;
    page.heading(paperWords(l, N_("How the premium was calculated")), 1.3);
    page.paragraph(paperWords(l,
                              N_("Average income {income}; projected KBT {projected}; total expected KBT {total}; "
                                 "allowable KBT {allowable}; MPCI liability {mpci}."),
                              {{"income", dollarText(s.premium.averageIncome)},
                               {"projected", dollarText(s.premium.projectedKbt)},
                               {"total", dollarText(s.premium.totalExpectedKbt)},
                               {"allowable", dollarText(s.premium.allowableKbt)},
                               {"mpci", dollarText(s.premium.mpciLiability)}}));
    // Each step and table whole, on the next page where this one runs out.
    for (const std::string& step : premiumSteps(s))
        page.keepOnOnePage([&](PageWriter& on) { on.paragraph(toQString(step)); });
    page.skip(0.3);

    const TextTable commodities = commodityCells(s);
    const TextTable levels = levelCells(s);
    page.keepOnOnePage([&](PageWriter& on) {
        on.table(commodities, {0.16, 0.06, 0.09, 0.06, 0.09, 0.09, 0.07, 0.19, 0.19});
    });
    page.keepOnOnePage([&](PageWriter& on) {
        on.table(levels, {0.09, 0.08, 0.11, 0.1, 0.07, 0.07, 0.09, 0.09, 0.09, 0.08, 0.13});
    });
    page.keepOnOnePage([&](PageWriter& on) {
        on.heading(paperWords(l, N_("Rate file")), 1.1);
        on.paragraph(paperRateFileText(s.rateFile, l));
    });
}

// The scenarios ticked for the paper, four to a table, with what each
// changed; on as many pages as they take, no table cut in two.
void optionsPage(PageWriter& page, const PaperOptions& options, Language l) {
    page.heading(paperWords(l, N_("Options we looked at")), 1.3);
    page.paragraph(paperWords(l, N_("Each option is your farm with one or more changes, estimated the same way as "
                                    "the first page. The lowest premium per $1,000 of guarantee is marked.")));
    for (const std::string& change : options.changes)
        page.keepOnOnePage([&](PageWriter& on) { on.paragraph(toQString(change)); });
    page.skip(0.3);
    constexpr size_t kPerTable = 4;
    constexpr qreal kHeadings = 0.46;
    for (size_t first = 0; first < options.names.size(); first += kPerTable) {
        const size_t last = std::min(options.names.size(), first + kPerTable);
        TextTable cells{{QString()}, {}};
        std::vector<qreal> widths{kHeadings};
        for (size_t c = first; c < last; ++c) {
            cells.headers.append(toQString(options.names[c]));
            widths.push_back((1 - kHeadings) / static_cast<qreal>(last - first));
        }
        for (size_t r = 0; r < options.headings.size(); ++r) {
            QStringList row{toQString(options.headings[r])};
            for (size_t c = first; c < last; ++c) row.append(toQString(options.columns[c][r]));
            cells.rows.append(row);
        }
        page.keepOnOnePage([&](PageWriter& on) { on.table(cells, widths); });
    }
}

// Draws the pages on `canvas`.
void paintQuoteSummary(Canvas& canvas, const QuoteSummary& summary, const QDate& prepared) {
    canvas.setFont({9, false});
    const QRectF area = canvas.area();
    // A summary priced from the shipped sample says so at the top of every page.
    const auto sampleLine = [&](PageWriter& page) {
        if (summary.rateFile.sample) page.heading(toQString(sampleRatesLine(summary.language)), 1.0);
    };
    PageWriter first(canvas, area);
    first.onEveryPage(sampleLine);
    firstPage(canvas, first, area, summary, prepared);
    canvas.newPage();
    canvas.setFont({8, false});
    PageWriter second(canvas, area);
    second.onEveryPage(sampleLine);
    secondPage(second, summary);
    if (summary.options && !summary.options->names.empty()) {
        canvas.newPage();
        PageWriter third(canvas, area);
        third.onEveryPage(sampleLine);
        optionsPage(third, *summary.options, summary.language);
    }
}

}  // namespace

bool isWholePdf(const QByteArray& bytes) { return bytes.startsWith("%PDF-") && bytes.trimmed().endsWith("%%EOF"); }

FileOutcome writeWholePdf(const QByteArray& bytes, const QString& path) {
    const bool existed = QFileInfo::exists(path);
    std::string reason;
    if (!isWholePdf(bytes)) {
        reason = "The PDF could not be written in full.";
    } else {
        FileOutcome written = replaceFileAtomically(QFile::encodeName(path).toStdString(),
                                                    std::string_view(bytes.constData(), bytes.size()));
        if (written.ok()) return written;
        reason = std::move(written).failure().reason;
    }
    if (existed) reason += kEarlierFileKept;
    return FileFailure{std::move(reason)};
}

Outcome<QByteArray, FileFailure> quoteSummaryPdf(const QuoteSummary& summary, const QDate& prepared) {
    const QString title = paperWords(summary.language, N_("KBT premium estimate {worksheet}"),
                                     {{"worksheet", std::filesystem::path(summary.worksheetName).filename().string()}})
                              .trimmed();
    const QString creator = QStringLiteral("KBT2");
    PdfCanvas direct(kMarginPoints);
    paintQuoteSummary(direct, summary, prepared);
    if (direct.encodable()) return direct.finish(title, creator, prepared);

    // A name in a script the standard fonts do not write: Qt's PDF writer
    // lays the paper out again in a font it embeds.
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&file);
        writer.setResolution(kResolution);
        writer.setTitle(title);
        writer.setCreator(creator);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                         QMarginsF(kMarginPoints, kMarginPoints, kMarginPoints, kMarginPoints),
                                         QPageLayout::Point));
        QPainter painter;
        if (!painter.begin(&writer)) return FileFailure{"The PDF could not be started."};
        QFont font(QStringLiteral("DejaVu Sans"));
        // No ligatures: "Ratefile.prn" copied out of the PDF must read as
        // typed, not with an "fi" glyph.
        font.setStyleStrategy(QFont::PreferNoShaping);
        painter.setFont(font);
        PainterCanvas canvas(painter, &writer);
        paintQuoteSummary(canvas, summary, prepared);
        if (!painter.end()) return FileFailure{"The PDF could not be finished."};
    }
    return file.data();
}

FileOutcome writeQuoteSummaryPdf(const QuoteSummary& summary, const QString& path, const QDate& prepared) {
    // Made in memory first: the file is written only once the PDF is whole.
    auto drawn = quoteSummaryPdf(summary, prepared);
    if (!drawn.ok()) return std::move(drawn).failure();
    return writeWholePdf(drawn.value(), path);
}

}  // namespace kbt2::paint
