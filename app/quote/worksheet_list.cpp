#include "app/quote/worksheet_list.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

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

std::string joined(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string folderProblem(const std::string& folder, const std::error_code& error) {
    return "The folder \"" + folder + "\" could not be read.\r" + error.message() + ".";
}

}  // namespace

std::vector<std::string> worksheetNames(std::vector<FolderEntry> entries) {
    std::vector<std::string> names;
    for (FolderEntry& entry : entries)
        if (!entry.folder && hasWorksheetExtension(entry.name)) names.push_back(std::move(entry.name));
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<QuoteItem> itemsOf(const std::string& argument) {
    std::error_code error;
    if (!fs::is_directory(argument, error)) return {QuoteItem{argument, std::nullopt}};
    std::vector<FolderEntry> entries;
    fs::directory_iterator it(argument, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code ignored;
        // A link to a folder is a folder; a broken link is left to Load to report.
        entries.push_back({it->path().filename().string(), it->is_directory(ignored)});
    }
    if (error) return {QuoteItem{argument, folderProblem(argument, error)}};
    std::vector<QuoteItem> items;
    for (const std::string& name : worksheetNames(std::move(entries))) items.push_back({joined(argument, name), {}});
    return items;
}

}  // namespace kbt2::quote
