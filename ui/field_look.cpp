#include "ui/field_look.h"

#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>
#include <optional>

#include "ui/accessibility.h"
#include "worksheet/premium_rows.h"

namespace kbt2::ui {
namespace {

// clang-format off
// The fields beyond the plain typed text, besides the premium table (numbers
// the premium calculation fills): control, holds a number, filled by the
// commands alone. The commodity name and code are filled by the check boxes
// but also typed, and the MPCI liability is typed but set to 0 by the premium
// calculation when empty: those stay Tab stops.
struct Role { bool number; bool result; };
struct FieldLook { Control control; Role role; };
constexpr FieldLook kFieldLooks[] = {
    {Control::MPCI,       {true, false}},
    {Control::Allinc1,    {true, false}},
    {Control::Allexp1,    {true, false}},
    {Control::Totalinc,   {true, true}},
    {Control::Averageinc, {true, true}},
    {Control::Text29,     {true, true}},
    {Control::Totalexp,   {true, true}},
    {Control::Averageexp, {true, true}},
    {Control::Text30,     {true, true}},
    {Control::GrowthFact, {true, true}},
    {Control::Unit1,      {true, false}},
    {Control::YearProd,   {true, false}},
    {Control::Intamt1,    {true, false}},
    {Control::Totamt1,    {true, false}},
    {Control::Expval1,    {true, false}},
    {Control::Total1,     {true, true}},
    {Control::Text15,     {true, true}},
    {Control::Projkbt,    {true, true}},
    {Control::Text21,     {true, true}},
    {Control::Croptext,   {true, true}},
    {Control::Lvstex,     {false, true}},
    {Control::Mpciex,     {false, true}},
};
// clang-format on

constexpr Role kPremiumTableRole = {true, true};

std::optional<Role> roleOf(Control control) {
    if (isPremiumRow(control)) return kPremiumTableRole;
    const auto* found = std::find_if(std::begin(kFieldLooks), std::end(kFieldLooks),
                                     [control](const FieldLook& look) { return look.control == control; });
    if (found == std::end(kFieldLooks)) return std::nullopt;
    return found->role;
}

}  // namespace

bool isResultField(Control control) {
    const std::optional<Role> role = roleOf(control);
    return role && role->result;
}

bool isNumberField(Control control) {
    const std::optional<Role> role = roleOf(control);
    return role && role->number;
}

void applyFieldLook(FieldRef field, QWidget* widget) {
    auto* edit = qobject_cast<QLineEdit*>(widget);
    if (!edit) return;
    // Only how the text stands changes, never the text itself.
    if (isNumberField(field.control)) edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (isResultField(field.control)) {
        // Off the typist's Tab walk, on it while a screen reader listens.
        reachWhileListened(edit);
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
