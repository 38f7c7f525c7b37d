#include "ui/scenario_actions.h"

#include <QInputDialog>
#include <QKeySequence>
#include <QMessageBox>
#include <string>

#include "ui/compare_scenarios_dialog.h"

namespace kbt2::ui {
namespace {

const QString kTitle = QStringLiteral("Scenarios");

QString toQ(const std::string& text) { return QString::fromStdString(text); }

// A name in a menu entry or on a tab: an '&' stands as itself.
QString shown(const std::string& name) { return toQ(name).replace(u'&', QStringLiteral("&&")); }

}  // namespace

ScenarioActions::ScenarioActions(QWidget& window, Case& scenarios, std::function<void()> switched)
    : window_(window), case_(scenarios), switched_(std::move(switched)) {
    strip_ = new QTabBar(&window_);
    strip_->setObjectName(QStringLiteral("scenarioStrip"));
    strip_->setAccessibleName(kTitle);
    // The strip is reached by its keys and the menu; Tab goes through the
    // fields as before.
    strip_->setFocusPolicy(Qt::NoFocus);
    strip_->setDrawBase(false);
    strip_->setExpanding(false);
    connect(strip_, &QTabBar::currentChanged, this, [this](int index) {
        if (!refreshing_) switchTo(index);
    });
    refresh();
}

void ScenarioActions::buildMenu(QMenuBar* bar, QAction* before) {
    menu_ = new QMenu(QStringLiteral("Scena&rios"), bar);
    menu_->setObjectName(QStringLiteral("menuScenarios"));
    bar->insertMenu(before, menu_);
    const auto entry = [this](const char* name, const QString& text, const QString& keys,
                              void (ScenarioActions::*run)()) {
        QAction* action = menu_->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcuts(QKeySequence::listFromString(keys));
        // Wherever the focus is in the window, a line edit included.
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, run] { (this->*run)(); });
        return action;
    };
    entry("actionAddScenario", QStringLiteral("&Add Scenario…"), QStringLiteral("Ctrl+Shift+N"),
          &ScenarioActions::addAsked);
    entry("actionNextScenario", QStringLiteral("&Next Scenario"), QStringLiteral("Ctrl+Shift+PgDown"),
          &ScenarioActions::next);
    entry("actionPreviousScenario", QStringLiteral("&Previous Scenario"), QStringLiteral("Ctrl+Shift+PgUp"),
          &ScenarioActions::previous);
    entry("actionCompareScenarios", QStringLiteral("&Compare Scenarios…"), QStringLiteral("Ctrl+Shift+C"),
          &ScenarioActions::compare);
    listStart_ = menu_->addSeparator();
    menu_->addSeparator();
    entry("actionRenameScenario", QStringLiteral("&Rename Scenario…"), {}, &ScenarioActions::renameAsked);
    remove_ = entry("actionRemoveScenario", QStringLiteral("Re&move Scenario…"), {}, &ScenarioActions::removeAsked);
    undoRemove_ = entry("actionUndoRemoveScenario", QStringLiteral("&Bring Back Removed Scenario"), {},
                        &ScenarioActions::undoRemove);
    moveLeft_ = entry("actionMoveScenarioLeft", QStringLiteral("Move &Left"), {}, &ScenarioActions::moveLeft);
    moveRight_ = entry("actionMoveScenarioRight", QStringLiteral("Move Ri&ght"), {}, &ScenarioActions::moveRight);
    refresh();
}

QAction* ScenarioActions::switchAction(int index) const {
    if (!list_ || index < 0 || index >= list_->actions().size()) return nullptr;
    return list_->actions()[index];
}

void ScenarioActions::refresh() {
    refreshing_ = true;
    const int count = static_cast<int>(case_.size());
    const int current = static_cast<int>(case_.current());
    while (strip_->count() > count) strip_->removeTab(strip_->count() - 1);
    while (strip_->count() < count) strip_->addTab({});
    for (int i = 0; i < count; ++i) strip_->setTabText(i, shown(case_.name(static_cast<size_t>(i))));
    strip_->setCurrentIndex(current);
    strip_->setVisible(count > 1);
    refreshing_ = false;

    if (!menu_) return;
    delete list_;
    list_ = new QActionGroup(menu_);
    list_->setExclusive(true);
    QAction* before = nullptr;
    const QList<QAction*> all = menu_->actions();
    const auto start = all.indexOf(listStart_);
    if (start >= 0 && start + 1 < all.size()) before = all[start + 1];
    for (int i = 0; i < count; ++i) {
        auto* action = new QAction(shown(case_.name(static_cast<size_t>(i))), list_);
        action->setObjectName(QStringLiteral("actionScenario%1").arg(i + 1));
        action->setCheckable(true);
        action->setChecked(i == current);
        connect(action, &QAction::triggered, this, [this, i] { switchTo(i); });
        menu_->insertAction(before, action);
    }
    remove_->setEnabled(count > 1);
    undoRemove_->setEnabled(case_.canUndoRemove());
    moveLeft_->setEnabled(current > 0);
    moveRight_->setEnabled(current + 1 < count);
}

