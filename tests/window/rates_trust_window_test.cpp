// Figures the rate file could not price, as a person meets them in the
// window: the mark on page 9, the warning in the status bar, Premium Details'
// marked row, no quote summary; and figures of an earlier premium left on
// page 9 when the next one stops.

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "tests/core/rate_records.h"
#include "tests/window/window_test_support.h"
#include "ui/main_window.h"
#include "ui/premium_details_dialog.h"
#include "ui/quote_actions.h"
#include "ui/status_notes.h"

using namespace kbt2;

namespace {

using testing_support::rateRecord;

const std::string kCorn = rateRecord({.code = "  41", .livestock = 'N', .insurable = 'Y'});
const std::string kCows = rateRecord({.code = " 800", .livestock = 'Y', .insurable = 'N'});

}  // namespace

class RatesTrustWindowTest : public QObject {
    Q_OBJECT

    QString mark(ui::MainWindow& window) {
        window.showPageOf({Control::Command4});
        auto* label = window.findChild<QLabel*>(QStringLiteral("premiumFiguresMark"));
        return label && label->isVisible() ? label->text() : QString();
    }
    QString warning(ui::MainWindow& window) { return window.documents().status().currentWarning(); }
    void writeRates(const QString& path, const std::string& content) {
        std::ofstream(path.toStdString(), std::ios::binary) << content;
    }
    // As a person presses it: the window follows the press.
    void calculate(ui::MainWindow& window) {
        test::MessageCatcher catcher;
        window.showPageOf({Control::Command4});
        qobject_cast<QPushButton*>(window.fieldWidget({Control::Command4}))->click();
    }

private Q_SLOTS:
    // Each table: what the mark and the warning name, and whether the figures
    // may become a quote summary.
    void marksFiguresTheRatesCannotPrice_data() {
        QTest::addColumn<QByteArray>("rates");
        QTest::addColumn<QStringList>("named");  // in the mark and the warning
        QTest::addColumn<bool>("summary");
        QTest::newRow("every record") << QByteArray::fromStdString(kCorn + "\r\n" + kCows + "\r\n") << QStringList{}
                                      << true;
        QTest::newRow("a record missing")
            << QByteArray::fromStdString(kCorn + "\r\n")
            << QStringList{"not a quote", "C: Cow-calf (code 800)", " county", "Ratefile.prn"} << false;
        QTest::newRow("empty") << QByteArray()
                               << QStringList{"not a quote", "holds no valid rate record", "Ratefile.prn"} << false;
        QTest::newRow("garbage") << QByteArray("this is\r\nno rate table\r\n")
                                 << QStringList{"not a quote", "holds no valid rate record"} << false;
        QTest::newRow("binary") << QByteArray(
                                       "\x7f"
                                       "ELF\x02\x01\x01\0\0\0\n\x03\0>\0",
                                       16)
                                << QStringList{"not a quote", "holds no valid rate record"} << false;
        QTest::newRow("the sample's mark")
            << QByteArray::fromStdString(kCorn + "\r\n" + kCows + "\r\n#KBT2-SAMPLE-RATES made-up\r\n")
            << QStringList{"made-up sample"} << true;
    }
    void marksFiguresTheRatesCannotPrice() {
        QFETCH(QByteArray, rates);
        QFETCH(QStringList, named);
        QFETCH(bool, summary);
        QTemporaryDir dir;
        writeRates(dir.filePath(QStringLiteral("Ratefile.prn")), rates.toStdString());
        ui::MainWindow window(std::make_unique<test::TestFolderPlatform>(dir.path().toStdString()));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        test::fillCornAndCowsCase(window);
        calculate(window);
        QVERIFY(window.form().lastPremium().calculated());

        const bool sampleOnly = named == QStringList{"made-up sample"};
        const QString shownMark = mark(window);
        const QString shownWarning = warning(window);
        for (const QString& part : named) {
            QVERIFY2(shownWarning.contains(part), qPrintable(shownWarning));
            if (!sampleOnly) QVERIFY2(shownMark.contains(part), qPrintable(shownMark));
        }
        if (named.isEmpty()) QVERIFY2(shownWarning.isEmpty(), qPrintable(shownWarning));
        if (named.isEmpty() || sampleOnly) QVERIFY2(shownMark.isEmpty(), qPrintable(shownMark));
        auto* bar = window.statusBar()->findChild<QLabel*>(QStringLiteral("statusWarning"));
        QVERIFY(bar);
        QCOMPARE(bar->isVisible(), !named.isEmpty());

        // No paper is made of figures that are no quote; the window says why.
        const QString pdf = dir.filePath(QStringLiteral("quote.pdf"));
        test::MessageCatcher catcher;
        QCOMPARE(window.quotes().exportSummaryTo(pdf), summary);
        QCOMPARE(QFile::exists(pdf), summary);
        if (!summary) {
            QVERIFY(!catcher.seen().empty());
            QVERIFY2(QString::fromStdString(catcher.seen().back().text).contains("No quote summary was written"),
                     catcher.seen().back().text.c_str());
        }
    }

