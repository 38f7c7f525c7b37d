#include "ui/document_actions.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <algorithm>

#include "commands/case_file.h"
#include "commands/messages.h"
#include "paint/qt_text.h"
#include "ui/rate_file_info.h"
#include "ui/report_printer.h"

namespace kbt2::ui {
namespace {

QString aboutText() {
    return QStringLiteral(
               "KBT2 %1\n\nEstimates the premium of a whole-farm revenue insurance plan.\n\nBuilt with Qt %2, running "
               "on Qt %3.\n\nThe rate file that comes with the program (Ratefile.prn in its data folder) holds "
               "made-up sample rates, not any insurer's: quotes for real farms need the insurer's rate table "
               "(File > Choose Rate File).")
        .arg(QStringLiteral(KBT2_VERSION), QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion()));
}

// A text shown in a menu entry as it stands: an '&' in it is no Alt key mark.
QString menuText(QString text) { return text.replace(u'&', QStringLiteral("&&")); }

QString when(const QDateTime& time) { return timeText(time); }

}  // namespace

DocumentActions::DocumentActions(QMainWindow& window, Form& form, QtPlatform& platform, const FieldBinding& binding)
    : window_(window), form_(form), platform_(platform), status_(window.statusBar()), binding_(binding) {
    platform_.setFileUsedHandler([this](const std::string& path) { fileUsed(path); });
    platform_.setSettings(&settings_);
    // Everything start-up has to say goes into one note, so none hides another.
    QStringList startNotes;
    if (!settings_.problem().isEmpty()) startNotes.append(settings_.problem());
    recovery_ =
        std::make_unique<RecoveryKeeper>(form_, [this, &startNotes](const QString& text) { startNotes.append(text); });
    if (const auto& crashed = recovery_->copyOfCrashedRun())
        startNotes.append(QStringLiteral("The last run ended without Exit or the close box; its worksheet was kept "
                                         "at %1. File > Recover Last Worksheet brings it back.")
                              .arg(when(crashed->written)));
    // Exit asks nothing; the start after it says where the work went, the
    // way back first in the Recover menu.
    if (const auto& closed = recovery_->copyOfUnsavedClose(); closed && !recovery_->copyOfCrashedRun()) {
        startCopy_ = closed->path;
        // Short enough for the status bar of the smallest window, so it is read whole.
        startNotes.append(
            QStringLiteral("Unsaved work from the last session was kept. To get it back: File > "
                           "Recover Last Worksheet, first entry."));
    }
    recovery_->setNote([this](const QString& text) { status_.note(text); });
    if (!startNotes.isEmpty()) status_.note(startNotes.join(QLatin1Char(' ')));
    // A change shows the mark at once; after each action followForm() tells
    // whether the worksheet is back as it was saved.
    form_.worksheet().addObserver([this](const FieldChange&) { status_.showDocument(currentFile_, true); });
}

DocumentActions::~DocumentActions() {
    platform_.setFileUsedHandler({});
    platform_.setSettings(nullptr);
}

// Opening shows the file's case alone; the Load button's merge stays the
// button's own.
void DocumentActions::open() {
    const bool opened = form_.open();
    acted({Control::Load}, opened);
    if (opened) openScenarios();
}

void DocumentActions::openRecent(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        settings_.removeRecentFile(path);
        status_.note(QStringLiteral("%1 is gone; it was taken off the recent files.").arg(path), path);
        return;
    }
    openFile(path);
}

bool DocumentActions::openFile(const QString& path) {
    const bool loaded = form_.openFrom(path.toStdString());
    followForm();
    if (loaded) openScenarios();
    return loaded;
}

void DocumentActions::setCase(Case* scenarios, std::function<void()> replaced) {
    case_ = scenarios;
    caseReplaced_ = std::move(replaced);
}

// A plain worksheet file opens into the current scenario as it always did;
// the base of a saved case brings its scenarios back in place of the case's.
void DocumentActions::openScenarios() {
    if (!case_) return;
    const std::string path = form_.fileName();
    CaseOpening opening = openCaseScenarios(*case_, path);
    if (!opening.hadIndex) return;
    for (const Worksheet::Snapshot& unsaved : opening.replacedUnsaved) recovery_->keep(unsaved);
    if (caseReplaced_) caseReplaced_();
    followForm();
    QStringList notes;
    for (const CaseFileProblem& problem : opening.problems)
        notes.append(oneLine(messages::caseFileProblem(problem, path)));
    if (!notes.isEmpty()) status_.note(notes.join(QLatin1Char(' ')), QString::fromStdString(path));
}

