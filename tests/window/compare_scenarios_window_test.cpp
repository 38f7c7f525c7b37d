// The comparison view in the window: one column per scenario, each the fresh
// calculation of that scenario as it stands, a tick for the farmer's paper
// that reaches the case, the next level's advice and its button, and the
// keyboard's way through it.

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "calc/numbers.h"
#include "paint/qt_text.h"
#include "quote/fresh_quote.h"
#include "quote/quote_text.h"
#include "rates/rate_source.h"
#include "tests/core/rate_records.h"
#include "tests/window/window_test_support.h"
#include "ui/compare_scenarios_dialog.h"
#include "ui/main_window.h"

using namespace kbt2;

class CompareScenariosWindowTest : public QObject {
    Q_OBJECT

    void row(int index, const char* name, const char* code, const char* amount, const char* value) {
        Worksheet& ws = window_->form().worksheet();
        ws.setText({Control::Cropname1, index}, name);
        ws.setText({Control::Unit1, index}, code);
        ws.setText({Control::Totamt1, index}, amount);
        ws.setText({Control::Expval1, index}, value);
    }

    // Runs `look` on the comparison view once it is open, then closes it
    // with Escape.
    void withView(const std::function<void(ui::CompareScenariosDialog&)>& look) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* view = dynamic_cast<ui::CompareScenariosDialog*>(QApplication::activeModalWidget());
            if (!view) return;
            seen = true;
            look(*view);
            QTest::keyClick(view, Qt::Key_Escape);
        });
        auto* action = window_->findChild<QAction*>(QStringLiteral("actionCompareScenarios"));
        QVERIFY(action);
        QCOMPARE(action->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+C")));
        action->trigger();
        QVERIFY(seen);
        QVERIFY(!QApplication::activeModalWidget());
    }

