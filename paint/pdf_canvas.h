#pragma once
// A canvas that writes a Letter-size PDF itself, in the PDF standard fonts
// Helvetica and Helvetica-Bold, which every reader has and no file carries.
// It makes a page of text and rules in microseconds where a QPdfWriter,
// which lays out and embeds a font of its own, takes milliseconds: it is the
// way the farmer's paper is made, a letter at a time or thousands at once.
//
// Those fonts write only the characters of WinAnsiEncoding (Western
// European); text with any other is written with "?" and `encodable()`
// turns false, for the caller to make that document another way.

#include <QByteArray>
#include <QDate>
#include <string>
#include <vector>

#include "paint/canvas.h"

namespace kbt2::paint {

class PdfCanvas final : public Canvas {
public:
    // Letter, with `margin` points all round.
    explicit PdfCanvas(qreal margin);

    QRectF area() const override;
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

    bool encodable() const { return encodable_; }
    // The whole document, its pages as drawn.
    QByteArray finish(const QString& title, const QString& creator, const QDate& created) const;

private:
    std::string& content() { return pages_.back(); }
    void text(QPointF baseline, QStringView text, bool upwards);
    void number(qreal value);
    void point(QPointF at);
    void rect(const QRectF& rect);
    void color(const QColor& color, const char* op);
    void strokeWithPen();

    qreal margin_;
    std::vector<std::string> pages_;
    bool encodable_ = true;
};

}  // namespace kbt2::paint
