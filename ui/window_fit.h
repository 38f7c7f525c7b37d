#pragma once
// The window on the screen it opens on, whatever its size and scaling: the
// default and minimum sizes are bounded by the screen's available area, and a
// page that does not fit scrolls inside its tab, so the buttons below the
// pages always stay in view.

#include <QScrollArea>

namespace kbt2::ui {

// A page inside its tab. It asks for `preferred`, the room the largest page
// needs (pages are built when first shown, so their own sizes are not known
// at start), and scrolls when it gets less. The field that takes the focus is
// scrolled into view, however it got there.
class PageScroller : public QScrollArea {
    Q_OBJECT
public:
    PageScroller(QWidget* page, QSize preferred, QWidget* parent = nullptr);
    ~PageScroller() override;
    QSize sizeHint() const override { return preferred_; }

private:
    QSize preferred_;
    QMetaObject::Connection focusWatch_;
};

// Sizes `window` to its size hint and fixes its minimum size, both bounded by
// the available area of its screen, the window frame left out; does it again
// when the window is first shown, when its frame and its last widgets are
// known. Pages built later never widen the window: they scroll instead.
void fitToScreen(QWidget* window);
// The same for a window that wants `wanted` rather than its size hint (a
// dialogue whose content scrolls).
void fitToScreen(QWidget* window, QSize wanted);

}  // namespace kbt2::ui
