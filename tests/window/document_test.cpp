// The window as a document editor: a file opened from the command line, the
// recent files, Save to the current file, Save As, Export PDF and the rate
// file named after a premium.

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <optional>
#include <utility>

#include "commands/save_load.h"
#include "storage/report.h"
#include "tests/core/rate_records.h"
#include "tests/window/document_test_support.h"
#include "tests/window/window_test_support.h"
#include "ui/dialogue_answerer.h"
#include "ui/main_window.h"

using namespace kbt2;

namespace {

struct Editor {
    test::AnsweringPlatform* platform;
    std::unique_ptr<ui::MainWindow> window;

    Worksheet& ws() { return window->form().worksheet(); }
    ui::DocumentActions& documents() { return window->documents(); }
    QString statusNote() const { return window->documents().status().currentNote(); }
    QString documentLabel() const {
        return window->statusBar()->findChild<QLabel*>(QStringLiteral("documentName"))->text();
    }
};

Editor makeEditor() {
    auto platform = std::make_unique<test::AnsweringPlatform>();
    test::AnsweringPlatform* raw = platform.get();
    return {raw, std::make_unique<ui::MainWindow>(std::move(platform))};
}

// A worksheet file whose producer is `producer`.
void writeCase(const QString& path, const std::string& producer) {
    Worksheet ws;
    ws.setText({Control::Producer1}, producer);
    QVERIFY(writeWorksheetFile(ws, path.toStdString()).ok());
}

std::string producerIn(const QString& path) {
    Worksheet ws;
    if (!readWorksheetFile(ws, path.toStdString()).ok()) return "(unreadable)";
    return ws.text({Control::Producer1});
}

// Three records, 186 bytes: corn and a herd of the case's county, corn of another.
void writeRates(const QString& path) {
    using testing_support::rateRecord;
    std::ofstream out(path.toStdString(), std::ios::binary);
    out << rateRecord({.code = "  41"}) << "\r\n"
        << rateRecord({.code = " 800", .livestock = 'Y', .insurable = 'N'}) << "\r\n"
        << rateRecord({.county = "003", .code = "  41"}) << "\r\n";
}

// Corn, which has a record, and oats, which have none; then Calculate
// Premium by its button.
void calculatePremium(Editor& editor) {
    Worksheet& ws = editor.ws();
    ws.select({Control::St, 0});
    ws.select({Control::Mi1, 2});
    for (int year = 0; year < 5; ++year) {
        ws.setText({Control::Allinc1, year}, "2000");
        ws.setText({Control::Allexp1, year}, "0");
    }
    const char* rows[][2] = {{"Corn", "41"}, {"Oats", "16"}};
    for (int i = 0; i < 2; ++i) {
        ws.setText({Control::Cropname1, i}, rows[i][0]);
        ws.setText({Control::Unit1, i}, rows[i][1]);
        ws.setText({Control::Totamt1, i}, "100");
        ws.setText({Control::Expval1, i}, "1");
    }
    editor.window->form().click(Control::Command2);
    editor.window->showPageOf({Control::Command4});
    qobject_cast<QPushButton*>(editor.window->fieldWidget({Control::Command4}))->click();
}

QString collapsed(QString text) {
    return text.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
}

}  // namespace

class DocumentTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { home_ = std::make_unique<test::ScratchHome>(); }
    void cleanup() { home_.reset(); }

    void openFromTheCommandLine_data() {
        QTest::addColumn<bool>("good");
        QTest::newRow("a worksheet file") << true;
        QTest::newRow("not a worksheet file") << false;
    }
    void openFromTheCommandLine() {
        QFETCH(bool, good);
        const QString path = home_->filePath(QStringLiteral("farm.wsk"));
        if (good) {
            writeCase(path, "Jane Farmer");
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("Jane Farmer\r\n");  // ends after its first line
        }
        Editor editor = makeEditor();
        QCOMPARE(editor.documents().openFile(path), good);
        if (good) {
            QVERIFY(editor.platform->messages.empty());
            QCOMPARE(editor.ws().text({Control::Producer1}), std::string("Jane Farmer"));
            QCOMPARE(editor.documents().currentFile(), path);
            QCOMPARE(editor.documentLabel(), QStringLiteral("farm.wsk"));
            QCOMPARE(editor.documents().recentFiles(), QStringList{path});
        } else {
            // Load's own message, and the worksheet as fresh as it started.
            QCOMPARE(editor.platform->messages.size(), size_t(1));
            QVERIFY(editor.platform->messages[0].starts_with("The worksheet file \"" + path.toStdString() +
                                                             "\" could not be loaded."));
            QCOMPARE(editor.ws().text({Control::Producer1}), std::string());
            QVERIFY(editor.documents().currentFile().isEmpty());
            QVERIFY(editor.documents().recentFiles().isEmpty());
        }
    }

    void recentFilesAreKeptBetweenRunsAndPruned() {
        QStringList saved;
        {
            Editor editor = makeEditor();
            for (int i = 0; i < 9; ++i) {
                saved.prepend(home_->filePath(QStringLiteral("case%1.wsk").arg(i)));
                editor.platform->files.push_back(saved.front());
                editor.documents().saveAs();
            }
        }
        Editor editor = makeEditor();
        QCOMPARE(editor.documents().recentFiles(), saved.mid(0, 8));  // newest first, the oldest dropped

        QVERIFY(QFile::remove(saved[1]));
        editor.documents().openRecent(saved[1]);
        QVERIFY(editor.platform->messages.empty());
        QVERIFY(editor.statusNote().contains(saved[1]));
        QVERIFY(editor.statusNote().contains(QStringLiteral("gone")));
        QVERIFY(!editor.documents().recentFiles().contains(saved[1]));

        writeCase(saved[2], "Recent Farmer");
        editor.documents().openRecent(saved[2]);
        QCOMPARE(editor.ws().text({Control::Producer1}), std::string("Recent Farmer"));
        QCOMPARE(editor.documents().recentFiles().front(), saved[2]);
    }

    // Save As offers the file last used, however it came: a file opened from
    // Open Recent after another must not be replaced by its own content.
    void saveAsOffersTheFileLastOpened() {
        const QString first = home_->filePath(QStringLiteral("a.wsk"));
        const QString second = home_->filePath(QStringLiteral("b.wsk"));
        writeCase(first, "First Farmer");
        writeCase(second, "Second Farmer");
        ui::MainWindow window(std::make_unique<ui::QtPlatform>());
        QVERIFY(window.documents().openFile(first));
        window.documents().openRecent(second);
        QString offered;
        ui::DialogueAnswerer cancel(nullptr, [&offered](const QFileDialog& dialog) -> std::optional<QString> {
            offered = dialog.selectedFiles().value(0);
            return std::nullopt;
        });
        window.documents().saveAs();
        QCOMPARE(offered, second);
        QCOMPARE(producerIn(first), std::string("First Farmer"));
    }

    // The Open Recent entry shows a name with '&' as it is, its letter being
    // the digit, and its tool tip (shown) gives the full path.
    void recentEntryShowsTheNameAndPath() {
        const QString path = home_->filePath(QStringLiteral("Smith & Sons.wsk"));
        Editor editor = makeEditor();
        editor.platform->files = {path};
        editor.documents().saveAs();
        auto* recent = editor.window->menuBar()->findChild<QMenu*>(QStringLiteral("menuOpenRecent"));
        Q_EMIT recent->aboutToShow();
        QVERIFY(recent->toolTipsVisible());
        QCOMPARE(recent->actions().first()->text(), QStringLiteral("&1 Smith && Sons.wsk"));
        QCOMPARE(recent->actions().first()->toolTip(), path);
    }

    void saveWritesTheCurrentFileWithoutAsking() {
        const QString path = home_->filePath(QStringLiteral("farm.wsk"));
        writeCase(path, "Jane Farmer");
        Editor editor = makeEditor();
        QVERIFY(editor.documents().openFile(path));
        editor.ws().setText({Control::Producer1}, "John Farmer");
        QVERIFY(editor.documents().modified());
        QCOMPARE(editor.documentLabel(), QStringLiteral("* farm.wsk"));

        editor.documents().save();
        QCOMPARE(editor.platform->dialogs, 0);
        QCOMPARE(producerIn(path), std::string("John Farmer"));
        QVERIFY(!editor.documents().modified());
        QCOMPARE(editor.documentLabel(), QStringLiteral("farm.wsk"));
    }

    // The shortcuts of the File menu reach their entries from anywhere in the window.
    void shortcutsRunTheirEntries() {
        const QString path = home_->filePath(QStringLiteral("farm.wsk"));
        writeCase(path, "Jane Farmer");
        Editor editor = makeEditor();
        editor.window->show();
        QVERIFY(QTest::qWaitForWindowActive(editor.window.get()));
        QVERIFY(editor.documents().openFile(path));
        editor.ws().setText({Control::Producer1}, "By Shortcut");
        QTest::keyClick(editor.window.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(editor.platform->dialogs, 0);
        QCOMPARE(producerIn(path), std::string("By Shortcut"));
        QTest::keyClick(editor.window.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(editor.window.get(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(editor.platform->dialogs, 2);
    }

    void saveWithoutAFileAndSaveAsAsk() {
        Editor editor = makeEditor();
        QVERIFY(!editor.documents().modified());
        QCOMPARE(editor.documentLabel(), QStringLiteral("Untitled"));
        editor.ws().setText({Control::Producer1}, "Jane Farmer");
        editor.documents().save();  // no file yet: asks, and the answer is Cancel
        QCOMPARE(editor.platform->dialogs, 1);
        QVERIFY(editor.documents().currentFile().isEmpty());

        const QString first = home_->filePath(QStringLiteral("first.wsk"));
        const QString second = home_->filePath(QStringLiteral("second.wsk"));
        editor.platform->files = {first, second};
        editor.documents().save();
        QCOMPARE(editor.documents().currentFile(), first);
        editor.documents().saveAs();  // asks even with a file
        QCOMPARE(editor.platform->dialogs, 3);
        QCOMPARE(editor.documents().currentFile(), second);
        QCOMPARE(producerIn(second), std::string("Jane Farmer"));
    }

    // Opening a file by any way shows that file's case alone: the ticks,
    // the state and the boxes it hid of the case before are gone, so Save
    // writes into the file nothing of the other farm. One undo brings the
    // case before back.
    void openShowsExactlyTheFilesCase_data() {
        QTest::addColumn<QString>("way");
        QTest::newRow("File > Open") << "open";
        QTest::newRow("Open Recent") << "recent";
        QTest::newRow("command line") << "command line";
    }
    void openShowsExactlyTheFilesCase() {
        QFETCH(QString, way);
        const QString path = home_->filePath(QStringLiteral("second farm.wsk"));
        writeCase(path, "Second Farmer");
        Editor editor = makeEditor();
        Form& form = editor.window->form();
        form.setText({Control::Producer1}, "First Farmer");
        form.select({Control::St, 4});
        form.setChecked({Control::Crop, 0}, true);
        form.setChecked({Control::Crop2, 3}, true);
        int hidden = 0;
        for (int i = 0; i < info(Control::Crop).slots(); ++i) hidden += editor.ws().visible({Control::Crop, i}) ? 0 : 1;
        QVERIFY(hidden > 0);

        if (way == QLatin1String("open")) {
            editor.platform->files = {path};
            editor.documents().open();
        } else if (way == QLatin1String("recent")) {
            editor.documents().openRecent(path);
        } else {
            QVERIFY(editor.documents().openFile(path));
        }
        QVERIFY(editor.platform->messages.empty());
        QCOMPARE(editor.ws().text({Control::Producer1}), std::string("Second Farmer"));
        QVERIFY(!editor.ws().checked({Control::Crop, 0}));
        QVERIFY(!editor.ws().checked({Control::Crop2, 3}));
        QCOMPARE(editor.ws().selectedIndex(Control::St), -1);
        QCOMPARE(editor.ws().text({Control::Cropname1, 0}), std::string());
        for (int i = 0; i < info(Control::Crop).slots(); ++i) QVERIFY(editor.ws().visible({Control::Crop, i}));
        QVERIFY(!editor.documents().modified());

        editor.documents().save();
        Worksheet saved;
        QVERIFY(readWorksheetFile(saved, path.toStdString()).ok());
        QVERIFY(!saved.checked({Control::Crop, 0}));
        QVERIFY(!saved.checked({Control::Crop2, 3}));

        editor.documents().undo();
        QCOMPARE(editor.ws().text({Control::Producer1}), std::string("First Farmer"));
        QVERIFY(editor.ws().checked({Control::Crop2, 3}));
        QVERIFY(editor.documents().currentFile().isEmpty());
    }

    // The window's name for the worksheet (the status bar, print jobs, the
    // default names of exports) is the file of the worksheet as it stands:
    // none after Clear, the one before after undo of a Load, unchanged by a
    // Load that failed.
    void theDocumentNameFollowsTheWorksheet() {
        const QString first = home_->filePath(QStringLiteral("first.wsk"));
        const QString second = home_->filePath(QStringLiteral("second.wsk"));
        const QString binary = home_->filePath(QStringLiteral("binary.wsk"));
        writeCase(first, "First Farmer");
        writeCase(second, "Second Farmer");
        QFile garbage(binary);
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write(
            QByteArray("\x7f"
                       "ELF\0\0\x01\x02",
                       8));
        garbage.close();

        auto owned = std::make_unique<ui::QtPlatform>();
        ui::QtPlatform& platform = *owned;
        ui::MainWindow window(std::move(owned));
        ui::DocumentActions& documents = window.documents();
        std::optional<QString> answer;
        QString offered;
        int dialogs = 0;
        int messages = 0;
        ui::DialogueAnswerer answerer(
            [&messages](const QMessageBox&) {
                ++messages;
                return QMessageBox::Ok;
            },
            [&](const QFileDialog& dialog) {
                ++dialogs;
                offered = dialog.selectedFiles().value(0);
                return std::exchange(answer, std::nullopt);
            });
        const auto press = [&window](Control button) {
            window.showPageOf({button});
            qobject_cast<QPushButton*>(window.fieldWidget({button}))->click();
        };
        QVERIFY(documents.openFile(first));

        answer = binary;
        press(Control::Load);
        QCOMPARE(messages, 1);
        QCOMPARE(documents.currentFile(), first);
        QCOMPARE(platform.documentTitle(), QStringLiteral("first.wsk"));
        documents.exportPdf();  // cancelled
        QCOMPARE(QFileInfo(offered).fileName(), QStringLiteral("first.pdf"));

        press(Control::Clear);
        QVERIFY(documents.currentFile().isEmpty());
        QCOMPARE(platform.documentTitle(), QStringLiteral("Untitled worksheet"));
        dialogs = 0;
        documents.save();  // asks, and is cancelled
        QCOMPARE(dialogs, 1);
        QCOMPARE(producerIn(first), std::string("First Farmer"));

        documents.undo();
        QCOMPARE(documents.currentFile(), first);
        answer = second;
        press(Control::Load);
        QCOMPARE(documents.currentFile(), second);
        documents.undo();
        QCOMPARE(documents.currentFile(), first);
        QVERIFY(!documents.modified());
        documents.redo();  // the Load again, with its file
        QCOMPARE(documents.currentFile(), second);
        documents.undo();
        window.form().setText({Control::Agent1}, "Agent of the first");
        dialogs = 0;
        documents.save();
        QCOMPARE(dialogs, 0);
        QCOMPARE(producerIn(second), std::string("Second Farmer"));
        Worksheet saved;
        QVERIFY(readWorksheetFile(saved, first.toStdString()).ok());
        QCOMPARE(saved.text({Control::Agent1}), std::string("Agent of the first"));
    }

    void exportPdfHoldsTheReportLines() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        Editor editor = makeEditor();
        editor.ws().setText({Control::Producer1}, "Jane Farmer");
        editor.ws().setText({Control::Agent1}, "Agency Smith");
        const QString pdf = home_->filePath(QStringLiteral("report.pdf"));
        editor.platform->files = {pdf};
        editor.documents().exportPdf();
        QVERIFY(editor.platform->messages.empty());

        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(30000));
        QCOMPARE(text.exitCode(), 0);
        // The PDF's font may join "fi" into one ligature character.
        const QString pdfText =
            collapsed(QString::fromUtf8(text.readAllStandardOutput()).normalized(QString::NormalizationForm_KC));
        int lines = 0;
        for (const std::string& line : renderPlainText(composeReport(editor.ws()))) {
            const QString wanted = collapsed(QString::fromStdString(line)).trimmed();
            if (wanted.isEmpty()) continue;
            ++lines;
            QVERIFY2(pdfText.contains(wanted), qPrintable(wanted));
        }
        QVERIFY(lines > 10);
    }

    void premiumNamesItsRateFile() {
        QTemporaryDir rates;
        const QString rateFile = rates.filePath(QStringLiteral("Ratefile.prn"));
        writeRates(rateFile);
        Editor editor = makeEditor();
        editor.platform->folders = {rates.path().toStdString()};
        calculatePremium(editor);

        const QString note = editor.statusNote();
        QVERIFY2(note.contains(rateFile), qPrintable(note));
        QVERIFY2(note.contains(QStringLiteral("186 bytes")), qPrintable(note));  // three records and their CR LF
        QVERIFY2(note.contains(QStringLiteral("3 records, 1 of 2 commodities found")), qPrintable(note));
        // A menu entry's status tip passing over the bar leaves the note in place.
        QStatusTipEvent passing(QStringLiteral("Save the worksheet"));
        QApplication::sendEvent(editor.window.get(), &passing);
        QStatusTipEvent gone{QString()};
        QApplication::sendEvent(editor.window.get(), &gone);
        QCOMPARE(editor.statusNote(), note);

        // Help > Rate File in Use adds the file's SHA-256, as the system's own tool computes it.
        QProcess sum;
        sum.start(QStringLiteral("sha256sum"), {rateFile});
        QVERIFY(sum.waitForFinished(30000));
        const QString expected = QString::fromLatin1(sum.readAllStandardOutput()).section(QLatin1Char(' '), 0, 0);
        QCOMPARE(expected.size(), 64);
        test::MessageCatcher catcher;
        editor.documents().showRateFileInUse();
        QCOMPARE(catcher.seen().size(), size_t(1));
        const QString shown = QString::fromStdString(catcher.seen()[0].text);
        QVERIFY2(shown.contains(expected) && shown.contains(rateFile), qPrintable(shown));
    }

    // At the window's own width a long path gives way in its middle, so the
    // counts after it stay in view; the tool tip holds the whole note.
    void longRatesNoteKeepsItsCounts() {
        QTemporaryDir rates;
        const QString folder = rates.filePath(QString(150, u'd'));
        QVERIFY(QDir().mkpath(folder));
        writeRates(QDir(folder).filePath(QStringLiteral("Ratefile.prn")));
        Editor editor = makeEditor();
        editor.platform->folders = {folder.toStdString()};
        editor.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(editor.window.get()));
        calculatePremium(editor);

        const auto* label = editor.window->statusBar()->findChild<QLabel*>(QStringLiteral("statusNote"));
        QVERIFY2(label->text().startsWith(QStringLiteral("Rates: ")), qPrintable(label->text()));
        QVERIFY2(label->text().endsWith(QStringLiteral("1 of 2 commodities found")), qPrintable(label->text()));
        QVERIFY(label->text().contains(QChar(0x2026)));
        QCOMPARE(label->toolTip(), editor.statusNote());
        QVERIFY(editor.statusNote().contains(folder));
    }

    // The chosen rate file is read before the usual places, remembered
    // between runs, and passed over with a note once it is gone.
    void chosenRateFileComesFirstUntilItIsGone() {
        QTemporaryDir usual;
        writeRates(usual.filePath(QStringLiteral("Ratefile.prn")));
        const QString chosen = home_->filePath(QStringLiteral("reissued.prn"));
        writeRates(chosen);
        {
            Editor editor = makeEditor();
            bool asked = false;
            const ui::DialogueAnswerer answer({}, [&](const QFileDialog&) {
                asked = true;
                return std::optional<QString>(chosen);
            });
            editor.documents().chooseRateFile();
            QVERIFY(asked);
        }
        Editor editor = makeEditor();
        editor.platform->folders = {usual.path().toStdString()};
        calculatePremium(editor);
        QVERIFY2(editor.statusNote().startsWith(QStringLiteral("Rates: ") + chosen), qPrintable(editor.statusNote()));

        QVERIFY(QFile::remove(chosen));
        editor.platform->messages.clear();
        calculatePremium(editor);
        // Said before it prices, naming both files.
        const std::string usualFile = usual.filePath(QStringLiteral("Ratefile.prn")).toStdString();
        QVERIFY(!editor.platform->messages.empty());
        const std::string& told = editor.platform->messages.front();
        QVERIFY2(told.find(chosen.toStdString() + ", is gone") != std::string::npos &&
                     told.find("priced from " + usualFile) != std::string::npos,
                 told.c_str());
        const QString note = editor.statusNote();
        QVERIFY2(note.contains(chosen + QStringLiteral(" is gone")), qPrintable(note));
        QVERIFY2(note.contains(usual.filePath(QStringLiteral("Ratefile.prn"))), qPrintable(note));
    }

    // The preview lays out the same report as the printer; closing it changes nothing.
    void printPreviewOpensAndCloses() {
        Editor editor = makeEditor();
        editor.ws().setText({Control::Producer1}, "Jane Farmer");
        QTimer::singleShot(0, [] {
            if (QWidget* preview = QApplication::activeModalWidget()) preview->close();
        });
        editor.documents().printPreview();
        QVERIFY(editor.platform->messages.empty());
        QCOMPARE(editor.ws().text({Control::Producer1}), std::string("Jane Farmer"));
    }

private:
    std::unique_ptr<test::ScratchHome> home_;
};

KBT2_WINDOW_TEST_MAIN(DocumentTest)
#include "document_test.moc"
