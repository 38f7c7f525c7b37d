#include "ui/page_tabs.h"

#include <QGridLayout>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QTabBar>

namespace kbt2::ui {
namespace {

constexpr int kSelectedBarPixels = 3;

QStyleOptionTab tabOption(const PageTab& tab) {
    QStyleOptionTab option;
    option.initFrom(&tab);
    option.shape = QTabBar::RoundedNorth;
    option.text = tab.text();
    option.position = QStyleOptionTab::OnlyOneTab;
    if (tab.isChecked()) option.state |= QStyle::State_Selected;
    if (tab.hasFocus()) option.state |= QStyle::State_HasFocus;
    return option;
}

}  // namespace

PageTab::PageTab(const QString& caption, QWidget* parent) : QAbstractButton(parent) {
    setText(caption);
    setCheckable(true);
    // The keyboard changes pages with Ctrl+Tab inside the pages and Alt+1 to Alt+9.
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize PageTab::sizeHint() const {
    const QStyleOptionTab option = tabOption(*this);
    const QSize label = fontMetrics().size(Qt::TextShowMnemonic, text());
    const int margin = style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &option, this);
    const int vspace = style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &option, this);
    return style()->sizeFromContents(QStyle::CT_TabBarTab, &option,
                                     QSize(label.width() + margin, label.height() + vspace), this);
}

void PageTab::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionTab option = tabOption(*this);
    option.rect = rect();
    painter.drawControl(QStyle::CE_TabBarTab, option);
    // In three rows of tabs the style's own cue for the selected tab is too
    // faint to find at a glance: a bar in the highlight colour marks it.
    if (isChecked()) painter.fillRect(QRect(0, 0, width(), kSelectedBarPixels), palette().color(QPalette::Highlight));
}

PageTabRows::PageTabRows(QTabWidget* pages, int tabsPerRow, QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    for (int i = 0; i < pages->count(); ++i) {
        auto* tab = new PageTab(pages->tabText(i), this);
        tabs_.push_back(tab);
        group_.addButton(tab, i);
        grid->addWidget(tab, i / tabsPerRow, i % tabsPerRow);
    }
    for (int c = 0; c < tabsPerRow; ++c) grid->setColumnStretch(c, 1);
    pages->tabBar()->hide();
    // The hidden bar must not hold the keyboard focus, nor the container that
    // hands its focus to the bar: Tab would stop there.
    pages->tabBar()->setFocusPolicy(Qt::NoFocus);
    pages->setFocusPolicy(Qt::NoFocus);
    pages->setFocusProxy(nullptr);
    connect(&group_, &QButtonGroup::idClicked, pages, &QTabWidget::setCurrentIndex);
    connect(&group_, &QButtonGroup::idClicked, this, &PageTabRows::pageChosen);
    connect(pages, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(tabs_.size())) tabs_[static_cast<size_t>(index)]->setChecked(true);
    });
    if (pages->currentIndex() >= 0) tabs_[static_cast<size_t>(pages->currentIndex())]->setChecked(true);
}

}  // namespace kbt2::ui
