#include "app/json/json_writer.h"

#include "calc/numbers.h"
#include "storage/text_encoding.h"

namespace kbt2::json {

std::string escaped(std::string_view text, Escapes escapes) {
    std::string decoded;
    if (escapes == Escapes::Json && !isValidUtf8(text)) {
        decoded = windows1252ToUtf8(text);
        text = decoded;
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (escapes == Escapes::Json && static_cast<unsigned char>(c) < 0x20) {
                out += "\\u00";
                out += kHex[static_cast<unsigned char>(c) >> 4];
                out += kHex[static_cast<unsigned char>(c) & 0xf];
            } else {
                out += c;
            }
        }
    }
    return out + '"';
}

std::string number(double value) { return plainText(value); }

Object& Object::raw(std::string_view key, std::string_view json) {
    // The keys are the program's own names, plain ASCII: nothing to escape.
    if (text_.size() > 1) text_ += ',';
    text_ += '"';
    text_ += key;
    text_ += "\":";
    text_ += json;
    return *this;
}

Array& Array::raw(std::string_view json) {
    if (text_.size() > 1) text_ += ',';
    text_ += json;
    return *this;
}

}  // namespace kbt2::json
