#pragma once
// Shared by the tests of the window as a document editor: a scratch settings
// and data folder for each test, and the window's platform with its file
// dialogues and messages answered by the test.

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "ui/main_window.h"
#include "ui/qt_platform.h"

namespace kbt2::test {

// Points the settings and the recovery copies at a fresh folder for as long
// as it lives; windows made meanwhile see only what the test puts there. The
// tests run in Qt's test mode, whose folders lie under the home folder; the
// XDG variables are set too, for a program run without it.
class ScratchHome {
public:
    ScratchHome() {
        for (Variable& variable : variables_) {
            variable.before = qgetenv(variable.name);
            qputenv(variable.name, QFile::encodeName(dir_.filePath(QString::fromLatin1(variable.folder))));
        }
    }
    ~ScratchHome() {
        for (const Variable& variable : variables_) {
            if (variable.before.isNull())
                qunsetenv(variable.name);
            else
                qputenv(variable.name, variable.before);
        }
    }
    ScratchHome(const ScratchHome&) = delete;
    ScratchHome& operator=(const ScratchHome&) = delete;
    QString filePath(const QString& name) const { return dir_.filePath(name); }

private:
    struct Variable {
        const char* name;
        const char* folder;
        QByteArray before;  // null when it was not set
    };
    QTemporaryDir dir_;
    // clang-format off
    Variable variables_[3] = {
        {"HOME",            "home",   {}},
        {"XDG_CONFIG_HOME", "config", {}},
        {"XDG_DATA_HOME",   "data",   {}},
    };
    // clang-format on
};

// File dialogues take the queued answers (cancelled when none is left);
// messages are recorded and answered OK; the rate file is looked for in
// `folders`.
class AnsweringPlatform : public ui::QtPlatform {
public:
    std::deque<QString> files;
    std::vector<std::string> folders;
    int dialogs = 0;
    std::vector<std::string> messages;

    std::optional<std::string> chooseFile(FileDialogMode, const std::string&) override {
        ++dialogs;
        if (files.empty()) return std::nullopt;
        const QString file = files.front();
        files.pop_front();
        return file.toStdString();
    }
    MessageAnswer showMessage(const Message& message) override {
        messages.push_back(message.text);
        return MessageAnswer::OK;
    }
    std::vector<std::string> rateFileFolders() override { return folders; }
};

// A main window on an AnsweringPlatform, shown and active, with what the
// document's tests do to it.
struct WindowUnderTest {
    AnsweringPlatform* platform;
    std::unique_ptr<ui::MainWindow> main;

    static WindowUnderTest open() {
        auto answering = std::make_unique<AnsweringPlatform>();
        AnsweringPlatform* raw = answering.get();
        auto window = std::make_unique<ui::MainWindow>(std::move(answering));
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get())) QApplication::setActiveWindow(window.get());
        return {raw, std::move(window)};
    }
    QAction* action(const char* name) const { return main->findChild<QAction*>(QString::fromLatin1(name)); }
    QLineEdit* edit(FieldRef field) const { return qobject_cast<QLineEdit*>(main->fieldWidget(field)); }
    // Types into a field as a person does, its page brought to the front.
    void type(FieldRef field, const QString& text) const {
        main->showPageOf(field);
        QLineEdit* line = edit(field);
        line->setFocus();
        QTest::keyClicks(line, text);
    }
};

}  // namespace kbt2::test
