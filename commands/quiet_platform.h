#pragma once
// A platform for a calculation nobody watches: a copy of the worksheet
// priced for Premium Details, a summary or a comparison, or a saved
// worksheet quoted by kbt2-quote as a window just started would quote it.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "worksheet/platform.h"

namespace kbt2 {

// Keeps every message to itself, answering OK; prints nothing and closes
// nothing.
class QuietPlatform final : public Platform {
public:
    // Finds the rate file where `outer` would; every file dialogue is
    // cancelled.
    explicit QuietPlatform(Platform& outer) : outer_(&outer) {}
    // On its own: the rate file in the window's usual folders (no file
    // chosen), and the Open dialogue answers `worksheet` (Save is cancelled).
    explicit QuietPlatform(std::string worksheet) : opens_(std::move(worksheet)) {}

    MessageAnswer showMessage(const Message& message) override {
        messages.push_back(message);
        return MessageAnswer::OK;
    }
    std::optional<std::string> chooseFile(FileDialogMode mode, const std::string& filter) override;
    bool fileExists(const std::string& path) override;
    std::vector<std::string> rateFileFolders() override;
    PrintResult print(const PrintDocument&) override { return {PrintResult::Status::NoPrinter, {}}; }
    PrintResult printToPdf(const PrintDocument&, const std::string&) override {
        return {PrintResult::Status::Failed, {}};
    }
    void closeWindow() override {}
    std::optional<std::string> chosenRateFile() override;

    std::vector<Message> messages;

private:
    Platform* outer_ = nullptr;
    std::optional<std::string> opens_;
};

}  // namespace kbt2