    // The rate file gone, the next premium stops after its messages: the
    // figures of the one before stay on page 9, marked as not the
    // worksheet's as it stands, until a premium runs again.
    void figuresOfAnEarlierPremiumAreMarkedWhenTheNextStops() {
        QTemporaryDir dir;
        const QString rates = dir.filePath(QStringLiteral("Ratefile.prn"));
        writeRates(rates, kCorn + "\r\n" + kCows + "\r\n");
        ui::MainWindow window(std::make_unique<test::TestFolderPlatform>(dir.path().toStdString()));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        test::fillCornAndCowsCase(window);
        calculate(window);
        QVERIFY(mark(window).isEmpty());

        QVERIFY(QFile::remove(rates));
        calculate(window);
        QVERIFY(!window.form().lastPremium().calculated());
        QTRY_VERIFY2(mark(window).contains("from an earlier Calculate Premium"), qPrintable(mark(window)));
        QVERIFY2(window.documents().status().currentNote().contains("earlier Calculate Premium"),
                 qPrintable(window.documents().status().currentNote()));

        writeRates(rates, kCorn + "\r\n" + kCows + "\r\n");
        calculate(window);
        QTRY_VERIFY2(mark(window).isEmpty(), qPrintable(mark(window)));
    }

    // Premium Details heads the view with why the figures are no quote and
    // marks the row of the commodity without a record.
    void premiumDetailsMarksTheRowWithoutARecord() {
        QuoteSummary s;
        s.county = "Kent";
        s.rateFile.path = "/r/Ratefile.prn";
        s.rateFile.sample = true;
        s.commodities = {{"Corn", "41", 12}, {"Milk", "810", std::nullopt}};
        s.premium.rows = {{100, 0.2, false, true, {0.05, 0.04, 0.03}, {0.01, 0.008, 0.006}},
                          {400, 0.8, false, false, {}, {}}};
        ui::PremiumDetailsDialog dialog(s);
        auto* why = dialog.findChild<QLabel*>(QStringLiteral("notAQuote"));
        QVERIFY(why);
        QVERIFY2(why->text().contains("made-up sample"), qPrintable(why->text()));
        QVERIFY2(why->text().contains("no record for Milk (code 810) in Kent county"), qPrintable(why->text()));
        auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("commodityTable"));
        QVERIFY(table);
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("Corn"));
        QVERIFY2(table->item(1, 0)->text().startsWith(QChar(0x26A0)), qPrintable(table->item(1, 0)->text()));
        QCOMPARE(table->item(1, 6)->text(), QStringLiteral("none: rate 0"));

        s.rateFile.sample = false;
        s.commodities.pop_back();
        s.premium.rows.pop_back();
        ui::PremiumDetailsDialog sound(s);
        QVERIFY(!sound.findChild<QLabel*>(QStringLiteral("notAQuote")));
    }
};

KBT2_WINDOW_TEST_MAIN(RatesTrustWindowTest)
#include "rates_trust_window_test.moc"
