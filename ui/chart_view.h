#pragma once
// A bar chart of paint/charts.h on the screen.

#include <QWidget>

#include "paint/charts.h"

namespace kbt2::ui {

// The chart in words, for a screen reader: each category with its values,
// then the reference line.
QString chartText(const paint::BarChart& chart);

// A widget that shows one chart at whatever size the layout gives it. Tab
// stops on it, so that a screen reader reads it.
class ChartView : public QWidget {
public:
    explicit ChartView(paint::BarChart chart, QWidget* parent = nullptr);
    const paint::BarChart& chart() const { return chart_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    paint::BarChart chart_;
};

}  // namespace kbt2::ui
