// The window without a mouse and with a screen reader: Tab walks each page's
// fields in reading order and then the buttons below the pages; Alt keys
// press the buttons and bring pages to the front; every field has a name.

#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

#include "commodities/catalogue.h"
#include "tests/window/window_test_support.h"
#include "ui/main_window.h"
#include "ui/page_tabs.h"
#include "ui/pages.h"

using namespace kbt2;

namespace {

const QStringList kButtonsBelow = {"Clear", "save", "Load", "Print", "Command1"};

}  // namespace

class KeyboardAccessTest : public QObject {
    Q_OBJECT

    // The object names that Tab visits on a page, from the last button below
    // the pages round to it again.
    QStringList tabWalk(int page) {
        window_->pages()->setCurrentIndex(page);
        QApplication::processEvents();
        QWidget* start = window_->fieldWidget({Control::Command1});
        start->setFocus(Qt::TabFocusReason);
        QStringList visited;
        for (int step = 0; step < 300; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focused = QApplication::focusWidget();
            if (!focused) break;
            visited << focused->objectName();
            if (focused == start) break;
        }
        return visited;
    }

private Q_SLOTS:
    void init() {
        window_ = test::showActiveMainWindow();
        QVERIFY(window_);
    }
    void cleanup() { window_.reset(); }

    void firstFocusIsTheFirstField() {
        QCOMPARE(QApplication::focusWidget(), window_->fieldWidget({Control::Producer1}));
    }

    void pageOneInReadingOrder() {
        const QStringList expected =
            QStringList{"Producer1", "Producer2",     "Producer3", "ProducerPhone", "TaxEntity", "SSNEIN",
                        "SSN",       "IRSCash",       "Agent1",    "Agent2",        "Agent3",    "AgentPhone",
                        "AgentCode", "InsuranceYear", "statename", "countyname",    "MPCI",      "Infobox"} +
            kButtonsBelow;
        QCOMPARE(tabWalk(0), expected);
    }

