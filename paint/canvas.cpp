#include "paint/canvas.h"

#include <algorithm>

namespace kbt2::paint {

void Canvas::restore() {
    if (saved_.empty()) return;
    state_ = saved_.back();
    saved_.pop_back();
}

std::vector<Canvas::Line> Canvas::layOut(const QRectF& box, int flags, const QString& text, QRectF* used) const {
    // Blanks are kept as they were typed: a line is the words between its
    // breaks with the blanks that stood between them. A line's width is the
    // sum of its words' and blanks'.
    std::vector<QStringView> lines;
    const bool wraps = flags & Qt::TextWordWrap;
    const qreal blank = wraps ? advance(u" ") : 0;
    for (const QStringView paragraph : QStringView(text).split(u'\n')) {
        if (!wraps || advance(paragraph) <= box.width()) {
            lines.push_back(paragraph);
            continue;
        }
        qsizetype lineStart = 0;
        qreal width = 0;
        for (qsizetype wordStart = 0;;) {
            qsizetype wordEnd = paragraph.indexOf(u' ', wordStart);
            if (wordEnd < 0) wordEnd = paragraph.size();
            const qreal wordWidth = advance(paragraph.sliced(wordStart, wordEnd - wordStart));
            if (wordStart == lineStart) {
                width = wordWidth;
            } else if (wordStart - 1 > lineStart && width + blank + wordWidth > box.width()) {
                lines.push_back(paragraph.sliced(lineStart, wordStart - 1 - lineStart));
                lineStart = wordStart;
                width = wordWidth;
            } else {
                width += blank + wordWidth;
            }
            if (wordEnd == paragraph.size()) break;
            wordStart = wordEnd + 1;
        }
        lines.push_back(paragraph.sliced(lineStart));
    }
    const qreal spacing = lineSpacing();
    const qreal height = spacing * static_cast<qreal>(lines.size());
    qreal top = box.top();
    if (flags & Qt::AlignBottom)
        top = box.bottom() - height;
    else if (flags & Qt::AlignVCenter)
        top = box.top() + (box.height() - height) / 2;
    std::vector<Line> placed;
    qreal left = box.right();
    qreal right = box.left();
    for (size_t i = 0; i < lines.size(); ++i) {
        const qreal width = advance(lines[i]);
        qreal x = box.left();
        if (flags & Qt::AlignRight)
            x = box.right() - width;
        else if (flags & Qt::AlignHCenter)
            x = box.left() + (box.width() - width) / 2;
        left = std::min(left, x);
        right = std::max(right, x + width);
        placed.push_back({QPointF(x, top + spacing * static_cast<qreal>(i) + ascent()), lines[i]});
    }
    if (used) *used = QRectF(left, top, std::max<qreal>(0, right - left), height);
    return placed;
}

QRectF Canvas::drawText(const QRectF& box, int flags, const QString& text) {
    QRectF used;
    for (const Line& line : layOut(box, flags, text, &used))
        if (!line.text.isEmpty()) drawTextAt(line.baseline, line.text);
    return used;
}

QRectF Canvas::boundingRect(const QRectF& box, int flags, const QString& text) const {
    QRectF used;
    layOut(box, flags, text, &used);
    return used;
}

QString Canvas::elidedText(const QString& text, qreal width) const {
    if (advance(text) <= width) return text;
    const QString ellipsis(QChar(0x2026));
    QString cut = text;
    while (!cut.isEmpty() && advance(cut + ellipsis) > width) cut.chop(1);
    return cut + ellipsis;
}

}  // namespace kbt2::paint
