#pragma once
// The words of the farmer's paper as the drawing takes them: a text marked
// with N_ in the paper's language, its figures filled in where it has them.

#include <QString>
#include <string>

#include "paint/qt_text.h"
#include "quote/language.h"
#include "quote/quote_text.h"

namespace kbt2::paint {

inline QString paperWords(Language language, const char* english) { return toQString(translated(language, english)); }

inline QString paperWords(Language language, const char* english, Figures figures) {
    return toQString(sentence(language, english, figures));
}

}  // namespace kbt2::paint
