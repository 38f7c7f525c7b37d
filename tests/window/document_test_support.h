#pragma once
// Shared by the tests of the window as a document editor: a scratch settings
// and data folder for each test, and the window's platform with its file
// dialogues and messages answered by the test.

#include <QTemporaryDir>
#include <deque>
#include <string>
#include <vector>

#include "ui/qt_platform.h"

namespace kbt2::test {

// Points the settings and the recovery copies at a fresh folder for as long
// as it lives; windows made meanwhile see only what the test puts there.
class ScratchHome {
public:
    ScratchHome() {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.filePath(QStringLiteral("config"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir_.filePath(QStringLiteral("data"))));
    }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
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

}  // namespace kbt2::test
