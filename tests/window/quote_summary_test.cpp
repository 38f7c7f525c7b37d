// The quote summary PDF read back with pdftotext: two Letter pages, the
// figures in dollars, the rate file's identity and the disclaimer; and the
// charts drawn on a widget by the same routine.

#include <signal.h>
#include <sys/resource.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "paint/canvas.h"
#include "paint/pdf_canvas.h"
#include "paint/quote_summary_pdf.h"
#include "paint/summary_charts.h"
#include "tests/core/file_size_limit.h"
#include "ui/chart_view.h"

using namespace kbt2;

namespace {

using kbt2::testing_support::FileSizeLimit;

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Whether the cross-reference table at the end of a PDF points at each of
// its objects: readers that do not rebuild a broken one show nothing.
bool xrefPointsAtItsObjects(const QByteArray& pdf) {
    const qsizetype mark = pdf.lastIndexOf("startxref\n");
    if (mark < 0) return false;
    const qsizetype xref = pdf.mid(mark + 10).split('\n').front().toLongLong();
    const QList<QByteArray> lines = pdf.mid(xref).split('\n');
    if (lines.size() < 3 || lines[0] != "xref") return false;
    const int count = lines[1].split(' ').value(1).toInt();
    for (int object = 1; object < count; ++object) {
        const QByteArray& entry = lines.value(2 + object);
        if (entry.size() != 19 ||
            !pdf.mid(entry.left(10).toLongLong()).startsWith(QByteArray::number(object) + " 0 obj"))
            return false;
    }
    return count > 1;
}

int filesIn(const QString& folder) { return static_cast<int>(QDir(folder).entryList(QDir::Files).size()); }

QString run(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(QStandardPaths::findExecutable(tool), arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Two commodities, .65 offered alone, the livestock warning raised.
QuoteSummary sampleSummary() {
    QuoteSummary s;
    s.worksheetName = "hansen.wsk";
    s.producer = "Hansen Farms";
    s.agency = "Valley Agency";
    s.county = "Kent";
    s.state = "Michigan";
    s.income = {100000, 110000, 120000, 125000, 130000};
    s.expenses = {60000, 62000, 65000, 70000, 71000};
    PremiumFigures& f = s.premium;
    f.averageIncome = 117000;
    f.projectedKbt = 131000;
    f.totalExpectedKbt = 124500;
    f.allowableKbt = 124500;
    s.commodities = {{"Dairy cows", "801", 1234}, {"Corn", "41", std::nullopt}};
    f.rows = {{87150, 0.7, true, false, {0.05, 0.04, 0.03}, {0.035, 0.028, 0.021}},
              {37350, 0.3, false, true, {0, 0, 0}, {0, 0, 0}}};
    f.equalShare = 0.5;
    f.deviationSum = 0.4;
    f.threshold = 0.25;
    f.significantCount = 2;
    f.livestockShare = 0.7;
    f.livestockOrInsurableShare = 1;
    f.diversificationFactor = 0.725;
    f.warnings = {PremiumWarning::LivestockOver35, PremiumWarning::LivestockOrInsurableOver50};
    // threshold, weighted rate, factor, KBT rate, liability, net, gross, subsidy, producer; offered
    f.columns[0] = {{99600, 0.021, 0.725, 0.015, 74700, 74700, 1121, 560, 561}, false};
    f.columns[1] = {{93375, 0.021, 0.725, 0.015, 70031, 70031, 1050, 525, 525}, false};
    f.columns[2] = {{80925, 0.021, 0.725, 0.015, 60694, 60694, 910, 455, 455}, true};
    s.rateFile = {"/data/rates/Ratefile.prn", 1260060, "2026-11-30T08:15:00",
                  "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef", 21001};
    return s;
}

// The sample as a renewal letter: the .75 level withdrawn, the .65 premium
// up from $400 to $455 because the dairy cows' rate rose.
QuoteSummary renewalLetter() {
    QuoteSummary s = sampleSummary();
    std::vector<LevelValues> rates;
    for (const PremiumRow& row : s.premium.rows) rates.push_back(row.rates);
    rates[0][2] = 0.025;
    s.lastQuote = LastQuote{{{".75", 500, std::nullopt}, {".65", 400, 455}}, rates, 0.725};
    return s;
}

// Every figure of a page's text, each once, in order: dollars, shares, rates,
// per cents, levels, the date's day and year; the words between them left
// out. A page with longer words may leave out the levels' charts, whose
// figures its table gives, so a figure's count may differ; its presence not.
QStringList figuresOf(const QString& text) {
    QStringList figures;
    static const QRegularExpression figure(QStringLiteral("[-+]?\\$?[0-9][0-9,.]*%?"));
    for (auto match = figure.globalMatch(text); match.hasNext();) {
        QString found = match.next().captured();
        while (found.endsWith(u'.') || found.endsWith(u',')) found.chop(1);
        figures.append(found);
    }
    figures.sort();
    figures.removeDuplicates();
    return figures;
}

QString pageText(const QString& pdf, int page) {
    return run("pdftotext", {"-f", QString::number(page), "-l", QString::number(page), pdf, "-"}).simplified();
}

// The summary, or with `lastQuote` the letter, in both languages: the path
// of each PDF, English first.
QStringList bothLanguages(const QTemporaryDir& dir, QuoteSummary s) {
    QStringList pdfs;
    for (const Language language : {Language::English, Language::Spanish}) {
        s.language = language;
        const QString pdf = dir.filePath(QString::fromLatin1(languageInfo(language).code) + ".pdf");
        if (!paint::writeQuoteSummaryPdf(s, pdf, QDate(2026, 12, 8)).ok()) return {};
        pdfs.append(pdf);
    }
    return pdfs;
}

// A canvas whose every character is one unit wide and whose lines are ten
// apart; it keeps what it is asked to write and where.
class CharCanvas final : public paint::Canvas {
public:
    QStringList written;
    QList<QPointF> baselines;

    QRectF area() const override { return {0, 0, 100, 100}; }
    void newPage() override {}
    qreal advance(QStringView text) const override { return static_cast<qreal>(text.size()); }
    qreal ascent() const override { return 8; }
    qreal descent() const override { return 2; }
    qreal lineSpacing() const override { return 10; }
    void drawTextAt(QPointF baseline, QStringView text) override {
        written.append(text.toString());
        baselines.append(baseline);
    }
    void drawTextUpwards(QPointF baseline, QStringView text) override { drawTextAt(baseline, text); }
    void fillRect(const QRectF&, const QColor&) override {}
    void fillRect(const QRectF&, const QColor&, paint::CanvasFill) override {}
    void drawRect(const QRectF&) override {}
    void drawLine(QPointF, QPointF) override {}
};

}  // namespace

class QuoteSummaryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        QVERIFY2(!QStandardPaths::findExecutable("pdftotext").isEmpty(),
                 "pdftotext is missing: run scripts/install-deps.sh");
    }

