#pragma once
// The character sets a worksheet file can come in. Files are written in
// UTF-8; files from older installations are in Windows-1252.

#include <string>
#include <string_view>

namespace kbt2 {

// True for well-formed UTF-8 (no overlong forms, no surrogates, nothing past
// U+10FFFF).
bool isValidUtf8(std::string_view bytes);

// Converts Windows-1252 text to UTF-8. The five bytes that code page leaves
// undefined map to the control characters of the same number, as Windows
// itself reads them.
std::string windows1252ToUtf8(std::string_view bytes);

// The file's text as UTF-8: unchanged when it is valid UTF-8 (a leading byte
// order mark dropped), else read as Windows-1252.
std::string decodeFileText(std::string_view bytes);

}  // namespace kbt2
