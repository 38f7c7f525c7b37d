// The premium's details in the window: page 9 marked when its figures no
// longer hold, the Premium Details view and the quote summary made from a
// fresh calculation, and the print job named after the worksheet.

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "tests/core/rate_records.h"
#include "tests/window/window_test_support.h"
#include "ui/main_window.h"

using namespace kbt2;

namespace {

QString pdfText(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput()).simplified();
}

}  // namespace

class PremiumDetailsWindowTest : public QObject {
    Q_OBJECT

    // Corn and soybeans in Kent county, Michigan, priced; nothing warned.
    void calculate() {
        Worksheet& ws = window_->form().worksheet();
        ws.select({Control::St, 0});
        ws.select({Control::Mi1, 2});
        for (int year = 0; year < 5; ++year) {
            ws.setText({Control::Allinc1, year}, "200000");
            ws.setText({Control::Allexp1, year}, "90000");
        }
        ws.setText({Control::Averageinc}, "200000");
        const char* names[] = {"Corn", "Soybeans"};
        const char* codes[] = {"41", "81"};
        for (int row = 0; row < 2; ++row) {
            ws.setText({Control::Cropname1, row}, names[row]);
            ws.setText({Control::Unit1, row}, codes[row]);
            ws.setText({Control::Totamt1, row}, "1000");
            ws.setText({Control::Expval1, row}, row == 0 ? "60" : "40");
        }
        window_->showPageOf({Control::Command4});
        qobject_cast<QPushButton*>(window_->fieldWidget({Control::Command4}))->click();
        QCoreApplication::processEvents();
    }

