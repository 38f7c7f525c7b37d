#pragma once
// The platform services of the window: Qt's message box and file dialogue,
// the file system, the default printer.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

#include "worksheet/platform.h"

namespace kbt2::ui {

class AppSettings;

class QtPlatform : public Platform {
public:
    QtPlatform() = default;

    // The main window: the parent of every dialogue, closed by closeWindow.
    void setWindow(QWidget* window) { window_ = window; }

    MessageAnswer showMessage(const Message& message) override;
    std::optional<std::string> chooseFile(FileDialogMode mode, const std::string& filter) override;
    std::vector<std::string> rateFileFolders() override;
    PrintResult print(const PrintDocument& document) override;
    PrintResult printToPdf(const PrintDocument& document, const std::string& path) override;
    void closeWindow() override;
    // Told to the handler the window sets.
    void worksheetFileUsed(const std::string& path) override;
    // The rate file chosen in File > Choose Rate File, remembered between runs
    // in the window's settings; none while the window has given none.
    std::optional<std::string> chosenRateFile() override;
    void setSettings(const AppSettings* settings) { settings_ = settings; }

    void setFileUsedHandler(std::function<void(const std::string&)> handler) { fileUsed_ = std::move(handler); }
    // The file the worksheet belongs to now (empty for none): the name of
    // print jobs and the default of every export follow it, and the
    // worksheet dialogue offers it next when it has one.
    void rememberWorksheetFile(const QString& path) {
        documentFile_ = path;
        if (!path.isEmpty()) lastFile_ = path;
    }
    // The title of a print job: the worksheet's file name, or "Untitled
    // worksheet" while it has none.
    QString documentTitle() const;

private:
    // Asks before an existing file other than a worksheet is replaced.
    bool mayReplace(const QString& path);

    std::function<void(const std::string&)> fileUsed_;
    const AppSettings* settings_ = nullptr;
    QPointer<QWidget> window_;
    // The worksheet dialogue keeps its file name between uses, even one
    // that failed to load; the document's name changes only when a file is
    // loaded or saved (or the worksheet leaves its file).
    QString lastFile_;
    QString documentFile_;
};

}  // namespace kbt2::ui
