#pragma once
// Binds widgets to worksheet fields both ways. A person's edit, click,
// selection or press goes to the form, the one way in; every change of a
// field comes back through the worksheet's observer and updates that one
// widget, with its signals blocked so nothing loops.

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "commands/form.h"
#include "ui/paste_filter.h"

namespace kbt2::ui {

class FieldBinding {
public:
    explicit FieldBinding(Form& form);
    FieldBinding(const FieldBinding&) = delete;
    FieldBinding& operator=(const FieldBinding&) = delete;

    // Creates the widget of a field's kind in `parent`, named after the
    // field, showing the field's current state. `caption` is the widget's own
    // text (option buttons and buttons).
    QWidget* create(FieldRef field, QWidget* parent, const QString& caption = {});
    // A widget shown and hidden with a field (the caption beside a box); it
    // must already have its parent.
    void follow(FieldRef field, QWidget* follower);

    // Gets what the form returned for each action on a widget: the field or
    // button acted on, and whether the worksheet changed.
    void setActed(std::function<void(FieldRef, bool)> acted) { acted_ = std::move(acted); }
    // Gets the words of a paste refused (a block of cells that did not fit).
    void setRefused(std::function<void(const QString&)> refused) { refused_ = std::move(refused); }
    // Pastes a block of cells at `field` as Ctrl+V there does; false when the
    // text is a single cell.
    bool pasteBlock(FieldRef field, const QString& text);

    // What a person reads for a field: its caption, or a button's or
    // option's own text without the Alt key's mark; the control's name while
    // its page is not built.
    QString caption(FieldRef field) const;

    // The widget of a field, or nullptr while its page is not built.
    QWidget* widget(FieldRef field) const { return widgets_[slot(field)]; }

private:
    size_t slot(FieldRef field) const;
    void connectEdits(FieldRef field, QWidget* widget);
    void show(FieldRef field, FieldChange::What what);
    void done(FieldRef field, bool changed) {
        if (acted_) acted_(field, changed);
    }

    Form& form_;
    std::vector<QWidget*> widgets_;
    std::vector<QWidget*> followers_;
    std::function<void(FieldRef, bool)> acted_;
    std::function<void(const QString&)> refused_;
    std::unique_ptr<PasteFilter> paste_;
};

}  // namespace kbt2::ui
