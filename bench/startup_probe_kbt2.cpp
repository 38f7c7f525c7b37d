// Starts the worksheet window as kbt2 does and reports when it is idle; with
// the argument "pages", reports instead how long each page takes from being
// chosen the first time to its first paint.

#include <QElapsedTimer>
#include <QTabWidget>
#include <cstring>

#include "bench/startup_probe.h"
#include "ui/main_window.h"

namespace {

// The time of the last paint of a page or any widget on it.
class PaintClock : public QObject {
public:
    PaintClock(QWidget* page, const QElapsedTimer& clock) : page_(page), clock_(clock) {
        qApp->installEventFilter(this);
    }
    ~PaintClock() override { qApp->removeEventFilter(this); }
    qint64 lastPaint() const { return lastPaint_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            (watched == page_ || page_->isAncestorOf(static_cast<QWidget*>(watched))))
            lastPaint_ = clock_.nsecsElapsed();
        return false;
    }

private:
    QWidget* page_;
    const QElapsedTimer& clock_;
    qint64 lastPaint_ = -1;
};

// Runs the events until the page has painted and nothing more is waiting (its
// widgets paint in the same pass as the page); the time of its last paint.
qint64 untilPainted(const PaintClock& paint) {
    QElapsedTimer waited;
    waited.start();
    while (paint.lastPaint() < 0 && waited.elapsed() < 5000) QApplication::processEvents(QEventLoop::AllEvents, 5);
    QApplication::processEvents();
    return paint.lastPaint();
}

// Page 1 is shown with the window, so its time runs from show(); every
// other page's from the choice of its tab.
int reportPagePaints(QApplication& app, kbt2::ui::MainWindow& window) {
    QTabWidget* pages = window.pages();
    QElapsedTimer clock;
    clock.start();
    {
        const PaintClock paint(pages->widget(0), clock);
        window.show();
        std::printf("page_ns 1 %lld\n", static_cast<long long>(untilPainted(paint)));
    }
    for (int i = 1; i < pages->count(); ++i) {
        QApplication::processEvents();
        const PaintClock paint(pages->widget(i), clock);
        const qint64 chosen = clock.nsecsElapsed();
        pages->setCurrentIndex(i);
        const qint64 painted = untilPainted(paint);
        std::printf("page_ns %d %lld\n", i + 1, static_cast<long long>(painted < 0 ? -1 : painted - chosen));
    }
    std::fflush(stdout);
    app.processEvents();
    std::_Exit(0);
}

}  // namespace

int main(int argc, char** argv) {
    const bool pages = argc > 1 && std::strcmp(argv[1], "pages") == 0;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kbt2"));
    kbt2::ui::MainWindow window;
    if (pages) return reportPagePaints(app, window);
    window.show();
    return reportWhenIdle(app, window);
}
