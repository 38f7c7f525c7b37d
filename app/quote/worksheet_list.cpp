#include "app/quote/worksheet_list.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "worksheet/platform.h"
#include "worksheet/system_error_text.h"

namespace kbt2::quote {
namespace {

namespace fs = std::filesystem;

bool hasWorksheetExtension(const std::string& name) {
    constexpr std::string_view kExtension = ".wsk";
    if (name.size() < kExtension.size()) return false;
    return std::equal(kExtension.begin(), kExtension.end(), name.end() - kExtension.size(), [](char a, char b) {
        return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b);
    });
}

std::string folderProblem(const std::string& folder, const std::error_code& error) {
    return "The folder \"" + folder + "\" could not be read.\r" + systemErrorText(error.value()) + ".";
}

}  // namespace

std::vector<std::string> worksheetNames(std::vector<FolderEntry> entries) {
    std::vector<std::string> names;
    for (FolderEntry& entry : entries)
        if (!entry.folder && hasWorksheetExtension(entry.name)) names.push_back(std::move(entry.name));
    std::sort(names.begin(), names.end());
    return names;
}

WorksheetList::WorksheetList(const std::vector<std::string>& arguments) {
    for (const std::string& path : arguments) {
        Argument argument{path, false, {}, std::nullopt};
        std::error_code error;
        if (fs::is_directory(path, error)) {
            argument.folder = true;
            std::vector<FolderEntry> entries;
            fs::directory_iterator it(path, error);
            for (; !error && it != fs::directory_iterator(); it.increment(error)) {
                std::string name = it->path().filename().string();
                std::error_code ignored;
                // A link to a folder is a folder; a broken link is left to Load to report.
                if (hasWorksheetExtension(name)) entries.push_back({std::move(name), it->is_directory(ignored)});
            }
            if (error)
                argument.problem = folderProblem(path, error);
            else
                argument.names = worksheetNames(std::move(entries));
        }
        size_ += argument.folder && !argument.problem ? argument.names.size() : 1;
        arguments_.push_back(std::move(argument));
    }
}

std::vector<std::string> WorksheetList::emptyFolders() const {
    std::vector<std::string> empty;
    for (const Argument& argument : arguments_)
        if (argument.folder && !argument.problem && argument.names.empty()) empty.push_back(argument.path);
    return empty;
}

void WorksheetList::forEach(const std::function<void(const QuoteItem&)>& visit) const {
    QuoteItem item;
    for (const Argument& argument : arguments_) {
        if (!argument.folder || argument.problem) {
            item.path = argument.path;
            item.problem = argument.problem;
            visit(item);
            continue;
        }
        item.problem.reset();
        for (const std::string& name : argument.names) {
            item.path = inFolder(argument.path, name);
            visit(item);
        }
    }
}

}  // namespace kbt2::quote
