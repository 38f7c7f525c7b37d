#pragma once
// The index of a case's scenarios, kept beside the base worksheet file: which
// worksheet file holds each scenario, its name, its flags and which one is
// current. Outside input: the reader takes only what the writer writes.
//
//   KBT2 case 1
//   base 2291 0f1e2d3c4b5a6978
//   scenario - c base
//   scenario 02-hay-added.wsk p Hay added
//
// Lines end in CR LF (a bare LF is read too). The base line gives the size
// and the FNV-1a hash of the base file as it was saved with the index; the
// scenario lines follow in the case's order, the first being the base, whose
// file is the base file itself ("-"). A flag is a letter: "c" the current
// scenario (exactly one), "p" one ticked for the paper; "-" is no flag. The
// name is the rest of the line, with '%', control bytes and DEL written as
// %XX.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kbt2 {

// What identifies the bytes of a base file.
struct FileFingerprint {
    uint64_t size = 0;
    uint64_t hash = 0;
    bool operator==(const FileFingerprint&) const = default;
};
FileFingerprint fingerprintOf(std::string_view bytes);

struct CaseIndexEntry {
    std::string file;  // empty for the base
    std::string name;
    bool current = false;
    bool paper = false;
    bool operator==(const CaseIndexEntry&) const = default;
};

struct CaseIndex {
    FileFingerprint base;
    std::vector<CaseIndexEntry> scenarios;
    bool operator==(const CaseIndex&) const = default;
};

struct CaseIndexError {
    int line = 0;  // 1-based
    std::string reason;
};

// The most scenarios a case keeps in its files.
inline constexpr size_t kMostScenarioFiles = 99;
// The most bytes of an index, and of a scenario's name in it.
inline constexpr size_t kLargestCaseIndex = size_t{64} * 1024;

std::string formatCaseIndex(const CaseIndex& index);
std::variant<CaseIndex, CaseIndexError> parseCaseIndex(std::string_view text);

// A scenario file's name as the index may hold it: letters, digits, '-', '_'
// and '.', ending in ".wsk", not starting with '.', at most 64 bytes.
bool isScenarioFileName(std::string_view name);

}  // namespace kbt2
