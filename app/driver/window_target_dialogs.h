#pragma once
// The driver's hand on the window's dialogues: every message box and file
// dialogue that the window shows is read when it appears, reported as a
// person would see it, and answered from the script.

#include <optional>
#include <string>

#include "app/driver/session.h"
#include "ui/dialogue_answerer.h"
#include "ui/qt_platform.h"

namespace kbt2::driver {

// Watches the application while it lives.
class DialogueAnswerer {
public:
    explicit DialogueAnswerer(Session& session);

    // The path the last file dialogue was given, as the script wrote it.
    std::optional<std::string> takeTypedPath();

private:
    QMessageBox::StandardButton readMessage(const QMessageBox& box);
    std::optional<QString> readFileDialog(const QFileDialog& dialog);

    Session& session_;
    std::optional<std::string> typed_;
    ui::DialogueAnswerer answerer_;  // last: its replies use the members above
};

// The window's platform with the driver's stand-ins where a script cannot
// answer a real device: the printer (the printed lines go to the output) and
// the rate file folders (the script's `places`).
class DriverPlatform : public ui::QtPlatform {
public:
    DriverPlatform(Session& session, DialogueAnswerer& answerer) : session_(session), answerer_(answerer) {}

    std::optional<std::string> chooseFile(FileDialogMode mode, const std::string& filter) override;
    std::vector<std::string> rateFileFolders() override { return session_.rateFileFolders(); }
    // A script names its rate file places itself; a user's choice plays no part.
    std::optional<std::string> chosenRateFile() override { return std::nullopt; }
    PrintResult print(const PrintDocument& document) override;
    PrintResult printToPdf(const PrintDocument& document, const std::string& path) override;

private:
    Session& session_;
    DialogueAnswerer& answerer_;
};

}  // namespace kbt2::driver
