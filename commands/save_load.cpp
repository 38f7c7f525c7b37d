#include "commands/save_load.h"

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

std::optional<std::string> readWorksheetFile(Worksheet& ws, const std::string& path, LoadOnto onto) {
    std::string bytes;
    if (const FileResult read = readWholeFile(path, bytes); !read.ok)
        return messages::worksheetNotOpened(path, read.reason);
    const auto parsed = parseWorksheetFile(decodeFileText(bytes));
    if (const auto* error = std::get_if<LoadError>(&parsed)) return messages::worksheetNotLoaded(path, error->reason);
    if (onto == LoadOnto::Fresh) ws.reset();
    applyLoadPlan(ws, std::get<LoadPlan>(parsed));
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

bool loadWorksheetFrom(Worksheet& ws, Platform& platform, const std::string& path, LoadOnto onto) {
    if (const auto failure = readWorksheetFile(ws, path, onto)) {
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
