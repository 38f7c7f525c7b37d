#pragma once
// The few services of the outside world that commands use. The window
// implements them with real dialogues and the printer; the scripting driver
// and the tests with stand-ins.

#include <optional>
#include <string>
#include <vector>

namespace kbt2 {

enum class MessageButtons { OK, OKCancel };
enum class MessageIcon { None, Critical };
enum class MessageAnswer { OK, Cancel };

// The application's title, the caption of every message that names none.
inline constexpr const char* kAppTitle = "KBT2";

struct Message {
    std::string title;
    std::string text;  // a carriage return (character 13) starts a new line
    MessageButtons buttons = MessageButtons::OK;
    MessageIcon icon = MessageIcon::None;
};

enum class FileDialogMode { Save, Open };

// The two kinds of file the commands ask for, as "Description|pattern"; the
// window tells its dialogues apart by them.
inline constexpr const char* kWorksheetFileFilter = "KBT Premium Calculation (*.wsk)|*.wsk";
inline constexpr const char* kPdfFilter = "PDF document (*.pdf)|*.pdf";

// One printed line is a sequence of items: a text, or a move to a column
// (1-based; when the position is already past it, to that column of the next
// line).
struct PrintItem {
    enum class Kind { Text, Column };
    Kind kind = Kind::Text;
    std::string text;
    int column = 0;

    static PrintItem textItem(std::string t) { return {Kind::Text, std::move(t), 0}; }
    static PrintItem columnItem(int n) { return {Kind::Column, {}, n}; }
};
using PrintLine = std::vector<PrintItem>;
struct PrintDocument {
    std::vector<PrintLine> lines;
};

struct PrintResult {
    enum class Status { Printed, NoPrinter, Failed };
    Status status = Status::Printed;
    std::string error;  // why, when it failed
};

// True for an ordinary file (not a folder, a pipe or a device); a path that
// cannot be looked at is none.
bool isOrdinaryFile(const std::string& path);

// `name` inside `folder`, with one slash between them; an empty folder is the
// current one.
std::string inFolder(const std::string& folder, const std::string& name);

class Platform {
public:
    virtual ~Platform() = default;

    // Modal; returns the button pressed.
    virtual MessageAnswer showMessage(const Message& message) = 0;
    // Modal; nothing when the user cancels. `filter` is "Description|pattern".
    virtual std::optional<std::string> chooseFile(FileDialogMode mode, const std::string& filter) = 0;
    // True for an ordinary file (not a folder). Every real platform asks the
    // file system alike, so that is the default; stand-ins may pretend.
    virtual bool fileExists(const std::string& path);
    // The folders searched for the rate file, in order.
    virtual std::vector<std::string> rateFileFolders() = 0;
    // The default printer; NoPrinter when the system has none.
    virtual PrintResult print(const PrintDocument& document) = 0;
    virtual PrintResult printToPdf(const PrintDocument& document, const std::string& path) = 0;
    // Closes the main window, which ends the program.
    virtual void closeWindow() = 0;

    // A worksheet file was just loaded from or saved to `path` in full: the
    // window's document from now on. The driver and the tests keep no
    // document, so by default nothing is done.
    virtual void worksheetFileUsed(const std::string& /*path*/) {}
    // A rate file the user picked, searched before the rate file folders.
    // Front ends without such a choice have none.
    virtual std::optional<std::string> chosenRateFile() { return std::nullopt; }
};

// A message of a check the user can correct: application title, OK, no icon.
inline MessageAnswer tell(Platform& platform, std::string text) {
    return platform.showMessage({kAppTitle, std::move(text), MessageButtons::OK, MessageIcon::None});
}

}  // namespace kbt2
