#pragma once
// The Save and Load buttons: the worksheet file through the file dialogue.

#include <string>

#include "worksheet/outcome.h"
#include "worksheet/platform.h"
#include "worksheet/worksheet.h"

namespace kbt2 {

// Why a worksheet file (or a case's) was not written or read.
struct WorksheetFileFailure {
    std::string message;  // the whole message the user is told
};
using WorksheetFileOutcome = Outcome<Done, WorksheetFileFailure>;

// Writes the worksheet file at `path`, never half written.
WorksheetFileOutcome writeWorksheetFile(const Worksheet& ws, const std::string& path);

// Where a file's fields go: onto the worksheet as it stands, setting only
// what the file names (the Load button), or onto a new worksheet, every field
// and its visibility as new first, so nothing of the case before stays
// (opening a file).
enum class LoadOnto { AsItStands, Fresh };

// Checks the file at `path` whole and only then sets the worksheet from it
// (see loadClick). When it fails the worksheet is as it was.
WorksheetFileOutcome readWorksheetFile(Worksheet& ws, const std::string& path, LoadOnto onto = LoadOnto::AsItStands);
inline WorksheetFileOutcome readWorksheetFileFresh(Worksheet& ws, const std::string& path) {
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
