#pragma once
// Bar charts drawn on a canvas, the same routine for a widget on the screen
// (ui/chart_view.h) and for a page of the farmer's paper. Every series has its own fill pattern and
// every bar its value written beside it, so a chart reads as well printed in
// grey as on a colour screen.

#include <QList>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "paint/canvas.h"

namespace kbt2::paint {

struct ChartSeries {
    QString name;          // shown in the legend when the chart has more than one series
    QList<double> values;  // one per category
};

// A line across the bars at one value, with its name and value written at its end.
struct ChartReference {
    QString name;
    double value = 0;
};

struct BarChart {
    enum class Direction { Vertical, Horizontal };
    Direction direction = Direction::Vertical;
    QString title;
    QStringList categories;
    QList<ChartSeries> series;
    std::optional<ChartReference> reference;
    // How a value is written on its bar and at the reference line.
    std::function<QString(double)> valueText;
};

// Draws `chart` into `area` in the canvas's current font; the canvas's font
// and pen are left as they were given. Negative values draw as zero-length
// bars with their value still written.
void drawBarChart(Canvas& canvas, const QRectF& area, const BarChart& chart);
// The same on a painter, in its current font.
void drawBarChart(QPainter& painter, const QRectF& area, const BarChart& chart);

}  // namespace kbt2::paint
