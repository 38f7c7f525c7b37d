#include "ui/chart_view.h"

#include <QPainter>

namespace kbt2::ui {

ChartView::ChartView(BarChart chart, QWidget* parent) : QWidget(parent), chart_(std::move(chart)) {
    setMinimumHeight(fontMetrics().lineSpacing() * 10);
}

void ChartView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    drawBarChart(painter, QRectF(rect()).adjusted(6, 6, -6, -6), chart_);
}

}  // namespace kbt2::ui
