#include "app/quote/worksheet_list.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <unordered_set>

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
        Argument argument{path, false, {}, std::nullopt, {}};
        std::unordered_set<std::string> scenarioFolders;  // in a folder's listing
        std::error_code error;
        if (fs::is_directory(path, error)) {
            argument.folder = true;
            std::vector<FolderEntry> entries;
            fs::directory_iterator it(path, error);
            for (; !error && it != fs::directory_iterator(); it.increment(error)) {
                std::string name = it->path().filename().string();
                std::error_code ignored;
                // A link to a folder is a folder; a broken link is left to Load to report.
                if (hasWorksheetExtension(name))
                    entries.push_back({std::move(name), it->is_directory(ignored)});
                else if (name.ends_with(kScenarioFolderSuffix))
                    scenarioFolders.insert(std::move(name));
            }
            if (error)
                argument.problem = folderProblem(path, error);
            else
                argument.names = worksheetNames(std::move(entries));
        }
        if (!argument.problem) {
            const auto noteCase = [&](size_t place, const std::string& file) {
                // Only a worksheet with an index beside it is read here.
                CaseFiles files = readCaseFiles(file);
                if (!files.hadIndex) return;
                if (files.scenarios.size() > 1) size_ += files.scenarios.size() - 1;
                argument.cases.emplace(place, std::move(files));
            };
            if (!argument.folder) noteCase(0, path);
            // In a folder, only a worksheet whose scenarios folder the
            // listing holds can be a case's base: the others are not looked at.
            for (size_t i = 0; i < argument.names.size(); ++i)
                if (scenarioFolders.contains(scenarioFolderOf(argument.names[i])))
                    noteCase(i, inFolder(path, argument.names[i]));
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

void WorksheetList::visitWorksheet(const Argument& argument, size_t place, QuoteItem& item,
                                   const std::function<void(const QuoteItem&)>& visit) const {
    item.scenario = kBaseScenario;
    item.caseProblem.reset();
    const auto found = argument.cases.find(place);
    if (found == argument.cases.end()) {
        visit(item);
        return;
    }
    const CaseFiles& files = found->second;
    item.caseProblem = files.problem;
    if (files.scenarios.empty()) {
        visit(item);
        return;
    }
    for (const CaseFiles::Scenario& scenario : files.scenarios) {
        item.path = scenario.path;
        item.scenario = scenario.name;
        visit(item);
    }
}

void WorksheetList::forEach(const std::function<void(const QuoteItem&)>& visit) const {
    QuoteItem item;
    for (const Argument& argument : arguments_) {
        if (!argument.folder || argument.problem) {
            item.path = argument.path;
            item.problem = argument.problem;
            visitWorksheet(argument, 0, item, visit);
            continue;
        }
        item.problem.reset();
        for (size_t i = 0; i < argument.names.size(); ++i) {
            item.path = inFolder(argument.path, argument.names[i]);
            visitWorksheet(argument, i, item, visit);
        }
    }
}

}  // namespace kbt2::quote
