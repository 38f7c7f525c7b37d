#pragma once
// A translation catalogue in gettext's PO form, as a translator keeps it
// with poedit or msgmerge: entries of an English text (msgid) and its
// translation (msgstr), with comments, flags, contexts, plural forms and
// obsolete entries. Outside input: the reader takes the form as msgfmt does
// and refuses anything else with the line and the reason.
//
//   #. a note for the translator
//   #, fuzzy
//   msgid "Coverage"
//   msgstr "Cobertura"

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "worksheet/outcome.h"

namespace kbt2 {

struct PoEntry {
    std::string context;  // msgctxt; empty without one
    std::string id;       // msgid; empty for the catalogue's header
    std::string str;      // msgstr, or msgstr[0] of an entry with plural forms
    bool plural = false;  // msgid_plural and msgstr[N]
    bool fuzzy = false;   // flagged "fuzzy": a guess the translator has not confirmed
    size_t line = 0;      // of its msgid, from 1
};

struct PoFailure {
    size_t line = 0;  // from 1
    std::string reason;
};

// The most bytes of a catalogue the reader takes.
inline constexpr size_t kLargestPoCatalogue = size_t{4} * 1024 * 1024;

// Every entry in the file's order, header included; obsolete entries ("#~")
// are left out. Refused: a keyword out of its place, a string not closed or
// with an unknown escape, text that is not UTF-8, a header naming another
// character set, an entry without msgstr, the same msgid (and context) twice.
Outcome<std::vector<PoEntry>, PoFailure> parsePoCatalogue(std::string_view text);

// What a program looks its words up in: each English text without a context
// or plural forms to its translation. An entry whose translation is empty or
// fuzzy is left out, so its English stands.
using PoTable = std::map<std::string, std::string, std::less<>>;
PoTable translationTable(const std::vector<PoEntry>& entries);

}  // namespace kbt2
