#pragma once
// What the menu bar does with the worksheet as a document: the file it was
// last loaded from or saved to, whether it changed since, the recent files,
// the recovery copy, the PDF export and preview, the chosen rate file. Every
// entry that a button also offers runs the button's own command.

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

#include "commands/form.h"
#include "ui/app_settings.h"
#include "ui/qt_platform.h"
#include "ui/recovery.h"
#include "ui/status_notes.h"

class QMainWindow;

namespace kbt2::ui {

class DocumentActions : public QObject {
public:
    // The window gets a status bar; the platform reports to this object
    // every worksheet file the commands load or save.
    DocumentActions(QMainWindow& window, Form& form, QtPlatform& platform);
    ~DocumentActions() override;

    // File menu.
    void open();
    void openRecent(const QString& path);
    void save();
    void saveAs();
    void exportPdf();
    void printPreview();
    void print();
    void chooseRateFile();
    void recover();
    void exit();
    // Help menu.
    void about();
    void showRateFileInUse();

    // Loads a file as Load does (a failure is told, the worksheet unchanged).
    bool openFile(const QString& path);

    QString currentFile() const { return currentFile_; }
    bool modified() const { return modified_; }
    QStringList recentFiles() const { return settings_.recentFiles(); }
    StatusNotes& status() { return status_; }
    RecoveryKeeper& recovery() { return *recovery_; }

    // After a button's command ran to its end.
    void buttonClicked(Control button);
    // The window is closing through Exit or the close box.
    void windowClosing();

private:
    void fileUsed(const std::string& path);
    void worksheetChanged();
    void showDocument() { status_.showDocument(currentFile_, modified_); }

    QMainWindow& window_;
    Form& form_;
    QtPlatform& platform_;
    AppSettings settings_;
    StatusNotes status_;
    std::unique_ptr<RecoveryKeeper> recovery_;
    QString currentFile_;
    bool modified_ = false;
};

}  // namespace kbt2::ui
