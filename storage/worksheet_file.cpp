#include "storage/worksheet_file.h"

#include "storage/file_io.h"
#include "storage/text_encoding.h"
#include "storage/worksheet_file_format.h"

namespace kbt2 {

void saveClick(const Worksheet& ws, Platform& platform) {
    const auto path = platform.chooseFile(FileDialogMode::Save, kWorksheetFileFilter);
    if (!path) return;
    const FileResult written = replaceFileAtomically(*path, formatWorksheetFile(ws));
    if (!written.ok) tell(platform, "The worksheet could not be saved as \"" + *path + "\".\r" + written.reason);
}

void loadClick(Worksheet& ws, Platform& platform) {
    const auto path = platform.chooseFile(FileDialogMode::Open, kWorksheetFileFilter);
    if (!path) return;
    std::string bytes;
    if (const FileResult read = readWholeFile(*path, bytes); !read.ok) {
        tell(platform, "The worksheet file \"" + *path + "\" could not be opened.\r" + read.reason);
        return;
    }
    const auto parsed = parseWorksheetFile(decodeFileText(bytes));
    if (const auto* error = std::get_if<LoadError>(&parsed)) {
        tell(platform, "The worksheet file \"" + *path + "\" could not be loaded.\r" + error->reason +
                           "\rThe worksheet was not changed.");
        return;
    }
    applyLoadPlan(ws, std::get<LoadPlan>(parsed));
}

}  // namespace kbt2