    QLabel* mark() { return window_->findChild<QLabel*>(QStringLiteral("premiumFiguresMark")); }

private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        {
            using testing_support::rateRecord;
            std::ofstream rates(dir_->filePath(QStringLiteral("Ratefile.prn")).toStdString(), std::ios::binary);
            rates << rateRecord({.code = "  41", .insurable = 'N'}) << "\r\n"
                  << rateRecord({.code = "  81", .insurable = 'N'}) << "\r\n";
        }
        window_ =
            std::make_unique<ui::MainWindow>(std::make_unique<test::TestFolderPlatform>(dir_->path().toStdString()));
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        calculate();
        QVERIFY(mark());
        QVERIFY(mark()->isHidden());
        // 0.75 × 0.65 × 100,000 at 0.03 × 0.684: 1,024, half of it paid.
        QCOMPARE(window_->form().worksheet().text({Control::Text18, 2}), std::string("512"));
    }

    void cleanup() { window_.reset(); }

    void anInputChangedSinceThePremiumMarksPageNine() {
        window_->form().worksheet().setText({Control::Expval1, 0}, "70");
        QTRY_VERIFY(!mark()->isHidden());
        QVERIFY2(mark()->text().contains("Corn's expected value changed since Calculate Premium"),
                 qPrintable(mark()->text()));
        QVERIFY(window_->documents().status().currentNote().contains("Corn's expected value"));
        // The fields keep their values.
        QCOMPARE(window_->form().worksheet().text({Control::Text18, 2}), std::string("512"));
        // Put back as it was, the figures hold again.
        window_->form().worksheet().setText({Control::Expval1, 0}, "60");
        QTRY_VERIFY(mark()->isHidden());
    }

    void aFigureTypedByHandIsNamed() {
        auto* producer = qobject_cast<QLineEdit*>(window_->fieldWidget({Control::Text18, 2}));
        producer->clear();
        QTest::keyClicks(producer, QStringLiteral("99"));
        QTRY_VERIFY(!mark()->isHidden());
        QVERIFY2(mark()->text().contains("typed over by hand: the Producer Premium .65"), qPrintable(mark()->text()));
    }

    void aNewPremiumOrClearTakesTheMarkAway() {
        window_->form().worksheet().setText({Control::Totamt1, 1}, "2000");
        QTRY_VERIFY(!mark()->isHidden());
        qobject_cast<QPushButton*>(window_->fieldWidget({Control::Command4}))->click();
        QCoreApplication::processEvents();
        QVERIFY(mark()->isHidden());
        window_->form().worksheet().setText({Control::MPCI}, "500");
        QTRY_VERIFY(!mark()->isHidden());
        window_->form().click(Control::Clear);
        QTRY_VERIFY(mark()->isHidden());
    }

    // Undo puts back the fields of another time: no mark for them.
    void undoEndsTheWatch() {
        auto* producer = qobject_cast<QLineEdit*>(window_->fieldWidget({Control::Text18, 2}));
        producer->selectAll();
        QTest::keyClicks(producer, QStringLiteral("99"));
        QTRY_VERIFY(!mark()->isHidden());
        window_->findChild<QAction*>(QStringLiteral("actionUndo"))->trigger();
        QTRY_VERIFY(mark()->isHidden());
    }

    // The view shows a fresh calculation: the changed expected value, not
    // the stale page 9.
    void detailsViewIsMadeFromTheWorksheetAsItStands() {
        window_->form().worksheet().setText({Control::Expval1, 1}, "60");  // shares 0.5 and 0.5 now
        QString steps;
        QString firstShare;
        bool accessible = false;
        QString chart;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || dialog->objectName() != QStringLiteral("premiumDetails")) return;
            steps = dialog->findChild<QLabel*>(QStringLiteral("premiumSteps"))->text();
            auto* commodities = dialog->findChild<QTableWidget*>(QStringLiteral("commodityTable"));
            firstShare = commodities->item(0, 3)->text();
            // Heard as well as seen: the table named after its heading with
            // the commodity as row header, Tab out of it, the chart in words.
            accessible = commodities->accessibleName() == QStringLiteral("The commodities") &&
                         commodities->verticalHeaderItem(0)->text() == commodities->item(0, 0)->text() &&
                         !commodities->tabKeyNavigation() &&
                         (dialog->findChild<QLabel*>(QStringLiteral("premiumSteps"))->focusPolicy() & Qt::TabFocus);
            chart = dialog->findChild<QWidget*>(QStringLiteral("sharesChart"))->accessibleDescription();
            dialog->reject();
        });
        auto* details = window_->findChild<QAction*>(QStringLiteral("actionPremiumDetails"));
        QVERIFY(details);
        QCOMPARE(details->shortcut(), QKeySequence(QStringLiteral("Ctrl+D")));
        details->trigger();
        QCOMPARE(firstShare, QStringLiteral("0.5"));
        QVERIFY(accessible);
        QVERIFY2(chart.contains(QStringLiteral("Corn: ")), qPrintable(chart));
        QVERIFY2(steps.contains("the farm's shares differ from it by S = 0 in all (each share's distance from 0.5, to "
                                "three decimals, added up). For 2 commodities the diversification factor is 0.668 + "
                                "0.0179999 × S + 0.3142858 × S², to three decimals: 0.668 + 0.0179999 × 0 + "
                                "0.3142858 × 0² = 0.668."),
                 qPrintable(steps));
        // Page 9 still holds the old figures, untouched by the view.
        QCOMPARE(window_->form().worksheet().text({Control::Text25, 2}), std::string("0.684"));
    }

    void quoteSummaryIsExportedWithTheRateFile() {
        const QString pdf = dir_->filePath(QStringLiteral("quote.pdf"));
        QVERIFY(window_->quotes().exportSummaryTo(pdf));
        const QString text = pdfText(pdf);
        QVERIFY2(text.contains("County: Kent, Michigan"), qPrintable(text));
        QVERIFY2(text.contains("Rates from Ratefile.prn"), qPrintable(text));
        QVERIFY(text.contains("2 records"));
        QVERIFY(window_->documents().status().currentNote().contains("quote.pdf"));
        QVERIFY(window_->findChild<QAction*>(QStringLiteral("actionExportQuoteSummary")));
    }

    // File > Export Quote Summary asks the language in its save dialogue,
    // reached with Alt+L, and offers the one chosen last the next time.
    void theSummaryDialogueAsksTheLanguageAndRemembersIt() {
        struct Export {
            QString file;
            int choose;        // the index to choose in the dialogue
            int offered = -1;  // the index it offered first
            bool reachedByKey = false;
        };
        Export exports[] = {{dir_->filePath(QStringLiteral("es.pdf")), 1},
                            {dir_->filePath(QStringLiteral("en.pdf")), 0}};
        for (Export& e : exports) {
            QTimer::singleShot(0, this, [&e] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                auto* languages = dialog->findChild<QComboBox*>(QStringLiteral("summaryLanguage"));
                QVERIFY(languages);
                QCOMPARE(languages->count(), 2);
                QCOMPARE(languages->itemText(1), QStringLiteral("Español"));
                e.offered = languages->currentIndex();
                QApplication::setActiveWindow(dialog);
                QVERIFY(QTest::qWaitForWindowActive(dialog));
                QTest::keyClick(dialog, Qt::Key_L, Qt::AltModifier);
                e.reachedByKey = QApplication::focusWidget() == languages;
                languages->setCurrentIndex(e.choose);
                dialog->selectFile(e.file);
                static_cast<QDialog*>(dialog)->accept();  // as Save does
            });
            window_->quotes().exportSummary();
            QVERIFY2(QFileInfo::exists(e.file), qPrintable(e.file));
            QVERIFY(e.reachedByKey);
        }
        QCOMPARE(exports[1].offered, 1);  // Spanish, chosen the time before
        QVERIFY2(pdfText(exports[0].file).contains(QStringLiteral("Condado: Kent, Michigan")),
                 qPrintable(pdfText(exports[0].file)));
        QVERIFY2(pdfText(exports[1].file).contains(QStringLiteral("County: Kent, Michigan")),
                 qPrintable(pdfText(exports[1].file)));
    }

    void aPrintJobCarriesTheWorksheetsName() {
        ui::QtPlatform platform;
        platform.rememberWorksheetFile(QStringLiteral("/farms/hansen.wsk"));
        QCOMPARE(platform.documentTitle(), QStringLiteral("hansen.wsk"));
        const QString pdf = dir_->filePath(QStringLiteral("report.pdf"));
        PrintDocument report;
        report.lines.push_back({PrintItem::textItem("KBT")});
        QCOMPARE(platform.printToPdf(report, pdf.toStdString()).status, PrintResult::Status::Printed);
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {pdf});
        info.waitForFinished(30000);
        QVERIFY(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Title:\\s+hansen.wsk")));
        QCOMPARE(ui::QtPlatform().documentTitle(), QStringLiteral("Untitled worksheet"));
    }

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ui::MainWindow> window_;
};

KBT2_WINDOW_TEST_MAIN(PremiumDetailsWindowTest)
#include "premium_details_window_test.moc"