void DocumentActions::save() {
    if (currentFile_.isEmpty()) {
        saveAs();
        return;
    }
    const std::string path = currentFile_.toStdString();
    if (savesCase())
        saveCaseTo(path);
    else if (form_.saveTo(path))
        retireCaseIndex(path);
    followForm();
}

// With one scenario, the Save button's own command; with several, the same
// dialogue and then the whole case.
void DocumentActions::saveAs() {
    if (savesCase()) {
        if (const auto path = platform_.chooseFile(FileDialogMode::Save, kWorksheetFileFilter)) saveCaseTo(*path);
        followForm();
        return;
    }
    savedTo_.reset();
    acted({Control::save}, form_.click(Control::save));
    if (const auto path = std::exchange(savedTo_, std::nullopt)) retireCaseIndex(*path);
}

void DocumentActions::saveCaseTo(const std::string& path) {
    if (const auto saved = saveCase(*case_, path); !saved.ok()) {
        tell(platform_, saved.failure().message);
        return;
    }
    platform_.worksheetFileUsed(path);
}

void DocumentActions::exportPdf() { form_.exportPdf(); }

void DocumentActions::printPreview() {
    QPrintPreviewDialog preview(&window_);
    const PrintDocument report = form_.report();
    connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
            [&report](QPrinter* printer) { printDocument(report, *printer); });
    preview.exec();
}

// The menu's Print… asks for the printer and the copies first; the Print
// button prints at once on the default printer.
void DocumentActions::print() {
    const auto printed = printWithDialog(form_.report(), platform_.documentTitle(), &window_);
    if (printed && printed->status != PrintResult::Status::Printed)
        status_.note(QStringLiteral("The report was not printed: %1").arg(QString::fromStdString(printed->error)));
}

void DocumentActions::chooseRateFile() {
    // A dialogue of its own: the worksheet dialogue remembers its last file,
    // and a Save offering the rate file's name would invite overwriting it.
    const QString current = settings_.chosenRateFile();
    const QString chosen = QFileDialog::getOpenFileName(
        &window_, QStringLiteral("Choose Rate File"), current.isEmpty() ? QString() : QFileInfo(current).path(),
        QStringLiteral("Rate file (*.prn);;All files (*)"), nullptr, QFileDialog::DontUseNativeDialog);
    if (chosen.isEmpty()) return;
    if (!QFileInfo(chosen).isFile()) {
        status_.note(QStringLiteral("%1 is not a file; the rate file was not changed.").arg(chosen), chosen);
        return;
    }
    const QString path = QFileInfo(chosen).absoluteFilePath();
    settings_.setChosenRateFile(path);
    status_.note(QStringLiteral("Premiums are priced from %1 from now on.").arg(path), path);
}

std::vector<KeptCopy> DocumentActions::keptCopies() const {
    std::vector<KeptCopy> copies = recovery_->otherCopies();
    const auto named =
        std::find_if(copies.begin(), copies.end(), [this](const KeptCopy& copy) { return copy.path == startCopy_; });
    if (named != copies.end()) std::rotate(copies.begin(), named, named + 1);
    return copies;
}

void DocumentActions::recover() {
    const std::vector<KeptCopy> copies = keptCopies();
    const std::optional<KeptCopy> copy = copies.empty() ? std::nullopt : std::optional(copies.front());
    if (!copy) {
        status_.note(QStringLiteral("No kept worksheet was found."));
        return;
    }
    recoverCopy(*copy);
}

QString DocumentActions::describe(const KeptCopy& copy) const {
    const auto kept = Form::peekCopy(copy.path.toStdString());
    if (!kept) return QStringLiteral("%1  (cannot be read)").arg(when(copy.written));
    const auto field = [&kept](Control c) {
        const QString text = QString::fromStdString(kept->text({c})).trimmed();
        return text.isEmpty() ? QStringLiteral("(none)") : text;
    };
    return QStringLiteral("%1  %2, %3").arg(when(copy.written), field(Control::Producer1), field(Control::countyname));
}

void DocumentActions::recoverCopy(const KeptCopy& copy) {
    if (const auto recovered = form_.recoverFrom(copy.path.toStdString(), {}); !recovered.ok()) {
        status_.note(QStringLiteral("The kept worksheet could not be read and was ignored. %1")
                         .arg(oneLine(recovered.failure().message)));
        return;
    }
    followForm();
    status_.note(QStringLiteral("Recovered the worksheet kept at %1.").arg(when(copy.written)));
}

