#include "paint/charts.h"

#include <QList>
#include <algorithm>

#include "paint/painter_canvas.h"

namespace kbt2::paint {
namespace {

// The series' fills: a dark solid, then hatchings on white. They differ in
// darkness and in pattern, not only in hue, so grey print keeps them apart.
struct Fill {
    QColor color;
    CanvasFill style;
};
constexpr int kFillCount = 4;
const Fill kFills[kFillCount] = {
    {QColor(38, 84, 140), CanvasFill::Solid},
    {QColor(196, 98, 16), CanvasFill::Diagonal},
    {QColor(40, 120, 60), CanvasFill::Cross},
    {QColor(90, 90, 90), CanvasFill::Dotted},
};

void drawBar(Canvas& canvas, const QRectF& bar, int series) {
    const Fill& fill = kFills[series % kFillCount];
    canvas.fillRect(bar, Qt::white);
    canvas.fillRect(bar, fill.color, fill.style);
    canvas.setPen({});
    canvas.drawRect(bar);
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
QRectF drawHeading(Canvas& canvas, const QRectF& area, const BarChart& chart) {
    const qreal line = canvas.lineSpacing();
    QRectF rest = area;
    if (!chart.title.isEmpty()) {
        canvas.save();
        canvas.setFont({canvas.font().points, true});
        canvas.drawText(QRectF(area.left(), area.top(), area.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
                        canvas.elidedText(chart.title, area.width()));
        canvas.restore();
        rest.setTop(rest.top() + line * 1.2);
    }
    if (chart.series.size() > 1) {
        qreal x = rest.left();
        for (qsizetype i = 0; i < chart.series.size(); ++i) {
            const QRectF swatch(x, rest.top() + line * 0.15, line * 1.4, line * 0.7);
            drawBar(canvas, swatch, static_cast<int>(i));
            x = swatch.right() + line * 0.3;
            const QString& name = chart.series[i].name;
            canvas.drawTextAt(QPointF(x, rest.top() + canvas.ascent()), name);
            x += canvas.advance(name) + line;
        }
        rest.setTop(rest.top() + line * 1.3);
    }
    return rest;
}

void drawVertical(Canvas& canvas, QRectF plot, const BarChart& chart) {
    const qreal line = canvas.lineSpacing();
    const qsizetype categories = chart.categories.size();
    const qsizetype seriesCount = std::max<qsizetype>(1, chart.series.size());
    if (categories == 0) return;
    // The reference line's label stands right of the bars.
    QString referenceLabel;
    if (chart.reference) {
        referenceLabel = chart.reference->name + QStringLiteral("\n") + valueText(chart, chart.reference->value);
        const QStringList parts = referenceLabel.split(QLatin1Char('\n'));
        plot.setRight(plot.right() - std::max(canvas.advance(parts[0]), canvas.advance(parts[1])) - line * 0.4);
    }
    const qreal groupWidth = plot.width() / static_cast<qreal>(categories);
    const qreal barWidth = groupWidth * 0.8 / static_cast<qreal>(seriesCount);
    // A value wider than its bar is written upwards: room above the tallest
    // bar for the longest such value, else for one line.
    qreal widest = 0;
    for (const ChartSeries& series : chart.series)
        for (double value : series.values) widest = std::max(widest, canvas.advance(valueText(chart, value)));
    const bool upwards = widest > barWidth * 0.95;
    // A category's name wider than its group wraps onto a second line.
    qreal widestCategory = 0;
    for (const QString& category : chart.categories)
        widestCategory = std::max(widestCategory, canvas.advance(category));
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
            drawBar(canvas, bar, static_cast<int>(s));
            const QString text = valueText(chart, chart.series[s].values.value(c));
            const qreal textWidth = canvas.advance(text);
            if (!upwards) {
                canvas.drawText(QRectF(bar.left() - barWidth, bar.top() - line, barWidth * 3, line),
                                Qt::AlignHCenter | Qt::AlignBottom, text);
                written.append(QRectF(bar.center().x() - textWidth / 2, bar.top() - line, textWidth, line));
            } else {
                canvas.drawTextUpwards(
                    QPointF(bar.center().x() + canvas.ascent() / 2 - canvas.descent(), bar.top() - line * 0.2), text);
                written.append(
                    QRectF(bar.center().x() - line / 2, bar.top() - line * 0.2 - textWidth, line, textWidth));
            }
        }
        canvas.drawText(QRectF(plot.left() + groupWidth * static_cast<qreal>(c), plot.bottom() + line * 0.2, groupWidth,
                               line * categoryLines),
                        Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                        categoryLines > 1 ? chart.categories[c] : canvas.elidedText(chart.categories[c], groupWidth));
    }
    canvas.setPen({});
    canvas.drawLine(plot.bottomLeft(), plot.bottomRight());
    if (chart.reference) {
        const qreal y = plot.bottom() - heightOf(chart.reference->value);
        canvas.setPen({line / 10, true});
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
            if (left > from) canvas.drawLine(QPointF(from, y), QPointF(std::min(left, end), y));
            from = std::max(from, right);
        }
        if (from < end) canvas.drawLine(QPointF(from, y), QPointF(end, y));
        canvas.setPen({});
        canvas.drawText(QRectF(plot.right() + line * 0.4, y - line, plot.width(), line * 2),
                        Qt::AlignLeft | Qt::AlignVCenter, referenceLabel);
    }
}

void drawHorizontal(Canvas& canvas, const QRectF& plot, const BarChart& chart) {
    const qreal line = canvas.lineSpacing();
    const qsizetype categories = chart.categories.size();
    if (categories == 0 || chart.series.isEmpty()) return;
    qreal labelWidth = 0;
    qreal valueWidth = 0;
    for (qsizetype c = 0; c < categories; ++c) {
        labelWidth = std::max(labelWidth, canvas.advance(chart.categories[c]));
        for (const ChartSeries& series : chart.series)
            valueWidth = std::max(valueWidth, canvas.advance(valueText(chart, series.values.value(c))));
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
        canvas.drawText(QRectF(plot.left(), top, labelWidth - line * 0.3, rowHeight), Qt::AlignRight | Qt::AlignVCenter,
                        canvas.elidedText(chart.categories[c], labelWidth - line * 0.3));
        for (qsizetype s = 0; s < chart.series.size(); ++s) {
            const qreal width = barsWidth * valueOf(chart.series[s], c) / largest;
            const QRectF bar(barsLeft, top + rowHeight * 0.125 + barHeight * static_cast<qreal>(s), width, barHeight);
            drawBar(canvas, bar, static_cast<int>(s));
            canvas.drawText(QRectF(bar.right() + line * 0.25, bar.top(), valueWidth, barHeight),
                            Qt::AlignLeft | Qt::AlignVCenter, valueText(chart, chart.series[s].values.value(c)));
        }
    }
    canvas.setPen({});
    canvas.drawLine(QPointF(barsLeft, plot.top()),
                    QPointF(barsLeft, plot.top() + rowHeight * static_cast<qreal>(categories)));
}

}  // namespace

void drawBarChart(Canvas& canvas, const QRectF& area, const BarChart& chart) {
    canvas.save();
    canvas.setPen({});
    const QRectF plot = drawHeading(canvas, area, chart);
    if (chart.direction == BarChart::Direction::Vertical)
        drawVertical(canvas, plot, chart);
    else
        drawHorizontal(canvas, plot, chart);
    canvas.restore();
}

void drawBarChart(QPainter& painter, const QRectF& area, const BarChart& chart) {
    PainterCanvas canvas(painter);
    drawBarChart(canvas, area, chart);
}

}  // namespace kbt2::paint
