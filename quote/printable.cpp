#include "quote/printable.h"

namespace kbt2::quote {

std::string printable(std::string text, PrintableAs as) {
    for (char& c : text) {
        if (as == PrintableAs::Name && (c == '\r' || c == '\n'))
            c = ' ';
        else if (as == PrintableAs::Argument && (static_cast<unsigned char>(c) < 0x20 || c == 0x7f))
            c = '?';
    }
    return text;
}

}  // namespace kbt2::quote