private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        {
            using testing_support::rateRecord;
            std::ofstream rates(dir_->filePath(QStringLiteral("Ratefile.prn")).toStdString(), std::ios::binary);
            for (const char* code : {"  41", "  81", "  11", "  61"})
                rates << rateRecord({.code = code, .insurable = 'N'}) << "\r\n";
        }
        window_ =
            std::make_unique<ui::MainWindow>(std::make_unique<test::TestFolderPlatform>(dir_->path().toStdString()));
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        window_->activateWindow();
        if (!QTest::qWaitForWindowActive(window_.get())) QApplication::setActiveWindow(window_.get());
        // Corn, soybeans and milk in Kent county, Michigan; nothing calculated.
        Worksheet& ws = window_->form().worksheet();
        ws.select({Control::St, 0});
        ws.select({Control::Mi1, 2});
        for (int year = 0; year < 5; ++year) ws.setText({Control::Allinc1, year}, "200000");
        ws.setText({Control::Averageinc}, "200000");
        row(0, "Corn", "41", "1000", "60");
        row(1, "Soybeans", "81", "1000", "40");
        row(2, "Milk", "11", "500", "50");
        QVERIFY(window_->scenarios().add(QStringLiteral("hay")));
        row(3, "Hay", "61", "40", "120");
        window_->form().worksheet().setText({Control::Type1, 3}, "t");
        QVERIFY(window_->scenarios().add(QStringLiteral("milk half")));
        window_->form().worksheet().setText({Control::Expval1, 2}, "25");
    }

    void cleanup() { window_.reset(); }

    void eachColumnIsTheFreshCalculationOfItsScenario() {
        Case& scenarios = window_->scenarioCase();
        withView([&](ui::CompareScenariosDialog& view) {
            QTableWidget* table = view.table();
            QCOMPARE(table->columnCount(), 3);
            QCOMPARE(table->horizontalHeaderItem(2)->text(), QStringLiteral("milk half (current)"));
            const auto rowOf = [table](const QString& heading) {
                for (int r = 0; r < table->rowCount(); ++r)
                    if (table->verticalHeaderItem(r)->text() == heading) return r;
                return -1;
            };
            QCOMPARE(table->item(0, 1)->text(), QStringLiteral("Hay added, 40 t at $120"));
            QCOMPARE(table->item(0, 2)->text(),
                     QStringLiteral("Milk's expected value 50 % lower; Hay added, 40 t at $120"));
            const auto cellOf = [&](int c, const char* heading) {
                const int r = rowOf(QString::fromUtf8(heading));
                return r < 0 ? QString() : table->item(r, c)->text();
            };
            test::TestFolderPlatform platform(dir_->path().toStdString());
            for (int c = 0; c < 3; ++c) {
                RateFileSource rates;
                const FreshQuote fresh =
                    freshQuote(scenarios.worksheet(static_cast<size_t>(c)), platform, rates, scenarios.name(c));
                QVERIFY2(fresh.summary, fresh.problem.c_str());
                const QuoteSummary& s = *fresh.summary;
                const auto cell = [&](const char* heading) { return cellOf(c, heading); };
                QCOMPARE(cell("Total expected KBT"), QString::fromStdString(dollarText(s.premium.totalExpectedKbt)));
                QCOMPARE(cell("Allowable KBT"), QString::fromStdString(dollarText(s.premium.allowableKbt)));
                QCOMPARE(cell("Commodities that count"),
                         QStringLiteral("%1 of %2").arg(s.premium.significantCount).arg(s.commodities.size()));
                QCOMPARE(cell("Diversification factor"),
                         QString::fromStdString(plainText(s.premium.diversificationFactor)));
                for (const SummaryLevel& summaryLevel : summaryLevels(s)) {
                    const std::string at = summaryLevel.coverage;
                    const PremiumColumn& level = summaryLevel.figures;
                    if (!level.offered) {
                        QVERIFY(cell((at + " guarantee").c_str()).startsWith(QStringLiteral("Not offered")));
                        continue;
                    }
                    QVERIFY(cell((at + " guarantee").c_str())
                                .startsWith(QString::fromStdString(dollarText(level.indemnityThreshold()))));
                    QCOMPARE(cell((at + " producer premium").c_str()),
                             QString::fromStdString(dollarText(level.producerPremium())));
                    QVERIFY(cell((at + " premium per $1,000 of guarantee").c_str())
                                .startsWith(QString::fromStdString(dollarCentsText(premiumPerThousand(level)))));
                }
            }
            // Halving the milk leaves two that count: .75 closed.
            QVERIFY(cellOf(2, ".75 guarantee").startsWith(QStringLiteral("Not offered: closed by a change")));
            QVERIFY2(view.advice()->text().startsWith(QStringLiteral("The .75 level needs 3 commodities")),
                     qPrintable(view.advice()->text()));
        });
        // The page 9 fields were never written: the figures came from fresh runs.
        QVERIFY(window_->form().worksheet().text({Control::Text23, 2}).empty());
    }

    void aTickForThePaperReachesTheCase() {
        Case& scenarios = window_->scenarioCase();
        withView([&](ui::CompareScenariosDialog& view) {
            QTableWidget* table = view.table();
            QTableWidgetItem* tick = table->item(table->rowCount() - 1, 1);
            QVERIFY(tick->flags() & Qt::ItemIsUserCheckable);
            QCOMPARE(tick->checkState(), Qt::Unchecked);
            // By the keyboard: the cell, then space.
            table->setFocus();
            table->setCurrentItem(tick);
            QTest::keyClick(table, Qt::Key_Space);
            QVERIFY(scenarios.forPaper(1));
            QVERIFY(!scenarios.forPaper(0));
            QVERIFY(!scenarios.forPaper(2));
        });
        // The tick stays with the case and shows the next time.
        QVERIFY(scenarios.forPaper(1));
        withView([&](ui::CompareScenariosDialog& view) {
            QTableWidget* table = view.table();
            QCOMPARE(table->item(table->rowCount() - 1, 1)->checkState(), Qt::Checked);
        });
    }

    // The ticked scenarios go on the summary's third page, each figure the
    // fresh calculation's as the view shows it; the others stay off it.
    void theTickedScenariosAreTheSummarysOptions() {
        Case& scenarios = window_->scenarioCase();
        QVERIFY(scenarios.setForPaper(0, true));
        QVERIFY(scenarios.setForPaper(2, true));
        const QString pdf = dir_->filePath(QStringLiteral("quote.pdf"));
        QVERIFY(window_->quotes().exportSummaryTo(pdf));
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QStringLiteral("3"), pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(30000));
        const QString third = QString::fromUtf8(text.readAllStandardOutput()).simplified();
        QVERIFY2(third.startsWith(QStringLiteral("Options we looked at")), qPrintable(third));
        QVERIFY2(third.contains(QStringLiteral("base: the farm as entered.")), qPrintable(third));
        QVERIFY2(
            third.contains(QStringLiteral("milk half: Milk's expected value 50 % lower; Hay added, 40 t at $120.")),
            qPrintable(third));
        QVERIFY2(!third.contains(QStringLiteral("hay")), qPrintable(third));
        test::TestFolderPlatform platform(dir_->path().toStdString());
        for (size_t c : {size_t{0}, size_t{2}}) {
            RateFileSource rates;
            const FreshQuote fresh = freshQuote(scenarios.worksheet(c), platform, rates, scenarios.name(c));
            QVERIFY2(fresh.summary, fresh.problem.c_str());
            for (const SummaryLevel& level : offeredLevels(*fresh.summary))
                QVERIFY2(third.contains(toQString(dollarText(level.figures.producerPremium()))) &&
                             third.contains(toQString(dollarText(level.figures.indemnityThreshold()))),
                         qPrintable(third));
        }
        // In Spanish, what each changed is told in Spanish too.
        QVERIFY(window_->quotes().exportSummaryTo(pdf, Language::Spanish));
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QStringLiteral("3"), pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(30000));
        const QString spanish = QString::fromUtf8(text.readAllStandardOutput()).simplified();
        QVERIFY2(spanish.startsWith(QStringLiteral("Opciones que analizamos")), qPrintable(spanish));
        QVERIFY2(spanish.contains(QStringLiteral("milk half: Valor esperado de Milk un 50 % menor; Se agrega Hay: "
                                                 "40 t a $120.")),
                 qPrintable(spanish));
        QVERIFY2(!spanish.contains(QStringLiteral("expected")) && !spanish.contains(QStringLiteral("guarantee")),
                 qPrintable(spanish));
        // Without a tick there is no third page.
        QVERIFY(scenarios.setForPaper(0, false));
        QVERIFY(scenarios.setForPaper(2, false));
        QVERIFY(window_->quotes().exportSummaryTo(pdf));
        text.start(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY(text.waitForFinished(30000));
        QVERIFY(QString::fromUtf8(text.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+2\\n")));
    }

    void tabReachesEveryPartAndTheTryButtonAddsAScenario() {
        Case& scenarios = window_->scenarioCase();
        test::TestFolderPlatform platform(dir_->path().toStdString());
        ui::CompareScenariosDialog view(
            scenarios, platform, [this](const std::string& name) { return window_->scenarios().add(name); },
            window_.get());
        view.show();
        view.activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        // The offscreen platform may leave the main window active.
        if (QApplication::activeWindow() != &view) QApplication::setActiveWindow(&view);
        view.table()->setFocus();
        QList<QWidget*> reached;
        for (int i = 0; i < 4; ++i) {
            reached.append(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(QApplication::focusWidget(), view.table());  // round again
        auto* close = view.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close);
        QCOMPARE(reached, (QList<QWidget*>{view.table(), view.advice(), view.tryButton(), close}));

        // The screen it opens on holds it whole.
        const QSize room = view.screen()->availableGeometry().size();
        QVERIFY(view.width() <= room.width() && view.height() <= room.height());

        QVERIFY(view.tryButton()->isEnabled());
        view.tryButton()->click();
        QCOMPARE(scenarios.size(), size_t{4});
        QCOMPARE(scenarios.name(3), std::string("Try .75"));
        QCOMPARE(scenarios.current(), size_t{3});
        QCOMPARE(view.table()->columnCount(), 4);
        QCOMPARE(view.tryButton()->text(), QStringLiteral("Add Scenario “Try .75 (2)”"));
        QTest::keyClick(&view, Qt::Key_Escape);
        QVERIFY(!view.isVisible());
    }

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ui::MainWindow> window_;
};

QTEST_MAIN(CompareScenariosWindowTest)
#include "compare_scenarios_window_test.moc"