void DocumentActions::exit() { acted({Control::Command1}, form_.click(Control::Command1)); }

void DocumentActions::undo() {
    if (const auto step = form_.undo()) status_.note(QStringLiteral("Undid %1.").arg(stepName(*step)));
    followForm();
}

void DocumentActions::redo() {
    if (const auto step = form_.redo()) status_.note(QStringLiteral("Redid %1.").arg(stepName(*step)));
    followForm();
}

void DocumentActions::setEditActions(QAction* undo, QAction* redo) {
    undo_ = undo;
    redo_ = redo;
    followForm();
}

QString DocumentActions::stepName(const Step& step) const {
    const QString caption = binding_.caption(step.field);
    switch (step.kind) {
    case Step::Kind::Typing: return QStringLiteral("Typing in %1").arg(caption);
    case Step::Kind::Check: return QStringLiteral("Check %1").arg(caption);
    case Step::Kind::Select: return QStringLiteral("Select %1").arg(caption);
    case Step::Kind::Recover: return QStringLiteral("Recover Worksheet");
    case Step::Kind::Paste: return QStringLiteral("Paste at %1").arg(caption);
    case Step::Kind::Click: break;
    }
    if (step.field.control == Control::Load && !step.fileName.empty())
        return QStringLiteral("Load %1").arg(QString::fromStdString(step.fileName));
    return caption;
}

void DocumentActions::about() {
    QMessageBox box(QMessageBox::Information, QStringLiteral("About KBT2"), aboutText(), QMessageBox::Ok, &window_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void DocumentActions::showRateFileInUse() {
    QMessageBox box(&window_);
    box.setWindowTitle(QStringLiteral("Rate File in Use"));
    box.setTextFormat(Qt::PlainText);
    box.setText(rateFileInUseText(form_, platform_));
    box.exec();
}

void DocumentActions::acted(FieldRef field, bool /*changed*/) {
    followForm();
    if (field.control != Control::Command4) return;
    const auto& use = form_.lastRateFileUse();
    status_.note(premiumRatesNote(form_), use ? QString::fromStdString(use->path) : QString());
    const RatesWarning warning = premiumRatesWarning(form_);
    status_.warn(warning.brief, warning.whole);
}

void DocumentActions::windowClosing() { recovery_->endCleanly(form_.unsaved()); }

// Another scenario took the form's place: its file, unsaved mark and Edit
// menu are the form's to say, as after any action.
void DocumentActions::documentReplaced() { followForm(); }

// A file loaded or saved; which file the worksheet belongs to is the form's
// to say (followForm).
void DocumentActions::fileUsed(const std::string& path) {
    savedTo_ = path;
    settings_.addRecentFile(QFileInfo(QString::fromStdString(path)).absoluteFilePath());
    recovery_->changed();
}

void DocumentActions::followForm() {
    // The file follows the worksheet: a Load or Save names it, Clear and a
    // recovery leave none, undo and redo bring back the one of their state;
    // a failed Load changes nothing.
    const std::string& name = form_.fileName();
    const QString file = name.empty() ? QString() : QFileInfo(QString::fromStdString(name)).absoluteFilePath();
    if (file != currentFile_) {
        currentFile_ = file;
        platform_.rememberWorksheetFile(currentFile_);
    }
    if (const auto replaced = form_.takeReplacedUnsavedWork()) recovery_->keep(*replaced);
    status_.showDocument(currentFile_, form_.unsaved());
    // The title stays the worksheet's own; a screen reader names the program
    // and the file.
    window_.setAccessibleName(
        QStringLiteral("KBT2 Premium Calculation, %1")
            .arg(currentFile_.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(currentFile_).fileName()));
    if (undo_) {
        const Step* step = form_.nextUndo();
        undo_->setEnabled(step);
        undo_->setText(step ? QStringLiteral("&Undo %1").arg(menuText(stepName(*step))) : QStringLiteral("&Undo"));
    }
    if (redo_) {
        const Step* step = form_.nextRedo();
        redo_->setEnabled(step);
        redo_->setText(step ? QStringLiteral("&Redo %1").arg(menuText(stepName(*step))) : QStringLiteral("&Redo"));
    }
}

}  // namespace kbt2::ui
