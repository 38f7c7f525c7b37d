#include "ui/field_binding.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>

#include "location/states.h"
#include "paint/qt_text.h"
#include "ui/field_look.h"
#include "ui/field_widgets.h"

namespace kbt2::ui {
namespace {

// The group an option belongs to, as a screen reader names it with the
// option: a county's group names its state.
QString groupName(Control control) {
    switch (info(control).group) {
    case OptionGroup::Identification: return QStringLiteral("Tax number");
    case OptionGroup::Accounting: return QStringLiteral("Accounting method");
    case OptionGroup::State: return QStringLiteral("State");
    case OptionGroup::County:
        for (const StateInfo& state : states())
            if (state.counties == control)
                return QStringLiteral("County of %1").arg(toQString(state.caption).trimmed());
        return QStringLiteral("County");
    case OptionGroup::None: break;
    }
    return {};
}

}  // namespace

FieldBinding::FieldBinding(Form& form)
    : form_(form),
      paste_(std::make_unique<PasteFilter>(
          form, [this](FieldRef field, bool changed) { done(field, changed); },
          [this](const QString& words) {
              if (refused_) refused_(words);
          },
          [this](FieldRef field) { return caption(field); }, nullptr)) {
    widgets_.assign(Worksheet::slotCount(), nullptr);
    followers_.assign(Worksheet::slotCount(), nullptr);
    form_.worksheet().addObserver([this](const FieldChange& change) { show(change.field, change.what); });
}

size_t FieldBinding::slot(FieldRef field) const { return Worksheet::slotOf(field); }

QWidget* FieldBinding::create(FieldRef field, QWidget* parent, const QString& caption) {
    const ControlInfo& control = info(field.control);
    QWidget* widget = nullptr;
    switch (control.kind) {
    case Kind::Text:
        if (field.control == Control::Infobox)
            widget = new MultiLineEdit(parent);
        else
            widget = new QLineEdit(parent);
        break;
    case Kind::Masked: widget = new MaskedLineEdit(control.format, parent); break;
    case Kind::Check: widget = new FramedCheckBox(parent); break;
    case Kind::Option: {
        // One ring per option group, a county group per state.
        auto* option = new OptionButton(caption, parent);
        const bool perArray = control.group == OptionGroup::County;
        option->setRing(static_cast<int>(control.group) * 1000 + (perArray ? static_cast<int>(field.control) : 0));
        option->setAccessibleDescription(groupName(field.control));
        widget = option;
        break;
    }
    case Kind::Button: widget = new QPushButton(caption, parent); break;
    }
    widget->setObjectName(QString::fromStdString(refName(field)));
    applyFieldLook(field, widget);
    widgets_[slot(field)] = widget;
    show(field, FieldChange::What::Text);
    show(field, FieldChange::What::Value);
    show(field, FieldChange::What::Visibility);
    connectEdits(field, widget);
    return widget;
}

void FieldBinding::follow(FieldRef field, QWidget* follower) {
    followers_[slot(field)] = follower;
    follower->setHidden(!form_.worksheet().visible(field));
}

bool FieldBinding::pasteBlock(FieldRef field, const QString& text) { return paste_->pasteBlock(field, text); }

void FieldBinding::connectEdits(FieldRef field, QWidget* widget) {
    if (pasteTableOf(field)) paste_->watch(widget, field);
    const auto typed = [this, field](const QString& text) { done(field, form_.setText(field, text.toStdString())); };
    if (auto* edit = qobject_cast<MaskedLineEdit*>(widget)) {
        QObject::connect(edit, &MaskedLineEdit::plainTextEdited, edit, typed);
    } else if (auto* multi = qobject_cast<MultiLineEdit*>(widget)) {
        QObject::connect(multi, &MultiLineEdit::fieldTextEdited, multi, typed);
    } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        QObject::connect(line, &QLineEdit::textChanged, line, typed);
    } else if (auto* option = qobject_cast<OptionButton*>(widget)) {
        // The form clears the rest of the group and runs the handler.
        QObject::connect(option, &QAbstractButton::clicked, option,
                         [this, field] { done(field, form_.select(field)); });
    } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        QObject::connect(box, &QAbstractButton::clicked, box,
                         [this, field](bool checked) { done(field, form_.setChecked(field, checked)); });
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        QObject::connect(button, &QAbstractButton::clicked, button,
                         [this, field] { done(field, form_.click(field.control)); });
    }
}

QString FieldBinding::caption(FieldRef field) const {
    const QWidget* widget = widgets_[slot(field)];
    if (widget && !widget->accessibleName().isEmpty()) return widget->accessibleName();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        QString text = button->text();
        return text.remove(QRegularExpression(QStringLiteral("&(?!&)"))).trimmed();
    }
    return QString::fromStdString(refName(field));
}

void FieldBinding::show(FieldRef field, FieldChange::What what) {
    QWidget* widget = widgets_[slot(field)];
    if (!widget) return;  // its page is built later, from the worksheet as it is then
    const Worksheet& ws = form_.worksheet();
    const QSignalBlocker blocker(widget);
    switch (what) {
    case FieldChange::What::Text: {
        const Kind kind = info(field.control).kind;
        if (kind != Kind::Text && kind != Kind::Masked) return;
        const QString text = QString::fromStdString(ws.text(field));
        if (auto* edit = qobject_cast<MaskedLineEdit*>(widget))
            edit->setPlainText(text);
        else if (auto* multi = qobject_cast<MultiLineEdit*>(widget))
            multi->setFieldText(text);
        else if (auto* line = qobject_cast<QLineEdit*>(widget); line && line->text() != text)
            line->setText(text);
        break;
    }
    case FieldChange::What::Value:
        if (auto* button = qobject_cast<QAbstractButton*>(widget); button && button->isCheckable()) {
            const Kind kind = info(field.control).kind;
            button->setChecked(kind == Kind::Check ? ws.checked(field) : ws.selected(field));
        }
        break;
    case FieldChange::What::Visibility:
        widget->setHidden(!ws.visible(field));
        if (QWidget* follower = followers_[slot(field)]) follower->setHidden(!ws.visible(field));
        break;
    }
}

}  // namespace kbt2::ui
