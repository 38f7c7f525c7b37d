#pragma once
// The window's ways to the premium's details: the Premium Details view and
// File > Export Quote Summary. Both calculate the premium of the worksheet as
// it stands afresh, on a copy, and leave the worksheet as it is.

#include <QObject>
#include <QString>
#include <optional>

#include "commands/case.h"
#include "commands/form.h"
#include "quote/quote_summary.h"
#include "ui/qt_platform.h"

class QMenuBar;
class QWidget;

namespace kbt2::ui {

class QuoteActions : public QObject {
public:
    // `form` holds the current scenario of `scenarios`; `note` puts a line
    // into the status bar.
    QuoteActions(QWidget& window, Form& form, const Case& scenarios, QtPlatform& platform,
                 std::function<void(const QString&)> note);

    void showDetails();
    // Asks where, and in which language (the last one chosen first).
    void exportSummary();
    // Writes the summary to `path` without asking; true when it was written.
    bool exportSummaryTo(const QString& path, Language language = Language::English);

    // The summary of the worksheet as it stands; nothing, with the reason
    // told in a message box, when the premium cannot be calculated.
    std::optional<QuoteSummary> freshSummary();

private:
    QWidget& window_;
    Form& form_;
    const Case& scenarios_;
    QtPlatform& platform_;
    std::function<void(const QString&)> note_;
};

// Puts File > Export Quote Summary… after Export PDF and File > Premium
// Details… (Ctrl+D) after it.
void addQuoteEntries(QMenuBar* bar, QuoteActions& actions);

}  // namespace kbt2::ui
