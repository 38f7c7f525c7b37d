#pragma once
// The window's scenarios of the case: the strip above the pages that shows
// them (the current one marked) and the Scenarios menu that adds, switches,
// renames, removes and reorders them. The case trades each scenario in and
// out of the window's own form, so the widgets stay bound to that form and
// show whichever scenario is current; the window hears of each switch to
// bring what it keeps beside the fields up to date.

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QObject>
#include <QTabBar>
#include <functional>
#include <string>

#include "commands/case.h"
#include "worksheet/platform.h"

namespace kbt2::ui {

class ScenarioActions : public QObject {
public:
    // `switched` runs after every change of the current scenario.
    ScenarioActions(QWidget& window, Case& scenarios, std::function<void()> switched);

    // The strip, to be placed above the pages; hidden while the case holds
    // only its first scenario.
    QTabBar* strip() const { return strip_; }
    // The Scenarios menu, put before `before` (or at the end).
    void buildMenu(QMenuBar* bar, QAction* before);

    // What the menu's entries do. The ones with a question ask first and
    // do nothing when the person cancels.
    void addAsked();
    // Adds a copy of the current scenario named `name` and makes it current;
    // a name that cannot be taken is told why, and nothing changes.
    bool add(const QString& name);
    // The same with the name as the case keeps it (UTF-8), byte for byte.
    bool add(std::string name);
    void switchTo(int index);
    void next();
    void previous();
    void renameAsked();
    bool rename(int index, const QString& name);
    void removeAsked();
    void undoRemove();
    void moveLeft();
    void moveRight();

    // Where the comparison view finds the rate file and tells its messages;
    // without it, Compare Scenarios does nothing.
    void setPlatform(Platform& platform) { platform_ = &platform; }
    // Opens the comparison view of the case's scenarios.
    void compare();
    // The case's scenarios were replaced as a whole (a case opened).
    void caseReplaced() { changedCurrent(); }

    // The menu's entry that makes scenario `index` current.
    QAction* switchAction(int index) const;

private:
    // The strip and the menu's list after any change of the case.
    void refresh();
    void changedCurrent();
    bool nameTaken(const std::string& name, std::optional<size_t> renaming);
    QString freeName() const;

    QWidget& window_;
    Case& case_;
    std::function<void()> switched_;
    QTabBar* strip_ = nullptr;
    QMenu* menu_ = nullptr;
    QAction* listStart_ = nullptr;  // the line after which the list begins
    QActionGroup* list_ = nullptr;
    QAction* undoRemove_ = nullptr;
    QAction* remove_ = nullptr;
    QAction* moveLeft_ = nullptr;
    QAction* moveRight_ = nullptr;
    bool refreshing_ = false;
    Platform* platform_ = nullptr;
};

}  // namespace kbt2::ui
