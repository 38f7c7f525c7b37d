// The one escaper of texts in double quotes, in both its sets of escapes:
// JSON for kbt2-quote's lines, and the driver's smaller set, which leaves
// every other byte as it stands. And the objects and arrays built on it.

#include "app/json/json_writer.h"

#include <gtest/gtest.h>

#include <string>

namespace kbt2::json {
namespace {

struct EscapeCase {
    const char* name;
    std::string text;
    std::string asJson;
    std::string forDriver;
};

// clang-format off
const EscapeCase kEscapeCases[] = {
    {"Plain",          "Jane Doe",         "\"Jane Doe\"",             "\"Jane Doe\""},
    {"Empty",          "",                 "\"\"",                     "\"\""},
    {"QuoteBackslash", "a\"b\\c",          "\"a\\\"b\\\\c\"",          "\"a\\\"b\\\\c\""},
    {"LineBreaksTab",  "a\r\nb\tc",        "\"a\\r\\nb\\tc\"",         "\"a\\r\\nb\\tc\""},
    {"OtherControls",  "\x01\b\f\x1f",     "\"\\u0001\\u0008\\u000c\\u001f\"", "\"\x01\b\f\x1f\""},
    {"Nul",            std::string("a\0b", 3), "\"a\\u0000b\"",     std::string("\"a\0b\"", 5)},
    {"DeleteStands",   "\x7f",             "\"\x7f\"",                 "\"\x7f\""},
    {"Utf8Stands",     "M\xc3\xbcller",    "\"M\xc3\xbcller\"",        "\"M\xc3\xbcller\""},
    {"Windows1252",    "M\xfcller \x80",   "\"M\xc3\xbcller \xe2\x82\xac\"", "\"M\xfcller \x80\""},
    {"Overlong",       "\xc0\xaf",         "\"\xc3\x80\xc2\xaf\"",     "\"\xc0\xaf\""},
};
// clang-format on

void PrintTo(const EscapeCase& c, std::ostream* os) { *os << c.name; }

class Escaping : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(Escaping, EachSetEscapesItsOwnCharacters) {
    const EscapeCase& c = GetParam();
    EXPECT_EQ(escaped(c.text), c.asJson);
    EXPECT_EQ(escaped(c.text, Escapes::Json), c.asJson);
    EXPECT_EQ(escaped(c.text, Escapes::Driver), c.forDriver);
}

INSTANTIATE_TEST_SUITE_P(Cases, Escaping, ::testing::ValuesIn(kEscapeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(JsonWriter, KeysAndItemsInTheOrderGivenWithCommasOnlyBetween) {
    EXPECT_EQ(Object().done(), "{}");
    EXPECT_EQ(Array().done(), "[]");
    EXPECT_EQ(Object()
                  .text("name", "Corn \"yellow\"")
                  .number("kbt", 1e15)
                  .number("share", -0.25)
                  .flag("livestock", false)
                  .raw("line", "null")
                  .raw("rates", Array().number(0.052).text("x").raw("{}").done())
                  .done(),
              "{\"name\":\"Corn \\\"yellow\\\"\",\"kbt\":1000000000000000,\"share\":-0.25,\"livestock\":false,"
              "\"line\":null,\"rates\":[0.052,\"x\",{}]}");
    const std::string codes[] = {"41", "5\n4"};
    EXPECT_EQ(arrayOf(codes, [](const std::string& code) { return escaped(code); }), "[\"41\",\"5\\n4\"]");
}

}  // namespace
}  // namespace kbt2::json
