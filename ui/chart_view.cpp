#include "ui/chart_view.h"

#include <QPainter>
#include <QStringList>

namespace kbt2::ui {

ChartView::ChartView(paint::BarChart chart, QWidget* parent) : QWidget(parent), chart_(std::move(chart)) {
    setMinimumHeight(fontMetrics().lineSpacing() * 10);
    // A screen reader says the chart's title and reads its bars as text.
    setAccessibleName(chart_.title);
    setAccessibleDescription(chartText(chart_));
    setFocusPolicy(Qt::TabFocus);
}

QString chartText(const paint::BarChart& chart) {
    QStringList lines;
    for (qsizetype c = 0; c < chart.categories.size(); ++c) {
        QStringList values;
        for (const paint::ChartSeries& series : chart.series) {
            if (c >= series.values.size()) continue;
            const QString value =
                chart.valueText ? chart.valueText(series.values[c]) : QString::number(series.values[c]);
            values << (chart.series.size() > 1 ? QStringLiteral("%1 %2").arg(series.name, value) : value);
        }
        lines << QStringLiteral("%1: %2").arg(chart.categories[c], values.join(QStringLiteral(", ")));
    }
    if (chart.reference) {
        const QString value =
            chart.valueText ? chart.valueText(chart.reference->value) : QString::number(chart.reference->value);
        lines << QStringLiteral("%1: %2").arg(chart.reference->name, value);
    }
    return lines.join(QStringLiteral("; ")) + u'.';
}

void ChartView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    paint::drawBarChart(painter, QRectF(rect()).adjusted(6, 6, -6, -6), chart_);
}

}  // namespace kbt2::ui
