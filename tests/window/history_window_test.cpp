// The worksheet's history in the window: the Edit menu's entries, Ctrl+Z
// wherever the focus is, the status note and the unsaved mark.

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "document_test_support.h"
#include "ui/main_window.h"
#include "window_test_support.h"

namespace kbt2 {

class HistoryWindowTest : public QObject {
    Q_OBJECT

    struct Window : test::WindowUnderTest {
        QString mark() const { return main->findChild<QLabel*>(QStringLiteral("documentName"))->text(); }
    };

    Window open() { return {test::WindowUnderTest::open()}; }

private Q_SLOTS:
    void editMenuSitsBetweenFileAndHelp() {
        test::ScratchHome home;
        Window w = open();
        QStringList titles;
        for (QAction* menu : w.main->menuBar()->actions()) titles.append(menu->text());
        QCOMPARE(titles, (QStringList{QStringLiteral("&File"), QStringLiteral("&Edit"), QStringLiteral("Scena&rios"),
                                      QStringLiteral("&Help")}));
        QCOMPARE(w.action("actionUndo")->shortcuts(), QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Z"))});
        QCOMPARE(w.action("actionRedo")->shortcuts(), (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Shift+Z")),
                                                                           QKeySequence(QStringLiteral("Ctrl+Y"))}));
    }

    void entriesNameTheStepAndFollowTheHistory() {
        test::ScratchHome home;
        Window w = open();
        QAction* undo = w.action("actionUndo");
        QAction* redo = w.action("actionRedo");
        QVERIFY(!undo->isEnabled());
        QVERIFY(!redo->isEnabled());

        w.type({Control::Allinc1, 2}, QStringLiteral("121"));
        QCOMPARE(undo->text(), QStringLiteral("&Undo Typing in Allowable Income, 1995"));
        QVERIFY(undo->isEnabled());

        w.main->findChild<QPushButton*>(QStringLiteral("Clear"))->click();
        QCOMPARE(undo->text(), QStringLiteral("&Undo Clear"));
        undo->trigger();
        QCOMPARE(redo->text(), QStringLiteral("&Redo Clear"));
        QVERIFY(redo->isEnabled());
        QCOMPARE(w.main->findChild<QLabel*>(QStringLiteral("statusNote"))->text(), QStringLiteral("Undid Clear."));
        undo->trigger();
        QVERIFY(!undo->isEnabled());
        QCOMPARE(undo->text(), QStringLiteral("&Undo"));
    }

    // A line edit with the focus would take Ctrl+Z for its own undo, which
    // only knows its own typing.
    void ctrlZInAFocusedLineEditUndoesClear() {
        test::ScratchHome home;
        Window w = open();
        w.type({Control::Producer1}, QStringLiteral("Jane"));
        w.type({Control::Allinc1, 0}, QStringLiteral("100"));
        w.main->findChild<QPushButton*>(QStringLiteral("Clear"))->click();
        w.type({Control::Agent1}, QStringLiteral("A"));
        QCOMPARE(w.edit({Control::Agent1}), QApplication::focusWidget());

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);  // the typing in Agent1
        QCOMPARE(w.edit({Control::Agent1})->text(), QString());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);  // Clear
        QCOMPARE(w.main->form().worksheet().text({Control::Producer1}), std::string("Jane"));
        QCOMPARE(w.main->form().worksheet().text({Control::Allinc1, 0}), std::string("100"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Y, Qt::ControlModifier);  // Clear again
        QCOMPARE(w.main->form().worksheet().text({Control::Producer1}), std::string());
    }

    void unsavedMarkFollowsSaveUndoAndRedo() {
        test::ScratchHome home;
        Window w = open();
        const QString path = home.filePath(QStringLiteral("farm.wsk"));
        w.type({Control::Producer1}, QStringLiteral("Jane"));
        QCOMPARE(w.mark(), QStringLiteral("* Untitled"));
        w.platform->files.push_back(path);
        w.main->documents().saveAs();
        QCOMPARE(w.mark(), QStringLiteral("farm.wsk"));
        w.type({Control::Agent1}, QStringLiteral("A"));
        QCOMPARE(w.mark(), QStringLiteral("* farm.wsk"));
        w.action("actionUndo")->trigger();
        QCOMPARE(w.mark(), QStringLiteral("farm.wsk"));
        w.action("actionUndo")->trigger();
        QCOMPARE(w.mark(), QStringLiteral("* farm.wsk"));
        w.action("actionRedo")->trigger();
        QCOMPARE(w.mark(), QStringLiteral("farm.wsk"));
        w.action("actionRedo")->trigger();
        QCOMPARE(w.mark(), QStringLiteral("* farm.wsk"));
    }

    void loadIsAStepNamedAfterItsFile() {
        test::ScratchHome home;
        Window w = open();
        const QString path = home.filePath(QStringLiteral("farm.wsk"));
        w.type({Control::Producer1}, QStringLiteral("Jane"));
        w.platform->files.push_back(path);
        w.main->documents().saveAs();
        w.type({Control::Producer1}, QStringLiteral(" Doe"));
        QVERIFY(w.main->documents().openFile(path));
        QCOMPARE(w.action("actionUndo")->text(), QStringLiteral("&Undo Load farm.wsk"));
        w.action("actionUndo")->trigger();
        QCOMPARE(w.main->form().worksheet().text({Control::Producer1}), std::string("Jane Doe"));
    }

    // A crash right after an accidental Clear still leaves the typed case
    // on disk, listed under File > Recover Last Worksheet.
    void clearOfUnsavedWorkIsKeptForRecovery() {
        test::ScratchHome home;
        Window w = open();
        w.type({Control::Producer1}, QStringLiteral("Jane & Sons"));
        w.main->findChild<QPushButton*>(QStringLiteral("Clear"))->click();
        const std::vector<ui::KeptCopy> copies = w.main->documents().keptCopies();
        QCOMPARE(copies.size(), size_t{1});
        QVERIFY(w.main->documents().describe(copies[0]).endsWith(QStringLiteral("Jane & Sons, (none)")));

        auto* menu = w.main->findChild<QMenu*>(QStringLiteral("menuRecover"));
        Q_EMIT menu->aboutToShow();
        QCOMPARE(menu->actions().size(), 1);
        QVERIFY(menu->actions().first()->text().endsWith(QStringLiteral("Jane && Sons, (none)")));
        menu->actions().first()->trigger();
        QCOMPARE(w.main->form().worksheet().text({Control::Producer1}), std::string("Jane & Sons"));
        QCOMPARE(w.action("actionUndo")->text(), QStringLiteral("&Undo Recover Worksheet"));
        QCOMPARE(w.mark(), QStringLiteral("* Untitled"));
    }
};

}  // namespace kbt2

KBT2_WINDOW_TEST_MAIN(kbt2::HistoryWindowTest)
#include "history_window_test.moc"
