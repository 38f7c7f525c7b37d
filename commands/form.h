#pragma once
// The main form as the document: the worksheet with the handlers of its
// controls, the file it was last saved to or loaded from, and its history.
// It is the one way in for a person's actions: both front ends, the window
// and the scripting driver, type, check, select and press through a Form and
// nothing else, so every action is one step of the history (commands/history.h).

#include <optional>
#include <string>
#include <utility>

#include "commands/history.h"
#include "commands/paste.h"
#include "commands/premium.h"
#include "commands/save_load.h"
#include "worksheet/platform.h"
#include "worksheet/worksheet.h"

namespace kbt2 {

class Form : private ControlEvents {
public:
    // The premium reads the rate file the platform's places hold.
    explicit Form(Platform& platform);
    // The premium takes its rates from `rates`, which must outlive the form.
    Form(Platform& platform, RateSource& rates);
    // The same for a batch that no person will undo (kbt2-quote): no history
    // is kept and nothing is remembered as saved, so no action copies the
    // worksheet; every action then counts as a change, and undo and redo find
    // no step.
    struct WithoutHistory {};
    Form(Platform& platform, RateSource& rates, WithoutHistory);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // The fields, to read and to observe. A person's actions go through the
    // calls below; only the commands write the worksheet itself.
    Worksheet& worksheet() { return worksheet_; }
    const Worksheet& worksheet() const { return worksheet_; }
    // The platform the form was given.
    Platform& platform() { return platform_.outer(); }
    // What the commands ask: the given platform, with the form taking note
    // of the files they save and load.
    Platform& commandPlatform() { return platform_; }

    // A person's actions, each as typing, a click on a box or an option, or a
    // press of a button does it; each runs its handlers to completion. True
    // when the worksheet changed, which makes a step of the history (or
    // grows the typing step of that field).
    bool setText(FieldRef field, std::string text);
    bool setChecked(FieldRef box, bool checked);
    bool select(FieldRef option);
    bool click(Control button);
    // A block of cells pasted at `focused`: every edit applied, as one step.
    bool paste(FieldRef focused, const std::vector<PasteEdit>& edits);

    // Steps back or forward through the history: every field as before or
    // after that step, no handler run, no message, no file touched. The step
    // undone or redone; nothing when there was none.
    std::optional<Step> undo();
    std::optional<Step> redo();
    const Step* nextUndo() const { return history_.nextUndo(); }
    const Step* nextRedo() const { return history_.nextRedo(); }

    // The file the worksheet was last loaded from or saved to; empty when
    // none (a new, cleared or recovered worksheet). Undo and redo bring back
    // the file of the state they restore.
    const std::string& fileName() const { return history_.file().name; }
    // True while the worksheet differs from what its file holds (from what
    // it was after a Clear, when it has no file yet).
    bool unsaved() const {
        const auto& saved = history_.file().saved;
        return !saved || *saved != worksheet_.snapshot();
    }
    // The worksheet as it was before the last action, when that action was
    // a step that replaced work not saved (Clear, Load, Command5, a
    // recovery): what a recovery copy keeps. Handed out once.
    std::optional<Worksheet::Snapshot> takeReplacedUnsavedWork() { return std::exchange(replacedUnsaved_, {}); }

    // The rate file the last Calculate Premium read; nothing when it stopped
    // before reading one.
    const std::optional<RateFileUse>& lastRateFileUse() const { return lastPremium_.rateFile; }
    // All that the last Calculate Premium did: its stop or warnings, and the
    // figures it wrote.
    const PremiumOutcome& lastPremium() const { return lastPremium_; }

