#include "paint/painter_canvas.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <algorithm>

namespace kbt2::paint {

PainterCanvas::PainterCanvas(QPainter& painter, QPagedPaintDevice* pages, const QRectF& area)
    : painter_(painter),
      pages_(pages),
      area_(area.isEmpty() ? QRectF(QPointF(0, 0), QSizeF(painter.viewport().size())) : area),
      family_(painter.font()) {
    setFont({family_.pointSizeF() > 0 ? family_.pointSizeF() : 9, family_.bold()});
}

void PainterCanvas::newPage() {
    if (pages_) pages_->newPage();
}

QFont PainterCanvas::qfont() const {
    QFont font = family_;
    font.setPointSizeF(Canvas::font().points);
    font.setBold(Canvas::font().bold);
    return font;
}

qreal PainterCanvas::advance(QStringView text) const {
    return QFontMetricsF(qfont(), painter_.device()).horizontalAdvance(text.toString());
}
qreal PainterCanvas::ascent() const { return QFontMetricsF(qfont(), painter_.device()).ascent(); }
qreal PainterCanvas::descent() const { return QFontMetricsF(qfont(), painter_.device()).descent(); }
qreal PainterCanvas::lineSpacing() const { return QFontMetricsF(qfont(), painter_.device()).lineSpacing(); }

void PainterCanvas::drawTextAt(QPointF baseline, QStringView text) {
    painter_.setFont(qfont());
    painter_.setPen(Qt::black);
    painter_.drawText(baseline, text.toString());
}

void PainterCanvas::drawTextUpwards(QPointF baseline, QStringView text) {
    painter_.save();
    painter_.translate(baseline);
    painter_.rotate(-90);
    drawTextAt(QPointF(0, 0), text);
    painter_.restore();
}

void PainterCanvas::fillRect(const QRectF& rect, const QColor& color) { painter_.fillRect(rect, color); }

void PainterCanvas::fillRect(const QRectF& rect, const QColor& color, CanvasFill fill) {
    static constexpr Qt::BrushStyle kStyles[] = {Qt::SolidPattern, Qt::BDiagPattern, Qt::CrossPattern,
                                                 Qt::Dense5Pattern};
    // Pattern brushes are laid out in device pixels; on a 1200 dpi page they
    // would shrink to a grey haze, so they are scaled to what a screen shows.
    QBrush brush(color, kStyles[static_cast<int>(fill)]);
    const qreal scale = std::max<qreal>(1.0, painter_.device()->logicalDpiX() / 96.0);
    brush.setTransform(QTransform::fromScale(scale, scale));
    painter_.fillRect(rect, brush);
}

void PainterCanvas::usePen() {
    QPen pen(Qt::black, Canvas::pen().width);
    if (Canvas::pen().dashed) pen.setStyle(Qt::DashLine);
    painter_.setPen(pen);
}

void PainterCanvas::drawRect(const QRectF& rect) {
    usePen();
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(rect);
}

void PainterCanvas::drawLine(QPointF from, QPointF to) {
    usePen();
    painter_.drawLine(from, to);
}

}  // namespace kbt2::paint
