#pragma once
// What the menu bar does with the worksheet as a document: the file it was
// last loaded from or saved to, whether it changed since, the recent files,
// the recovery copy, the PDF export and preview, the chosen rate file. Every
// entry that a button also offers runs the button's own command.

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "commands/case.h"
#include "commands/form.h"
#include "ui/app_settings.h"
#include "ui/field_binding.h"
#include "ui/qt_platform.h"
#include "ui/recovery.h"
#include "ui/status_notes.h"

class QAction;
class QMainWindow;

namespace kbt2::ui {

class DocumentActions : public QObject {
public:
    // The window gets a status bar; the platform reports to this object
    // every worksheet file the commands load or save.
    DocumentActions(QMainWindow& window, Form& form, QtPlatform& platform, const FieldBinding& binding);
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
    // The kept copies for File > Recover Last Worksheet, newest first, but
    // the one the start note named (work closed unsaved) before all.
    std::vector<KeptCopy> keptCopies() const;
    // What a kept copy holds, in words: time, producer name and county.
    QString describe(const KeptCopy& copy) const;
    void recoverCopy(const KeptCopy& copy);
    void exit();
    // Edit menu: the worksheet's history.
    void undo();
    void redo();
    // The Edit menu's entries, which follow the history from now on.
    void setEditActions(QAction* undo, QAction* redo);
    // Help menu.
    void about();
    void showRateFileInUse();

    // Loads a file as Load does (a failure is told, the worksheet unchanged).
    bool openFile(const QString& path);

    QString currentFile() const { return currentFile_; }
    bool modified() const { return form_.unsaved(); }
    QStringList recentFiles() const { return settings_.recentFiles(); }
    StatusNotes& status() { return status_; }
    RecoveryKeeper& recovery() { return *recovery_; }

    // After a person's action on a field or button went through the form:
    // `changed` is what the form returned.
    void acted(FieldRef field, bool changed);
    // What a step is called in the Edit menu and the status bar.
    QString stepName(const Step& step) const;
    // The window is closing through Exit or the close box.
    void windowClosing();
    // The scenarios of the case, which File > Save and Save As keep beside
    // the base and File > Open brings back; `replaced` runs when opening
    // replaced the case's scenarios.
    void setCase(Case* scenarios, std::function<void()> replaced);
    // The form holds another document now (another scenario of the case):
    // its file, unsaved mark and history from now on.
    void documentReplaced();

private:
    void fileUsed(const std::string& path);
    // Whether a save keeps several scenarios, and that save.
    bool savesCase() const { return case_ && case_->size() > 1; }
    void saveCaseTo(const std::string& path);
    // After the base was opened from a file: the scenarios saved with it.
    void openScenarios();
    // After every action: the unsaved mark, the Edit menu, and a copy of
    // work a step replaced before it was saved.
    void followForm();

    QMainWindow& window_;
    Form& form_;
    QtPlatform& platform_;
    AppSettings settings_;
    StatusNotes status_;
    std::unique_ptr<RecoveryKeeper> recovery_;
    const FieldBinding& binding_;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QString currentFile_;
    QString startCopy_;
    Case* case_ = nullptr;
    std::function<void()> caseReplaced_;
    std::optional<std::string> savedTo_;  // by the Save button under way
};

}  // namespace kbt2::ui
