// The window's dialogues: message boxes as the commands ask for them, the
// file dialogue with the command's filter, and the replaceable printer.

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "tests/window/window_test_support.h"
#include "ui/dialog_texts.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"
#include "worksheet/platform.h"

using namespace kbt2;

namespace {

// A stand-in printer, as the driver puts in: the window's platform with its
// printing replaced.
class RecordingPlatform : public ui::QtPlatform {
public:
    PrintResult print(const PrintDocument& document) override {
        ++printed;
        lines += document.lines.size();
        return {};
    }
    int printed = 0;
    size_t lines = 0;
};

// Fills in a file dialogue when it appears (an empty path cancels it), and
// notes what the dialogue showed.
class FileAnswer {
public:
    explicit FileAnswer(const QString& path)
        : answerer_(nullptr, [this, path](const QFileDialog& dialog) -> std::optional<QString> {
              filters = dialog.nameFilters();
              offered = dialog.selectedFiles().value(0);
              commandFilter = dialog.property(ui::kCommandFilterProperty).toString();
              nativeOff = dialog.testOption(QFileDialog::DontUseNativeDialog);
              mode = dialog.acceptMode();
              if (path.isEmpty()) return std::nullopt;
              return path;
          }) {}
    QStringList filters;
    QString offered;  // the name in the dialogue as it opened
    QString commandFilter;
    bool nativeOff = false;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;

private:
    ui::DialogueAnswerer answerer_;  // last: its reply fills the members above
};

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The worked example's second run: a comma in the second income box.
    void command2AnswersWithTheApplicationTitle() {
        ui::MainWindow window;
        window.show();
        Worksheet& ws = window.form().worksheet();
        const char* incomes[] = {"100", "1,000", "121", "133.1", "146.41"};
        const char* expenses[] = {"60", "62", "64", "66", "68"};
        for (int i = 0; i < 5; ++i) {
            ws.setText({Control::Allinc1, i}, incomes[i]);
            ws.setText({Control::Allexp1, i}, expenses[i]);
        }
        test::MessageCatcher catcher;
        window.showPageOf({Control::Command2});
        qobject_cast<QPushButton*>(window.fieldWidget({Control::Command2}))->click();
        QCOMPARE(catcher.seen().size(), size_t(1));
        const test::SeenMessage& seen = catcher.seen().front();
        QCOMPARE(seen.title, QStringLiteral("KBT2"));
        QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.text, std::string("You have entered either a comma or a $ in the AllowableIncome box 2"));
    }

    void messageBoxAsAsked_data() {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("press");
        QTest::addColumn<int>("answer");
        QTest::newRow("OK, no icon") << int(MessageButtons::OK) << int(MessageIcon::None) << int(QMessageBox::Ok)
                                     << int(MessageAnswer::OK);
        QTest::newRow("OK and Cancel, critical, OK pressed")
            << int(MessageButtons::OKCancel) << int(MessageIcon::Critical) << int(QMessageBox::Ok)
            << int(MessageAnswer::OK);
        QTest::newRow("OK and Cancel, critical, Cancel pressed")
            << int(MessageButtons::OKCancel) << int(MessageIcon::Critical) << int(QMessageBox::Cancel)
            << int(MessageAnswer::Cancel);
    }
    void messageBoxAsAsked() {
        QFETCH(int, buttons);
        QFETCH(int, icon);
        QFETCH(int, press);
        QFETCH(int, answer);
        ui::QtPlatform platform;
        test::MessageCatcher catcher(static_cast<QMessageBox::StandardButton>(press));
        const Message message{"*** ERROR ***", "first line\rsecond line", static_cast<MessageButtons>(buttons),
                              static_cast<MessageIcon>(icon)};
        QCOMPARE(int(platform.showMessage(message)), answer);
        const test::SeenMessage& seen = catcher.seen().front();
        QCOMPARE(seen.title, QStringLiteral("*** ERROR ***"));
        QCOMPARE(seen.text, message.text);
        QCOMPARE(seen.icon, icon == int(MessageIcon::Critical) ? QMessageBox::Critical : QMessageBox::NoIcon);
        QCOMPARE(seen.buttons, buttons == int(MessageButtons::OK)
                                   ? QMessageBox::StandardButtons(QMessageBox::Ok)
                                   : QMessageBox::StandardButtons(QMessageBox::Ok | QMessageBox::Cancel));
    }

    // A carriage return starts a new line of the box's text.
    void carriageReturnBreaksTheLine() {
        const QString shown = ui::messageForDisplay("one\rtwo");
        QLabel label;
        label.setTextFormat(Qt::PlainText);
        label.setText(shown);
        QLabel single;
        single.setText(QStringLiteral("one"));
        QVERIFY(label.sizeHint().height() > single.sizeHint().height());
        QCOMPARE(ui::messageFromDisplay(shown), std::string("one\rtwo"));
    }

    void nameFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("description names its pattern")
            << "KBT Premium Calculation (*.wsk)|*.wsk" << QStringList{"KBT Premium Calculation (*.wsk)"};
        QTest::newRow("pattern added") << "Text|*.txt;*.text" << QStringList{"Text (*.txt *.text)"};
        QTest::newRow("two pairs") << "A (*.a)|*.a|B|*.b" << QStringList{"A (*.a)", "B (*.b)"};
    }
    void nameFilters() {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(ui::nameFilters(filter.toStdString()), expected);
    }

    // A worksheet saved under a name without an extension gets ".wsk";
    // every other name stands as typed.
    void fileDialogueTakesTheNameAsTyped_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        const int save = static_cast<int>(FileDialogMode::Save);
        const int open = static_cast<int>(FileDialogMode::Open);
        QTest::newRow("save without an extension") << save << "case"
                                                   << "case.wsk";
        QTest::newRow("save with .wsk") << save << "case.wsk"
                                        << "case.wsk";
        QTest::newRow("save with another extension") << save << "case.2026"
                                                     << "case.2026";
        QTest::newRow("save ending in a point") << save << "case."
                                                << "case.wsk";
        QTest::newRow("open without an extension") << open << "case"
                                                   << "case";
    }
    void fileDialogueTakesTheNameAsTyped() {
        QFETCH(int, mode);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        ui::QtPlatform platform;
        FileAnswer answer(dir.filePath(typed));
        const auto chosen = platform.chooseFile(static_cast<FileDialogMode>(mode), kWorksheetFileFilter);
        QVERIFY(chosen);
        QCOMPARE(QString::fromStdString(*chosen), dir.filePath(expected));
        if (mode != static_cast<int>(FileDialogMode::Save)) return;
        QVERIFY(answer.nativeOff);
        QCOMPARE(answer.mode, QFileDialog::AcceptSave);
        QCOMPARE(answer.filters, QStringList{"KBT Premium Calculation (*.wsk)"});
        QCOMPARE(answer.commandFilter, QStringLiteral("KBT Premium Calculation (*.wsk)|*.wsk"));
    }

    void fileDialogueCancelled() {
        ui::QtPlatform platform;
        FileAnswer answer{QString()};
        QVERIFY(!platform.chooseFile(FileDialogMode::Open, "KBT Premium Calculation (*.wsk)|*.wsk"));
        QCOMPARE(answer.mode, QFileDialog::AcceptOpen);
    }

    // The report's dialogue offers the worksheet's name as a PDF, never the
    // worksheet itself, and asks before it replaces a file.
    void pdfDialogueNeverOffersTheWorksheet() {
        QTemporaryDir dir;
        const QString worksheet = dir.filePath(QStringLiteral("farm.wsk"));
        const QString pdf = dir.filePath(QStringLiteral("farm.pdf"));
        ui::QtPlatform platform;
        platform.rememberWorksheetFile(worksheet);
        {
            FileAnswer answer(pdf);
            QCOMPARE(platform.chooseFile(FileDialogMode::Save, kPdfFilter), std::optional(pdf.toStdString()));
            QCOMPARE(answer.offered, pdf);
        }
        FileAnswer answer(worksheet);
        QVERIFY(QFile(worksheet).open(QIODevice::WriteOnly));
        {
            test::MessageCatcher catcher(QMessageBox::No);
            QVERIFY(!platform.chooseFile(FileDialogMode::Save, kPdfFilter));
            QCOMPARE(catcher.seen().size(), size_t{1});
            QVERIFY(catcher.seen()[0].text.find("replace") != std::string::npos);
        }
        test::MessageCatcher catcher(QMessageBox::Yes);
        QCOMPARE(platform.chooseFile(FileDialogMode::Save, kPdfFilter), std::optional(worksheet.toStdString()));
        // The worksheet dialogue still offers the worksheet.
        QVERIFY(platform.chooseFile(FileDialogMode::Save, kWorksheetFileFilter));
        QCOMPARE(answer.offered, worksheet);
    }

    void sameNameWithExtension_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("expected");
        QTest::newRow("worksheet as PDF") << "/a/farm.wsk" << kPdfFilter << "/a/farm.pdf";
        QTest::newRow("dots in the name") << "/a/farm.2026.wsk" << kPdfFilter << "/a/farm.2026.pdf";
        QTest::newRow("no file yet") << "" << kPdfFilter << "";
        QTest::newRow("no extension in the filter") << "/a/farm.wsk"
                                                    << "All files|*"
                                                    << "";
    }
    void sameNameWithExtension() {
        QFETCH(QString, path);
        QFETCH(QString, filter);
        QFETCH(QString, expected);
        QCOMPARE(ui::sameNameWithExtension(path, filter.toStdString()), expected);
    }

    void fileExistsOnlyForOrdinaryFiles() {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("Ratefile.prn")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        ui::QtPlatform platform;
        QVERIFY(platform.fileExists(file.fileName().toStdString()));
        QVERIFY(!platform.fileExists(dir.path().toStdString()));
        QVERIFY(!platform.fileExists(dir.filePath(QStringLiteral("missing")).toStdString()));
    }

    // The window's commands use whatever platform it was given: the driver
    // puts in its stand-in printer so.
    void theGivenPlatformServesTheCommands() {
        auto recording = std::make_unique<RecordingPlatform>();
        RecordingPlatform* printer = recording.get();
        ui::MainWindow window(std::move(recording));
        QCOMPARE(&window.form().platform(), static_cast<Platform*>(printer));
        window.form().platform().print(PrintDocument{{{PrintItem::textItem("x")}}});
        QCOMPARE(printer->printed, 1);
    }
};

KBT2_WINDOW_TEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
