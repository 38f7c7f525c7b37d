#pragma once
// The page tabs in rows, as many tabs in a row as the captions allow, so
// that all nine long captions are in view at once (one row of tabs would be
// twice as wide as the window). The tabbed container keeps its pages and its
// current index; its own tab bar is hidden and these rows stand in for it.

#include <QAbstractButton>
#include <QButtonGroup>
#include <QTabWidget>
#include <vector>

namespace kbt2::ui {

// One tab, drawn by the style as a tab of a tab bar.
class PageTab : public QAbstractButton {
    Q_OBJECT
public:
    PageTab(const QString& caption, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
};

class PageTabRows : public QWidget {
    Q_OBJECT
public:
    PageTabRows(QTabWidget* pages, int tabsPerRow, QWidget* parent = nullptr);
    PageTab* tab(int index) const { return tabs_[static_cast<size_t>(index)]; }

Q_SIGNALS:
    // A tab was clicked, the tab of the page in front too.
    void pageChosen(int index);

private:
    QButtonGroup group_;
    std::vector<PageTab*> tabs_;
};

}  // namespace kbt2::ui
