#pragma once
// The one place texts are escaped between double quotes, and a small writer
// of JSON objects and arrays for kbt2-quote's lines. The driver quotes its
// texts with the same escaper, keeping its own, smaller set of escapes.

#include <string>
#include <string_view>

namespace kbt2::json {

// Which characters a quoted text escapes. Both escape the quote, the
// backslash, line feed, carriage return and tab (\" \\ \n \r \t).
enum class Escapes {
    // JSON: every other control character too, as \u00XX with lower-case
    // hex digits; a text that is not UTF-8 (a file name from an older
    // installation) is read as Windows-1252 first, so the line stays JSON.
    Json,
    // The driver's output: every other byte stands as it is.
    Driver,
};

// `text` between double quotes, escaped.
std::string escaped(std::string_view text, Escapes escapes = Escapes::Json);

// Numbers as the worksheet writes them: plain decimal, never an exponent.
std::string number(double value);

// One JSON object, built key by key in the order given (no line end).
class Object {
public:
    // A value already written as JSON (an object, an array, null).
    Object& raw(std::string_view key, std::string_view json);
    Object& text(std::string_view key, std::string_view value) { return raw(key, escaped(value)); }
    Object& number(std::string_view key, double value) { return raw(key, json::number(value)); }
    Object& flag(std::string_view key, bool value) { return raw(key, value ? "true" : "false"); }
    std::string done() const { return text_ + "}"; }

private:
    std::string text_ = "{";
};

// One JSON array, built item by item.
class Array {
public:
    Array& raw(std::string_view json);
    Array& text(std::string_view value) { return raw(escaped(value)); }
    Array& number(double value) { return raw(json::number(value)); }
    std::string done() const { return text_ + "]"; }

private:
    std::string text_ = "[";
};

// An array of one JSON value per item, `write` making each.
template <typename Items, typename Write>
std::string arrayOf(const Items& items, Write write) {
    Array array;
    for (const auto& item : items) array.raw(write(item));
    return array.done();
}

}  // namespace kbt2::json
