#include "quote/language.h"

#include <algorithm>
#include <iterator>

#include "storage/po_catalogue.h"

namespace kbt2 {

// The bytes of po/es.po, put into the program by the build.
extern const std::string_view kSpanishCatalogue;

namespace {

// The Spanish words, read once. A catalogue that does not read leaves the
// English standing; the tests read the shipped one.
const PoTable& spanish() {
    static const PoTable table = [] {
        const auto entries = parsePoCatalogue(kSpanishCatalogue);
        return entries.ok() ? translationTable(entries.value()) : PoTable{};
    }();
    return table;
}

}  // namespace

std::optional<Language> languageOfCode(std::string_view code) {
    for (const LanguageInfo& info : kLanguages)
        if (code == info.code) return info.language;
    return std::nullopt;
}

const LanguageInfo& languageInfo(Language language) {
    const auto info = std::ranges::find(kLanguages, language, &LanguageInfo::language);
    return info == std::end(kLanguages) ? kLanguages[0] : *info;
}

std::string_view translated(Language language, std::string_view english) {
    if (language == Language::English) return english;
    const PoTable& table = spanish();
    const auto found = table.find(english);
    return found == table.end() ? english : std::string_view(found->second);
}

}  // namespace kbt2
