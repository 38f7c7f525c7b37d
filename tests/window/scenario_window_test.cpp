// The case's scenarios in the window: the strip above the pages, the
// Scenarios menu, its keys beside the pages' own, and the widgets, the Edit
// menu and the document following the current scenario.

#include <QAction>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include "document_test_support.h"
#include "ui/main_window.h"
#include "window_test_support.h"

namespace kbt2 {

class ScenarioWindowTest : public QObject {
    Q_OBJECT

    const FieldRef kName{Control::Producer1};

    struct Window : test::WindowUnderTest {
        QTabBar* strip() const { return main->findChild<QTabBar*>(QStringLiteral("scenarioStrip")); }
        QStringList tabs() const {
            QStringList out;
            for (int i = 0; i < strip()->count(); ++i) out.append(strip()->tabText(i));
            return out;
        }
        QString current() const {
            return QString::fromStdString(main->scenarioCase().name(main->scenarioCase().current()));
        }
        void keys(Qt::Key key, Qt::KeyboardModifiers modifiers) const {
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        }
    };

    Window open() { return {test::WindowUnderTest::open()}; }

private Q_SLOTS:
    void stripShowsTheScenariosAndMarksTheCurrentOne() {
        test::ScratchHome home;
        Window w = open();
        QVERIFY(w.strip());
        QVERIFY(!w.strip()->isVisible());  // a plain worksheet looks as it always has
        w.type(kName, QStringLiteral("Jane"));
        QVERIFY(w.main->scenarios().add(QStringLiteral("more hay")));
        QVERIFY(w.strip()->isVisible());
        QCOMPARE(w.tabs(), (QStringList{QStringLiteral("base"), QStringLiteral("more hay")}));
        QCOMPARE(w.strip()->currentIndex(), 1);
        QVERIFY(w.action("actionScenario2")->isChecked());
        QVERIFY(!w.action("actionScenario1")->isChecked());
        // The strip sits above the page tabs.
        QVERIFY(w.strip()->mapTo(w.main.get(), QPoint()).y() < w.main->pages()->mapTo(w.main.get(), QPoint()).y());

        // The copy's history is empty; typing in it leaves the base alone.
        QVERIFY(!w.action("actionUndo")->isEnabled());
        w.type(kName, QStringLiteral(" Doe"));
        QCOMPARE(w.edit(kName)->text(), QStringLiteral("Jane Doe"));
        w.strip()->setCurrentIndex(0);  // a click on the base's tab
        QCOMPARE(w.current(), QStringLiteral("base"));
        QCOMPARE(w.edit(kName)->text(), QStringLiteral("Jane"));
        QVERIFY(w.action("actionScenario1")->isChecked());
        // Undo is the base's own: its typing, then nothing.
        QCOMPARE(w.action("actionUndo")->text(), QStringLiteral("&Undo Typing in Producer Information, line 1"));
        w.action("actionUndo")->trigger();
        QCOMPARE(w.edit(kName)->text(), QString());
        w.action("actionScenario2")->trigger();
        QCOMPARE(w.edit(kName)->text(), QStringLiteral("Jane Doe"));
        QCOMPARE(w.strip()->currentIndex(), 1);
    }

