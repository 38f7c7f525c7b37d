// The window fits the screen it opens on, at any size and scaling (CTest runs
// this program once per screen size and scale factor): its frame, default
// and minimum sizes stay inside the available area, pages that do not fit
// scroll while the buttons below them stay in view, and showing pages never
// widens the window.

#include <QDialogButtonBox>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>

#include "tests/window/window_test_support.h"
#include "ui/page_focus.h"
#include "ui/pages.h"
#include "ui/premium_details_dialog.h"

using namespace kbt2;

namespace {

constexpr int kFrameAllowance = 64;

// Whether `widget` shows at least partly inside the window (not scrolled out
// of view, not cut off by the window's edge).
bool inView(QWidget* widget) {
    QRect seen(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
    for (QWidget* w = widget->parentWidget(); w && !w->isWindow(); w = w->parentWidget())
        seen &= QRect(w->mapTo(widget->window(), QPoint(0, 0)), w->size());
    return !seen.isEmpty();
}

}  // namespace

class WindowFitTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Bars added to the window after it is built take their height from the
    // pages only when the screen is too small for both.
    void initTestCase_data() {
        QTest::addColumn<bool>("bars");
        QTest::newRow("pages and buttons") << false;
        QTest::newRow("with menu and status bars") << true;
    }
    void init() {
        QFETCH_GLOBAL(bool, bars);
        window_ = std::make_unique<ui::MainWindow>();
        if (bars) {
            window_->menuBar()->addMenu(QStringLiteral("&File"));
            window_->statusBar()->showMessage(QStringLiteral("Ready"));
        }
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        room_ = window_->screen()->availableGeometry();
        qInfo("screen %dx%d at scale %s, room %dx%d, window %dx%d, minimum %dx%d",
              window_->screen()->geometry().width(), window_->screen()->geometry().height(),
              qgetenv("QT_SCALE_FACTOR").constData(), room_.width(), room_.height(), window_->width(),
              window_->height(), window_->minimumWidth(), window_->minimumHeight());
    }
    void cleanup() { window_.reset(); }

    void frameAndMinimumInsideTheScreen() {
        QVERIFY(window_->frameGeometry().width() <= room_.width());
        QVERIFY(window_->frameGeometry().height() <= room_.height());
        QVERIFY(window_->minimumWidth() <= room_.width());
        QVERIFY(window_->minimumHeight() <= room_.height());
    }

    // Premium Details opens inside the screen with Close in view, whatever
    // the screen's size and scaling.
    void premiumDetailsFitsWithCloseInView() {
        ui::PremiumDetailsDialog dialog(QuoteSummary{}, window_.get());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(dialog.frameGeometry().width() <= room_.width());
        QVERIFY(dialog.frameGeometry().height() <= room_.height());
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        QVERIFY(buttons && inView(buttons));
        const QRect close(buttons->mapToGlobal(QPoint(0, 0)), buttons->size());
        QVERIFY2(room_.contains(close), qPrintable(QStringLiteral("Close at %1,%2").arg(close.x()).arg(close.y())));
    }

    // Each page shown in turn: the buttons stay in view, the window keeps its
    // size and minimum, and the page's last field can be scrolled to.
    void everyPageKeepsTheButtonsInView() {
        const QSize size = window_->size();
        const QSize minimum = window_->minimumSize();
        // A screen with room for the window at its full size, frame and all.
        const bool roomy = room_.width() >= window_->sizeHint().width() + kFrameAllowance &&
                           room_.height() >= window_->sizeHint().height() + kFrameAllowance;
        if (roomy) QCOMPARE(size, window_->sizeHint());
        for (int page = 0; page < ui::kPageCount; ++page) {
            window_->pages()->setCurrentIndex(page);
            QApplication::processEvents();
            const QByteArray name(ui::kPageCaptions[static_cast<size_t>(page)].data());
            for (Control button : {Control::Clear, Control::save, Control::Load, Control::Print, Control::Command1})
                QVERIFY2(inView(window_->fieldWidget({button})), name);
            QCOMPARE(window_->size(), size);
            QCOMPARE(window_->minimumSize(), minimum);
            auto* scroller = qobject_cast<QScrollArea*>(window_->pages()->widget(page));
            QVERIFY2(scroller, name);
            if (roomy) QVERIFY2(!scroller->verticalScrollBar()->isVisible(), name);
            if (roomy) QVERIFY2(!scroller->horizontalScrollBar()->isVisible(), name);
            QWidget* last = nullptr;
            for (QWidget* w = window_->nextInFocusChain(); w != window_.get(); w = w->nextInFocusChain())
                if (scroller->widget()->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && !w->isHidden())
                    last = w;
            if (!last) continue;
            last->setFocus(Qt::TabFocusReason);
            QApplication::processEvents();
            QVERIFY2(inView(last), name + " " + last->objectName().toUtf8());
        }
    }

private:
    std::unique_ptr<ui::MainWindow> window_;
    QRect room_;
};

KBT2_WINDOW_TEST_MAIN(WindowFitTest)
#include "window_fit_test.moc"
