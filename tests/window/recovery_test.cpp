// Typed work kept for recovery: the copy written a short while after a
// change, one copy per window, the note after a run that crashed, Recover
// taking the newest copy, and a damaged copy ignored.

#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QStatusBar>
#include <QTest>
#include <csignal>

#include "commands/save_load.h"
#include "tests/window/document_test_support.h"
#include "tests/window/window_test_support.h"
#include "ui/main_window.h"

using namespace kbt2;

namespace {

// The argument that makes this program the run that crashes: it types a
// producer's name, lets the copy be written and is killed.
constexpr const char* kCrashingRun = "--type-and-crash";

QString noteOf(ui::MainWindow& window) { return window.documents().status().currentNote(); }

std::string producerIn(const QString& path) {
    Worksheet ws;
    if (!readWorksheetFile(ws, path.toStdString()).ok()) return "(unreadable)";
    return ws.text({Control::Producer1});
}

int typeAndCrash() {
    ui::MainWindow window;
    window.form().worksheet().setText({Control::Producer1}, "Typed Before The Crash");
    QTest::qWait(ui::RecoveryKeeper::kDelayMs + 500);
    std::raise(SIGKILL);
    return 1;
}

}  // namespace

class RecoveryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { home_ = std::make_unique<test::ScratchHome>(); }
    void cleanup() { home_.reset(); }

    void copyWrittenAfterTheTypingStops() {
        ui::MainWindow window;
        const QString copy = window.documents().recovery().ownCopy();
        QVERIFY(!copy.isEmpty());
        QVERIFY(copy.startsWith(ui::RecoveryKeeper::folder()));
        window.form().worksheet().setText({Control::Producer1}, "Jane");
        QTest::qWait(ui::RecoveryKeeper::kDelayMs / 2);
        QVERIFY(!QFile::exists(copy));  // not while the typing may go on
        window.form().worksheet().setText({Control::Producer1}, "Jane Farmer");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(copy), 2 * ui::RecoveryKeeper::kDelayMs);
        QCOMPARE(producerIn(copy), std::string("Jane Farmer"));
    }

    void closingWritesWhatIsPendingAndEndsCleanly() {
        QString copy;
        {
            ui::MainWindow window;
            window.show();
            copy = window.documents().recovery().ownCopy();
            window.form().worksheet().setText({Control::Producer1}, "Closed At Once");
            window.close();
        }
        QCOMPARE(producerIn(copy), std::string("Closed At Once"));
        ui::MainWindow next;
        QVERIFY(!next.documents().recovery().copyOfCrashedRun());
        next.documents().recover();
        QCOMPARE(next.form().worksheet().text({Control::Producer1}), std::string("Closed At Once"));
    }

    // Exit asks nothing; the next start says, whole and in the window's own
    // width, that work not saved was kept and how to bring it back, and the
    // way it names brings back that work even when another window wrote a
    // copy since.
    void startAfterACloseSaysWhetherWorkWasKept_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("told");
        QTest::newRow("typed, not saved") << "typed" << true;
        QTest::newRow("typed and saved") << "saved" << false;
        QTest::newRow("cleared after typing") << "cleared" << false;
        QTest::newRow("nothing typed") << "" << false;
    }
    void startAfterACloseSaysWhetherWorkWasKept() {
        QFETCH(QString, before);
        QFETCH(bool, told);
        ui::MainWindow other;  // open all along, so its start takes no note
        {
            test::AnsweringPlatform* platform = nullptr;
            auto owned = std::make_unique<test::AnsweringPlatform>();
            platform = owned.get();
            ui::MainWindow window(std::move(owned));
            window.show();
            if (!before.isEmpty()) window.form().setText({Control::Producer1}, "Closed Unsaved");
            if (before == QLatin1String("saved")) {
                platform->files = {home_->filePath(QStringLiteral("farm.wsk"))};
                window.documents().saveAs();
            }
            if (before == QLatin1String("cleared")) window.form().click(Control::Clear);
            window.close();
        }
        QTest::qWait(50);  // file times a reader can tell apart
        other.form().setText({Control::Producer1}, "Another Window");
        other.documents().recovery().writePending();

        ui::MainWindow next;
        next.show();
        QVERIFY(QTest::qWaitForWindowExposed(&next));
        const QString note = noteOf(next);
        QCOMPARE(bool(next.documents().recovery().copyOfUnsavedClose()), told);
        if (!told) {
            QVERIFY2(!note.contains(QStringLiteral("Unsaved work")), qPrintable(note));
            return;
        }
        QVERIFY2(note.contains(QStringLiteral("Unsaved work")), qPrintable(note));
        QVERIFY2(note.contains(QStringLiteral("kept")), qPrintable(note));
        QVERIFY2(note.contains(QStringLiteral("File > Recover Last Worksheet")), qPrintable(note));
        const auto* label = next.statusBar()->findChild<QLabel*>(QStringLiteral("statusNote"));
        QCOMPARE(label->text(), note);  // not cut short
        next.documents().recover();
        QCOMPARE(next.form().worksheet().text({Control::Producer1}), std::string("Closed Unsaved"));

        // Told once.
        ui::MainWindow third;
        QVERIFY(!third.documents().recovery().copyOfUnsavedClose());
    }

    void twoWindowsKeepTwoCopiesAndRecoverTakesTheNewest() {
        ui::MainWindow first;
        ui::MainWindow second;
        QVERIFY(first.documents().recovery().ownCopy() != second.documents().recovery().ownCopy());
        first.form().worksheet().setText({Control::Producer1}, "First");
        first.documents().recovery().writePending();
        QTest::qWait(50);  // file times a reader can tell apart
        second.form().worksheet().setText({Control::Producer1}, "Second");
        second.documents().recovery().writePending();
        QCOMPARE(producerIn(first.documents().recovery().ownCopy()), std::string("First"));
        QCOMPARE(producerIn(second.documents().recovery().ownCopy()), std::string("Second"));

        ui::MainWindow third;
        third.documents().recover();
        QCOMPARE(third.form().worksheet().text({Control::Producer1}), std::string("Second"));
        QVERIFY(third.documents().currentFile().isEmpty());  // Save asks where it goes
        QVERIFY(third.documents().modified());
    }

    void crashedRunIsNotedAndRecovered() {
        QProcess crashing;
        crashing.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kCrashingRun)});
        QVERIFY(crashing.waitForFinished(30000));
        QCOMPARE(crashing.exitStatus(), QProcess::CrashExit);

        ui::MainWindow window;
        QVERIFY(window.documents().recovery().copyOfCrashedRun());
        QVERIFY2(noteOf(window).contains(QStringLiteral("ended without Exit or the close box")),
                 qPrintable(noteOf(window)));
        window.documents().recover();
        QCOMPARE(window.form().worksheet().text({Control::Producer1}), std::string("Typed Before The Crash"));

        // Told once: the next start has nothing to say.
        ui::MainWindow next;
        QVERIFY(!next.documents().recovery().copyOfCrashedRun());
    }

    void damagedCopyIsIgnoredWithANote() {
        QVERIFY(QDir().mkpath(ui::RecoveryKeeper::folder()));
        QFile damaged(QDir(ui::RecoveryKeeper::folder()).filePath(QStringLiteral("1-1-1.wsk")));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("only one line\r\n");
        damaged.close();
        test::MessageCatcher catcher;
        ui::MainWindow window;
        window.form().worksheet().setText({Control::Producer1}, "Kept");
        window.documents().recover();
        QVERIFY(catcher.seen().empty());
        QCOMPARE(window.form().worksheet().text({Control::Producer1}), std::string("Kept"));
        QVERIFY2(noteOf(window).contains(QStringLiteral("could not be read")), qPrintable(noteOf(window)));
    }

private:
    std::unique_ptr<test::ScratchHome> home_;
};

int main(int argc, char** argv) {
    kbt2::test::useOffscreenWithoutDisplay();
    QStandardPaths::setTestModeEnabled(true);  // the crashing run too: both use the same folders
    QApplication app(argc, argv);
    if (argc == 2 && qstrcmp(argv[1], kCrashingRun) == 0) return typeAndCrash();
    RecoveryTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "recovery_test.moc"
