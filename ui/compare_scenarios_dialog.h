#pragma once
// The case's scenarios side by side, one column per scenario, each a fresh
// calculation of that scenario as it stands; a tick per column for the
// farmer's paper, kept in the case; and for the current scenario what would
// open the next coverage level, with a button that adds a scenario to try it.

#include <QDialog>
#include <functional>
#include <string>

#include "commands/case.h"
#include "worksheet/platform.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace kbt2::ui {

class CompareScenariosDialog : public QDialog {
public:
    // `add` adds a copy of the current scenario with the name given and
    // makes it current, as the Scenarios menu does; false when it did not.
    CompareScenariosDialog(Case& scenarios, Platform& platform, std::function<bool(const std::string&)> add,
                           QWidget* parent = nullptr);

    // Calculates every scenario afresh and lays the comparison out again.
    void rebuild();

    QTableWidget* table() const { return table_; }
    QLabel* advice() const { return advice_; }
    QPushButton* tryButton() const { return try_; }

private:
    void tryNextLevel();

    Case& case_;
    Platform& platform_;
    std::function<bool(const std::string&)> add_;
    QTableWidget* table_ = nullptr;
    QLabel* advice_ = nullptr;
    QPushButton* try_ = nullptr;
    std::string tryName_;
    bool building_ = false;
};

}  // namespace kbt2::ui
