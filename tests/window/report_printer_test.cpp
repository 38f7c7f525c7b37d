// The report on the real printer path: the window's platform has QPrinter
// write a PDF, read back with pdftotext (poppler-utils, installed by
// scripts/install-deps.sh).

#include <signal.h>
#include <sys/resource.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "storage/report.h"
#include "tests/core/file_size_limit.h"
#include "ui/qt_platform.h"

using namespace kbt2;

namespace {

using kbt2::testing_support::FileSizeLimit;

struct Word {
    QString text;
    double x;
    double y;
};

QString pdftotext(const QStringList& arguments) {
    const QString tool = QStandardPaths::findExecutable("pdftotext");
    if (tool.isEmpty()) return {};
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Every word of the PDF with the top-left corner of its box, in points.
QList<Word> wordsOf(const QString& pdf) {
    const QString html = pdftotext({"-bbox", pdf, "-"});
    static const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re");
    QList<Word> words;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        words.append({m.captured(3), m.captured(1).toDouble(), m.captured(2).toDouble()});
    }
    return words;
}

Word find(const QList<Word>& words, const QString& text) {
    for (const Word& w : words)
        if (w.text == text) return w;
    return {{}, -1, -1};
}

PrintResult printPdf(const PrintDocument& document, const QString& path) {
    ui::QtPlatform platform;
    return platform.printToPdf(document, path.toStdString());
}

PrintLine lineOf(std::initializer_list<PrintItem> items) { return PrintLine(items); }

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int filesIn(const QString& folder) { return static_cast<int>(QDir(folder).entryList(QDir::Files).size()); }

}  // namespace

class ReportPrinterTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        QVERIFY2(!QStandardPaths::findExecutable("pdftotext").isEmpty(),
                 "pdftotext is missing: run scripts/install-deps.sh");
        QVERIFY(dir_.isValid());
    }

    // The labels checked hold no "fi": the font draws it as one ligature
    // glyph, which pdftotext reads back as such.
    void reportLabelsReachThePdf() {
        Worksheet ws;
        ws.setText({Control::Producer1}, "Jane Doe");
        ws.select({Control::IRSAcc});
        ws.setText({Control::Croptext}, "1");
        ws.setText({Control::Cropname1, 0}, "Cranberries");
        ws.setText({Control::Infobox}, "one change\nanother change");
        const QString pdf = dir_.filePath("report.pdf");
        const PrintResult result = printPdf(composeReport(ws), pdf);
        QCOMPARE(result.status, PrintResult::Status::Printed);

        const QString text = pdftotext({"-layout", pdf, "-"});
        for (const char* label :
             {"Producer Information", "Agency Information", "Jane Doe", "Accrural", "Kelbrant",
              "Intended Commodity Report", "Cranberries", "Calculate Premium", "Indemnity Threshold",
              "Preliminay KBT:", "Report of Changes", "one change", "another change"})
            QVERIFY2(text.contains(QString::fromUtf8(label)), label);
        QVERIFY(text.contains(QRegularExpression("Total Expected +KBT:")));
    }

    // Column n stands n - 1 average widths from the margin: columns 1, 21 and
    // 41 are evenly spaced; a move from past column 21 goes to the next line.
    void columnsAreAverageCharacterWidths() {
        PrintDocument doc;
        doc.lines.push_back(lineOf({PrintItem::textItem("A1"), PrintItem::columnItem(21), PrintItem::textItem("B21"),
                                    PrintItem::columnItem(41), PrintItem::textItem("C41")}));
        doc.lines.push_back(
            lineOf({PrintItem::textItem(std::string(30, 'W')), PrintItem::columnItem(21), PrintItem::textItem("D21")}));
        const QString pdf = dir_.filePath("columns.pdf");
        QCOMPARE(printPdf(doc, pdf).status, PrintResult::Status::Printed);

        const QList<Word> words = wordsOf(pdf);
        const Word a = find(words, "A1"), b = find(words, "B21"), c = find(words, "C41"), d = find(words, "D21");
        QVERIFY(a.x >= 0 && b.x > a.x && c.x > b.x && d.x >= 0);
        QVERIFY(qAbs((c.x - b.x) - (b.x - a.x)) < 1.0);
        QVERIFY(qAbs(d.x - b.x) < 1.0);
        QCOMPARE(a.y, b.y);
        const double lineHeight = find(words, QString(30, 'W')).y - a.y;
        QVERIFY(lineHeight > 0);
        QVERIFY(qAbs((d.y - a.y) - 2 * lineHeight) < 0.5);  // the wrap took one more line
    }

    void aLongReportGoesOnToNewPages() {
        PrintDocument doc;
        for (int i = 0; i < 400; ++i) doc.lines.push_back(lineOf({PrintItem::textItem("line" + std::to_string(i))}));
        const QString pdf = dir_.filePath("long.pdf");
        QCOMPARE(printPdf(doc, pdf).status, PrintResult::Status::Printed);
        const QString last = pdftotext({"-f", "2", pdf, "-"});
        QVERIFY(last.contains("line399"));
        QVERIFY(!last.contains("line0\n"));
    }

    void anUnwritablePdfIsAFailureWithAReason() {
        const PrintResult result =
            printPdf(PrintDocument{{lineOf({PrintItem::textItem("x")})}}, dir_.filePath("missing/folder/report.pdf"));
        QCOMPARE(result.status, PrintResult::Status::Failed);
        QCOMPARE(QString::fromStdString(result.error), QStringLiteral("The folder does not exist."));
    }

    // A full disk or a size limit: the report that was there stays as it was,
    // and the failure says so.
    void aSizeLimitKeepsTheEarlierPdfAndSaysSo_data() {
        QTest::addColumn<int>("limit");
        QTest::newRow("nothing may be written") << 0;
        QTest::newRow("the PDF is cut short") << 2048;
    }
    void aSizeLimitKeepsTheEarlierPdfAndSaysSo() {
        QFETCH(int, limit);
        const QTemporaryDir dir;
        const QString pdf = dir.filePath("report.pdf");
        PrintDocument doc;
        for (int i = 0; i < 200; ++i) doc.lines.push_back(lineOf({PrintItem::textItem("line" + std::to_string(i))}));
        QCOMPARE(printPdf(doc, pdf).status, PrintResult::Status::Printed);
        const QByteArray earlier = bytesOf(pdf);
        QVERIFY(earlier.size() > limit);
        PrintResult result;
        {
            FileSizeLimit limited(static_cast<rlim_t>(limit));
            result = printPdf(doc, pdf);
        }
        QCOMPARE(result.status, PrintResult::Status::Failed);
        QVERIFY2(QString::fromStdString(result.error).endsWith("The file already there is left as it was."),
                 result.error.c_str());
        QCOMPARE(bytesOf(pdf), earlier);
        QCOMPARE(filesIn(dir.path()), 1);
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(ReportPrinterTest)
#include "report_printer_test.moc"
