#pragma once
// A case kept in files: the base as a plain worksheet file, byte for byte
// what Save writes, and beside it a folder "NAME.scenarios" holding every
// other scenario as a plain worksheet file of its own and the index that
// names them (storage/case_index.h). A case of the base alone writes no
// folder, so the Load button, older copies and the batch read every file as
// before. docs/case-files.md tells the layout.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/case.h"
#include "commands/save_load.h"
#include "worksheet/worksheet.h"

namespace kbt2 {

// What the name of a case's folder adds to its base's: "farm.wsk.scenarios".
inline constexpr std::string_view kScenarioFolderSuffix = ".scenarios";
// The folder beside `basePath` and the index in it.
std::string scenarioFolderOf(const std::string& basePath);
std::string caseIndexPathOf(const std::string& basePath);

// Writes every scenario of the case: the first as the base at `path`, the
// others in the folder beside it, then the index. Each file is written whole
// or not at all, and nothing takes its place before every file is written
// out; the base is never touched when a scenario cannot be written. Every
// scenario then belongs to `path` as saved. A case of the base alone writes
// only the base, as Save does, and takes away an index left beside it by an
// earlier save, so scenarios removed since stay removed.
WorksheetFileOutcome saveCase(Case& scenarios, const std::string& path);

// After a base-alone save of `path` by other means (the Save button): an
// index of an earlier save beside it no longer belongs to it. An index that
// is not one the case writes is left alone; so are the scenario files.
void retireCaseIndex(const std::string& path);

// Something of a case that could not be opened.
struct CaseFileProblem {
    enum class Kind {
        IndexUnreadable,  // the index: reason
        IndexDamaged,     // the index: line, reason
        IndexStale,       // the base was saved since without the index
        ScenarioNotRead,  // a scenario: name, file, reason (the whole message)
    };
    Kind kind;
    std::string name;
    std::string file;
    int line = 0;
    std::string reason;
};

// The files of a case as its index beside `basePath` names them, before
// any is opened.
struct CaseFiles {
    struct Scenario {
        std::string name;
        std::string path;  // the worksheet file: the base's own path first
        bool current = false;
        bool paper = false;
    };
    bool hadIndex = false;
    // Empty when there is no index or it cannot be used (then `problem`).
    std::vector<Scenario> scenarios;
    std::optional<CaseFileProblem> problem;
};
// Reads the index beside `basePath` and checks it against the base file.
CaseFiles readCaseFiles(const std::string& basePath);

struct CaseOpening {
    bool hadIndex = false;  // the file is a case's base: the case was replaced
    std::vector<CaseFileProblem> problems;
    // The work not saved of the scenarios that were in the case before.
    std::vector<Worksheet::Snapshot> replacedUnsaved;
};

// After the live form opened the base at `path`: brings back the other
// scenarios the index beside it names, in their order, and the current one.
// Without an index nothing changes. With one, the case before is replaced;
// a scenario whose file is missing or damaged is left out, an index that is
// damaged or older than the base opens the base alone, and each is named.
CaseOpening openCaseScenarios(Case& scenarios, const std::string& path);

}  // namespace kbt2
