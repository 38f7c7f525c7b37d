#include "ui/window_fit.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QStyle>

namespace kbt2::ui {
namespace {

// The room the window itself may take: the screen's available area less the
// frame the window manager adds. Before the first show the frame is not
// known, so the style's title bar and frame stand in for it.
QSize roomOnScreen(const QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen) return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    const QStyle* style = window->style();
    const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, window);
    const QSize estimate(2 * border, style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window) + 2 * border);
    const QSize frame = (window->frameGeometry().size() - window->geometry().size()).expandedTo(estimate);
    return screen->availableGeometry().size() - frame;
}

void applyScreenBounds(QWidget* window, QSize wanted) {
    const QSize room = roomOnScreen(window);
    const QSize minimum = window->minimumSizeHint().boundedTo(room);
    window->setMinimumSize(minimum);
    window->resize(wanted.boundedTo(room).expandedTo(minimum));
}

// Bounds the window again when it is first shown.
class FirstShowFit : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            auto* window = static_cast<QWidget*>(watched);
            // Bars added after the window was sized (a menu bar, a status
            // bar) take their height from the pages unless it grows too.
            applyScreenBounds(window, window->size().expandedTo(window->sizeHint()));
            deleteLater();
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

PageScroller::PageScroller(QWidget* page, QSize preferred, QWidget* parent)
    : QScrollArea(parent), preferred_(preferred) {
    setWidget(page);
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    // The page's own background shows, as it did without the scroller.
    viewport()->setAutoFillBackground(false);
    page->setAutoFillBackground(false);
    // Tab goes from field to field; the scroller itself is no stop.
    setFocusPolicy(Qt::NoFocus);
    focusWatch_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        const QWidget* page = widget();
        if (!now || !page || !page->isAncestorOf(now)) return;
        // From the event loop: a page shown a moment ago has not placed its
        // widgets yet.
        QMetaObject::invokeMethod(
            this,
            [this, field = QPointer<QWidget>(now)] {
                if (field && field->hasFocus()) ensureWidgetVisible(field);
            },
            Qt::QueuedConnection);
    });
}

// The page goes before the scroller's own connections do, and focus moves
// while widgets are deleted.
PageScroller::~PageScroller() { disconnect(focusWatch_); }

void fitToScreen(QWidget* window) { fitToScreen(window, window->sizeHint()); }

void fitToScreen(QWidget* window, QSize wanted) {
    applyScreenBounds(window, wanted);
    window->installEventFilter(new FirstShowFit(window));
}

}  // namespace kbt2::ui
