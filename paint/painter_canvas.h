#pragma once
// A canvas on a QPainter: a widget on the screen, or a printer's pages. The
// text is in the painter's own font family, at the canvas font's size.

#include <QFont>
#include <QPainter>

#include "paint/canvas.h"

class QPagedPaintDevice;

namespace kbt2::paint {

class PainterCanvas final : public Canvas {
public:
    // `pages` turns the page of a printer or a PDF writer; `area` is where
    // to draw, the painter's viewport when it is empty.
    explicit PainterCanvas(QPainter& painter, QPagedPaintDevice* pages = nullptr, const QRectF& area = {});

    QRectF area() const override { return area_; }
    void newPage() override;

    qreal advance(QStringView text) const override;
    qreal ascent() const override;
    qreal descent() const override;
    qreal lineSpacing() const override;

    void drawTextAt(QPointF baseline, QStringView text) override;
    void drawTextUpwards(QPointF baseline, QStringView text) override;
    void fillRect(const QRectF& rect, const QColor& color) override;
    void fillRect(const QRectF& rect, const QColor& color, CanvasFill fill) override;
    void drawRect(const QRectF& rect) override;
    void drawLine(QPointF from, QPointF to) override;

private:
    QFont qfont() const;
    void usePen();

    QPainter& painter_;
    QPagedPaintDevice* pages_;
    QRectF area_;
    QFont family_;
};

}  // namespace kbt2::paint
