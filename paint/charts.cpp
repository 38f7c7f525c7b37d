#include "paint/charts.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainterPath>
#include <algorithm>

namespace kbt2::ui {
namespace {

// The series' fills: a dark solid, then hatchings on white. They differ in
// darkness and in pattern, not only in hue, so grey print keeps them apart.
struct Fill {
    QColor color;
    Qt::BrushStyle style;
};
constexpr int kFillCount = 4;
const Fill kFills[kFillCount] = {
    {QColor(38, 84, 140), Qt::SolidPattern},
    {QColor(196, 98, 16), Qt::BDiagPattern},
    {QColor(40, 120, 60), Qt::CrossPattern},
    {QColor(90, 90, 90), Qt::Dense5Pattern},
};

// Pattern brushes are laid out in device pixels; on a 1200 dpi page they
// would shrink to a grey haze, so they are scaled to what a screen shows.
QBrush fillBrush(const QPainter& painter, int series) {
    const Fill& fill = kFills[series % kFillCount];
    QBrush brush(fill.color, fill.style);
    const qreal scale = std::max<qreal>(1.0, painter.device()->logicalDpiX() / 96.0);
    brush.setTransform(QTransform::fromScale(scale, scale));
    return brush;
}

void drawBar(QPainter& painter, const QRectF& bar, int series) {
    painter.setPen(Qt::NoPen);
    painter.fillRect(bar, Qt::white);
    painter.fillRect(bar, fillBrush(painter, series));
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(bar);
}

QString valueText(const BarChart& chart, double value) {
    return chart.valueText ? chart.valueText(value) : QString::number(value);
}

double largestValue(const BarChart& chart) {
    double largest = chart.reference ? chart.reference->value : 0;
    for (const ChartSeries& series : chart.series)
        for (double value : series.values) largest = std::max(largest, value);
    return largest > 0 ? largest : 1;
}

double valueOf(const ChartSeries& series, qsizetype category) {
    return category < series.values.size() ? std::max(0.0, series.values[category]) : 0;
}

// The title on top and, for two series or more, a legend of swatches under
// it; returns what is left for the plot.
QRectF drawHeading(QPainter& painter, const QRectF& area, const BarChart& chart) {
    const QFontMetricsF metrics(painter.font(), painter.device());
    const qreal line = metrics.lineSpacing();
    QRectF rest = area;
    if (!chart.title.isEmpty()) {
        QFont bold = painter.font();
        bold.setBold(true);
        painter.save();
        painter.setFont(bold);
        painter.drawText(QRectF(area.left(), area.top(), area.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
                         QFontMetricsF(bold, painter.device()).elidedText(chart.title, Qt::ElideRight, area.width()));
        painter.restore();
        rest.setTop(rest.top() + line * 1.2);
    }
    if (chart.series.size() > 1) {
        qreal x = rest.left();
        for (qsizetype i = 0; i < chart.series.size(); ++i) {
            const QRectF swatch(x, rest.top() + line * 0.15, line * 1.4, line * 0.7);
            drawBar(painter, swatch, static_cast<int>(i));
            x = swatch.right() + line * 0.3;
            const QString& name = chart.series[i].name;
            painter.drawText(QPointF(x, rest.top() + metrics.ascent()), name);
            x += metrics.horizontalAdvance(name) + line;
        }
        rest.setTop(rest.top() + line * 1.3);
    }
    return rest;
}

void drawVertical(QPainter& painter, QRectF plot, const BarChart& chart) {
    const QFontMetricsF metrics(painter.font(), painter.device());
    const qreal line = metrics.lineSpacing();
    const qsizetype categories = chart.categories.size();
    const qsizetype seriesCount = std::max<qsizetype>(1, chart.series.size());
    if (categories == 0) return;
    // The reference line's label stands right of the bars.
    QString referenceLabel;
    if (chart.reference) {
        referenceLabel = chart.reference->name + QStringLiteral("\n") + valueText(chart, chart.reference->value);
        const QStringList parts = referenceLabel.split(QLatin1Char('\n'));
        plot.setRight(plot.right() -
                      std::max(metrics.horizontalAdvance(parts[0]), metrics.horizontalAdvance(parts[1])) - line * 0.4);
    }
    const qreal groupWidth = plot.width() / static_cast<qreal>(categories);
    const qreal barWidth = groupWidth * 0.8 / static_cast<qreal>(seriesCount);
    // A value wider than its bar is written upwards: room above the tallest
    // bar for the longest such value, else for one line.
    qreal widest = 0;
    for (const ChartSeries& series : chart.series)
        for (double value : series.values)
            widest = std::max(widest, metrics.horizontalAdvance(valueText(chart, value)));
    const bool upwards = widest > barWidth * 0.95;
    // A category's name wider than its group wraps onto a second line.
    qreal widestCategory = 0;
    for (const QString& category : chart.categories)
        widestCategory = std::max(widestCategory, metrics.horizontalAdvance(category));
    const qreal categoryLines = widestCategory > groupWidth * 0.95 ? 2 : 1;
    plot.adjust(0, upwards ? widest + line * 0.3 : line, 0, -line * (categoryLines + 0.3));
    if (plot.height() <= 0) return;
    const qreal largest = largestValue(chart);
    const auto heightOf = [&](double value) { return plot.height() * std::max(0.0, value) / largest; };

    // Where each value is written, so that the reference line passes them by.
    QList<QRectF> written;
    for (qsizetype c = 0; c < categories; ++c) {
        const qreal groupLeft = plot.left() + groupWidth * static_cast<qreal>(c) + groupWidth * 0.1;
        for (qsizetype s = 0; s < chart.series.size(); ++s) {
            const double value = valueOf(chart.series[s], c);
            const QRectF bar(groupLeft + barWidth * static_cast<qreal>(s), plot.bottom() - heightOf(value), barWidth,
                             heightOf(value));
            drawBar(painter, bar, static_cast<int>(s));
            const QString text = valueText(chart, chart.series[s].values.value(c));
            const qreal textWidth = metrics.horizontalAdvance(text);
            if (!upwards) {
                painter.drawText(QRectF(bar.left() - barWidth, bar.top() - line, barWidth * 3, line),
                                 Qt::AlignHCenter | Qt::AlignBottom, text);
                written.append(QRectF(bar.center().x() - textWidth / 2, bar.top() - line, textWidth, line));
            } else {
                painter.save();
                painter.translate(bar.center().x() + metrics.ascent() / 2 - metrics.descent(), bar.top() - line * 0.2);
                painter.rotate(-90);
                painter.drawText(QPointF(0, 0), text);
                painter.restore();
                written.append(
                    QRectF(bar.center().x() - line / 2, bar.top() - line * 0.2 - textWidth, line, textWidth));
            }
        }
        painter.drawText(QRectF(plot.left() + groupWidth * static_cast<qreal>(c), plot.bottom() + line * 0.2,
                                groupWidth, line * categoryLines),
                         Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                         categoryLines > 1 ? chart.categories[c]
                                           : metrics.elidedText(chart.categories[c], Qt::ElideRight, groupWidth));
    }
    painter.setPen(QPen(Qt::black, 0));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    if (chart.reference) {
        const qreal y = plot.bottom() - heightOf(chart.reference->value);
        QPen dashed(Qt::black, std::max<qreal>(1.0, line / 10));
        dashed.setStyle(Qt::DashLine);
        painter.setPen(dashed);
        // The line stops short of every value it would strike through.
        const qreal gap = line * 0.2;
        QList<QPair<qreal, qreal>> breaks;
        for (const QRectF& text : written)
            if (y >= text.top() - gap && y <= text.bottom() + gap)
                breaks.append({text.left() - gap, text.right() + gap});
        std::sort(breaks.begin(), breaks.end());
        qreal from = plot.left();
        const qreal end = plot.right() + line * 0.2;
        for (const auto& [left, right] : breaks) {
            if (left > from) painter.drawLine(QPointF(from, y), QPointF(std::min(left, end), y));
            from = std::max(from, right);
        }
        if (from < end) painter.drawLine(QPointF(from, y), QPointF(end, y));
        painter.setPen(QPen(Qt::black, 0));
        painter.drawText(QRectF(plot.right() + line * 0.4, y - line, plot.width(), line * 2),
                         Qt::AlignLeft | Qt::AlignVCenter, referenceLabel);
    }
}

void drawHorizontal(QPainter& painter, const QRectF& plot, const BarChart& chart) {
    const QFontMetricsF metrics(painter.font(), painter.device());
    const qreal line = metrics.lineSpacing();
    const qsizetype categories = chart.categories.size();
    if (categories == 0 || chart.series.isEmpty()) return;
    qreal labelWidth = 0;
    qreal valueWidth = 0;
    for (qsizetype c = 0; c < categories; ++c) {
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(chart.categories[c]));
        for (const ChartSeries& series : chart.series)
            valueWidth = std::max(valueWidth, metrics.horizontalAdvance(valueText(chart, series.values.value(c))));
    }
    labelWidth = std::min(labelWidth + line * 0.5, plot.width() * 0.4);
    valueWidth += line * 0.5;
    const qreal barsLeft = plot.left() + labelWidth;
    const qreal barsWidth = std::max<qreal>(0, plot.width() - labelWidth - valueWidth);
    const qreal rowHeight = std::min(plot.height() / static_cast<qreal>(categories), line * 1.6);
    const qreal barHeight = rowHeight * 0.75 / static_cast<qreal>(chart.series.size());
    const qreal largest = largestValue(chart);
    for (qsizetype c = 0; c < categories; ++c) {
        const qreal top = plot.top() + rowHeight * static_cast<qreal>(c);
        painter.drawText(QRectF(plot.left(), top, labelWidth - line * 0.3, rowHeight),
                         Qt::AlignRight | Qt::AlignVCenter,
                         metrics.elidedText(chart.categories[c], Qt::ElideRight, labelWidth - line * 0.3));
        for (qsizetype s = 0; s < chart.series.size(); ++s) {
            const qreal width = barsWidth * valueOf(chart.series[s], c) / largest;
            const QRectF bar(barsLeft, top + rowHeight * 0.125 + barHeight * static_cast<qreal>(s), width, barHeight);
            drawBar(painter, bar, static_cast<int>(s));
            painter.drawText(QRectF(bar.right() + line * 0.25, bar.top(), valueWidth, barHeight),
                             Qt::AlignLeft | Qt::AlignVCenter, valueText(chart, chart.series[s].values.value(c)));
        }
    }
    painter.setPen(QPen(Qt::black, 0));
    painter.drawLine(QPointF(barsLeft, plot.top()),
                     QPointF(barsLeft, plot.top() + rowHeight * static_cast<qreal>(categories)));
}

}  // namespace

void drawBarChart(QPainter& painter, const QRectF& area, const BarChart& chart) {
    painter.save();
    painter.setPen(QPen(Qt::black, 0));
    const QRectF plot = drawHeading(painter, area, chart);
    if (chart.direction == BarChart::Direction::Vertical)
        drawVertical(painter, plot, chart);
    else
        drawHorizontal(painter, plot, chart);
    painter.restore();
}

}  // namespace kbt2::ui
