#pragma once
// The language of the farmer's paper (the quote summary and the renewal
// letter): English, or Spanish from the catalogue po/es.po built into the
// program. The figures are the same in every language; only the words differ.

#include <optional>
#include <string_view>

#include "worksheet/translatable.h"

namespace kbt2 {

enum class Language { English, Spanish };

struct LanguageInfo {
    Language language;
    const char* code;  // "en", as kbt2-quote's --language takes it
    const char* name;  // in its own words, as the window offers it
};

inline constexpr LanguageInfo kLanguages[] = {
    {Language::English, "en", "English"},
    {Language::Spanish, "es", "Español"},
};

// The language of a code of kLanguages; none for any other text.
std::optional<Language> languageOfCode(std::string_view code);
const LanguageInfo& languageInfo(Language language);

// `english`, a text marked with N_, in `language`: the catalogue's
// translation, or the English itself where the catalogue has none (or only
// an empty or fuzzy one).
std::string_view translated(Language language, std::string_view english);

}  // namespace kbt2
