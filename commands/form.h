#pragma once
// The main form: the worksheet with the handlers of its controls. Both front
// ends, the window and the scripting driver, act on a Form and nothing else.

#include "worksheet/platform.h"
#include "worksheet/worksheet.h"

namespace kbt2 {

class Form : private ControlEvents {
public:
    explicit Form(Platform& platform);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    Worksheet& worksheet() { return worksheet_; }
    const Worksheet& worksheet() const { return worksheet_; }
    Platform& platform() { return platform_; }

    // Runs the click handler of a button to completion.
    void click(Control button);

private:
    void checkBoxClicked(Control array, int index) override;
    void optionSelected(Control array, int index) override;

    Worksheet worksheet_;
    Platform& platform_;
};

}  // namespace kbt2
