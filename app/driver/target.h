#pragma once
// What a script acts on: the worksheet model directly, or the real window.

#include <cstddef>
#include <string>

#include "worksheet/controls.h"

namespace kbt2 {
class Case;
}

namespace kbt2::driver {

class Target {
public:
    virtual ~Target() = default;
    virtual void setText(FieldRef field, const std::string& text) = 0;
    virtual void setChecked(FieldRef box, bool checked) = 0;
    virtual void select(FieldRef option) = 0;
    virtual void click(Control button) = 0;
    // Edit > Undo and Edit > Redo.
    virtual void undo() = 0;
    virtual void redo() = 0;
    // The case's scenarios: a copy of the current one added under a free
    // name and made current, or another one made current.
    virtual void addScenario(const std::string& name) = 0;
    virtual void switchScenario(size_t index) = 0;
    virtual const Case& scenarios() = 0;

    virtual std::string text(FieldRef field) = 0;
    virtual bool value(FieldRef box) = 0;  // check value, or option selected
    virtual bool visible(FieldRef field) = 0;
    virtual std::string display(FieldRef masked) = 0;
};

}  // namespace kbt2::driver
