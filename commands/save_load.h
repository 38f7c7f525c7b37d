#pragma once
// The Save and Load buttons: the worksheet file through the file dialogue.

#include <optional>
#include <string>

#include "worksheet/platform.h"
#include "worksheet/worksheet.h"

namespace kbt2 {

// Writes the worksheet file at `path`, never half written. Nothing when it
// worked; else the whole message for the user.
std::optional<std::string> writeWorksheetFile(const Worksheet& ws, const std::string& path);

// Where a file's fields go: onto the worksheet as it stands, setting only
// what the file names (the Load button), or onto a new worksheet, every field
// and its visibility as new first, so nothing of the case before stays
// (opening a file).
enum class LoadOnto { AsItStands, Fresh };

// Checks the file at `path` whole and only then sets the worksheet from it
// (see loadClick). Nothing when it worked; else the whole message for the
// user, and the worksheet is as it was.
std::optional<std::string> readWorksheetFile(Worksheet& ws, const std::string& path,
                                             LoadOnto onto = LoadOnto::AsItStands);
inline std::optional<std::string> readWorksheetFileFresh(Worksheet& ws, const std::string& path) {
    return readWorksheetFile(ws, path, LoadOnto::Fresh);
}

// The Save button's writing and the Load button's reading of a path already
// known: a failure is told; a success makes `path` the platform's document.
bool saveWorksheetTo(const Worksheet& ws, Platform& platform, const std::string& path);
bool loadWorksheetFrom(Worksheet& ws, Platform& platform, const std::string& path,
                       LoadOnto onto = LoadOnto::AsItStands);
inline bool openWorksheetFrom(Worksheet& ws, Platform& platform, const std::string& path) {
    return loadWorksheetFrom(ws, platform, path, LoadOnto::Fresh);
}

// Writes the worksheet under exactly the chosen name (no extension added).
// Cancel is silent; a failed write tells the user why and leaves any
// existing file as it was.
void saveClick(const Worksheet& ws, Platform& platform);

// Reads a worksheet file into the worksheet without clearing it first. The
// file is checked whole before anything is set: a file that cannot be read,
// ends early or holds a bad index is refused with a message naming the line,
// and the worksheet stays as it was.
void loadClick(Worksheet& ws, Platform& platform);

}  // namespace kbt2
