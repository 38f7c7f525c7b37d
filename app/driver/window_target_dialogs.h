#pragma once
// The driver's hand on the window's dialogues: every message box and file
// dialogue that the window shows is read when it appears, reported as a
// person would see it, and answered from the script.

#include <QObject>
#include <QPointer>
#include <optional>
#include <string>

#include "app/driver/session.h"
#include "ui/qt_platform.h"

class QFileDialog;
class QMessageBox;

namespace kbt2::driver {

class DialogAnswerer : public QObject {
public:
    explicit DialogAnswerer(Session& session) : session_(session) {}

    // The path the last file dialogue was given, as the script wrote it.
    std::optional<std::string> takeTypedPath();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The answer is given once the dialogue runs its own event loop.
    void customEvent(QEvent* event) override;

private:
    void readMessage(QMessageBox* box);
    void readFileDialog(QFileDialog* dialog);
    void pressAnswer();
    void fillInFile();

    Session& session_;
    QPointer<QMessageBox> box_;
    MessageAnswer answer_ = MessageAnswer::OK;
    QPointer<QFileDialog> fileDialog_;
    std::optional<std::string> typed_;
};

// The window's platform with the driver's stand-ins where a script cannot
// answer a real device: the printer (the printed lines go to the output) and
// the rate file folders (the script's `places`).
class DriverPlatform : public ui::QtPlatform {
public:
    DriverPlatform(Session& session, DialogAnswerer& answerer) : session_(session), answerer_(answerer) {}

    std::optional<std::string> chooseFile(FileDialogMode mode, const std::string& filter) override;
    std::vector<std::string> rateFileFolders() override { return session_.rateFileFolders(); }
    PrintResult print(const PrintDocument& document) override;
    PrintResult printToPdf(const PrintDocument& document, const std::string& path) override;

private:
    Session& session_;
    DialogAnswerer& answerer_;
};

}  // namespace kbt2::driver
