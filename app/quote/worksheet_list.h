#pragma once
// Which worksheet files the arguments name: a file stands for itself, a
// folder for its *.wsk files (not its subfolders) in name order.

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "commands/case_file.h"
#include "quote/quote_worksheet.h"

namespace kbt2::quote {

// One worksheet to quote, or an argument that names none it can read.
struct QuoteItem {
    std::string path;                    // as given, or folder + name
    std::optional<std::string> problem;  // why the argument gave no worksheet
    // Which scenario of its case the worksheet is. A case's other scenarios
    // follow its base, each from its own file in the folder beside it.
    std::string scenario = kBaseScenario;
    // Of a case's base: why the scenarios beside it are not quoted.
    std::optional<CaseFileProblem> caseProblem;
};

struct FolderEntry {
    std::string name;
    bool folder = false;
};

// The worksheet names of a folder's listing, in name (byte) order. The
// extension is matched without regard to case, as the file dialogue does.
std::vector<std::string> worksheetNames(std::vector<FolderEntry> entries);

// The worksheets of the arguments, read from the file system once. A
// worksheet saved as a case's base stands for every scenario of the case. Only the
// names of a folder's worksheets are kept, not paths or worksheets, so a
// batch of 100,000 costs a few megabytes. An argument that is not a folder is
// taken as a worksheet file: loading it says what is wrong.
class WorksheetList {
public:
    explicit WorksheetList(const std::vector<std::string>& arguments);

    size_t size() const { return size_; }
    // The folders given that hold no worksheet at all.
    std::vector<std::string> emptyFolders() const;
    // Every item in order.
    void forEach(const std::function<void(const QuoteItem&)>& visit) const;

private:
    struct Argument {
        std::string path;
        bool folder = false;
        std::vector<std::string> names;  // of a folder: its worksheets
        std::optional<std::string> problem;
        // The cases among its worksheets, by their place in `names` (0 for a file).
        std::map<size_t, CaseFiles> cases;
    };
    void visitWorksheet(const Argument& argument, size_t place, QuoteItem& item,
                        const std::function<void(const QuoteItem&)>& visit) const;
    std::vector<Argument> arguments_;
    size_t size_ = 0;
};

}  // namespace kbt2::quote