    // The strip's keys work from a field with the focus and leave the pages'
    // own Alt+digit and Ctrl+Tab to the pages.
    void keysSwitchAndAddBesideThePagesOwn() {
        test::ScratchHome home;
        Window w = open();
        w.main->scenarios().add(QStringLiteral("a"));
        w.main->scenarios().add(QStringLiteral("b"));
        w.type(kName, QStringLiteral("B"));
        QCOMPARE(w.current(), QStringLiteral("b"));

        w.keys(Qt::Key_PageUp, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w.current(), QStringLiteral("a"));
        QCOMPARE(w.edit(kName)->text(), QString());
        w.keys(Qt::Key_PageDown, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w.current(), QStringLiteral("b"));
        w.keys(Qt::Key_PageDown, Qt::ControlModifier | Qt::ShiftModifier);  // round to the first
        QCOMPARE(w.current(), QStringLiteral("base"));

        const int page = w.main->pages()->currentIndex();
        w.keys(Qt::Key_3, Qt::AltModifier);
        QCOMPARE(w.main->pages()->currentIndex(), 2);
        QCOMPARE(w.current(), QStringLiteral("base"));
        QTest::keyClick(w.main->pages(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(w.main->pages()->currentIndex(), 3);
        QCOMPARE(w.current(), QStringLiteral("base"));
        Q_UNUSED(page);

        // Ctrl+Shift+N asks for the name, offering a free one.
        QString offered;
        QTimer::singleShot(0, this, [&offered] {
            auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            offered = dialog->textValue();
            dialog->setTextValue(QStringLiteral("half milk"));
            dialog->accept();
        });
        w.keys(Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(offered, QStringLiteral("Scenario 4"));
        QCOMPARE(w.tabs(), (QStringList{QStringLiteral("base"), QStringLiteral("a"), QStringLiteral("b"),
                                        QStringLiteral("half milk")}));
        QCOMPARE(w.current(), QStringLiteral("half milk"));
    }

    void aNameThatCannotBeTakenIsToldAndChangesNothing() {
        test::ScratchHome home;
        Window w = open();
        test::MessageCatcher catcher;
        QVERIFY(!w.main->scenarios().add(QStringLiteral("base")));
        QVERIFY(!w.main->scenarios().add(QString()));
        QVERIFY(!w.main->scenarios().add(QStringLiteral("say \"no\"")));
        QVERIFY(!w.main->scenarios().add(QString(41, u'x')));
        QCOMPARE(catcher.seen().size(), size_t{4});
        QCOMPARE(catcher.seen()[0].text, std::string("The case already has a scenario named base."));
        QCOMPARE(w.main->scenarioCase().size(), size_t{1});
        QVERIFY(w.main->scenarios().add(QStringLiteral("a & b")));
        QCOMPARE(w.strip()->tabText(1), QStringLiteral("a && b"));  // an ampersand shown as itself
        QVERIFY(!w.main->scenarios().rename(1, QStringLiteral("base")));
        QVERIFY(w.main->scenarios().rename(1, QStringLiteral("c")));
        QCOMPARE(w.tabs(), (QStringList{QStringLiteral("base"), QStringLiteral("c")}));
    }

    void removeAsksFirstAndCanBeBroughtBack() {
        test::ScratchHome home;
        Window w = open();
        QVERIFY(!w.action("actionRemoveScenario")->isEnabled());  // the last one left stays
        w.main->scenarios().add(QStringLiteral("a"));
        w.type(kName, QStringLiteral("A"));
        {
            test::MessageCatcher cancel(QMessageBox::Cancel);
            w.action("actionRemoveScenario")->trigger();
            QCOMPARE(cancel.seen().size(), size_t{1});
        }
        QCOMPARE(w.main->scenarioCase().size(), size_t{2});
        {
            test::MessageCatcher ok;
            w.action("actionRemoveScenario")->trigger();
        }
        QCOMPARE(w.tabs(), QStringList{QStringLiteral("base")});
        QCOMPARE(w.edit(kName)->text(), QString());
        QVERIFY(w.action("actionUndoRemoveScenario")->isEnabled());
        w.action("actionUndoRemoveScenario")->trigger();
        QCOMPARE(w.current(), QStringLiteral("a"));
        QCOMPARE(w.edit(kName)->text(), QStringLiteral("A"));
        QVERIFY(w.action("actionUndo")->isEnabled());  // its history came back with it
    }

    // Save in a scenario never writes over the base's file unasked.
    void aCopyAsksWhereItIsSaved() {
        test::ScratchHome home;
        Window w = open();
        const QString path = home.filePath(QStringLiteral("farm.wsk"));
        w.type(kName, QStringLiteral("Jane"));
        w.platform->files.push_back(path);
        w.main->documents().saveAs();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray saved = file.readAll();
        file.close();
        const int dialogs = w.platform->dialogs;

        w.main->scenarios().add(QStringLiteral("what if"));
        w.type(kName, QStringLiteral(" Doe"));
        w.action("actionSave")->trigger();  // cancelled: nothing queued
        QCOMPARE(w.platform->dialogs, dialogs + 1);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), saved);
        file.close();
        QCOMPARE(w.main->findChild<QLabel*>(QStringLiteral("documentName"))->text(), QStringLiteral("* Untitled"));

        w.main->scenarios().switchTo(0);
        QCOMPARE(w.main->findChild<QLabel*>(QStringLiteral("documentName"))->text(), QStringLiteral("farm.wsk"));
        QVERIFY(!w.action("actionUndo")->text().isEmpty());
    }

    // File > Save As keeps every scenario beside the base; File > Open in a
    // fresh window brings them back in order, with their fields, the current
    // one current, and nothing unsaved. The base alone loads as before.
    void aCaseOfThreeScenariosSavedAndOpenedAgain() {
        test::ScratchHome home;
        const QString path = home.filePath(QStringLiteral("farm.wsk"));
        const QStringList names = {QStringLiteral("base"), QStringLiteral("Hay added"), QStringLiteral("Milk & more")};
        {
            Window w = open();
            w.type(kName, QStringLiteral("Jane"));
            w.main->scenarios().add(names[1]);
            w.type(kName, QStringLiteral(" H"));
            w.main->scenarios().add(names[2]);
            w.type(kName, QStringLiteral(" M"));
            w.main->scenarios().switchTo(1);
            w.platform->files.push_back(path);
            w.main->documents().saveAs();
            QVERIFY(w.platform->messages.empty());
            QCOMPARE(w.main->findChild<QLabel*>(QStringLiteral("documentName"))->text(), QStringLiteral("farm.wsk"));
            w.main->scenarios().switchTo(2);
            QVERIFY(!w.main->documents().modified());  // each scenario saved with the case
            w.type(kName, QStringLiteral("!"));
            w.action("actionSave")->trigger();  // the case's file: no question
            QCOMPARE(w.platform->dialogs, 1);
            w.main->scenarios().switchTo(1);
            w.main->close();
        }
        Window w = open();
        w.platform->files.push_back(path);
        w.main->documents().open();
        QVERIFY(w.platform->messages.empty());
        const QStringList tabs = {names[0], names[1], QStringLiteral("Milk && more")};  // '&' shown as itself
        QCOMPARE(w.tabs(), tabs);
        QVERIFY(w.strip()->isVisible());
        QCOMPARE(w.current(), names[2]);  // current at the last save
        QCOMPARE(w.edit(kName)->text(), QStringLiteral("Jane H M!"));
        QVERIFY(!w.main->documents().modified());
        w.main->scenarios().switchTo(1);
        QCOMPARE(w.edit(kName)->text(), QStringLiteral("Jane H"));
        w.main->scenarios().switchTo(0);
        QCOMPARE(w.edit(kName)->text(), QStringLiteral("Jane"));
        QCOMPARE(w.main->findChild<QLabel*>(QStringLiteral("documentName"))->text(), QStringLiteral("farm.wsk"));

        // A scenario's file gone: the rest opens, and the note names it.
        QVERIFY(QFile::remove(home.filePath(QStringLiteral("farm.wsk.scenarios/03-milk-more.wsk"))));
        Window third = open();
        QVERIFY(third.main->documents().openFile(path));
        QCOMPARE(third.tabs(), names.mid(0, 2));
        QVERIFY(third.main->documents().status().currentNote().contains(names[2]));
    }

    // Scenarios are not saved with the case: closing keeps each one but the
    // current one (which the window's own copy holds) as a copy to recover.
    void closingKeepsTheOtherScenariosForRecovery() {
        test::ScratchHome home;
        Window w = open();
        w.type(kName, QStringLiteral("Jane"));
        w.main->scenarios().add(QStringLiteral("a"));
        w.type(kName, QStringLiteral(" A"));
        w.main->scenarios().add(QStringLiteral("b"));
        w.type(kName, QStringLiteral(" B"));
        w.main->scenarios().switchTo(1);
        const size_t before = w.main->documents().keptCopies().size();
        w.main->close();
        QStringList kept;
        for (const ui::KeptCopy& copy : w.main->documents().keptCopies())
            if (auto sheet = Form::peekCopy(copy.path.toStdString()))
                kept.append(QString::fromStdString(sheet->text(kName)));
        QCOMPARE(kept.size(), static_cast<qsizetype>(before + 2));
        QVERIFY(kept.contains(QStringLiteral("Jane")));
        QVERIFY(kept.contains(QStringLiteral("Jane A B")));
    }
};

}  // namespace kbt2

KBT2_WINDOW_TEST_MAIN(kbt2::ScenarioWindowTest)
#include "scenario_window_test.moc"
