#pragma once
// The driver's actions on the real widgets of the main window, as a person
// would do them: the field's page is brought to the front, text is typed into
// the widget, boxes, options and buttons are clicked. Values, visibility and
// the shown text are read back from the widgets.

#include "app/driver/target.h"
#include "ui/main_window.h"

namespace kbt2::driver {

class WindowTarget : public Target {
public:
    explicit WindowTarget(ui::MainWindow& window) : window_(window) {}

    void setText(FieldRef field, const std::string& text) override;
    void setChecked(FieldRef box, bool checked) override;
    void select(FieldRef option) override;
    void click(Control button) override;
    void undo() override { trigger("actionUndo"); }
    void redo() override { trigger("actionRedo"); }
    // Scenarios > Add Scenario… with the name already typed in, and the
    // scenario's entry of the Scenarios menu.
    void addScenario(const std::string& name) override;
    void switchScenario(size_t index) override;
    const Case& scenarios() override { return window_.scenarioCase(); }

    std::string text(FieldRef field) override;
    bool value(FieldRef box) override;
    bool visible(FieldRef field) override;
    std::string display(FieldRef masked) override;

private:
    QWidget* reach(FieldRef field);
    // Chooses a menu entry as a person does (a disabled entry does nothing).
    void trigger(const char* action);

    ui::MainWindow& window_;
};

}  // namespace kbt2::driver
