#include "app/driver/window_target_widgets.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>

#include "ui/field_widgets.h"

namespace kbt2::driver {

QWidget* WindowTarget::reach(FieldRef field) {
    // A person acts on the window in front; typing needs it active. (After a
    // dialogue closes, the platform may hand activation back only later.)
    if (!window_.isActiveWindow()) QApplication::setActiveWindow(&window_);
    window_.showPageOf(field);
    return window_.fieldWidget(field);
}

void WindowTarget::setText(FieldRef field, const std::string& text) {
    QWidget* widget = reach(field);
    const QString typed = QString::fromStdString(text);
    widget->setFocus(Qt::OtherFocusReason);
    if (auto* multi = qobject_cast<ui::MultiLineEdit*>(widget)) {
        multi->enterText(typed);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        // Typing over the whole text: the line edit reports the edit as it
        // does for keys pressed.
        edit->selectAll();
        edit->insert(typed);
    }
}

void WindowTarget::setChecked(FieldRef box, bool checked) {
    auto* button = static_cast<QAbstractButton*>(reach(box));
    if (button->isChecked() != checked) button->click();
}

void WindowTarget::select(FieldRef option) { static_cast<QAbstractButton*>(reach(option))->click(); }

void WindowTarget::click(Control button) { static_cast<QAbstractButton*>(reach({button}))->click(); }

void WindowTarget::trigger(const char* action) {
    if (!window_.isActiveWindow()) QApplication::setActiveWindow(&window_);
    if (auto* entry = window_.findChild<QAction*>(QString::fromLatin1(action))) entry->trigger();
}

void WindowTarget::addScenario(const std::string& name) {
    if (!window_.isActiveWindow()) QApplication::setActiveWindow(&window_);
    window_.scenarios().add(name);
}

void WindowTarget::switchScenario(size_t index) {
    if (!window_.isActiveWindow()) QApplication::setActiveWindow(&window_);
    if (QAction* entry = window_.scenarios().switchAction(static_cast<int>(index))) entry->trigger();
}

std::string WindowTarget::text(FieldRef field) {
    QWidget* widget = window_.fieldWidget(field);
    if (auto* masked = qobject_cast<ui::MaskedLineEdit*>(widget)) return masked->plainText().toStdString();
    if (auto* multi = qobject_cast<ui::MultiLineEdit*>(widget)) return multi->fieldText().toStdString();
    return static_cast<QLineEdit*>(widget)->text().toStdString();
}

bool WindowTarget::value(FieldRef box) { return static_cast<QAbstractButton*>(window_.fieldWidget(box))->isChecked(); }

bool WindowTarget::visible(FieldRef field) {
    // A widget on a page that is not in front is never "visible" to Qt; what
    // counts is whether the field is hidden.
    return !window_.fieldWidget(field)->isHidden();
}

std::string WindowTarget::display(FieldRef masked) {
    auto* edit = static_cast<ui::MaskedLineEdit*>(window_.fieldWidget(masked));
    // What the field shows once the person has left it.
    if (edit->hasFocus()) edit->clearFocus();
    return edit->text().toStdString();
}

}  // namespace kbt2::driver
