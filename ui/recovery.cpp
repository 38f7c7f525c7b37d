#include "ui/recovery.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "ui/status_notes.h"

namespace kbt2::ui {
namespace {

// Copies of runs that ended cleanly are kept, newest first, up to this many;
// older ones are removed at start.
constexpr int kCopiesKept = 8;

QString lockOf(const QString& copy) { return copy.chopped(4) + QStringLiteral(".lock"); }
// The mark of a run closed with work not saved.
QString unsavedMarkOf(const QString& copy) { return copy.chopped(4) + QStringLiteral(".unsaved"); }

// True when a live run holds the lock. A lock left by a process that is gone
// is taken over and released, so it is counted once.
bool heldByLiveRun(const QString& lockPath) {
    QLockFile lock(lockPath);
    // Only the owner's process decides: a long-open window's lock is not old.
    lock.setStaleLockTime(0);
    // A lock that cannot even be looked at is left alone, as a live run's.
    if (!lock.tryLock(0)) return true;
    lock.unlock();
    return false;
}

QFileInfoList copiesNewestFirst(const QString& folder) {
    return QDir(folder).entryInfoList({QStringLiteral("*.wsk")}, QDir::Files, QDir::Time);
}

}  // namespace

RecoveryKeeper::RecoveryKeeper(Form& form, std::function<void(const QString&)> note, QObject* parent)
    : QObject(parent), form_(form), note_(std::move(note)) {
    const QString dir = folder();
    if (!QDir().mkpath(dir)) {
        note_(QStringLiteral("Typed work cannot be kept for recovery: the folder %1 cannot be made.").arg(dir));
        return;
    }
    pruneOldCopies();
    lookForCrashedRuns();
    lookForUnsavedCloses();
    // The start time tells runs apart when the system reuses a process
    // number; the count, windows of one process.
    static int windowsOfThisProcess = 0;
    const QString name = QStringLiteral("%1-%2-%3.wsk")
                             .arg(QDateTime::currentMSecsSinceEpoch())
                             .arg(QCoreApplication::applicationPid())
                             .arg(++windowsOfThisProcess);
    ownCopy_ = QDir(dir).filePath(name);
    timer_.setSingleShot(true);
    timer_.setInterval(kDelayMs);
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::write);
    form_.worksheet().addObserver([this](const FieldChange&) { changed(); });
}

RecoveryKeeper::~RecoveryKeeper() = default;

QString RecoveryKeeper::folder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("recovery"));
}

void RecoveryKeeper::changed() {
    if (!ownCopy_.isEmpty() && holdLock()) timer_.start();
}

bool RecoveryKeeper::holdLock() {
    if (lock_) return true;
    // Taken at the first change rather than at start: making a lock file
    // waits for the disk, and a window nobody types in keeps no copy.
    lock_ = std::make_unique<QLockFile>(lockOf(ownCopy_));
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) return true;
    note_(QStringLiteral("Typed work cannot be kept for recovery: %1 cannot be locked.").arg(lock_->fileName()));
    lock_.reset();
    ownCopy_.clear();
    return false;
}

void RecoveryKeeper::writePending() {
    if (!timer_.isActive()) return;
    timer_.stop();
    write();
}

void RecoveryKeeper::endCleanly(bool unsaved) {
    writePending();
    if (unsaved && !ownCopy_.isEmpty()) {
        // The copy holds the work whatever the timer did; the mark is written
        // only when the copy is.
        write();
        QFile mark(unsavedMarkOf(ownCopy_));
        if (!failed_ && QFile::exists(ownCopy_)) static_cast<void>(mark.open(QIODevice::WriteOnly));
    }
    if (lock_) lock_->unlock();
}

void RecoveryKeeper::write() {
    if (ownCopy_.isEmpty()) return;
    if (const auto written = form_.writeCopy(ownCopy_.toStdString()); !written.ok()) {
        if (!failed_)
            note_(QStringLiteral("Typed work could not be kept for recovery. %1")
                      .arg(oneLine(written.failure().message)));
        failed_ = true;
        return;
    }
    failed_ = false;
}

std::optional<KeptCopy> RecoveryKeeper::newestOtherCopy() const {
    const std::vector<KeptCopy> copies = otherCopies();
    if (copies.empty()) return std::nullopt;
    return copies.front();
}

std::vector<KeptCopy> RecoveryKeeper::otherCopies() const {
    std::vector<KeptCopy> copies;
    for (const QFileInfo& copy : copiesNewestFirst(folder()))
        if (copy.absoluteFilePath() != ownCopy_ && copies.size() < static_cast<size_t>(kCopiesKept))
            copies.push_back(KeptCopy{copy.absoluteFilePath(), copy.lastModified()});
    return copies;
}

void RecoveryKeeper::keep(const Worksheet::Snapshot& replaced) {
    if (ownCopy_.isEmpty()) return;
    // Named after this run's copy, without a lock: a copy of its own that
    // the pruning at a later start treats as any ended run's.
    // Two copies kept within one millisecond (the scenarios kept at a close)
    // each get a name of their own rather than one writing over the other.
    const QString stem = ownCopy_.chopped(4) + QStringLiteral("-kept-%1").arg(QDateTime::currentMSecsSinceEpoch());
    QString path = stem + QStringLiteral(".wsk");
    for (int n = 2; QFileInfo::exists(path); ++n) path = stem + QStringLiteral("-%1.wsk").arg(n);
    if (const auto written = Form::writeCopy(replaced, path.toStdString()); !written.ok())
        note_(QStringLiteral("The replaced work could not be kept for recovery. %1")
                  .arg(oneLine(written.failure().message)));
}

void RecoveryKeeper::lookForCrashedRuns() {
    const QDir dir(folder());
    for (const QFileInfo& lock : dir.entryInfoList({QStringLiteral("*.lock")}, QDir::Files)) {
        if (heldByLiveRun(lock.absoluteFilePath())) continue;
        const QFileInfo copy(lock.absoluteFilePath().chopped(5) + QStringLiteral(".wsk"));
        if (copy.isFile() && (!crashed_ || copy.lastModified() > crashed_->written))
            crashed_ = KeptCopy{copy.absoluteFilePath(), copy.lastModified()};
    }
}

// Told once: the marks go as they are read.
void RecoveryKeeper::lookForUnsavedCloses() {
    const QDir dir(folder());
    for (const QFileInfo& mark : dir.entryInfoList({QStringLiteral("*.unsaved")}, QDir::Files)) {
        const QFileInfo copy(mark.absoluteFilePath().chopped(8) + QStringLiteral(".wsk"));
        if (copy.isFile() && (!unsavedClose_ || copy.lastModified() > unsavedClose_->written))
            unsavedClose_ = KeptCopy{copy.absoluteFilePath(), copy.lastModified()};
        QFile::remove(mark.absoluteFilePath());
    }
}

void RecoveryKeeper::pruneOldCopies() {
    const QFileInfoList copies = copiesNewestFirst(folder());
    for (qsizetype i = kCopiesKept; i < copies.size(); ++i) {
        // A copy whose run is open or ended unnoticed stays.
        if (QFileInfo::exists(lockOf(copies[i].absoluteFilePath()))) continue;
        QFile::remove(copies[i].absoluteFilePath());
    }
}

}  // namespace kbt2::ui
