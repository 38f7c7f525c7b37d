#include "ui/menu_bar.h"

#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <string_view>

#include "paint/qt_text.h"

namespace kbt2::ui {
namespace {

enum class Menu { File, Edit, Help };
using Run = void (DocumentActions::*)();

// clang-format off
// The entries in menu order: menu, object name, text ('&' marks the letter;
// '…' an entry that asks before it acts), shortcuts (alternatives parted by
// "; "), what it does. The entry
// without an action is a submenu filled when it opens (Open Recent, the
// kept copies to recover); one without a text, a line.
struct MenuEntry { Menu menu; std::string_view name; std::string_view text; std::string_view shortcut; Run run; };
constexpr MenuEntry kEntries[] = {
    {Menu::File, "actionOpen",         "&Open…",                  "Ctrl+O",       &DocumentActions::open},
    {Menu::File, "menuOpenRecent",     "Open &Recent",            "",             nullptr},
    {Menu::File, "",                   "",                        "",             nullptr},
    {Menu::File, "actionSave",         "&Save",                   "Ctrl+S",       &DocumentActions::save},
    {Menu::File, "actionSaveAs",       "Save &As…",               "Ctrl+Shift+S", &DocumentActions::saveAs},
    {Menu::File, "actionExportPdf",    "&Export PDF…",            "",             &DocumentActions::exportPdf},
    {Menu::File, "",                   "",                        "",             nullptr},
    {Menu::File, "actionPrintPreview", "Print Pre&view…",         "",             &DocumentActions::printPreview},
    {Menu::File, "actionPrint",        "&Print…",                 "Ctrl+P",       &DocumentActions::print},
    {Menu::File, "",                   "",                        "",             nullptr},
    {Menu::File, "actionChooseRateFile", "C&hoose Rate File…",    "",             &DocumentActions::chooseRateFile},
    {Menu::File, "menuRecover",        "Re&cover Last Worksheet", "",             nullptr},
    {Menu::File, "",                   "",                        "",             nullptr},
    {Menu::File, "actionExit",         "E&xit",                   "Ctrl+Q",       &DocumentActions::exit},
    {Menu::Edit, "actionUndo",         "&Undo",                   "Ctrl+Z",       &DocumentActions::undo},
    {Menu::Edit, "actionRedo",         "&Redo",                   "Ctrl+Shift+Z; Ctrl+Y", &DocumentActions::redo},
    {Menu::Help, "actionAbout",        "&About KBT2",             "",             &DocumentActions::about},
    {Menu::Help, "actionRateFileInUse", "&Rate File in Use",      "",             &DocumentActions::showRateFileInUse},
};
// clang-format on

// Filled when it opens, so it shows the files as they are remembered now.
void fillRecentMenu(QMenu* menu, DocumentActions& actions) {
    menu->clear();
    const QStringList files = actions.recentFiles();
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        // The digit is the entry's letter; the full path tells same-named files apart.
        // An '&' in the name is shown as itself, not taken as the entry's letter.
        const QString name = QFileInfo(path).fileName().replace(u'&', QStringLiteral("&&"));
        QAction* entry = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        entry->setToolTip(path);
        QObject::connect(entry, &QAction::triggered, &actions, [&actions, path] { actions.openRecent(path); });
    }
    if (files.isEmpty()) menu->addAction(QStringLiteral("No recent files"))->setEnabled(false);
}

// The kept copies, newest first, each with its time, producer and county.
void fillRecoverMenu(QMenu* menu, DocumentActions& actions) {
    menu->clear();
    const std::vector<KeptCopy> copies = actions.keptCopies();
    for (const KeptCopy& copy : copies) {
        QAction* entry = menu->addAction(actions.describe(copy).replace(u'&', QStringLiteral("&&")));
        entry->setToolTip(copy.path);
        QObject::connect(entry, &QAction::triggered, &actions, [&actions, copy] { actions.recoverCopy(copy); });
    }
    if (copies.empty()) menu->addAction(QStringLiteral("No kept worksheets"))->setEnabled(false);
}

}  // namespace

void buildMenuBar(QMenuBar* bar, DocumentActions& actions) {
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("menuFile"));
    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("menuEdit"));
    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("menuHelp"));
    for (const MenuEntry& entry : kEntries) {
        QMenu* menu = entry.menu == Menu::File ? file : entry.menu == Menu::Edit ? edit : help;
        if (entry.text.empty()) {
            menu->addSeparator();
        } else if (!entry.run) {
            QMenu* recent = menu->addMenu(toQString(entry.text));
            recent->setObjectName(toQString(entry.name));
            // A menu hides its entries' tool tips unless told otherwise.
            recent->setToolTipsVisible(true);
            const auto fill = entry.name == "menuOpenRecent" ? fillRecentMenu : fillRecoverMenu;
            QObject::connect(recent, &QMenu::aboutToShow, recent, [recent, &actions, fill] { fill(recent, actions); });
        } else {
            QAction* action = menu->addAction(toQString(entry.text));
            action->setObjectName(toQString(entry.name));
            action->setShortcuts(QKeySequence::listFromString(toQString(entry.shortcut)));
            QObject::connect(action, &QAction::triggered, &actions, [&actions, run = entry.run] { (actions.*run)(); });
        }
    }
    actions.setEditActions(edit->findChild<QAction*>(QStringLiteral("actionUndo")),
                           edit->findChild<QAction*>(QStringLiteral("actionRedo")));
}

}  // namespace kbt2::ui