    // An option group is one Tab stop, the selected option (or the first);
    // the arrow keys walk round it and select, running the option's handler.
    void optionGroupsAreOneTabStopWithArrowsInside() {
        const QStringList walk = tabWalk(1);
        QCOMPARE(walk.filter(QRegularExpression(QStringLiteral("^St\\("))), QStringList{"St(0)"});
        auto option = [this](Control array, int index) {
            return qobject_cast<QAbstractButton*>(window_->fieldWidget({array, index}));
        };
        const int states = info(Control::St).slots();
        option(Control::St, 0)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), option(Control::St, 1));
        QVERIFY(option(Control::St, 1)->isChecked());
        QVERIFY(!option(Control::St, 0)->isChecked());
        QVERIFY(option(Control::St, 1)->focusPolicy() & Qt::TabFocus);
        QVERIFY(!(option(Control::St, 0)->focusPolicy() & Qt::TabFocus));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QCOMPARE(QApplication::focusWidget(), option(Control::St, states - 1));
        QVERIFY(option(Control::St, states - 1)->isChecked());
        // The state's handler ran: the walk now reaches one option of its
        // counties, the last state's.
        const QStringList after = tabWalk(1);
        QCOMPARE(after.filter(QRegularExpression(QStringLiteral("^St\\("))),
                 QStringList{QStringLiteral("St(%1)").arg(states - 1)});

        // Page 1: the tax number straight after the tax entity, then the
        // selected kind of number, whose arrows choose the other.
        window_->pages()->setCurrentIndex(0);
        QApplication::processEvents();
        QCOMPARE(option(Control::SSN, 0)->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
        option(Control::SSN, 0)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QVERIFY(option(Control::EIN, 0)->isChecked());
        QVERIFY(!option(Control::SSN, 0)->isChecked());
    }

    // Typing a commodity's name on pages 5 and 6 finds its box; Space ticks
    // it with the box's own click, so its handler runs.
    void typingANameFindsItsBox_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("found");
        QTest::newRow("a whole name") << 4 << "corn"
                                      << "Crop(31)";
        QTest::newRow("a first letter walks on") << 4 << "a"
                                                 << "Crop(1)";
        QTest::newRow("page 6") << 5 << "Milk"
                                << "Crop2(54)";
        QTest::newRow("no match holds the focus") << 5 << "%%"
                                                  << "Crop1(39)";
    }
    void typingANameFindsItsBox() {
        QFETCH(int, page);
        QFETCH(QString, typed);
        QFETCH(QString, found);
        window_->pages()->setCurrentIndex(page);
        QApplication::processEvents();
        QWidget* first = QApplication::focusWidget();
        QVERIFY(first);
        QTest::keyClicks(first, typed);
        QCOMPARE(QApplication::focusWidget()->objectName(), found);
        auto* box = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
        QVERIFY(box && !box->isChecked());
        QTest::keyClick(box, Qt::Key_Space);
        QVERIFY(box->isChecked());
        const auto ref = parseRef(found.toStdString());
        QVERIFY(ref && window_->form().worksheet().checked(*ref));
    }

    // Cells copied from a spreadsheet fill the years from the focused field,
    // as one step; a block with a cell that does not fit changes nothing and
    // says which cell.
    void pastingABlockOfCells() {
        window_->pages()->setCurrentIndex(2);
        QApplication::processEvents();
        QWidget* income = window_->fieldWidget({Control::Allinc1, 1});
        income->setFocus();
        QApplication::clipboard()->setText(QStringLiteral("110000\t62,000\n121000\t64000\n"));
        QTest::keySequence(income, QKeySequence::Paste);
        const Worksheet& ws = window_->form().worksheet();
        QCOMPARE(ws.text({Control::Allexp1, 1}), std::string("62000"));
        QCOMPARE(ws.text({Control::Allinc1, 2}), std::string("121000"));
        QCOMPARE(window_->form().nextUndo()->kind, Step::Kind::Paste);

        QApplication::clipboard()->setText(QStringLiteral("1\t2\n3\tfour"));
        QTest::keySequence(income, QKeySequence::Paste);
        QCOMPARE(ws.text({Control::Allinc1, 1}), std::string("110000"));
        QVERIFY(window_->statusBar()->findChild<QLabel*>() != nullptr);
        bool told = false;
        for (QLabel* label : window_->statusBar()->findChildren<QLabel*>())
            told = told || label->toolTip().contains(QStringLiteral("row 2, column 2 (\"four\")"));
        QVERIFY(told);

        window_->form().undo();
        QCOMPARE(ws.text({Control::Allexp1, 1}), std::string());
        QCOMPARE(ws.text({Control::Allinc1, 2}), std::string());
    }

    // "Clear all checked Crop Names" ends page 6's walk, after every box.
    void clearingAllBoxesEndsPageSixsWalk() {
        const QStringList walk = tabWalk(5);
        QCOMPARE(walk.at(walk.size() - kButtonsBelow.size() - 1), QStringLiteral("Command5"));
    }

    void yearsDownEachColumn() {
        QStringList expected;
        for (int i = 0; i < 5; ++i) expected << QStringLiteral("Allinc1(%1)").arg(i);
        for (int i = 0; i < 5; ++i) expected << QStringLiteral("Allexp1(%1)").arg(i);
        QCOMPARE(tabWalk(2), expected + kButtonsBelow);
    }

    // Every page: each of its fields once, then the buttons below the pages.
    void everyPageVisitsItsFieldsThenTheButtons_data() {
        QTest::addColumn<int>("page");
        for (int page = 0; page < 9; ++page) QTest::newRow(ui::kPageCaptions[page].data()) << page;
    }
    void everyPageVisitsItsFieldsThenTheButtons() {
        QFETCH(int, page);
        window_->buildAllPages();
        QStringList fields;
        for (QWidget* widget : window_->pages()->widget(page)->findChildren<QWidget*>())
            if (parseRef(widget->objectName().toStdString()) && (widget->focusPolicy() & Qt::TabFocus))
                fields << widget->objectName();
        const QStringList walk = tabWalk(page);
        QCOMPARE(walk.mid(walk.size() - kButtonsBelow.size()), kButtonsBelow);
        QStringList visitedFields = walk.mid(0, walk.size() - kButtonsBelow.size());
        QCOMPARE(visitedFields.size(), fields.size());
        visitedFields.sort();
        fields.sort();
        QCOMPARE(visitedFields, fields);
    }

    void altKeysPressTheButtons() {
        QSignalSpy closed(window_.get(), &ui::MainWindow::closed);
        window_->fieldWidget({Control::Producer1})->setFocus();
        QTest::keyClick(window_.get(), Qt::Key_X, Qt::AltModifier);
        // A mnemonic presses the button visibly, which takes a moment.
        QTRY_COMPARE(closed.count(), 1);
    }

    void altDigitsBringPagesToTheFront() {
        QTest::keyClick(window_.get(), Qt::Key_6, Qt::AltModifier);
        QCOMPARE(window_->pages()->currentIndex(), 5);
        QTest::keyClick(window_.get(), Qt::Key_1, Qt::AltModifier);
        QCOMPARE(window_->pages()->currentIndex(), 0);
    }

    // A screen reader hears the options as radio buttons of a named group,
    // the page strip as tabs that say which page is in front, the two phone
    // fields apart, page 3's instructions with its fields, and the program and
    // file in the window's name while its title stays.
    void rolesAndNamesForAScreenReader() {
        window_->buildAllPages();
        const auto face = [](QObject* object) { return QAccessible::queryAccessibleInterface(object); };
        QWidget* kent = window_->fieldWidget({Control::Mi1, 2});
        window_->form().select({Control::St, 0});
        window_->form().select({Control::Mi1, 2});
        QCOMPARE(face(kent)->role(), QAccessible::RadioButton);
        QVERIFY(face(kent)->state().checked);
        QVERIFY(!face(window_->fieldWidget({Control::Mi1, 1}))->state().checked);
        QCOMPARE(face(window_->fieldWidget({Control::EIN}))->role(), QAccessible::RadioButton);
        QCOMPARE(kent->accessibleDescription(), QStringLiteral("County of Michigan"));
        QCOMPARE(window_->fieldWidget({Control::IRSAcc})->accessibleDescription(), QStringLiteral("Accounting method"));

        auto* strip = window_->findChild<ui::PageTabRows*>();
        QCOMPARE(face(strip)->role(), QAccessible::PageTabList);
        window_->pages()->setCurrentIndex(2);
        const QList<ui::PageTab*> tabs = strip->findChildren<ui::PageTab*>();
        QCOMPARE(tabs.size(), qsizetype(ui::kPageCount));
        QCOMPARE(face(tabs[2])->role(), QAccessible::PageTab);
        QVERIFY(face(tabs[2])->state().selected);
        QVERIFY(!face(tabs[0])->state().selected);

        QVERIFY(window_->fieldWidget({Control::ProducerPhone})->accessibleName() !=
                window_->fieldWidget({Control::AgentPhone})->accessibleName());
        QVERIFY(window_->fieldWidget({Control::Allexp1, 4})
                    ->accessibleDescription()
                    .startsWith(QStringLiteral("You must Enter a Value in each Box")));
        QCOMPARE(window_->windowTitle(), QStringLiteral("Form2"));
        QCOMPARE(window_->accessibleName(), QStringLiteral("KBT2 Premium Calculation, Untitled"));
    }

    // The figures the commands fill and Premium Details are on the Tab walk
    // while a screen reader listens, and off it for a typist.
    void figuresOnTheWalkWhileListened() {
        const QStringList typist = tabWalk(8);
        QAccessible::setActive(true);
        const QStringList listened = tabWalk(8);
        QAccessible::setActive(false);
        QVERIFY(!typist.contains(QStringLiteral("Croptext")));
        QVERIFY(!typist.contains(QStringLiteral("premiumDetailsButton")));
        QVERIFY2(listened.contains(QStringLiteral("Croptext")), qPrintable(listened.join(u' ')));
        QVERIFY(listened.contains(QStringLiteral("Text21")));
        QVERIFY(listened.contains(QStringLiteral("premiumDetailsButton")));
        QCOMPARE(tabWalk(8), typist);
    }

    // Buttons and options name themselves by their caption; every other field
    // carries the caption that labels it.
    void everyFieldHasAName() {
        window_->buildAllPages();
        for (const ControlInfo& c : kControls)
            for (int i = 0; i < c.slots(); ++i) {
                QWidget* widget = window_->fieldWidget({c.control, i});
                const auto* button = qobject_cast<QAbstractButton*>(widget);
                const QString name = widget->accessibleName().isEmpty() && button ? button->text().remove(u'&')
                                                                                  : widget->accessibleName();
                QVERIFY2(!name.trimmed().isEmpty(), qPrintable(widget->objectName()));
            }
        QCOMPARE(window_->fieldWidget({Control::Cropname1, 10})->accessibleName(),
                 QStringLiteral("Commodity Name, row 11"));
        QCOMPARE(window_->fieldWidget({Control::Text18, 2})->accessibleName(), QStringLiteral("Producer Premium, .65"));
    }

    // A commodity box takes the caption beside it as its name, and a click on
    // the caption toggles the box as a click on the box does.
    void commodityCaptionsNameAndToggleTheirBoxes() {
        window_->pages()->setCurrentIndex(4);
        window_->pages()->setCurrentIndex(5);
        for (const CommodityEntry& entry : catalogue()) {
            const QString caption =
                QString::fromUtf8(entry.caption.data(), static_cast<qsizetype>(entry.caption.size()));
            QCOMPARE(window_->fieldWidget({entry.array, entry.index})->accessibleName(), caption.trimmed());
        }
        window_->pages()->setCurrentIndex(4);
        QApplication::processEvents();
        QLabel* asparagus = nullptr;
        for (QLabel* label : window_->pages()->widget(4)->findChildren<QLabel*>())
            if (label->text() == QStringLiteral("Asparagus")) asparagus = label;
        QVERIFY(asparagus);
        QTest::mouseClick(asparagus, Qt::LeftButton);
        QVERIFY(window_->form().worksheet().checked({Control::Crop, 3}));
        QTest::mouseClick(asparagus, Qt::LeftButton);
        QVERIFY(!window_->form().worksheet().checked({Control::Crop, 3}));
    }

private:
    std::unique_ptr<ui::MainWindow> window_;
};

KBT2_WINDOW_TEST_MAIN(KeyboardAccessTest)
#include "keyboard_access_test.moc"