    void pdfReadsBackWithFiguresRateFileAndDisclaimer() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("hansen.pdf");
        QVERIFY(paint::writeQuoteSummaryPdf(sampleSummary(), pdf, QDate(2026, 12, 8)).ok());
        // To look at the pages: KBT2_KEEP_SUMMARY=/tmp/summary.pdf
        if (const QString keep = qEnvironmentVariable("KBT2_KEEP_SUMMARY"); !keep.isEmpty()) {
            QFile::remove(keep);
            QFile::copy(pdf, keep);
        }

        const QString info = run("pdfinfo", {pdf});
        QVERIFY2(info.contains(QRegularExpression("Pages:\\s+2\\n")), qPrintable(info));
        QVERIFY(xrefPointsAtItsObjects(bytesOf(pdf)));
        QVERIFY2(info.contains("612 x 792 pts (letter)"), qPrintable(info));

        const QString first = run("pdftotext", {"-f", "1", "-l", "1", pdf, "-"}).simplified();
        for (const char* expected :
             {"Producer: Hansen Farms", "Agency: Valley Agency", "County: Kent, Michigan", "Prepared: December 8, 2026",
              "$80,925", "$455", "$5.62", "not eligible for KBT", "an MPCI policy must be bought",
              "Rates from Ratefile.prn, dated 2026-11-30, 21,001 records, SHA-256 0123456789ab.",
              "This is an estimate, not an offer of insurance. The premium is set when the policy is written",
              "$117,000", "70.0%", "Dairy cows", "the insurer's review of the farm's records.",
              // The box of plain words, and each level with its share.
              "What the words mean", "KBT is the farm revenue this plan insures,",
              "MPCI is multiple-peril crop insurance", ".65 (65% coverage)",
              // Each warning says what it means for the farm.
              "does not meet that rule. The policy cannot be written as it stands unless livestock come to 35% or less",
              "The KBT policy can be written only with that MPCI policy in place; the MPCI premium is not part of the "
              "premium shown.",
              "Revenue guarantee by coverage level", "Producer premium by coverage level"})
            QVERIFY2(first.contains(QLatin1String(expected)), qPrintable(QString("%1 in: %2").arg(expected, first)));
        // Only the level offered stands in the coverage table; the rate
        // file's record lines are for the agent's page.
        QVERIFY(!first.contains("$99,600"));
        QVERIFY2(!first.contains("Record line") && !first.contains(QRegularExpression("\\b1234\\b")),
                 qPrintable(first));

