#include "ui/field_look.h"

#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>

namespace kbt2::ui {
namespace {

// clang-format off
// The fields beyond the plain typed text: control, holds a number, filled by
// the commands alone. The commodity name and code are filled by the check
// boxes but also typed, and the MPCI liability is typed but set to 0 by the
// premium calculation when empty: those stay Tab stops.
struct FieldLook { Control control; bool number; bool result; };
constexpr FieldLook kFieldLooks[] = {
    {Control::MPCI,       true, false},
    {Control::Allinc1,    true, false},
    {Control::Allexp1,    true, false},
    {Control::Totalinc,   true, true},
    {Control::Averageinc, true, true},
    {Control::Text29,     true, true},
    {Control::Totalexp,   true, true},
    {Control::Averageexp, true, true},
    {Control::Text30,     true, true},
    {Control::GrowthFact, true, true},
    {Control::Unit1,      true, false},
    {Control::YearProd,   true, false},
    {Control::Intamt1,    true, false},
    {Control::Totamt1,    true, false},
    {Control::Expval1,    true, false},
    {Control::Total1,     true, true},
    {Control::Text15,     true, true},
    {Control::Text23,     true, true},
    {Control::Text24,     true, true},
    {Control::Text25,     true, true},
    {Control::Text26,     true, true},
    {Control::Text27,     true, true},
    {Control::Text28,     true, true},
    {Control::Text16,     true, true},
    {Control::Text17,     true, true},
    {Control::Text18,     true, true},
    {Control::Projkbt,    true, true},
    {Control::Text21,     true, true},
    {Control::Croptext,   true, true},
    {Control::Lvstex,     false, true},
    {Control::Mpciex,     false, true},
};
// clang-format on

const FieldLook* lookOf(Control control) {
    const auto* found = std::find_if(std::begin(kFieldLooks), std::end(kFieldLooks),
                                     [control](const FieldLook& look) { return look.control == control; });
    return found == std::end(kFieldLooks) ? nullptr : found;
}

}  // namespace

bool isResultField(Control control) {
    const FieldLook* look = lookOf(control);
    return look && look->result;
}

bool isNumberField(Control control) {
    const FieldLook* look = lookOf(control);
    return look && look->number;
}

void applyFieldLook(FieldRef field, QWidget* widget) {
    auto* edit = qobject_cast<QLineEdit*>(widget);
    if (!edit) return;
    // Only how the text stands changes, never the text itself.
    if (isNumberField(field.control)) edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (isResultField(field.control)) {
        edit->setFocusPolicy(Qt::ClickFocus);
        // The window's own colour behind the text: grey beside white input
        // fields in a light theme, and as distinct in a dark one.
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        edit->setPalette(palette);
    }
}

void setWidthInChars(QLineEdit* edit, int chars) {
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
    const QFontMetrics metrics = edit->fontMetrics();
    const QMargins margins = edit->textMargins();
    // Two pixels of the line edit's own inner margin on either side.
    const QSize text(metrics.averageCharWidth() * chars + margins.left() + margins.right() + 4, metrics.height());
    edit->setMinimumWidth(edit->style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, edit).width());
}

}  // namespace kbt2::ui
