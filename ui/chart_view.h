#pragma once
// A bar chart of ui/charts.h on the screen.

#include <QWidget>

#include "paint/charts.h"

namespace kbt2::ui {

// A widget that shows one chart at whatever size the layout gives it.
class ChartView : public QWidget {
public:
    explicit ChartView(BarChart chart, QWidget* parent = nullptr);
    const BarChart& chart() const { return chart_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    BarChart chart_;
};

}  // namespace kbt2::ui