    // The window's document commands beside the buttons, on the buttons' own
    // code (commands/form_documents.cpp). Save and Load on a path already
    // known: a failure is told, a success names the platform's document.
    bool saveTo(const std::string& path);
    bool loadFrom(const std::string& path);
    // Opening a file: the file's case alone, as if loaded into a fresh
    // worksheet, with nothing of the case before it left (unlike the Load
    // button, which sets only what the file names). One step, as a Load;
    // a failure is told and changes nothing. `open` asks for the file first.
    bool open();
    bool openFrom(const std::string& path);
    // The Print button's report as a PDF under a chosen name, at any time.
    void exportPdf();
    // The Print button's report, for a preview.
    PrintDocument report() const;
    // The recovery copy: the worksheet file written or read without a word
    // to the user; a failure holds the message it would have been. A copy
    // read is a step that belongs to no file.
    WorksheetFileOutcome writeCopy(const std::string& path) const;
    static WorksheetFileOutcome writeCopy(const Worksheet::Snapshot& state, const std::string& path);
    WorksheetFileOutcome recoverFrom(const std::string& path, const std::string& shownName);
    // Reads a copy's fields without touching the worksheet (for a list of
    // copies to choose from); nothing when it cannot be read.
    static std::optional<Worksheet> peekCopy(const std::string& path);

    // For a case of several scenarios (commands/case.h), on the form's own
    // members (commands/form_scenarios.cpp). Starts over as `state`: every
    // field as it holds them, no step to undo, no file, nothing saved and no
    // premium read. Nobody hears of it but the worksheet's observers.
    void startAs(const Worksheet::Snapshot& state);
    // Trades documents with `other`: the worksheets' fields (each worksheet's
    // observers hear of every field that changes), the histories, the files,
    // the states saved and the last premiums. Each form keeps its platform,
    // its rates and its observers, so a window bound to this form shows the
    // other document from then on.
    void exchangeDocument(Form& other);
    // Starts over as the worksheet file at `path` holds it, as opening reads
    // it (handlers run), no step to undo, the file `belongsTo` saved as read.
    // Tells nobody: a failure holds the message it would have been when the
    // file could not be read, and then the form is as it was.
    WorksheetFileOutcome startFromFile(const std::string& path, const std::string& belongsTo);
    // The worksheet as it stands was just saved, with others, as part of the
    // file `path`: no step, nobody told.
    void markSaved(const std::string& path);

private:
    // The outer platform, with a note of every worksheet file the commands
    // load or save: the form's document.
    class DocumentPlatform : public Platform {
    public:
        DocumentPlatform(Platform& outer, Form& form) : outer_(outer), form_(form) {}
        MessageAnswer showMessage(const Message& m) override { return outer_.showMessage(m); }
        std::optional<std::string> chooseFile(FileDialogMode mode, const std::string& filter) override {
            return outer_.chooseFile(mode, filter);
        }
        bool fileExists(const std::string& path) override { return outer_.fileExists(path); }
        std::vector<std::string> rateFileFolders() override { return outer_.rateFileFolders(); }
        PrintResult print(const PrintDocument& d) override { return outer_.print(d); }
        PrintResult printToPdf(const PrintDocument& d, const std::string& path) override {
            return outer_.printToPdf(d, path);
        }
        void closeWindow() override { outer_.closeWindow(); }
        void worksheetFileUsed(const std::string& path) override;
        std::optional<std::string> chosenRateFile() override { return outer_.chosenRateFile(); }
        Platform& outer() { return outer_; }

    private:
        Platform& outer_;
        Form& form_;
    };

    friend void premiumClick(Form& form);

    void checkBoxClicked(Control array, int index) override;
    void optionSelected(Control array, int index) override;
    // Records what an action did: a step when the worksheet changed, and the
    // file it saved or loaded as the document from then on.
    bool record(Step step, bool endsTyping);
    WorksheetFileRef fileAfter(const Step& step, const std::optional<std::string>& used) const;
    std::optional<Step> moveTo(const Worksheet::Snapshot* state, std::optional<Step> step);

    Worksheet worksheet_;
    DocumentPlatform platform_;
    RateFileSource fileRates_;
    RateSource& rates_;
    PremiumOutcome lastPremium_;
    History history_;
    std::optional<std::string> fileUsed_;  // by the action under way
    std::optional<Worksheet::Snapshot> replacedUnsaved_;
    bool keepsHistory_ = true;
};

}  // namespace kbt2
