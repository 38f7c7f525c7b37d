#include "commands/save_load.h"

#include "commands/messages.h"
#include "storage/file_io.h"
#include "storage/text_encoding.h"
#include "storage/worksheet_file_format.h"

namespace kbt2 {

WorksheetFileOutcome writeWorksheetFile(const Worksheet& ws, const std::string& path) {
    const FileOutcome written = replaceFileAtomically(path, formatWorksheetFile(ws));
    if (written.ok()) return Done{};
    return WorksheetFileFailure{messages::worksheetNotSaved(path, written.failure().reason)};
}

WorksheetFileOutcome readWorksheetFile(Worksheet& ws, const std::string& path, LoadOnto onto) {
    const auto read = readWholeFile(path);
    if (!read.ok()) return WorksheetFileFailure{messages::worksheetNotOpened(path, read.failure().reason)};
    const auto parsed = parseWorksheetFile(decodeFileText(read.value()));
    if (const auto* error = std::get_if<LoadError>(&parsed))
        return WorksheetFileFailure{messages::worksheetNotLoaded(path, error->reason)};
    if (onto == LoadOnto::Fresh) ws.reset();
    applyLoadPlan(ws, std::get<LoadPlan>(parsed));
    return Done{};
}

bool saveWorksheetTo(const Worksheet& ws, Platform& platform, const std::string& path) {
    if (const auto written = writeWorksheetFile(ws, path); !written.ok()) {
        tell(platform, written.failure().message);
        return false;
    }
    platform.worksheetFileUsed(path);
    return true;
}

bool loadWorksheetFrom(Worksheet& ws, Platform& platform, const std::string& path, LoadOnto onto) {
    if (const auto read = readWorksheetFile(ws, path, onto); !read.ok()) {
        tell(platform, read.failure().message);
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
