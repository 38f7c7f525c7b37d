#pragma once
// What the charts and the farmer's paper are drawn on: a QPainter (a widget
// on the screen, a printer) or a PDF written directly (paint/pdf_canvas.h).
// Each canvas measures its own text, and the lines of a box of text are
// broken and aligned here, once, so a layout is the same code on both.
//
// Lengths are in the canvas's own units, y growing down the page.

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringView>
#include <vector>

namespace kbt2::paint {

struct CanvasFont {
    qreal points = 9;
    bool bold = false;
};

struct CanvasPen {
    qreal width = 0;  // 0: the thinnest line the device draws
    bool dashed = false;
};

// The fills that tell a chart's series apart in grey print as well as in colour.
enum class CanvasFill { Solid, Diagonal, Cross, Dotted };

class Canvas {
public:
    virtual ~Canvas() = default;

    // Where the page (or the widget) may be drawn, inside its margins.
    virtual QRectF area() const = 0;
    virtual void newPage() = 0;

    const CanvasFont& font() const { return state_.font; }
    void setFont(const CanvasFont& font) { state_.font = font; }
    const CanvasPen& pen() const { return state_.pen; }
    void setPen(const CanvasPen& pen) { state_.pen = pen; }
    // The font and the pen, kept and given back.
    void save() { saved_.push_back(state_); }
    void restore();

    // The measures of the current font.
    virtual qreal advance(QStringView text) const = 0;
    virtual qreal ascent() const = 0;
    virtual qreal descent() const = 0;
    virtual qreal lineSpacing() const = 0;

    // One line of text in the current font from `baseline`, across the page
    // or up it (turned a quarter left).
    virtual void drawTextAt(QPointF baseline, QStringView text) = 0;
    virtual void drawTextUpwards(QPointF baseline, QStringView text) = 0;
    virtual void fillRect(const QRectF& rect, const QColor& color) = 0;
    virtual void fillRect(const QRectF& rect, const QColor& color, CanvasFill fill) = 0;
    // Outlines and lines with the current pen, in black.
    virtual void drawRect(const QRectF& rect) = 0;
    virtual void drawLine(QPointF from, QPointF to) = 0;

    // Text in a box, aligned by Qt::Alignment flags, broken at its blanks
    // with Qt::TextWordWrap and at every "\n"; returns the rectangle the
    // lines take. A word wider than the box stands alone on its line.
    QRectF drawText(const QRectF& box, int flags, const QString& text);
    QRectF boundingRect(const QRectF& box, int flags, const QString& text) const;
    // `text` cut to `width` with "…" at its end where it is wider.
    QString elidedText(const QString& text, qreal width) const;

private:
    struct State {
        CanvasFont font;
        CanvasPen pen;
    };
    struct Line {
        QPointF baseline;
        QStringView text;
    };
    std::vector<Line> layOut(const QRectF& box, int flags, const QString& text, QRectF* used) const;

    State state_;
    std::vector<State> saved_;
};

}  // namespace kbt2::paint
