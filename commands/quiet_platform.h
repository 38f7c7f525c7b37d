#pragma once
// A platform for a calculation nobody watches: a copy of the worksheet
// priced for Premium Details, a summary or a comparison.

#include <optional>
#include <string>
#include <vector>

#include "worksheet/platform.h"

namespace kbt2 {

// Finds the rate file where the window would, and keeps every message to
// itself, answering OK.
class QuietPlatform final : public Platform {
public:
    explicit QuietPlatform(Platform& outer) : outer_(outer) {}
    MessageAnswer showMessage(const Message& message) override {
        messages.push_back(message);
        return MessageAnswer::OK;
    }
    std::optional<std::string> chooseFile(FileDialogMode, const std::string&) override { return std::nullopt; }
    bool fileExists(const std::string& path) override { return outer_.fileExists(path); }
    std::vector<std::string> rateFileFolders() override { return outer_.rateFileFolders(); }
    PrintResult print(const PrintDocument&) override { return {PrintResult::Status::NoPrinter, {}}; }
    PrintResult printToPdf(const PrintDocument&, const std::string&) override {
        return {PrintResult::Status::Failed, {}};
    }
    void closeWindow() override {}
    std::optional<std::string> chosenRateFile() override { return outer_.chosenRateFile(); }

    std::vector<Message> messages;

private:
    Platform& outer_;
};

}  // namespace kbt2