void ScenarioActions::changedCurrent() {
    refresh();
    if (switched_) switched_();
}

bool ScenarioActions::nameTaken(const std::string& name, std::optional<size_t> renaming) {
    const auto problem = case_.nameProblem(name, renaming);
    if (!problem) return false;
    QString why;
    switch (*problem) {
    case Case::NameProblem::Empty: why = QStringLiteral("A scenario needs a name."); break;
    case Case::NameProblem::TooLong:
        why = QStringLiteral("A scenario's name has at most %1 characters.").arg(Case::kNameLimit);
        break;
    case Case::NameProblem::Quote: why = QStringLiteral("A scenario's name cannot hold a double quote."); break;
    case Case::NameProblem::Used:
        why = QStringLiteral("The case already has a scenario named %1.").arg(toQ(name));
        break;
    }
    QMessageBox box(QMessageBox::Warning, kTitle, why, QMessageBox::Ok, &window_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return true;
}

QString ScenarioActions::freeName() const {
    for (size_t n = case_.size() + 1;; ++n) {
        const std::string name = "Scenario " + std::to_string(n);
        if (!case_.find(name)) return toQ(name);
    }
}

void ScenarioActions::addAsked() {
    bool ok = false;
    const QString name =
        QInputDialog::getText(&window_, QStringLiteral("Add Scenario"),
                              QStringLiteral("A copy of %1 as it stands, named:").arg(toQ(case_.name(case_.current()))),
                              QLineEdit::Normal, freeName(), &ok);
    if (ok) add(name);
}

bool ScenarioActions::add(const QString& name) { return add(name.toStdString()); }

bool ScenarioActions::add(std::string name) {
    if (nameTaken(name, std::nullopt)) return false;
    case_.add(std::move(name));
    changedCurrent();
    return true;
}

void ScenarioActions::switchTo(int index) {
    if (index < 0 || static_cast<size_t>(index) == case_.current()) return;
    if (!case_.switchTo(static_cast<size_t>(index))) return;
    changedCurrent();
}

void ScenarioActions::next() { switchTo(static_cast<int>((case_.current() + 1) % case_.size())); }

void ScenarioActions::previous() { switchTo(static_cast<int>((case_.current() + case_.size() - 1) % case_.size())); }

void ScenarioActions::renameAsked() {
    const size_t index = case_.current();
    bool ok = false;
    const QString name = QInputDialog::getText(&window_, QStringLiteral("Rename Scenario"), QStringLiteral("Name:"),
                                               QLineEdit::Normal, toQ(case_.name(index)), &ok);
    if (ok) rename(static_cast<int>(index), name);
}

bool ScenarioActions::rename(int index, const QString& name) {
    if (index < 0 || static_cast<size_t>(index) >= case_.size()) return false;
    if (nameTaken(name.toStdString(), static_cast<size_t>(index))) return false;
    case_.rename(static_cast<size_t>(index), name.toStdString());
    refresh();
    return true;
}

void ScenarioActions::removeAsked() {
    if (case_.size() < 2) return;
    const size_t index = case_.current();
    QMessageBox box(
        QMessageBox::Question, kTitle,
        QStringLiteral("Remove the scenario %1? Its worksheet and its history go with it.").arg(toQ(case_.name(index))),
        QMessageBox::Ok | QMessageBox::Cancel, &window_);
    box.setTextFormat(Qt::PlainText);
    if (box.exec() != QMessageBox::Ok) return;
    if (case_.remove(index)) changedCurrent();
}

void ScenarioActions::undoRemove() {
    if (case_.undoRemove()) changedCurrent();
}

void ScenarioActions::compare() {
    if (!platform_) return;
    CompareScenariosDialog view(
        case_, *platform_, [this](const std::string& name) { return add(name); }, &window_);
    view.exec();
}

void ScenarioActions::moveLeft() {
    const size_t index = case_.current();
    if (index > 0 && case_.move(index, index - 1)) refresh();
}

void ScenarioActions::moveRight() {
    const size_t index = case_.current();
    if (case_.move(index, index + 1)) refresh();
}

}  // namespace kbt2::ui
