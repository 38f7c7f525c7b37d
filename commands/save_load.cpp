#include "commands/save_load.h"

#include <utility>
#include <variant>

#include "commands/messages.h"
#include "storage/file_io.h"
#include "storage/text_encoding.h"
#include "storage/worksheet_file_format.h"

namespace kbt2 {

std::optional<std::string> writeWorksheetFile(const Worksheet& ws, const std::string& path) {
    const FileResult written = replaceFileAtomically(path, formatWorksheetFile(ws));
    if (written.ok) return std::nullopt;
    return messages::worksheetNotSaved(path, written.reason);
}

namespace {

// The file at `path` checked whole: what to set, or the message for the user.
std::variant<LoadPlan, std::string> planFromFile(const std::string& path) {
    std::string bytes;
    if (const FileResult read = readWholeFile(path, bytes); !read.ok)
        return messages::worksheetNotOpened(path, read.reason);
    auto parsed = parseWorksheetFile(decodeFileText(bytes));
    if (const auto* error = std::get_if<LoadError>(&parsed)) return messages::worksheetNotLoaded(path, error->reason);
    return std::get<LoadPlan>(std::move(parsed));
}

}  // namespace

std::optional<std::string> readWorksheetFile(Worksheet& ws, const std::string& path) {
    auto plan = planFromFile(path);
    if (auto* failure = std::get_if<std::string>(&plan)) return std::move(*failure);
    applyLoadPlan(ws, std::get<LoadPlan>(plan));
    return std::nullopt;
}

std::optional<std::string> readWorksheetFileFresh(Worksheet& ws, const std::string& path) {
    auto plan = planFromFile(path);
    if (auto* failure = std::get_if<std::string>(&plan)) return std::move(*failure);
    // Every field as a new worksheet has it, visibility too, then the file's.
    ws.reset();
    applyLoadPlan(ws, std::get<LoadPlan>(plan));
    return std::nullopt;
}

bool saveWorksheetTo(const Worksheet& ws, Platform& platform, const std::string& path) {
    if (const auto failure = writeWorksheetFile(ws, path)) {
        tell(platform, *failure);
        return false;
    }
    platform.worksheetFileUsed(path);
    return true;
}

bool loadWorksheetFrom(Worksheet& ws, Platform& platform, const std::string& path) {
    if (const auto failure = readWorksheetFile(ws, path)) {
        tell(platform, *failure);
        return false;
    }
    platform.worksheetFileUsed(path);
    return true;
}

bool openWorksheetFrom(Worksheet& ws, Platform& platform, const std::string& path) {
    if (const auto failure = readWorksheetFileFresh(ws, path)) {
        tell(platform, *failure);
        return false;
    }
    platform.worksheetFileUsed(path);
    return true;
}

void saveClick(const Worksheet& ws, Platform& platform) {
    if (const auto path = platform.chooseFile(FileDialogMode::Save, kWorksheetFileFilter))
        saveWorksheetTo(ws, platform, *path);
}

void loadClick(Worksheet& ws, Platform& platform) {
    if (const auto path = platform.chooseFile(FileDialogMode::Open, kWorksheetFileFilter))
        loadWorksheetFrom(ws, platform, *path);
}

}  // namespace kbt2
