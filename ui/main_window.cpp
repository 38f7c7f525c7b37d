#include "ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QVBoxLayout>

#include "paint/qt_text.h"
#include "ui/accessibility.h"
#include "ui/menu_bar.h"
#include "ui/page_focus.h"
#include "ui/page_tabs.h"
#include "ui/pages.h"
#include "ui/rate_file_info.h"
#include "ui/window_fit.h"
#include "worksheet/premium_rows.h"

namespace kbt2::ui {
namespace {

// clang-format off
// The buttons below the pages, left to right: button, caption ('&' marks the
// Alt key's letter; it is not part of the caption).
struct OuterButton { Control button; std::string_view caption; };
constexpr OuterButton kOuterButtons[] = {
    {Control::Clear,    "&Clear"},
    {Control::save,     "&Save"},
    {Control::Load,     "&Load"},
    {Control::Print,    "&Print"},
    {Control::Command1, "E&xit KBT Premium Calculation Program"},
};
// clang-format on

constexpr const char* kWindowTitle = "Form2";
constexpr int kTabsPerRow = 3;
constexpr int kPremiumPage = 8;
// The room of the widest and the tallest page (pages are built when first
// shown, so their sizes are not known at start), in units of the font:
// average character widths and line heights.
constexpr int kPageWidthInChars = 140;
constexpr int kPageHeightInLines = 36;

}  // namespace

MainWindow::MainWindow(std::unique_ptr<QtPlatform> platform, QWidget* parent)
    : QMainWindow(parent),
      platform_(platform ? std::move(platform) : std::make_unique<QtPlatform>()),
      form_(*platform_),
      binding_(form_) {
    platform_->setWindow(this);
    installAccessibleInterfaces();
    setWindowTitle(QString::fromLatin1(kWindowTitle));

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    tabs_ = new QTabWidget(central);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    const QFontMetrics metrics(font());
    const QSize pageRoom(metrics.averageCharWidth() * kPageWidthInChars, metrics.height() * kPageHeightInLines);
    for (int i = 0; i < kPageCount; ++i) {
        pageWidgets_[static_cast<size_t>(i)] = new QWidget;
        tabs_->addTab(new PageScroller(pageWidgets_[static_cast<size_t>(i)], pageRoom),
                      toQString(kPageCaptions[static_cast<size_t>(i)]));
    }
    auto* tabRows = new PageTabRows(tabs_, kTabsPerRow, central);
    column->addWidget(tabRows);
    column->setSpacing(0);
    column->addWidget(tabs_, 1);
    column->addSpacing(6);
    // Keyboard order follows creation: the fields of page 1 (which has the
    // focus first), then the buttons below the pages; each page built later
    // joins the order after them, and Tab wraps from its last field to the
    // buttons.
    buildPageOnce(0);
    column->addWidget(makeButtonRow());
    setCentralWidget(central);
    documents_ = std::make_unique<DocumentActions>(*this, form_, *platform_, binding_);
    buildMenuBar(menuBar(), *documents_);
    quotes_ = std::make_unique<QuoteActions>(*this, form_, case_, *platform_,
                                             [this](const QString& text) { documents_->status().note(text); });
    addQuoteEntries(menuBar(), *quotes_);
    premiumWatch_ = std::make_unique<PremiumWatch>(
        form_.worksheet(), [this](const QString& text) { documents_->status().note(text); },
        [this] { return !documents_->modified(); });
    for (const char* step : {"actionUndo", "actionRedo"})
        if (auto* action = menuBar()->findChild<QAction*>(QString::fromLatin1(step)))
            connect(action, &QAction::triggered, this, [this] { premiumWatch_->forget(); });
    binding_.setRefused([this](const QString& words) { documents_->status().note(words); });
    // Another scenario in the form: the file, the unsaved mark and the Edit
    // menu are its own, and the figures watched were the other one's.
    scenarios_ = std::make_unique<ScenarioActions>(*this, case_, [this] {
        documents_->documentReplaced();
        premiumWatch_->forget();
    });
    scenarios_->setPlatform(*platform_);
    documents_->setCase(&case_, [this] { scenarios_->caseReplaced(); });
    column->insertWidget(0, scenarios_->strip());
    QAction* help = nullptr;
    if (auto* menu = menuBar()->findChild<QMenu*>(QStringLiteral("menuHelp"))) help = menu->menuAction();
    scenarios_->buildMenu(menuBar(), help);
    binding_.setActed([this](FieldRef field, bool changed) {
        documents_->acted(field, changed);
        // A premium that stopped wrote no figures: those of an earlier one are stale.
        if (field.control != Control::Command4) return;
        if (form_.lastPremium().calculated()) {
            premiumWatch_->premiumCalculated(premiumNotAQuote(form_));
            documents_->status().announcer().announce(premiumSpoken());
        } else {
            premiumWatch_->premiumStopped();
        }
    });
    // Ctrl+Z is the worksheet's undo wherever the focus is: a line edit
    // would otherwise take it for its own, which undoes only its typing.
    qApp->installEventFilter(this);

    fitToScreen(this);

    connect(tabs_, &QTabWidget::currentChanged, this, &MainWindow::buildPageOnce);
    // A page chosen again while in front is a person asking to start typing
    // on it: the focus goes to its first field then too.
    connect(tabs_, &QTabWidget::currentChanged, this, &MainWindow::focusPage);
    connect(tabRows, &PageTabRows::pageChosen, this, &MainWindow::focusPage);
    tabs_->setCurrentIndex(0);
    // Alt+1 to Alt+9 bring pages 1 to 9 to the front.
    for (int i = 0; i < kPageCount; ++i)
        new QShortcut(QKeySequence(Qt::ALT | static_cast<Qt::Key>(Qt::Key_1 + i)), this, [this, i] {
            tabs_->setCurrentIndex(i);
            focusPage(i);
        });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* widget = qobject_cast<QWidget*>(watched);
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        if (widget && widget->window() == this &&
            (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
             pressed == QKeySequence(Qt::CTRL | Qt::Key_Y)))
            return true;  // not taken by the widget: the Edit menu's shortcut runs
    }
    return QMainWindow::eventFilter(watched, event);
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    // The widgets go first, while the form they are bound to still exists.
    delete takeCentralWidget();
    scenarios_.reset();
    quotes_.reset();
    premiumWatch_.reset();
    documents_.reset();
}

