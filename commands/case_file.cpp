#include "commands/case_file.h"

#include <filesystem>
#include <memory>
#include <system_error>
#include <variant>

#include "commands/messages.h"
#include "commands/save_load.h"
#include "storage/case_index.h"
#include "storage/file_io.h"
#include "storage/worksheet_file_format.h"
#include "worksheet/system_error_text.h"

namespace kbt2 {
namespace {

namespace fs = std::filesystem;

constexpr size_t kLongestSlug = 32;
// What a new case calls its first scenario.
constexpr const char* kBaseName = "base";

// "03-hay-added.wsk": the place in the case, then the name in plain letters
// so that a person finds the scenario among the files.
std::string scenarioFileName(size_t index, const std::string& name) {
    std::string slug;
    for (const char c : name) {
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            slug += c;
        else if (c >= 'A' && c <= 'Z')
            slug += static_cast<char>(c - 'A' + 'a');
        else if (!slug.empty() && slug.back() != '-')
            slug += '-';
        if (slug.size() == kLongestSlug) break;
    }
    while (!slug.empty() && slug.back() == '-') slug.pop_back();
    const size_t place = index + 1;
    std::string file = {static_cast<char>('0' + place / 10), static_cast<char>('0' + place % 10)};
    if (!slug.empty()) file += "-" + slug;
    return file + ".wsk";
}

WorksheetFileFailure notSaved(const std::string& path, const std::string& reason) {
    return {messages::worksheetNotSaved(path, reason)};
}

std::string reasonOf(const std::error_code& error) {
    std::string text = systemErrorText(error.value());
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text + ".";
}

// The files of a save, each written out beside its name; none takes its
// name until all are written, and a writer dropped leaves no trace.
class PendingFiles {
public:
    WorksheetFileOutcome add(const std::string& path, std::string_view bytes) {
        auto writer = std::make_unique<AtomicFileWriter>(path);
        FileOutcome result = writer->open();
        if (result.ok()) result = writer->write(bytes);
        if (!result.ok()) return notSaved(path, result.failure().reason);
        files_.push_back({path, std::move(writer)});
        return Done{};
    }
    // In the order added: the scenarios, the base, the index last, so an
    // index never names a file not yet in place.
    WorksheetFileOutcome commit() {
        for (Pending& file : files_)
            if (const FileOutcome result = file.writer->commit(); !result.ok())
                return notSaved(file.path, result.failure().reason);
        return Done{};
    }

private:
    struct Pending {
        std::string path;
        std::unique_ptr<AtomicFileWriter> writer;
    };
    std::vector<Pending> files_;
};

}  // namespace

std::string scenarioFolderOf(const std::string& basePath) { return basePath + std::string(kScenarioFolderSuffix); }

std::string caseIndexPathOf(const std::string& basePath) { return inFolder(scenarioFolderOf(basePath), "case.txt"); }

void retireCaseIndex(const std::string& path) {
    const std::string indexPath = caseIndexPathOf(path);
    const auto read = readWholeFile(indexPath);
    if (!read.ok() || std::holds_alternative<CaseIndexError>(parseCaseIndex(read.value()))) return;
    std::error_code ignored;
    fs::remove(indexPath, ignored);
    // The folder goes only when nothing else is left in it.
    fs::remove(scenarioFolderOf(path), ignored);
}

WorksheetFileOutcome saveCase(Case& scenarios, const std::string& path) {
    if (scenarios.size() == 1) {
        if (auto written = writeWorksheetFile(scenarios.worksheet(0), path); !written.ok()) return written;
        retireCaseIndex(path);
        scenarios.document(0).markSaved(path);
        return Done{};
    }
    if (scenarios.size() > kMostScenarioFiles) return notSaved(path, messages::kTooManyScenarioFiles);
    const std::string folder = scenarioFolderOf(path);
    std::error_code error;
    fs::create_directory(folder, error);
    if (error) return notSaved(folder, reasonOf(error));

    CaseIndex index;
    PendingFiles files;
    for (size_t i = 0; i < scenarios.size(); ++i) {
        CaseIndexEntry entry{{}, scenarios.name(i), i == scenarios.current(), scenarios.forPaper(i)};
        if (i > 0) {
            entry.file = scenarioFileName(i, entry.name);
            if (auto added = files.add(inFolder(folder, entry.file), formatWorksheetFile(scenarios.worksheet(i)));
                !added.ok())
                return added;
        }
        index.scenarios.push_back(std::move(entry));
    }
    const std::string base = formatWorksheetFile(scenarios.worksheet(0));
    index.base = fingerprintOf(base);
    if (auto added = files.add(path, base); !added.ok()) return added;
    if (auto added = files.add(caseIndexPathOf(path), formatCaseIndex(index)); !added.ok()) return added;
    if (auto committed = files.commit(); !committed.ok()) return committed;
    for (size_t i = 0; i < scenarios.size(); ++i) scenarios.document(i).markSaved(path);
    return Done{};
}

CaseFiles readCaseFiles(const std::string& path) {
    CaseFiles files;
    const std::string indexPath = caseIndexPathOf(path);
    std::error_code error;
    if (!fs::exists(fs::symlink_status(indexPath, error))) return files;
    files.hadIndex = true;
    const auto problem = [&files](CaseFileProblem::Kind kind, int line, std::string reason) {
        files.problem = CaseFileProblem{kind, {}, {}, line, std::move(reason)};
        return files;
    };

    const auto read = readWholeFile(indexPath);
    if (!read.ok()) return problem(CaseFileProblem::Kind::IndexUnreadable, 0, read.failure().reason);
    auto parsed = parseCaseIndex(read.value());
    if (const auto* damaged = std::get_if<CaseIndexError>(&parsed))
        return problem(CaseFileProblem::Kind::IndexDamaged, damaged->line, damaged->reason);
    const CaseIndex& index = std::get<CaseIndex>(parsed);
    for (size_t i = 0; i < index.scenarios.size(); ++i)
        if (characterCount(index.scenarios[i].name) > Case::kNameLimit)
            return problem(CaseFileProblem::Kind::IndexDamaged, static_cast<int>(i + 3),
                           messages::kScenarioNameTooLong);
    // The base saved since without its scenarios (or the save stopped
    // between the two): the index is an older one's.
    const auto base = readWholeFile(path);
    if (!base.ok() || fingerprintOf(base.value()) != index.base)
        return problem(CaseFileProblem::Kind::IndexStale, 0, {});

    for (const CaseIndexEntry& entry : index.scenarios)
        files.scenarios.push_back({entry.name, entry.file.empty() ? path : inFolder(scenarioFolderOf(path), entry.file),
                                   entry.current, entry.paper});
    return files;
}

CaseOpening openCaseScenarios(Case& scenarios, const std::string& path) {
    CaseOpening opening;
    const CaseFiles files = readCaseFiles(path);
    if (!files.hadIndex) return opening;
    opening.hadIndex = true;
    opening.replacedUnsaved = scenarios.keepOnlyCurrent();
    // A case of its own from now on, even when only its base opens.
    scenarios.rename(0, kBaseName);
    if (files.problem) {
        opening.problems.push_back(*files.problem);
        return opening;
    }

    scenarios.rename(0, files.scenarios[0].name);
    scenarios.setForPaper(0, files.scenarios[0].paper);
    size_t current = 0;
    Platform& platform = scenarios.document(0).platform();
    for (size_t i = 1; i < files.scenarios.size(); ++i) {
        const CaseFiles::Scenario& entry = files.scenarios[i];
        auto form = std::make_unique<Form>(platform);
        if (auto started = form->startFromFile(entry.path, path); !started.ok()) {
            opening.problems.push_back({CaseFileProblem::Kind::ScenarioNotRead, entry.name,
                                        fs::path(entry.path).filename().string(), 0,
                                        std::move(started).failure().message});
            continue;
        }
        scenarios.adopt(entry.name, std::move(form));
        scenarios.setForPaper(scenarios.size() - 1, entry.paper);
        if (entry.current) current = scenarios.size() - 1;
    }
    scenarios.switchTo(current);
    return opening;
}

}  // namespace kbt2
