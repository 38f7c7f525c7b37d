#pragma once
// The driver without a window: actions go straight to the form (the document),
// dialogues and the printer to stand-ins that the script answers.

#include "app/driver/session.h"
#include "app/driver/target.h"
#include "commands/case.h"
#include "commands/form.h"

namespace kbt2::driver {

class ScriptedPlatform : public Platform {
public:
    explicit ScriptedPlatform(Session& session) : session_(session) {}
    MessageAnswer showMessage(const Message& message) override;
    std::optional<std::string> chooseFile(FileDialogMode mode, const std::string& filter) override;
    std::vector<std::string> rateFileFolders() override { return session_.rateFileFolders(); }
    PrintResult print(const PrintDocument& document) override;
    PrintResult printToPdf(const PrintDocument& document, const std::string& path) override;
    void closeWindow() override { session_.reportClosed(); }

private:
    Session& session_;
};

class ModelTarget : public Target {
public:
    explicit ModelTarget(Session& session) : platform_(session), form_(platform_) {}
    void setText(FieldRef field, const std::string& text) override { form_.setText(field, text); }
    void setChecked(FieldRef box, bool checked) override { form_.setChecked(box, checked); }
    void select(FieldRef option) override { form_.select(option); }
    void click(Control button) override { form_.click(button); }
    void undo() override { form_.undo(); }
    void redo() override { form_.redo(); }
    void addScenario(const std::string& name) override { case_.add(name); }
    void switchScenario(size_t index) override { case_.switchTo(index); }
    const Case& scenarios() override { return case_; }
    std::string text(FieldRef field) override { return form_.worksheet().text(field); }
    bool value(FieldRef box) override;
    bool visible(FieldRef field) override { return form_.worksheet().visible(field); }
    std::string display(FieldRef masked) override;

private:
    ScriptedPlatform platform_;
    Form form_;
    Case case_{form_};
};

}  // namespace kbt2::driver
