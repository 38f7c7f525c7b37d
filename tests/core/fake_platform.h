#pragma once
// A stand-in platform for core tests: it records every message, dialogue,
// print and close, answers message boxes and file dialogues from queues,
// reports the print results a test sets, and searches the rate file in the
// folders a test sets. Any test of a command may use it:
//
//     FakePlatform platform;
//     platform.answers = {MessageAnswer::Cancel};
//     Form form(platform);
//     ...
//     EXPECT_EQ(platform.messageTexts(), (std::vector<std::string>{"..."}));

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "worksheet/platform.h"

namespace kbt2::testing_support {

class FakePlatform : public Platform {
public:
    // Answers for the coming message boxes; OK when the queue is empty.
    std::deque<MessageAnswer> answers;
    // Answers for the coming file dialogues; cancelled when the queue is empty.
    std::deque<std::optional<std::string>> files;
    // Folders searched for the rate file, in order.
    std::vector<std::string> folders;
    // The rate file the user chose, if any.
    std::optional<std::string> chosen;
    // What printing and saving the report as a PDF return.
    PrintResult printResult;
    PrintResult pdfResult;

    std::vector<Message> messages;
    std::vector<std::pair<FileDialogMode, std::string>> dialogs;  // mode and filter
    std::vector<PrintDocument> printed;
    std::vector<std::string> pdfPaths;
    int closes = 0;
    std::vector<std::string> usedFiles;  // worksheet files loaded or saved, in order

    MessageAnswer showMessage(const Message& message) override {
        messages.push_back(message);
        if (answers.empty()) return MessageAnswer::OK;
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> chooseFile(FileDialogMode mode, const std::string& filter) override {
        dialogs.emplace_back(mode, filter);
        if (files.empty()) return std::nullopt;
        auto file = files.front();
        files.pop_front();
        return file;
    }
    std::vector<std::string> rateFileFolders() override { return folders; }
    PrintResult print(const PrintDocument& document) override {
        printed.push_back(document);
        return printResult;
    }
    PrintResult printToPdf(const PrintDocument& document, const std::string& path) override {
        printed.push_back(document);
        pdfPaths.push_back(path);
        return pdfResult;
    }
    void closeWindow() override { ++closes; }
    void worksheetFileUsed(const std::string& path) override { usedFiles.push_back(path); }
    std::optional<std::string> chosenRateFile() override { return chosen; }

    std::vector<std::string> messageTexts() const {
        std::vector<std::string> texts;
        for (const Message& m : messages) texts.push_back(m.text);
        return texts;
    }
};

}  // namespace kbt2::testing_support
