#include "worksheet/worksheet.h"

#include <cassert>
#include <stdexcept>

namespace kbt2 {

namespace {

// Per control, the slot of its element 0; the last entry is the count.
const std::vector<size_t>& firstSlots() {
    static const std::vector<size_t> slots = [] {
        std::vector<size_t> first;
        size_t slot = 0;
        for (const ControlInfo& c : kControls) {
            first.push_back(slot);
            slot += static_cast<size_t>(c.slots());
        }
        first.push_back(slot);
        return first;
    }();
    return slots;
}

}  // namespace

size_t Worksheet::slotCount() { return firstSlots().back(); }

size_t Worksheet::slotOf(FieldRef f) {
    return firstSlots()[static_cast<size_t>(f.control)] + static_cast<size_t>(f.index);
}

Worksheet::Worksheet() {
    fields_.resize(slotCount());
    reset();
}

// Observers hear of every field that changes, so a window already bound to
// the worksheet follows; no click event is raised.
void Worksheet::reset() {
    Snapshot fresh{std::vector<Field>(fields_.size())};
    fresh.fields[slotOf({Control::SSN})].on = true;
    fresh.fields[slotOf({Control::IRSCash})].on = true;
    restore(fresh);
}

void Worksheet::restore(const Snapshot& state) {
    assert(state.fields.size() == fields_.size());
    for (const ControlInfo& c : kControls) {
        for (int i = 0; i < c.slots(); ++i) {
            const FieldRef f{c.control, i};
            Field& field = at(f);
            const Field& wanted = state.fields[slotOf(f)];
            if (field.text != wanted.text) {
                field.text = wanted.text;
                notify(f, FieldChange::What::Text);
            }
            if (field.on != wanted.on) {
                field.on = wanted.on;
                notify(f, FieldChange::What::Value);
            }
            if (field.visible != wanted.visible) {
                field.visible = wanted.visible;
                notify(f, FieldChange::What::Visibility);
            }
        }
    }
}

Worksheet::Field& Worksheet::at(FieldRef f) { return const_cast<Field&>(static_cast<const Worksheet*>(this)->at(f)); }

const Worksheet::Field& Worksheet::at(FieldRef f) const {
    const ControlInfo& c = info(f.control);
    if (f.index < 0 || f.index >= c.slots())
        throw std::out_of_range("field index out of range: " + std::string(c.name));
    return fields_[slotOf(f)];
}

// By index: an observer may add another while it is being told.
void Worksheet::notify(FieldRef f, FieldChange::What what) {
    for (size_t i = 0; i < observers_.size(); ++i) observers_[i](FieldChange{f, what});
}

const std::string& Worksheet::text(FieldRef f) const { return at(f).text; }

void Worksheet::setText(FieldRef f, std::string text) {
    Field& field = at(f);
    if (field.text == text) return;
    field.text = std::move(text);
    notify(f, FieldChange::What::Text);
}

bool Worksheet::checked(FieldRef f) const { return at(f).on; }

void Worksheet::setChecked(FieldRef f, bool checked) {
    assert(info(f.control).kind == Kind::Check);
    Field& field = at(f);
    if (field.on == checked) return;
    field.on = checked;
    notify(f, FieldChange::What::Value);
    if (events_) events_->checkBoxClicked(f.control, f.index);
}

bool Worksheet::selected(FieldRef f) const { return at(f).on; }

void Worksheet::select(FieldRef f) {
    const ControlInfo& target = info(f.control);
    assert(target.kind == Kind::Option);
    if (at(f).on) return;
    for (const ControlInfo& c : kControls) {
        if (c.kind != Kind::Option || c.group != target.group) continue;
        for (int i = 0; i < c.slots(); ++i) {
            const FieldRef other{c.control, i};
            if (other != f && at(other).on) deselect(other);
        }
    }
    at(f).on = true;
    notify(f, FieldChange::What::Value);
    if (events_) events_->optionSelected(f.control, f.index);
}

void Worksheet::deselect(FieldRef f) {
    Field& field = at(f);
    if (!field.on) return;
    field.on = false;
    notify(f, FieldChange::What::Value);
}

int Worksheet::selectedIndex(Control optionArray) const {
    for (int i = 0; i < info(optionArray).slots(); ++i)
        if (at({optionArray, i}).on) return i;
    return -1;
}

bool Worksheet::visible(FieldRef f) const { return at(f).visible; }

void Worksheet::setVisible(FieldRef f, bool visible) {
    Field& field = at(f);
    if (field.visible == visible) return;
    field.visible = visible;
    notify(f, FieldChange::What::Visibility);
}

void Worksheet::addObserver(std::function<void(const FieldChange&)> observer) {
    observers_.push_back(std::move(observer));
}

}  // namespace kbt2
