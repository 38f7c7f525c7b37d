// The translation catalogues: the reader on good and broken PO text, and the
// Spanish catalogue built into the program against the template of every
// text marked for translation.

#include "storage/po_catalogue.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "commands/premium_warnings.h"
#include "quote/language.h"
#include "quote/quote_summary.h"
#include "quote/quote_text.h"

namespace kbt2 {

extern const std::string_view kSpanishCatalogue;

namespace {

const std::string kSourceDir = KBT2_SOURCE_DIR;

std::string fileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The names in braces of a text: "{share} of {limit}" -> {"limit", "share"}.
std::multiset<std::string> placeholders(const std::string& text) {
    std::multiset<std::string> names;
    for (size_t open = text.find('{'); open != std::string::npos; open = text.find('{', open + 1)) {
        const size_t close = text.find('}', open);
        if (close == std::string::npos) break;
        names.insert(text.substr(open + 1, close - open - 1));
    }
    return names;
}

std::vector<PoEntry> entriesOf(std::string_view text) {
    const auto parsed = parsePoCatalogue(text);
    EXPECT_TRUE(parsed.ok()) << (parsed.ok() ? "" : parsed.failure().reason) << " on line "
                             << (parsed.ok() ? 0 : parsed.failure().line);
    return parsed.ok() ? parsed.value() : std::vector<PoEntry>{};
}

TEST(SpanishCatalogue, EveryTextMarkedForTranslationHasAWholeSpanishOne) {
    const std::string pot = fileText(kSourceDir + "/po/kbt2.pot");
    ASSERT_FALSE(pot.empty()) << kSourceDir << "/po/kbt2.pot";
    const std::vector<PoEntry> marked = entriesOf(pot);
    const std::vector<PoEntry> spanish = entriesOf(kSpanishCatalogue);
    ASSERT_GT(marked.size(), 100u);
    std::set<std::string> templateIds;
    for (const PoEntry& entry : marked) templateIds.insert(entry.id);
    for (const PoEntry& entry : spanish) {
        if (entry.id.empty()) {
            EXPECT_NE(entry.str.find("charset=UTF-8"), std::string::npos);
            continue;
        }
        // The built-in catalogue is the one in the source tree, merged with
        // the template (scripts/update-po.sh).
        EXPECT_TRUE(templateIds.contains(entry.id)) << "not in po/kbt2.pot: " << entry.id;
        EXPECT_FALSE(entry.fuzzy) << entry.id;
        EXPECT_FALSE(entry.str.empty()) << entry.id;
        EXPECT_EQ(placeholders(entry.str), placeholders(entry.id)) << entry.id << "\n" << entry.str;
        EXPECT_EQ(entry.str.find('\n') == std::string::npos, entry.id.find('\n') == std::string::npos) << entry.id;
    }
    const PoTable table = translationTable(spanish);
    for (const PoEntry& entry : marked) {
        if (!entry.id.empty()) {
            EXPECT_TRUE(table.contains(entry.id)) << "no Spanish for: " << entry.id;
        }
    }
}

TEST(SpanishCatalogue, TheWordsOfThePaperComeOutInSpanishAndTheFiguresStay) {
    EXPECT_EQ(translated(Language::Spanish, "Coverage"), "Cobertura");
    EXPECT_EQ(translated(Language::English, "Coverage"), "Coverage");
    EXPECT_EQ(translated(Language::Spanish, "a text no catalogue has"), "a text no catalogue has");
    for (const PremiumWarningTexts& texts : kPremiumWarningTexts)
        for (const char* words : {texts.summary, texts.meaning, texts.step})
            EXPECT_NE(translated(Language::Spanish, words), words) << words;
    EXPECT_EQ(coverageText(".75", Language::Spanish), ".75 (cobertura del 75%)");
    EXPECT_EQ(coverageText(".75"), ".75 (75% coverage)");
    EXPECT_NE(plainWords(Language::Spanish).at(1).find("MPCI es el seguro"), std::string::npos);
    EXPECT_EQ(plainWords(Language::Spanish).size(), plainWords().size());
}

TEST(SpanishCatalogue, LanguagesAreChosenByTheirCodeOnly) {
    EXPECT_EQ(languageOfCode("es"), Language::Spanish);
    EXPECT_EQ(languageOfCode("en"), Language::English);
    for (const char* code : {"", "xx", "ES", "es ", "spanish", "e"})
        EXPECT_FALSE(languageOfCode(code).has_value()) << code;
    EXPECT_EQ(std::string(languageInfo(Language::Spanish).code), "es");
}

TEST(PoCatalogue, ReadsTheFormsTheToolsWrite) {
    const std::vector<PoEntry> entries = entriesOf(
        "# a translator's note\r\n"
        "msgid \"\"\r\n"
        "msgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\r\n"
        "\r\n"
        "#: paint/quote_summary_pdf.cpp:12\n"
        "msgid \"Two \"\n"
        "  \"lines\\tand \\\"quotes\\\" \\101\\x42\"\n"
        "msgstr \"\"\n"
        "\"Dos líneas\"\n"
        "\n"
        "#, fuzzy, no-c-format\n"
        "msgid \"Guess\"\n"
        "msgstr \"Adivinanza\"\n"
        "\n"
        "msgid \"Empty\"\n"
        "msgstr \"\"\n"
        "msgctxt \"menu\"\n"
        "msgid \"Open\"\n"
        "msgstr \"Abrir\"\n"
        "msgid \"file\"\n"
        "msgid_plural \"files\"\n"
        "msgstr[0] \"archivo\"\n"
        "msgstr[1] \"archivos\"\n"
        "#~ msgid \"Gone\"\n"
        "#~ msgstr \"Ido\"\n"
        "msgid \"Open\"\n"
        "msgstr \"Abierto\"");
    ASSERT_EQ(entries.size(), 7u);
    EXPECT_EQ(entries[1].id, "Two lines\tand \"quotes\" AB");
    EXPECT_EQ(entries[1].str, "Dos líneas");
    EXPECT_EQ(entries[1].line, 6u);
    EXPECT_TRUE(entries[2].fuzzy);
    EXPECT_FALSE(entries[3].fuzzy);
    EXPECT_EQ(entries[4].context, "menu");
    EXPECT_TRUE(entries[5].plural);
    // A fuzzy or empty translation leaves the English; so do a context and
    // plural forms, which the paper does not use.
    EXPECT_EQ(translationTable(entries),
              (PoTable{{"Open", "Abierto"}, {"Two lines\tand \"quotes\" AB", "Dos líneas"}}));
}

struct BrokenCase {
    const char* name;
    std::string text;
    size_t line;
    const char* reason;  // a part of it
};

// clang-format off
const BrokenCase kBroken[] = {
    {"NotClosed",          "msgid \"open\nmsgstr \"x\"\n",                     1, "not closed"},
    {"EndsInABackslash",   "msgid \"a\\",                                       1, "not closed"},
    {"UnknownEscape",      "msgid \"a\\q\"\nmsgstr \"b\"\n",                     1, "escape \\q"},
    {"ANulByte",           "msgid \"a\\0\"\nmsgstr \"b\"\n",                     1, "NUL"},
    {"NoQuotes",           "msgid hello\nmsgstr \"b\"\n",                        1, "double quotes"},
    {"MoreAfterTheString", "msgid \"a\" \"b\"\nmsgstr \"c\"\n",                  1, "more on the line"},
    {"NoMsgstr",           "msgid \"a\"\n\nmsgid \"b\"\nmsgstr \"c\"\n",         1, "no msgstr"},
    {"NoMsgstrAtTheEnd",   "msgid \"a\"\nmsgstr \"b\"\nmsgid \"c\"",            3, "no msgstr"},
    {"MsgstrFirst",        "msgstr \"b\"\n",                                     1, "does not follow"},
    {"TwoMsgstr",          "msgid \"a\"\nmsgstr \"b\"\nmsgstr \"c\"\n",         3, "does not follow"},
    {"UnknownKeyword",     "msgid \"a\"\nmsgtext \"b\"\n",                       2, "unknown keyword msgtext"},
    {"LooseString",        "\"a\"\nmsgid \"a\"\nmsgstr \"b\"\n",                 1, "continues no keyword"},
    {"CommentInside",      "msgid \"a\"\n# note\nmsgstr \"b\"\n",                2, "inside an entry"},
    {"ContextAlone",       "msgctxt \"c\"\n\nmsgid \"a\"\nmsgstr \"b\"\n",       2, "not followed by a msgid"},
    {"PluralOutOfOrder",   "msgid \"a\"\nmsgid_plural \"as\"\nmsgstr[1] \"x\"\n", 3, "next plural form"},
    {"PluralWithoutId",    "msgid \"a\"\nmsgstr[0] \"x\"\n",                     2, "next plural form"},
    {"Twice",              "msgid \"a\"\nmsgstr \"b\"\n\nmsgid \"a\"\nmsgstr \"c\"\n", 4, "twice"},
    {"NotUtf8",            "msgid \"a\"\nmsgstr \"caf\\351\"\n",                1, "not UTF-8"},
    {"AnotherCharset",     "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n", 1, "ISO-8859-1, not UTF-8"},
    {"TooLarge",           std::string(kLargestPoCatalogue + 1, '#'),           1, "larger than 4 MiB"},
};
// clang-format on

class BrokenPo : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenPo, IsRefusedWithItsLineAndReason) {
    const BrokenCase& c = GetParam();
    const auto parsed = parsePoCatalogue(c.text);
    ASSERT_FALSE(parsed.ok());
    EXPECT_EQ(parsed.failure().line, c.line);
    EXPECT_NE(parsed.failure().reason.find(c.reason), std::string::npos) << parsed.failure().reason;
}

INSTANTIATE_TEST_SUITE_P(Cases, BrokenPo, ::testing::ValuesIn(kBroken),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PoCatalogue, NothingAtAllIsAnEmptyCatalogue) {
    for (const char* text : {"", "\n\n", "# only a comment\n", "\xEF\xBB\xBF"}) {
        const auto parsed = parsePoCatalogue(text);
        ASSERT_TRUE(parsed.ok()) << text;
        EXPECT_TRUE(parsed.value().empty());
    }
}

}  // namespace
}  // namespace kbt2