QWidget* MainWindow::makeButtonRow() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const OuterButton& button : kOuterButtons) {
        if (button.button == Control::Command1) layout->addStretch(1);
        layout->addWidget(binding_.create({button.button}, row, toQString(button.caption)));
    }
    return row;
}

QString MainWindow::premiumSpoken() const {
    const Worksheet& ws = form_.worksheet();
    QStringList levels;
    for (int level = 0; level < kPremiumColumns; ++level)
        if (ws.visible({Control::Text18, level}))
            levels << QStringLiteral("%1 coverage %2")
                          .arg(toQString(kCoverageCaptions[level]), toQString(ws.text({Control::Text18, level})));
    return QStringLiteral("Premium calculated. Producer premium: %1.").arg(levels.join(QStringLiteral("; ")));
}

void MainWindow::buildPageOnce(int index) {
    if (index < 0 || index >= kPageCount || built_[static_cast<size_t>(index)]) return;
    built_[static_cast<size_t>(index)] = true;
    QWidget* page = pageWidgets_[static_cast<size_t>(index)];
    // A page is built when it has just been brought to the front. Widgets
    // added to a shown page would each be shown later, one by one, with a
    // layout pass and a paint after each batch; built into a hidden page they
    // are all shown with it in one pass, and the page paints once.
    const bool shown = page->isVisible();
    if (shown) page->hide();
    buildPage(index, page, binding_);
    if (index == kPremiumPage) {
        if (premiumWatch_) premiumWatch_->attachMark(page->findChild<QLabel*>(QStringLiteral("premiumFiguresMark")));
        auto* details = page->findChild<QPushButton*>(QStringLiteral("premiumDetailsButton"));
        connect(details, &QPushButton::clicked, this, [this] { quotes_->showDetails(); });
    }
    if (shown) page->show();
}

void MainWindow::focusPage(int index) {
    if (index >= 0 && index < kPageCount) focusFirstField(pageWidgets_[static_cast<size_t>(index)]);
}

void MainWindow::buildAllPages() {
    for (int i = 0; i < kPageCount; ++i) buildPageOnce(i);
}

QWidget* MainWindow::fieldWidget(FieldRef field) {
    buildPageOnce(pageOf(field));
    return binding_.widget(field);
}

void MainWindow::showPageOf(FieldRef field) {
    const int page = pageOf(field);
    if (page >= 0) tabs_->setCurrentIndex(page);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // No question on the way out: the work is kept in the recovery copy,
    // which holds the current scenario; each other one not saved as it
    // stands is kept beside it.
    for (size_t i = 0; i < case_.size(); ++i)
        if (i != case_.current() && case_.document(i).unsaved())
            documents_->recovery().keep(case_.worksheet(i).snapshot());
    documents_->windowClosing();
    event->accept();
    Q_EMIT closed();
}

}  // namespace kbt2::ui
