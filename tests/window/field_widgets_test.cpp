// The masked number fields show their display format only while they do not
// have the focus, and the worksheet always holds the plain text; the
// multi-line field keeps its text exactly as entered.

#include "ui/field_widgets.h"

#include <QLineEdit>
#include <QTest>

#include "tests/window/window_test_support.h"
#include "ui/main_window.h"

using namespace kbt2;

class FieldWidgetsTest : public QObject {
    Q_OBJECT

    Worksheet& ws() { return window_->form().worksheet(); }
    ui::MaskedLineEdit* masked(FieldRef field) {
        window_->showPageOf(field);
        QApplication::processEvents();
        // A page shown puts the focus in its first field; each case starts
        // with the field left.
        if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
        return qobject_cast<ui::MaskedLineEdit*>(window_->fieldWidget(field));
    }

private Q_SLOTS:
    void init() {
        window_ = test::showActiveMainWindow();
        QVERIFY(window_);
    }
    void cleanup() { window_.reset(); }

    void displayOnlyWithoutFocus_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("shown");
        QTest::newRow("income, whole dollars") << "Allinc1(0)"
                                               << "1234.5"
                                               << "$1,235";
        QTest::newRow("expense, negative in parentheses") << "Allexp1(4)"
                                                          << "-12"
                                                          << "($12.00)";
        QTest::newRow("expected value, cents") << "Expval1(2)"
                                               << "2.5"
                                               << "$2.50";
        QTest::newRow("total amount, no dollar sign") << "Totamt1(13)"
                                                      << "1000"
                                                      << "1,000.00";
        QTest::newRow("intended amount has no format") << "Intamt1(0)"
                                                       << "1000"
                                                       << "1000";
        QTest::newRow("years has no format") << "YearProd(9)"
                                             << "3.5"
                                             << "3.5";
        QTest::newRow("text that is no number stands") << "Allinc1(2)"
                                                       << "abc"
                                                       << "abc";
        QTest::newRow("empty stays empty") << "Allinc1(3)"
                                           << ""
                                           << "";
    }
    void displayOnlyWithoutFocus() {
        QFETCH(QString, field);
        QFETCH(QString, plain);
        QFETCH(QString, shown);
        const FieldRef ref = *parseRef(field.toStdString());
        ui::MaskedLineEdit* edit = masked(ref);
        ws().setText(ref, plain.toStdString());
        QCOMPARE(edit->text(), shown);
        QCOMPARE(edit->plainText(), plain);

        edit->setFocus();
        QVERIFY(edit->hasFocus());
        QCOMPARE(edit->text(), plain);
        edit->clearFocus();
        QCOMPARE(edit->text(), shown);
        QCOMPARE(ws().text(ref), plain.toStdString());
    }

    // Typing edits the plain text; leaving the field formats it.
    void typingEditsThePlainText() {
        ui::MaskedLineEdit* edit = masked({Control::Allinc1, 1});
        ws().setText({Control::Allinc1, 1}, "1000");
        QTest::mouseClick(edit, Qt::LeftButton);
        QVERIFY(edit->hasFocus());
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClicks(edit, "5");
        QCOMPARE(ws().text({Control::Allinc1, 1}), std::string("10005"));
        QTest::keyClick(edit, Qt::Key_Tab);
        QVERIFY(!edit->hasFocus());
        QCOMPARE(edit->text(), QStringLiteral("$10,005"));
        QCOMPARE(ws().text({Control::Allinc1, 1}), std::string("10005"));
    }

    // A command writing into the field that has the focus: the person sees the
    // new plain text, and the format once leaving.
    void aCommandWritesIntoTheFocusedField() {
        ui::MaskedLineEdit* edit = masked({Control::Expval1, 0});
        edit->setFocus();
        ws().setText({Control::Expval1, 0}, "7");
        QCOMPARE(edit->text(), QStringLiteral("7"));
        edit->clearFocus();
        QCOMPARE(edit->text(), QStringLiteral("$7.00"));
    }

    void multiLineKeepsTheTextAsEntered() {
        auto* box = qobject_cast<ui::MultiLineEdit*>(window_->fieldWidget({Control::Infobox}));
        ws().setText({Control::Infobox}, "first\r\nsecond\rthird");
        QCOMPARE(box->fieldText(), QStringLiteral("first\r\nsecond\rthird"));
        QCOMPARE(box->document()->blockCount(), 3);
        box->enterText(QStringLiteral("a\r\nb"));
        QCOMPARE(ws().text({Control::Infobox}), std::string("a\r\nb"));
        // A person's typing takes the document's own line breaks.
        box->setFocus();
        box->moveCursor(QTextCursor::End);
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClicks(box, "c");
        QCOMPARE(ws().text({Control::Infobox}), std::string("a\nb\nc"));
    }

private:
    std::unique_ptr<ui::MainWindow> window_;
};

KBT2_WINDOW_TEST_MAIN(FieldWidgetsTest)
#include "field_widgets_test.moc"
