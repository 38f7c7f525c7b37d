#pragma once
// Shared by the window tests (each test file is its own program): a main that
// runs without a display, and a catcher that answers the window's message
// boxes as they appear.

#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTest>
#include <clocale>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/dialog_texts.h"
#include "ui/dialogue_answerer.h"
#include "ui/main_window.h"

namespace kbt2::test {

// The offscreen platform when the environment names neither a platform nor a
// display: test discovery may run the program outside ctest.
inline void useOffscreenWithoutDisplay() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The run under another locale, named by KBT2_TEST_LOCALE (ctest's second
// run of some window tests): the C library's and Qt's default locale both,
// as a desktop set to that language gives them. False, with a word, when the
// locale is missing or has no comma for its decimal point: that run would
// prove nothing, and must not pass as if it did.
inline bool useLocaleOfTheRun() {
    const QByteArray name = qgetenv("KBT2_TEST_LOCALE");
    if (name.isEmpty()) return true;
    if (!std::setlocale(LC_ALL, name.constData())) {
        std::fprintf(stderr, "The locale %s is not installed (scripts/install-deps.sh makes it).\n", name.constData());
        return false;
    }
    QLocale::setDefault(QLocale(QString::fromLatin1(name)));
    if (std::string_view(std::localeconv()->decimal_point) != "," || QLocale().decimalPoint() != QStringLiteral(",")) {
        std::fprintf(stderr, "The locale %s has no decimal comma.\n", name.constData());
        return false;
    }
    return true;
}

// A fresh main window, shown and active (so that keyboard focus lands in it),
// or none when the platform never activated it.
inline std::unique_ptr<ui::MainWindow> showActiveMainWindow() {
    auto window = std::make_unique<ui::MainWindow>();
    window->show();
    if (!QTest::qWaitForWindowActive(window.get())) return nullptr;
    return window;
}

// The window's platform with the rate file looked for in one test folder.
class TestFolderPlatform : public ui::QtPlatform {
public:
    explicit TestFolderPlatform(std::string folder) : folder_(std::move(folder)) {}
    std::vector<std::string> rateFileFolders() override { return {folder_}; }

private:
    std::string folder_;
};

// What a message box showed.
struct SeenMessage {
    QString title;
    std::string text;  // as the command wrote it: line breaks are character 13
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon;
};

// Records every message box when it is shown and presses `answer` in it (OK
// when the box has no such button).
class MessageCatcher {
public:
    explicit MessageCatcher(QMessageBox::StandardButton answer = QMessageBox::Ok)
        : answerer_([this, answer](const QMessageBox& box) {
              seen_.push_back(
                  {box.windowTitle(), ui::messageFromDisplay(box.text()), box.standardButtons(), box.icon()});
              return answer;
          }) {}
    const std::vector<SeenMessage>& seen() const { return seen_; }

private:
    std::vector<SeenMessage> seen_;
    ui::DialogueAnswerer answerer_;  // last: its reply fills seen_
};

// Corn (code 41) and a cow-calf herd (code 800) in Michigan's third county,
// five years of income, calculated up to the premium. The messages that
// Calculate Preliminary KBT showed (none for this case).
inline std::vector<SeenMessage> fillCornAndCowsCase(ui::MainWindow& window) {
    Worksheet& ws = window.form().worksheet();
    ws.select({Control::St, 0});
    ws.select({Control::Mi1, 2});
    for (int year = 0; year < 5; ++year) {
        ws.setText({Control::Allinc1, year}, "2000");
        ws.setText({Control::Allexp1, year}, "0");
    }
    ws.setText({Control::Cropname1, 0}, "Corn");
    ws.setText({Control::Unit1, 0}, "41");
    ws.setText({Control::Totamt1, 0}, "100");
    ws.setText({Control::Expval1, 0}, "1");
    ws.setText({Control::Cropname1, 1}, "C: Cow-calf");
    ws.setText({Control::Unit1, 1}, "800");
    ws.setText({Control::Totamt1, 1}, "400");
    ws.setText({Control::Expval1, 1}, "1");
    MessageCatcher preliminary;
    window.form().click(Control::Command2);
    return preliminary.seen();
}

}  // namespace kbt2::test

// Test mode keeps the settings and recovery copies of a test run by hand
// out of the user's own.
#define KBT2_WINDOW_TEST_MAIN(TestClass)                \
    int main(int argc, char** argv) {                   \
        kbt2::test::useOffscreenWithoutDisplay();       \
        QStandardPaths::setTestModeEnabled(true);       \
        QApplication app(argc, argv);                   \
        if (!kbt2::test::useLocaleOfTheRun()) return 1; \
        TestClass test;                                 \
        return QTest::qExec(&test, argc, argv);         \
    }
