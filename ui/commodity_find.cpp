#include "ui/commodity_find.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace kbt2::ui {

CommodityFind::CommodityFind(QList<QAbstractButton*> boxes, QObject* parent)
    : QObject(parent), boxes_(std::move(boxes)) {
    for (QAbstractButton* box : boxes_) box->installEventFilter(this);
}

bool CommodityFind::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    // Letters, digits and punctuation search; Space, Tab and every shortcut
    // keep their own meaning and end the search, so that a name typed after
    // a tick starts anew however quickly it follows.
    const bool searching = !text.isEmpty() && text.at(0).isPrint() && !text.at(0).isSpace() &&
                           !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (!searching) {
        typed_.clear();
        return false;
    }
    if (!sinceLastKey_.isValid() || sinceLastKey_.elapsed() > kPauseMs) typed_.clear();
    sinceLastKey_.start();
    const qsizetype at = boxes_.indexOf(static_cast<QAbstractButton*>(watched));
    // The first letter looks past the box that has the focus, so typing it
    // again walks through the names that begin with it; a longer text may
    // still match the box that has the focus.
    const qsizetype from = typed_.isEmpty() ? at + 1 : at;
    typed_ += text;
    find(from);
    return true;
}

bool CommodityFind::find(qsizetype from) {
    const qsizetype count = boxes_.size();
    for (qsizetype step = 0; step < count; ++step) {
        QAbstractButton* box = boxes_[(from + step) % count];
        if (box->isHidden()) continue;
        if (box->accessibleName().startsWith(typed_, Qt::CaseInsensitive)) {
            box->setFocus(Qt::ShortcutFocusReason);
            return true;
        }
    }
    return false;
}

}  // namespace kbt2::ui
