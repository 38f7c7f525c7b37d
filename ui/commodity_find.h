#pragma once
// Finding a commodity box by its name on pages 5 and 6: typing letters while
// a box has the focus moves the focus to the next shown box whose name
// begins with what was typed (else holds it), as a list's type-ahead does;
// Space then ticks it with the box's own click and ends the search.

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>

class QAbstractButton;

namespace kbt2::ui {

class CommodityFind : public QObject {
    Q_OBJECT
public:
    // `boxes` in the page's Tab order; each takes its name from its
    // accessible name. The finder is a child of `parent`.
    CommodityFind(QList<QAbstractButton*> boxes, QObject* parent);

    // A pause this long starts a new search.
    static constexpr int kPauseMs = 1000;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Moves the focus to the first shown box from `from` on (round the
    // page) whose name begins with the text typed, else holds it.
    bool find(qsizetype from);

    QList<QAbstractButton*> boxes_;
    QString typed_;
    QElapsedTimer sinceLastKey_;
};

}  // namespace kbt2::ui
