#pragma once
// Which worksheet files the arguments name: a file stands for itself, a
// folder for its *.wsk files (not its subfolders) in name order.

#include <optional>
#include <string>
#include <vector>

namespace kbt2::quote {

// One worksheet to quote, or an argument that names none it can read.
struct QuoteItem {
    std::string path;                    // as given, or folder + name
    std::optional<std::string> problem;  // why the argument gave no worksheet
};

struct FolderEntry {
    std::string name;
    bool folder = false;
};

// The worksheet names of a folder's listing, in name (byte) order. The
// extension is matched without regard to case, as the file dialogue does.
std::vector<std::string> worksheetNames(std::vector<FolderEntry> entries);

// The items of one argument, read from the file system. An argument that is
// not a folder is taken as a worksheet file: loading it says what is wrong.
std::vector<QuoteItem> itemsOf(const std::string& argument);

}  // namespace kbt2::quote
