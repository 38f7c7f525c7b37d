#pragma once
// How kbt2-quote writes a text from outside (a file's name, an argument of
// its command line) into a line of standard error: on that one line.

#include <string>

namespace kbt2::quote {

enum class PrintableAs {
    // A file's or a folder's name: each line break (CR, LF) made a blank,
    // every other byte as it stands.
    Name,
    // An argument not understood: every control character, and DEL, made '?'.
    Argument,
};

std::string printable(std::string text, PrintableAs as = PrintableAs::Name);

}  // namespace kbt2::quote
