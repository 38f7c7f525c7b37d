#pragma once
// How the core's message and filter texts appear in Qt's dialogues, and back.

#include <QString>
#include <QStringList>
#include <string>

namespace kbt2::ui {

// A message text for a plain-text label: a carriage return (character 13)
// starts a new line. It becomes a line separator, which a label breaks at and
// which no message of the program holds otherwise, so the exact text can be
// read back from the box.
QString messageForDisplay(const std::string& text);
std::string messageFromDisplay(const QString& shown);

// The name filters of a file dialogue from a filter "Description|pattern"
// (pairs may repeat: "A|*.a|B|*.b;*.bb"). A description that already names
// its patterns in parentheses stands as it is.
QStringList nameFilters(const std::string& filter);

// The file beside `path` with its name and the first pattern's extension
// ("/a/farm.wsk" with "PDF document (*.pdf)|*.pdf" gives "/a/farm.pdf");
// empty when there is no path or the filter names no extension.
QString sameNameWithExtension(const QString& path, const std::string& filter);

// A name typed into a save dialogue, with the filter's first extension added
// when the name has none ("farm" gives "farm.wsk"); any other name, and a
// folder, stand as typed.
QString withFilterExtension(const QString& path, const std::string& filter);

// The property of a file dialogue that holds the filter as the command set it.
inline constexpr const char* kCommandFilterProperty = "kbt2CommandFilter";

}  // namespace kbt2::ui
