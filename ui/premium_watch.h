#pragma once
// Watches whether page 9's figures still hold. Calculate Premium leaves the
// fields as they are afterwards, so the window keeps what it read and wrote:
// when an input of the premium changes later, or a figure of page 9 is typed
// over, a mark on page 9 and a note in the status bar say so and name what
// changed. Loading a worksheet or clearing it ends the watch: the figures
// are then the file's, or none. A command changes many fields one by one, so
// the figures are checked once the command has ended, not field by field.

#include <QLabel>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "worksheet/worksheet.h"

namespace kbt2::ui {

class PremiumWatch {
public:
    // `note` puts a line into the status bar; `fromFile` tells whether the
    // worksheet is as it was last loaded or saved.
    PremiumWatch(Worksheet& worksheet, std::function<void(const QString&)> note, std::function<bool()> fromFile);

    // Calculate Premium ran to its end: its figures hold from now on.
    // `notAQuote` says why they are still no quote (a rate file that could
    // not price every commodity); the mark shows it as long as they stand.
    void premiumCalculated(const QString& notAQuote = {});
    // Calculate Premium stopped before it wrote the table: figures of an
    // earlier premium still on page 9 are marked as not the worksheet's as
    // it stands, until a premium runs, the page empties or a file is loaded.
    void premiumStopped();
    // Undo or redo put back fields of another time: whichever premium they
    // came from, this one's watch ends.
    void forget();
    // The label on page 9 that shows the mark, once the page is built.
    void attachMark(QLabel* mark);

    // What changed since the premium, in words; empty while the figures hold.
    const QString& problem() const { return problem_; }
    // What the mark on page 9 shows; empty while it is hidden.
    QString markText() const;

private:
    struct Snapshot {
        std::vector<std::string> inputs;
        std::vector<std::string> outputs;
    };
    Snapshot take() const;
    void check();
    void show();

    Worksheet& worksheet_;
    std::function<void(const QString&)> note_;
    std::function<bool()> fromFile_;
    bool checkPending_ = false;
    std::optional<Snapshot> calculated_;
    QString problem_;
    QString notAQuote_;
    QString stale_;
    std::vector<std::string> staleOutputs_;
    QPointer<QLabel> mark_;
    // The worksheet outlives the watch: its observer and the pending check
    // look here before they touch the watch.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    QObject timerContext_;
};

}  // namespace kbt2::ui
