#include "ui/page_focus.h"

namespace kbt2::ui {
namespace {

// A page built a moment ago has frames that its layout shows only from the
// event loop; they are not hidden, merely not shown yet. Only a widget hidden
// on purpose (a commodity the state does not offer, a premium column not
// offered) disqualifies a field.
bool hiddenOnPurpose(const QWidget* widget, const QWidget* page) {
    for (const QWidget* w = widget; w && w != page; w = w->parentWidget())
        if (w->isHidden() && w->testAttribute(Qt::WA_WState_ExplicitShowHide)) return true;
    return false;
}

}  // namespace

QWidget* firstTabStop(QWidget* page) {
    // The focus chain is the Tab order: it starts at the window and runs
    // through every widget in creation order.
    QWidget* window = page->window();
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain())
        if (page->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->isEnabled() &&
            !hiddenOnPurpose(w, page))
            return w;
    return nullptr;
}

void focusFirstField(QWidget* page) {
    // Not Tab's reason: the field keeps its text unselected, so a stray key
    // adds to it instead of replacing it.
    if (QWidget* first = firstTabStop(page)) first->setFocus(Qt::OtherFocusReason);
}

}  // namespace kbt2::ui
