#pragma once
// Keeps a copy of the worksheet in the user's data folder
// (QStandardPaths::AppDataLocation, which follows XDG_DATA_HOME), so typed
// work outlives a crash, a kill or an Exit without saving. The copy is
// written in the worksheet file format with the Save button's writer, a
// short while after the last change, so a burst of typing costs one write.
//
// Each run keeps its own copy beside a lock file that the run holds from its
// first change until it closes: two windows never write over each other's copy, and a lock left
// behind by a process that is gone marks a run that did not end through Exit
// or the close box. A run that closes with work not saved leaves a mark
// beside its copy, so the next start can say the work is there.

#include <QDateTime>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "commands/form.h"

namespace kbt2::ui {

struct KeptCopy {
    QString path;
    QDateTime written;
};

class RecoveryKeeper : public QObject {
public:
    // The quiet time after the last change before the copy is written.
    static constexpr int kDelayMs = 2000;

    // `note` receives what the user should hear of (in the status bar).
    RecoveryKeeper(Form& form, std::function<void(const QString&)> note, QObject* parent = nullptr);
    ~RecoveryKeeper() override;

    static QString folder();
    // Where notes go from now on.
    void setNote(std::function<void(const QString&)> note) { note_ = std::move(note); }

    // The newest copy of a run that ended without Exit or the close box,
    // found when this run started.
    const std::optional<KeptCopy>& copyOfCrashedRun() const { return crashed_; }
    // The newest copy of a run that was closed through Exit or the close box
    // with work not saved, found when this run started.
    const std::optional<KeptCopy>& copyOfUnsavedClose() const { return unsavedClose_; }
    // The newest copy kept by any other run, ended or still open, or kept
    // by this run when a step replaced unsaved work.
    std::optional<KeptCopy> newestOtherCopy() const;
    // Those copies, newest first, as many as are kept.
    std::vector<KeptCopy> otherCopies() const;
    // Keeps work that a step replaced before it was saved, beside this
    // run's own copy, so it outlives a crash right after the step.
    void keep(const Worksheet::Snapshot& replaced);
    QString ownCopy() const { return ownCopy_; }

    // A change that the next write must take in (loading counts as one).
    void changed();
    // Writes at once what is still waiting for the quiet time.
    void writePending();
    // The window closed through Exit or the close box; `unsaved` when its
    // work was not saved, which the next start then tells.
    void endCleanly(bool unsaved = false);

private:
    bool holdLock();
    void write();
    void lookForCrashedRuns();
    void lookForUnsavedCloses();
    void pruneOldCopies();

    Form& form_;
    std::function<void(const QString&)> note_;
    QTimer timer_;
    QString ownCopy_;
    std::unique_ptr<QLockFile> lock_;
    std::optional<KeptCopy> crashed_;
    std::optional<KeptCopy> unsavedClose_;
    bool failed_ = false;  // the last write failed: said once until one works
};

}  // namespace kbt2::ui
