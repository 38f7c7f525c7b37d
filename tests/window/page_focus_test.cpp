// Typing starts on the page in front: whenever a page is shown, by an Alt
// key, Ctrl+Tab or a click on its tab, the first time or again, the focus is
// in its first field, never on the buttons below the pages.

#include "ui/page_focus.h"

#include <QLineEdit>
#include <QTest>

#include "tests/window/window_test_support.h"
#include "ui/page_tabs.h"
#include "ui/pages.h"

using namespace kbt2;

class PageFocusTest : public QObject {
    Q_OBJECT

    std::string text(FieldRef field) { return window_->form().worksheet().text(field); }
    QString focusedName() {
        QWidget* focused = QApplication::focusWidget();
        return focused ? focused->objectName() : QString();
    }
    // Keys go where a person's keys go: to the widget that has the focus.
    void type(const QString& keys) { QTest::keyClicks(nullptr, keys); }

private Q_SLOTS:
    void init() {
        window_ = test::showActiveMainWindow();
        QVERIFY(window_);
    }
    void cleanup() { window_.reset(); }

    void altDigitThenTypingFillsTheFirstField() {
        QTest::keyClick(window_.get(), Qt::Key_3, Qt::AltModifier);
        type(QStringLiteral("52000"));
        QCOMPARE(text({Control::Allinc1, 0}), std::string("52000"));
    }

    void ctrlTabOntoAnUnbuiltPageThenTyping() {
        window_->pages()->setCurrentIndex(5);  // page 6; page 7 is not built yet
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(window_->pages()->currentIndex(), 6);
        type(QStringLiteral("Apples"));
        QCOMPARE(text({Control::Cropname1, 0}), std::string("Apples"));
    }

    // The first Tab after a page comes to the front goes on from its first
    // field, not from Clear.
    void tabStartsInThePageNotAtTheButtons() {
        QTest::keyClick(window_.get(), Qt::Key_4, Qt::AltModifier);
        QCOMPARE(focusedName(), QStringLiteral("Command2"));
        QTest::keyClick(window_.get(), Qt::Key_3, Qt::AltModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(focusedName(), QStringLiteral("Allinc1(1)"));
    }

    // Every page, shown for the first time and again after another page,
    // by each way a person shows it.
    void everyShowFocusesTheFirstField_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("first");
        const char* firsts[] = {"Producer1", "St(0)",        "Allinc1(0)",   "Command2", "Crop(0)",
                                "Crop1(39)", "Cropname1(0)", "Cropname1(9)", "Command4"};
        for (int page = 0; page < ui::kPageCount; ++page)
            QTest::newRow(ui::kPageCaptions[static_cast<size_t>(page)].data()) << page << firsts[page];
    }
    void everyShowFocusesTheFirstField() {
        QFETCH(int, page);
        QFETCH(QString, first);
        const int other = page == 0 ? 1 : 0;
        auto* tabs = window_->findChild<ui::PageTabRows*>();
        QTest::mouseClick(tabs->tab(page), Qt::LeftButton);
        QCOMPARE(focusedName(), first);
        // Somewhere else on the page, then away and back by the Alt key.
        window_->fieldWidget({Control::Clear})->setFocus();
        QTest::keyClick(window_.get(), static_cast<Qt::Key>(Qt::Key_1 + other), Qt::AltModifier);
        QTest::keyClick(window_.get(), static_cast<Qt::Key>(Qt::Key_1 + page), Qt::AltModifier);
        QCOMPARE(focusedName(), first);
        // Chosen again while it is in front, by its Alt key and by its tab.
        window_->fieldWidget({Control::Clear})->setFocus();
        QTest::keyClick(window_.get(), static_cast<Qt::Key>(Qt::Key_1 + page), Qt::AltModifier);
        QCOMPARE(focusedName(), first);
        window_->fieldWidget({Control::Clear})->setFocus();
        QTest::mouseClick(tabs->tab(page), Qt::LeftButton);
        QCOMPARE(focusedName(), first);
    }

    // A field hidden for the chosen state is passed over.
    void hiddenFieldsAreNoFirstField() {
        window_->buildAllPages();
        QWidget* page5 = window_->fieldWidget({Control::Crop, 0})->parentWidget();
        QCOMPARE(ui::firstTabStop(page5), window_->fieldWidget({Control::Crop, 0}));
        window_->form().worksheet().setVisible({Control::Crop, 0}, false);
        QWidget* first = ui::firstTabStop(page5);
        QVERIFY(first && first != window_->fieldWidget({Control::Crop, 0}));
        QVERIFY(!first->isHidden());
    }

private:
    std::unique_ptr<ui::MainWindow> window_;
};

KBT2_WINDOW_TEST_MAIN(PageFocusTest)
#include "page_focus_test.moc"
