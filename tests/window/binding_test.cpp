// The window and the worksheet mirror each other: a person's typing, clicks
// and selections reach the worksheet and its commands, and every change of a
// field shows in that field's widget.

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "location/states.h"
#include "tests/window/window_test_support.h"
#include "ui/field_widgets.h"
#include "ui/main_window.h"

using namespace kbt2;

class BindingTest : public QObject {
    Q_OBJECT

    Worksheet& ws() { return window_->form().worksheet(); }
    template <class W>
    W* widget(FieldRef field) {
        window_->showPageOf(field);
        QApplication::processEvents();
        return qobject_cast<W*>(window_->fieldWidget(field));
    }
    void clickOn(QAbstractButton* button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

private Q_SLOTS:
    void init() {
        window_ = test::showActiveMainWindow();
        QVERIFY(window_);
    }
    void cleanup() { window_.reset(); }

    void typingReachesTheWorksheet() {
        auto* edit = widget<QLineEdit>({Control::Producer1});
        edit->setFocus();
        QTest::keyClicks(edit, "Jones Farm");
        QCOMPARE(ws().text({Control::Producer1}), std::string("Jones Farm"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(ws().text({Control::Producer1}), std::string("Jones Far"));
    }

    void worksheetChangesShowWithoutEcho() {
        auto* edit = widget<QLineEdit>({Control::Cropname1, 3});
        QSignalSpy edits(edit, &QLineEdit::textChanged);
        int changes = 0;
        ws().addObserver([&](const FieldChange& change) {
            if (change.field == FieldRef{Control::Cropname1, 3}) ++changes;
        });
        ws().setText({Control::Cropname1, 3}, "Apples");
        QCOMPARE(edit->text(), QStringLiteral("Apples"));
        QCOMPARE(edits.count(), 0);
        QCOMPARE(changes, 1);
    }

    // A page built after its fields changed shows them as they are.
    void aPageBuiltLaterShowsTheWorksheetAsItIs() {
        ws().setText({Control::Text23, 1}, "0.75");
        ws().setVisible({Control::Text23, 2}, false);
        ws().select({Control::Fl1, 2});
        QCOMPARE(widget<QLineEdit>({Control::Text23, 1})->text(), QStringLiteral("0.75"));
        QVERIFY(window_->fieldWidget({Control::Text23, 2})->isHidden());
        QVERIFY(widget<QRadioButton>({Control::Fl1, 2})->isChecked());
    }

    void aClickOnABoxChecksItAndTheWorksheetFollows() {
        auto* box = widget<QCheckBox>({Control::Crop, 3});
        clickOn(box);
        QVERIFY(box->isChecked());
        QVERIFY(ws().checked({Control::Crop, 3}));
        ws().setChecked({Control::Crop, 3}, false);
        QVERIFY(!box->isChecked());
    }

    // Checking a commodity and then its group's transfer box writes the
    // report row, and the report page shows it.
    void aClickOnATransferBoxFillsTheReportWidgets() {
        clickOn(widget<QCheckBox>({Control::Crop, 1}));    // Apples
        clickOn(widget<QCheckBox>({Control::Crop2, 32}));  // Wheat
        clickOn(widget<QCheckBox>({Control::Crop2, 57}));  // transfer of Crop2
        QCOMPARE(widget<QLineEdit>({Control::Cropname1, 0})->text(), QStringLiteral("Wheat"));
        QCOMPARE(widget<QLineEdit>({Control::Unit1, 0})->text(), QStringLiteral("11"));
        clickOn(widget<QCheckBox>({Control::Crop, 51}));  // transfer of Crop
        QCOMPARE(widget<QLineEdit>({Control::Cropname1, 1})->text(), QStringLiteral("Apples"));
        QCOMPARE(widget<QLineEdit>({Control::Unit1, 1})->text(), QStringLiteral("54"));
        // Clearing the box while the transfer box is checked takes the row away.
        clickOn(widget<QCheckBox>({Control::Crop, 1}));
        QCOMPARE(widget<QLineEdit>({Control::Cropname1, 1})->text(), QString());
    }

    // One county group across all states; a selected option stays selected
    // when clicked again; only another selection clears it.
    void optionGroups() {
        auto* york = widget<QRadioButton>({Control::Me1, 3});
        auto* kent = widget<QRadioButton>({Control::Mi1, 2});
        clickOn(kent);
        QVERIFY(kent->isChecked());
        clickOn(york);
        QVERIFY(york->isChecked());
        QVERIFY(!kent->isChecked());
        QCOMPARE(ws().selected({Control::Mi1, 2}), false);
        QCOMPARE(ws().selected({Control::Me1, 3}), true);
        clickOn(york);
        QVERIFY(york->isChecked());
        QVERIFY(ws().selected({Control::Me1, 3}));

        auto* ein = widget<QRadioButton>({Control::EIN});
        clickOn(ein);
        QVERIFY(!widget<QRadioButton>({Control::SSN})->isChecked());
        QVERIFY(ws().selected({Control::EIN}));
        // The worksheet may clear an option (Clear does, for states).
        ws().deselect({Control::Me1, 3});
        QVERIFY(!york->isChecked());
    }

    // A state selected by a click hides the commodities it does not offer,
    // captions included; the hidden boxes keep their value.
    void aStateClickHidesBoxesAndTheirCaptions() {
        auto* oranges = widget<QCheckBox>({Control::Crop, 28});
        clickOn(oranges);
        clickOn(widget<QRadioButton>({Control::St, 0}));  // Michigan
        QVERIFY(oranges->isHidden());
        QVERIFY(oranges->isChecked());
        int hidden = 0;
        for (const Control array : {Control::Crop, Control::Crop1, Control::Crop2})
            for (int i = 0; i < info(array).slots(); ++i)
                if (window_->fieldWidget({array, i})->isHidden()) ++hidden;
        QCOMPARE(hidden, 28);
        window_->showPageOf({Control::Crop, 28});
        QApplication::processEvents();
        for (QLabel* label : window_->pages()->widget(4)->findChildren<QLabel*>())
            if (label->text() == QStringLiteral("Oranges")) QVERIFY(label->isHidden());
        clickOn(widget<QRadioButton>({Control::St, 4}));  // Florida
        QVERIFY(!oranges->isHidden());
    }

    void buttonsRunTheirCommands() {
        widget<QLineEdit>({Control::Producer2})->setText(QStringLiteral("x"));
        widget<QLineEdit>({Control::statename})->setText(QStringLiteral("Maine"));
        clickOn(widget<QPushButton>({Control::Clear}));
        QCOMPARE(widget<QLineEdit>({Control::Producer2})->text(), QString());
        QCOMPARE(widget<QLineEdit>({Control::statename})->text(), QStringLiteral("Maine"));
    }

    // Exit and the window's own close control end the program, no question.
    void exitClosesTheWindow() {
        QSignalSpy closed(window_.get(), &ui::MainWindow::closed);
        test::MessageCatcher catcher;
        clickOn(widget<QPushButton>({Control::Command1}));
        QCOMPARE(closed.count(), 1);
        QVERIFY(!window_->isVisible());
        QVERIFY(catcher.seen().empty());
    }

    void theCloseControlClosesTheWindow() {
        QSignalSpy closed(window_.get(), &ui::MainWindow::closed);
        widget<QLineEdit>({Control::Producer1})->setText(QStringLiteral("unsaved"));
        QVERIFY(window_->close());
        QCOMPARE(closed.count(), 1);
    }

private:
    std::unique_ptr<ui::MainWindow> window_;
};

KBT2_WINDOW_TEST_MAIN(BindingTest)
#include "binding_test.moc"
