#pragma once
// The worksheet: every field of the main window as the program's one data
// model. Commands read and write fields by name; the window mirrors them.

#include <functional>
#include <string>
#include <vector>

#include "worksheet/controls.h"

namespace kbt2 {

// What changed in one field, for the window to update that one widget.
struct FieldChange {
    enum class What { Text, Value, Visibility };
    FieldRef field;
    What what;
};

// Receives the click events of check boxes and option buttons. A check box's
// event is raised on every change of its value; an option's when it becomes
// selected. The handler runs to completion before the setter returns.
class ControlEvents {
public:
    virtual ~ControlEvents() = default;
    virtual void checkBoxClicked(Control array, int index) = 0;
    virtual void optionSelected(Control array, int index) = 0;
};

class Worksheet {
    struct Field {
        std::string text;
        bool on = false;  // check value or option selection
        bool visible = true;
        bool operator==(const Field&) const = default;
    };

public:
    // Every field's text, value, selection and visibility at one moment.
    struct Snapshot {
        std::vector<Field> fields;
        bool operator==(const Snapshot&) const = default;
    };

    Worksheet();

    // Every field's place in one flat table of slots, the same for every
    // worksheet, for whoever keeps something per field (the window, its
    // widgets). slotOf does not check the index.
    static size_t slotCount();
    static size_t slotOf(FieldRef f);

    // Text and masked number fields: the plain text, never the display format.
    const std::string& text(FieldRef f) const;
    void setText(FieldRef f, std::string text);

    // Check boxes: a change of value raises the array's click event.
    bool checked(FieldRef f) const;
    void setChecked(FieldRef f, bool checked);

    // Option buttons. Selecting one clears the others of its group and raises
    // its click event if it was not selected; deselecting raises nothing.
    bool selected(FieldRef f) const;
    void select(FieldRef f);
    void deselect(FieldRef f);
    // The index of the selected option of an option array, or -1.
    int selectedIndex(Control optionArray) const;

    bool visible(FieldRef f) const;
    void setVisible(FieldRef f, bool visible);

    // Back to the state of a freshly opened window. Observers hear of each
    // field that changes; no click event is raised.
    void reset();

    Snapshot snapshot() const { return {fields_}; }
    // Puts every field back as `state` holds it. As with reset(), observers
    // hear of each field that changes and no click event is raised.
    void restore(const Snapshot& state);

    void setEventHandler(ControlEvents* handler) { events_ = handler; }
    // Observers hear of every change after it happened (the window uses it).
    void addObserver(std::function<void(const FieldChange&)> observer);

private:
    Field& at(FieldRef f);
    const Field& at(FieldRef f) const;
    void notify(FieldRef f, FieldChange::What what);

    std::vector<Field> fields_;
    ControlEvents* events_ = nullptr;
    std::vector<std::function<void(const FieldChange&)>> observers_;
};

}  // namespace kbt2