        const QString second = run("pdftotext", {"-f", "2", "-l", "2", pdf, "-"}).simplified();
        for (const char* expected :
             {"For 2 commodities the diversification factor is 0.668 + 0.0179999 × S + 0.3142858 × S², to three "
              "decimals: 0.668 + 0.0179999 × 0.4 + 0.3142858 × 0.4² = 0.725.",
              "1234", "none", "$99,600", "Ratefile.prn, dated 2026-11-30T08:15:00, 21,001 records read",
              "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef"})
            QVERIFY2(second.contains(QString::fromUtf8(expected)),
                     qPrintable(QString("%1 in: %2").arg(expected, second)));
        // Where the rate file lies is no business of the paper.
        QVERIFY2(!second.contains("/data/rates") && !second.contains("bytes"), qPrintable(second));
    }

    // A summary written into a folder, of a worksheet and a rate file in
    // it: no page shows the folder.
    void noPageShowsALocalPath() {
        QTemporaryDir dir;
        QuoteSummary s = sampleSummary();
        s.worksheetName = dir.filePath("hansen.wsk").toStdString();
        s.rateFile.path = dir.filePath("Ratefile.prn").toStdString();
        const QString pdf = dir.filePath("hansen.pdf");
        QVERIFY(paint::writeQuoteSummaryPdf(s, pdf, QDate(2026, 12, 8)).ok());
        const QString text = run("pdftotext", {pdf, "-"});
        QVERIFY(text.contains("Ratefile.prn"));
        QVERIFY2(!text.contains(dir.path()), qPrintable(text));
        QVERIFY2(!run("pdfinfo", {pdf}).contains(dir.path()), "the PDF's title names the worksheet, not its folder");
    }

    // A renewal letter: each level's last and this premium, the change in
    // dollars and per cent, and why, in words.
    void aLetterSaysWhatChangedAndWhy() {
        QTemporaryDir dir;
        const QuoteSummary s = renewalLetter();
        const QString pdf = dir.filePath("hansen.pdf");
        QVERIFY(paint::writeQuoteSummaryPdf(s, pdf, QDate(2026, 12, 8)).ok());
        if (const QString keep = qEnvironmentVariable("KBT2_KEEP_LETTER"); !keep.isEmpty()) {
            QFile::remove(keep);
            QFile::copy(pdf, keep);
        }
        QVERIFY2(run("pdfinfo", {pdf}).contains(QRegularExpression("Pages:\\s+2\\n")), "the letter keeps two pages");
        const QString first = run("pdftotext", {"-f", "1", "-l", "1", "-layout", pdf, "-"}).simplified();
        for (const char* expected :
             {"Last quote / this quote", ".75 (75% coverage) $500 not offered",
              ".65 (65% coverage) $400 $455 +$55 +13.8%",
              "The new rate table no longer offers this level, so the policy cannot be renewed at it.",
              "The rate for Dairy cows at this level rose from 0.025 to 0.03.",
              // The page still holds the whole disclaimer.
              "the insurer's review of the farm's records."})
            QVERIFY2(first.contains(QLatin1String(expected)), qPrintable(QString("%1 in: %2").arg(expected, first)));
    }

    // The fullest first page: every level offered and in the letter, each
    // with two rates and the factor to explain, and both warnings. The
    // levels' charts give way (the table holds their figures); nothing
    // runs off the page.
    void theFullestLetterKeepsItsFirstPageWhole() {
        QTemporaryDir dir;
        QuoteSummary s = sampleSummary();
        for (PremiumColumn& level : s.premium.columns) level.offered = true;
        std::vector<LevelValues> rates(2, LevelValues{0.011, 0.012, 0.013});
        s.lastQuote = LastQuote{{{".80", 500, 561}, {".75", 480, 525}, {".65", 400, 455}}, rates, 0.7};
        const QString pdf = dir.filePath("hansen.pdf");
        QVERIFY(paint::writeQuoteSummaryPdf(s, pdf, QDate(2026, 12, 8)).ok());
        const QString first = run("pdftotext", {"-f", "1", "-l", "1", "-layout", pdf, "-"}).simplified();
        for (const char* expected :
             {"The rate for Corn at this level fell from 0.013 to 0.", "The diversification factor changed from 0.7 to",
              ".80 (80% coverage) $99,600 $561", "the insurer's review of the farm's records."})
            QVERIFY2(first.contains(QLatin1String(expected)), qPrintable(QString("%1 in: %2").arg(expected, first)));

        // The longer Spanish words fit the same page.
        s.language = Language::Spanish;
        QVERIFY(paint::writeQuoteSummaryPdf(s, pdf, QDate(2026, 12, 8)).ok());
        QVERIFY2(run("pdfinfo", {pdf}).contains(QRegularExpression("Pages:\\s+2\\n")), "two pages in Spanish");
        const QString primera = run("pdftotext", {"-f", "1", "-l", "1", "-layout", pdf, "-"}).simplified();
        for (const char* expected :
             {"La tarifa de Corn en este nivel bajó de 0.013 a 0.", "El factor de diversificación cambió de 0.7 a",
              ".80 (cobertura del 80%) $99,600 $561", "que haga la aseguradora."})
            QVERIFY2(primera.contains(QString::fromUtf8(expected)),
                     qPrintable(QString("%1 in: %2").arg(QString::fromUtf8(expected), primera)));
    }

    // The summary in Spanish: the same figures on both pages as in English,
    // every word of the first page in Spanish.
    void theSpanishSummaryHasTheEnglishFiguresInSpanishWords() {
        QTemporaryDir dir;
        const QStringList pdfs = bothLanguages(dir, sampleSummary());
        QCOMPARE(pdfs.size(), 2);
        // To look at the pages: KBT2_KEEP_SUMMARY_ES=/tmp/summary-es.pdf
        if (const QString keep = qEnvironmentVariable("KBT2_KEEP_SUMMARY_ES"); !keep.isEmpty()) {
            QFile::remove(keep);
            QFile::copy(pdfs[1], keep);
        }
        QVERIFY2(run("pdfinfo", {pdfs[1]}).contains(QRegularExpression("Pages:\\s+2\\n")), "two pages in Spanish too");
        for (int page = 1; page <= 2; ++page)
            QCOMPARE(figuresOf(pageText(pdfs[1], page)), figuresOf(pageText(pdfs[0], page)));

        const QString first = pageText(pdfs[1], 1);
        for (const char* expected :
             {"Seguro KBT de ingresos de toda la granja: estimación de la prima", "Productor: Hansen Farms",
              "Condado: Kent, Michigan", "Preparado: 8 de diciembre de 2026", "Qué significan los términos",
              "MPCI es el seguro de cultivos contra múltiples riesgos", ".65 (cobertura del 65%)",
              "Niveles de cobertura ofrecidos", "la granja no es elegible para KBT",
              "Tarifas de Ratefile.prn, con fecha 2026-11-30, 21,001 registros, SHA-256 0123456789ab.",
              "Tenga en cuenta", "Esto es una estimación, no una oferta de seguro."})
            QVERIFY2(first.contains(QString::fromUtf8(expected)),
                     qPrintable(QString("%1 in: %2").arg(QString::fromUtf8(expected), first)));
        // No English left: the headings, the case, the tables, the charts,
        // the warnings, the disclaimer and the month.
        for (const char* english : {"premium estimate",
                                    "Producer:",
                                    "Prepared",
                                    "December",
                                    "What the words mean",
                                    "coverage)",
                                    "Coverage levels offered",
                                    "Revenue guarantee",
                                    "Producer premium",
                                    "Eligibility",
                                    "Warning",
                                    "not eligible",
                                    "an MPCI policy must be bought",
                                    "Please note",
                                    "This is an estimate",
                                    "records",
                                    "Allowable income",
                                    "Income",
                                    "Expenses",
                                    "Average income",
                                    "Commodity shares",
                                    " the ",
                                    " of "})
            QVERIFY2(!first.contains(QLatin1String(english)), qPrintable(QString("%1 in: %2").arg(english, first)));
        const QString second = pageText(pdfs[1], 2);
        for (const char* expected : {"Cómo se calculó la prima", "Para 2 productos, el factor de diversificación es",
                                     "indemnización", "Archivo de tarifas"})
            QVERIFY2(second.contains(QString::fromUtf8(expected)),
                     qPrintable(QString("%1 in: %2").arg(QString::fromUtf8(expected), second)));
        for (const char* english : {"How the premium", "commodities", "Indemnity threshold", "Rate file", " the "})
            QVERIFY2(!second.contains(QLatin1String(english)), qPrintable(QString("%1 in: %2").arg(english, second)));
    }

    // A renewal letter in Spanish: its box and reasons in Spanish, its
    // figures those of the English letter, its first page still whole.
    void theSpanishLetterSaysWhatChangedInSpanish() {
        QTemporaryDir dir;
        const QuoteSummary s = renewalLetter();
        const QStringList pdfs = bothLanguages(dir, s);
        QCOMPARE(pdfs.size(), 2);
        // To look at the letters: KBT2_KEEP_LETTERS=/tmp/letter- (en.pdf and es.pdf are added)
        if (const QString keep = qEnvironmentVariable("KBT2_KEEP_LETTERS"); !keep.isEmpty())
            for (const QString& pdf : pdfs) QFile::copy(pdf, keep + QFileInfo(pdf).fileName());
        QVERIFY2(run("pdfinfo", {pdfs[1]}).contains(QRegularExpression("Pages:\\s+2\\n")),
                 "the letter keeps two pages");
        for (int page = 1; page <= 2; ++page)
            QCOMPARE(figuresOf(pageText(pdfs[1], page)), figuresOf(pageText(pdfs[0], page)));
        const QString first = run("pdftotext", {"-f", "1", "-l", "1", "-layout", pdfs[1], "-"}).simplified();
        for (const char* expected :
             {"Cotización anterior / esta cotización", ".75 (cobertura del 75%) $500 no se ofrece",
              ".65 (cobertura del 65%) $400 $455 +$55 +13.8%",
              "La nueva tabla de tarifas ya no ofrece este nivel, así que la póliza no puede renovarse en él.",
              "La tarifa de Dairy cows en este nivel subió de 0.025 a 0.03.",
              "la revisión de los registros de la granja que haga la aseguradora."})
            QVERIFY2(first.contains(QString::fromUtf8(expected)),
                     qPrintable(QString("%1 in: %2").arg(QString::fromUtf8(expected), first)));
        for (const char* english : {"Last quote", "not offered", "The rate for", "rose from", "no longer offers"})
            QVERIFY2(!first.contains(QLatin1String(english)), qPrintable(QString("%1 in: %2").arg(english, first)));
    }

    void unwritablePlaceIsToldAndLeavesNothing() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("missing/folder/x.pdf");
        QVERIFY(!paint::writeQuoteSummaryPdf(sampleSummary(), pdf).ok());
        QVERIFY(!QFileInfo::exists(pdf));
    }

    // A full disk or a size limit: the summary that was there stays whole,
    // no temporary file is left, and the reason says so.
    void aSizeLimitKeepsTheEarlierSummaryAndSaysSo_data() {
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("reason");
        QTest::newRow("nothing may be written") << 0 << "The file is too large.";
        QTest::newRow("the PDF is cut short") << 4096 << "The file is too large.";
        // -100: all but the last hundred bytes fit, so only the last write fails.
        QTest::newRow("the end does not fit") << -100 << "The file is too large.";
    }
    void aSizeLimitKeepsTheEarlierSummaryAndSaysSo() {
        QFETCH(int, limit);
        QFETCH(QString, reason);
        const QTemporaryDir dir;
        const QString pdf = dir.filePath("hansen.pdf");
        QVERIFY(paint::writeQuoteSummaryPdf(sampleSummary(), pdf, QDate(2026, 12, 1)).ok());
        const QByteArray earlier = bytesOf(pdf);
        if (limit < 0) limit += static_cast<int>(earlier.size());
        QVERIFY(earlier.size() > limit);
        const FileOutcome written = [&] {
            FileSizeLimit limited(static_cast<rlim_t>(limit));
            return paint::writeQuoteSummaryPdf(sampleSummary(), pdf, QDate(2026, 12, 8));
        }();
        QVERIFY(!written.ok());
        QCOMPARE(QString::fromStdString(written.failure().reason),
                 reason + " The file already there is left as it was.");
        QCOMPARE(bytesOf(pdf), earlier);
        QCOMPARE(filesIn(dir.path()), 1);
    }

    // A letter for fourteen commodities whose every rate moved: the shares
    // chart keeps a line for each, and the box of reasons, the eligibility
    // and the disclaimer go on to the next page rather than off this one.
    void aLongLetterGoesOnToAnotherPage() {
        QuoteSummary s = sampleSummary();
        s.commodities.clear();
        s.premium.rows.clear();
        std::vector<LevelValues> lastRates;
        for (int i = 0; i < 14; ++i) {
            s.commodities.push_back({"Crop " + std::to_string(i + 1), std::to_string(i + 11), 100});
            s.premium.rows.push_back({10000, 1.0 / 14, false, true, {0.05, 0.04, 0.03}, {0.004, 0.003, 0.002}});
            lastRates.push_back({0.051, 0.041, 0.031});
        }
        for (PremiumColumn& level : s.premium.columns) level.offered = true;
        s.lastQuote = LastQuote{{{".80", 500, 561}, {".75", 480, 525}, {".65", 400, 455}}, lastRates, 0.725};
        QTemporaryDir dir;
        const QString pdf = dir.filePath("hansen.pdf");
        QVERIFY(paint::writeQuoteSummaryPdf(s, pdf, QDate(2026, 12, 8)).ok());
        QVERIFY2(run("pdfinfo", {pdf}).contains(QRegularExpression("Pages:\\s+3\\n")), "the letter takes three pages");
        const QString first = pageText(pdf, 1);
        for (const char* expected : {"Crop 14", "Coverage levels offered"})
            QVERIFY2(first.contains(QLatin1String(expected)), qPrintable(first));
        const QString next = pageText(pdf, 2);
        for (const char* expected :
             {"Last quote / this quote", "The rate for Crop 14 at this level fell from 0.031 to 0.03.", "Please note",
              "the insurer's review of the farm's records."})
            QVERIFY2(next.contains(QLatin1String(expected)), qPrintable(next));
    }

    // Many options go on as many pages as they take, each table whole: the
    // last option's name and its words still read back, none off a page.
    void manyOptionsTakeMorePages() {
        QuoteSummary s = sampleSummary();
        s.rateFile.sample = true;
        PaperOptions& options = s.options.emplace();
        options.headings = {"Coverage levels offered", "Revenue guarantee at .65", "Producer premium at .65",
                            "Premium per $1,000 of guarantee at .65"};
        for (int n = 1; n <= 24; ++n) {
            const std::string name = "Option " + std::to_string(n);
            options.names.push_back(name);
            options.changes.push_back(name + ": the dairy cows' amount raised from 1,234 to " +
                                      std::to_string(1234 + n) + ", and hay grown on the north field instead of corn.");
            options.columns.push_back({".65", "$80,925", "$455", "$5.62"});
        }
        QTemporaryDir dir;
        const QString pdf = dir.filePath("hansen.pdf");
        QVERIFY(paint::writeQuoteSummaryPdf(s, pdf, QDate(2026, 12, 8)).ok());
        const QString text = run("pdftotext", {pdf, "-"}).simplified();
        QVERIFY2(text.contains("Option 24: the dairy cows' amount raised from 1,234 to 1258"), qPrintable(text));
        QVERIFY2(text.contains("Option 21 Option 22 Option 23 Option 24"), qPrintable(text));
        const int pages = run("pdfinfo", {pdf}).section("Pages:", 1).simplified().section(' ', 0, 0).toInt();
        QVERIFY2(pages >= 4, qPrintable(QString::number(pages)));
        // The sample's warning heads every page.
        QCOMPARE(text.count("Sample rates:"), pages);
    }

    // Lines break at blanks and keep them as typed; a word wider than the
    // box stands alone; "\n" always breaks; alignment counts the blanks.
    void textBreaksAtItsBlanksAndKeepsThem_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("flags");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QList<qreal>>("lefts");
        const int wrap = Qt::TextWordWrap;
        QTest::newRow("fits") << "aa bb" << wrap << QStringList{"aa bb"} << QList<qreal>{0};
        QTest::newRow("breaks at the last blank that fits")
            << "aa bb cc dd" << wrap << QStringList{"aa bb", "cc dd"} << QList<qreal>{0, 0};
        QTest::newRow("two blanks stay two")
            << "a  b ccccc" << wrap << QStringList{"a  b", "ccccc"} << QList<qreal>{0, 0};
        QTest::newRow("a long word alone")
            << "a bbbbbbbb c" << wrap << QStringList{"a", "bbbbbbbb", "c"} << QList<qreal>{0, 0, 0};
        QTest::newRow("new line without wrapping")
            << "abcdefg\nh" << 0 << QStringList{"abcdefg", "h"} << QList<qreal>{0, 0};
        QTest::newRow("right-aligned") << "ab cd ef" << (wrap | Qt::AlignRight) << QStringList{"ab cd", "ef"}
                                       << QList<qreal>{0, 3};
        QTest::newRow("centred") << "ab" << int(Qt::AlignHCenter) << QStringList{"ab"} << QList<qreal>{1.5};
    }
    void textBreaksAtItsBlanksAndKeepsThem() {
        QFETCH(QString, text);
        QFETCH(int, flags);
        QFETCH(QStringList, lines);
        QFETCH(QList<qreal>, lefts);
        CharCanvas canvas;
        const QRectF used = canvas.drawText(QRectF(0, 0, 5, 100), flags, text);
        QCOMPARE(canvas.written, lines);
        QCOMPARE(used.height(), 10.0 * lines.size());
        for (qsizetype i = 0; i < lefts.size(); ++i) {
            QCOMPARE(canvas.baselines[i].x(), lefts[i]);
            QCOMPARE(canvas.baselines[i].y(), 8.0 + 10 * i);
        }
        QCOMPARE(canvas.elidedText(QStringLiteral("abcdefgh"), 4), QString::fromUtf8("abc…"));
    }

    // The PDF written directly: a point from the top left of the margins
    // lands from the bottom left of the page, figures to two decimals under
    // any locale, brackets and backslashes escaped, text up the page turned,
    // widths those of Helvetica, and a character the fonts lack is told.
    void thePdfCanvasWritesWhatItIsAsked() {
        paint::PdfCanvas canvas(54);
        QCOMPARE(canvas.area(), QRectF(0, 0, 504, 684));
        canvas.setFont({10, false});
        QCOMPARE(canvas.advance(u"Wi"), 11.66);  // W 944 and i 222 thousandths
        canvas.drawLine(QPointF(0, 0), QPointF(10.004, -2.5));
        canvas.drawTextAt(QPointF(1, 2), u"(a) \\ b");
        canvas.drawTextUpwards(QPointF(1, 2), u"up");
        QVERIFY(canvas.encodable());
        canvas.drawTextAt(QPointF(1, 2), QString::fromUtf8("$8 − $4"));
        QVERIFY(canvas.encodable());
        const QByteArray pdf = canvas.finish(QString::fromUtf8("Año"), "KBT2", QDate(2026, 12, 8));
        QVERIFY2(pdf.contains("54 738 m 64 740.5 l S"), pdf.constData());
        QVERIFY(pdf.contains("Tf 1 0 0 1 55 736 Tm (\\(a\\) \\\\ b) Tj"));
        QVERIFY(pdf.contains("Tf 0 1 -1 0 55 736 Tm (up) Tj"));
        QVERIFY(pdf.contains("($8 \x81 $4) Tj"));
        QVERIFY(pdf.contains("/Title <FEFF004100F1006F>"));
        QVERIFY(pdf.contains("/CreationDate (D:20261208)"));
        QVERIFY(xrefPointsAtItsObjects(pdf));
        canvas.drawTextAt(QPointF(1, 2), QString::fromUtf8("Иван"));
        QVERIFY(!canvas.encodable());
    }

    // The paper is written in the PDF standard fonts; a name they cannot
    // write sends the whole summary through Qt's writer, which embeds a
    // font: either way every name reads back as typed.
    void everyNameReadsBackAsTyped_data() {
        QTest::addColumn<QString>("producer");
        QTest::addColumn<bool>("standardFonts");
        QTest::newRow("brackets and a backslash") << "Hansen (Jr.) \\ Søn" << true;
        QTest::newRow("another script") << QString::fromUtf8("Иван Петров") << false;
    }
    void everyNameReadsBackAsTyped() {
        QFETCH(QString, producer);
        QFETCH(bool, standardFonts);
        QTemporaryDir dir;
        QuoteSummary s = sampleSummary();
        s.producer = producer.toStdString();
        const QString pdf = dir.filePath("hansen.pdf");
        QVERIFY(paint::writeQuoteSummaryPdf(s, pdf, QDate(2026, 12, 8)).ok());
        QVERIFY2(pageText(pdf, 1).contains(producer), qPrintable(pageText(pdf, 1)));
        // The steps' minus and times signs, which WinAnsiEncoding lacks or has.
        QVERIFY2(pageText(pdf, 2).contains(QString::fromUtf8("the rest: $910 − $455 = $455.")),
                 qPrintable(pageText(pdf, 2)));
        QCOMPARE(run("pdffonts", {pdf}).contains("Helvetica"), standardFonts);
    }

    // The shares chart on a widget: every bar is drawn, and in more than one
    // grey so the two series of a chart stay apart in print.
    void chartsDrawOnAWidgetAsOnThePage() {
        ui::ChartView view(paint::taxYearsChart(sampleSummary()));
        view.resize(480, 300);
        QImage image(view.size(), QImage::Format_ARGB32);
        view.render(&image);
        QSet<int> greys;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2) greys.insert(qGray(image.pixel(x, y)) / 32);
        QVERIFY2(greys.size() >= 3, "the chart draws in at least three shades of grey");
        QCOMPARE(view.chart().categories.size(), 5);
        QCOMPARE(paint::guaranteeChart(sampleSummary()).categories, QStringList{".65 (65% coverage)"});
        // The premium on a scale of its own, not beside the guarantee.
        QCOMPARE(paint::guaranteeChart(sampleSummary()).series.size(), 1);
        QCOMPARE(paint::premiumChart(sampleSummary()).series.front().values, QList<double>{455});
    }
};

QTEST_MAIN(QuoteSummaryTest)
#include "quote_summary_test.moc"
