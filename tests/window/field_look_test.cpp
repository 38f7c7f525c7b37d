// Numbers stand right-aligned; the fields only the program fills are tinted,
// passed over by Tab, still editable with the mouse and still named for
// screen readers; the selected tab and a focused box are easy to find.

#include "ui/field_look.h"

#include <QLineEdit>
#include <QTest>

#include "tests/window/window_test_support.h"
#include "ui/page_tabs.h"
#include "ui/pages.h"

using namespace kbt2;

class FieldLookTest : public QObject {
    Q_OBJECT

    // The object names Tab visits on a page before it reaches the buttons.
    QStringList tabStops(int page) {
        window_->pages()->setCurrentIndex(page);
        QWidget* clear = window_->fieldWidget({Control::Clear});
        QStringList visited;
        for (QWidget* w = QApplication::focusWidget(); w && w != clear; w = QApplication::focusWidget()) {
            visited << w->objectName();
            QTest::keyClick(w, Qt::Key_Tab);
        }
        return visited;
    }

private Q_SLOTS:
    void init() {
        window_ = test::showActiveMainWindow();
        QVERIFY(window_);
        window_->buildAllPages();
    }
    void cleanup() { window_.reset(); }

    void everyFieldStandsAndTabsByItsRole() {
        for (const ControlInfo& c : kControls)
            for (int i = 0; i < c.slots(); ++i) {
                auto* edit = qobject_cast<QLineEdit*>(window_->fieldWidget({c.control, i}));
                if (!edit) continue;
                const QByteArray name = edit->objectName().toUtf8();
                QVERIFY2(bool(edit->alignment() & Qt::AlignRight) == ui::isNumberField(c.control), name);
                const bool result = ui::isResultField(c.control);
                QVERIFY2((edit->focusPolicy() == Qt::ClickFocus) == result, name);
                QVERIFY2((edit->palette().color(QPalette::Base) == edit->palette().color(QPalette::Window)) == result,
                         name);
                QVERIFY2(!edit->accessibleName().isEmpty(), name);
            }
    }

    // Where the results were: the premium page keeps only its button; the
    // report pages keep name and code (filled, and typed too) but not the KBT.
    void tabPassesTheResults() {
        QCOMPARE(tabStops(3), QStringList{"Command2"});
        QCOMPARE(tabStops(8), QStringList{"Command4"});
        const QStringList page8 = tabStops(7);
        QCOMPARE(page8.mid(0, 8), (QStringList{"Cropname1(9)", "Type1(9)", "Unit1(9)", "YearProd(9)", "Intamt1(9)",
                                               "Totamt1(9)", "Expval1(9)", "Cropname1(10)"}));
        QCOMPARE(page8.filter(QStringLiteral("Total1")), QStringList());
        QCOMPARE(page8.filter(QStringLiteral("Text15")), QStringList());
        QCOMPARE(page8.last(), QStringLiteral("Command3"));
    }

    // The commands read results back, so a person may still correct one.
    void aResultIsEditableWithTheMouse() {
        window_->pages()->setCurrentIndex(6);
        QWidget* kbt = window_->fieldWidget({Control::Total1, 2});
        QTest::mouseClick(kbt, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), kbt);
        QTest::keyClicks(kbt, QStringLiteral("1500"));
        QCOMPARE(window_->form().worksheet().text({Control::Total1, 2}), std::string("1500"));
    }

    // The selected tab and a focused box without text are marked in the
    // highlight colour, where the style's own cues are too faint to find.
    void cuesInTheHighlightColour() {
        const QColor highlight = window_->palette().color(QPalette::Highlight);
        auto* tabs = window_->findChild<ui::PageTabRows*>();
        window_->pages()->setCurrentIndex(4);
        QApplication::processEvents();
        const QImage selected = tabs->tab(4)->grab().toImage();
        const QImage other = tabs->tab(3)->grab().toImage();
        QCOMPARE(selected.pixelColor(selected.width() / 2, 0), highlight);
        QVERIFY(other.pixelColor(other.width() / 2, 0) != highlight);

        QWidget* box = window_->fieldWidget({Control::Crop, 3});
        const QColor before = box->grab().toImage().pixelColor(0, box->height() / 2);
        box->setFocus(Qt::TabFocusReason);
        const QImage focused = box->grab().toImage();
        QCOMPARE(focused.pixelColor(0, focused.height() / 2), highlight);
        QVERIFY(before != highlight);
    }

private:
    std::unique_ptr<ui::MainWindow> window_;
};

KBT2_WINDOW_TEST_MAIN(FieldLookTest)
#include "field_look_test.moc"
