#pragma once
// The C library's words for a system error number, always in its "C"
// locale: the window's toolkit sets the desktop's locale, whose language
// would otherwise reach messages, files and scripted output, mixed into
// English sentences.

#include <string>

namespace kbt2 {

// "No such file or directory" for ENOENT, whatever the locale.
std::string systemErrorText(int number);

}  // namespace kbt2
