// Every reader of the eligibility warnings handles every kind of calc's
// table, and tells each kind apart: a kind a reader does not know would show
// nothing, or the words of another.

#include "commands/premium_warnings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "calc/numbers.h"
#include "commands/clear.h"
#include "commands/field_draft.h"
#include "commands/messages.h"
#include "commands/premium.h"
#include "commands/premium_fields.h"
#include "commands/premium_watch_fields.h"
#include "commands/save_load.h"
#include "fake_platform.h"
#include "made_up_rates.h"
#include "quote/fresh_quote.h"
#include "quote/quote_text.h"
#include "quote/quote_worksheet.h"
#include "storage/report.h"
#include "storage_test_support.h"

namespace kbt2 {
namespace {

using testing_support::FakePlatform;
using testing_support::MadeUpRates;

std::string kindName(PremiumWarning kind) {
    return "kind " + std::to_string(static_cast<int>(kind)) + " (" + premiumWarningTexts(kind).token + ")";
}

// Page 9 after the premium wrote this one warning: the field that says
// "Yes" and the message shown, or nothing unless exactly one does and every
// other result says "No".
std::string pageNine(PremiumWarning kind) {
    Worksheet ws;
    FakePlatform platform;
    FieldDraft draft(ws);
    clearWarningResults(draft);
    writeWarning(draft, kind);
    draft.commit(ws, platform);
    std::vector<std::string> yes;
    for (const ControlInfo& c : kControls)
        for (int i = 0; i < c.slots(); ++i)
            if (ws.text({c.control, i}) == "Yes") yes.push_back(refName({c.control, i}));
    for (const PremiumWarningTexts& other : kPremiumWarningTexts)
        if (other.kind != kind && ws.text({other.result}) != "No") return {};
    if (yes.size() != 1 || platform.messages.size() != 1) return {};
    return yes.front() + ": " + platform.messages.front().text;
}

// The summary's words for this one warning, when they name its limit.
std::string summaryWords(PremiumWarning kind) {
    QuoteSummary s;
    s.premium.warnings = {kind};
    s.premium.livestockShare = s.premium.livestockOrInsurableShare = 0.9;
    const std::vector<std::string> words = eligibilityWarnings(s);
    const std::string limit = plainText(premiumWarningTest(kind).limit * 100) + "%";
    if (words.size() != 1 || words.front().find(limit) == std::string::npos) return {};
    return words.front();
}

// What the paper says the warning means for the farm, when it names its limit.
std::string paperMeaning(PremiumWarning kind) {
    QuoteSummary s;
    s.premium.warnings = {kind};
    const std::vector<EligibilityNotice> notices = eligibilityNotices(s);
    const std::string limit = plainText(premiumWarningTest(kind).limit * 100) + "%";
    if (notices.size() != 1 || notices.front().meaning.find(limit) == std::string::npos) return {};
    return notices.front().meaning;
}

// The details' sentence on the tests, one clause per kind, each naming its limit.
std::string stepClause(PremiumWarning kind) {
    QuoteSummary s;
    s.commodities.resize(1);
    for (const std::string& step : premiumSteps(s)) {
        if (step.find("(the limit is ") == std::string::npos) continue;
        std::vector<std::string> clauses;
        for (size_t at = 0, end; at < step.size(); at = end + 2) {
            end = std::min(step.find("; ", at), step.size());
            clauses.push_back(step.substr(at, end - at));
        }
        const std::string limit = "(the limit is " + plainText(premiumWarningTest(kind).limit) + ")";
        const auto k = static_cast<size_t>(kind);
        if (clauses.size() != kPremiumWarningKinds || clauses[k].find(limit) == std::string::npos) return {};
        return clauses[k];
    }
    return {};
}

std::string watchedResult(PremiumWarning kind) {
    for (const WatchedField& output : kPremiumSingleOutputs)
        if (output.field == FieldRef{premiumWarningTexts(kind).result}) return std::string(output.name);
    return {};
}

// The result, when Clear empties it.
std::string cleared(PremiumWarning kind) {
    Worksheet ws;
    const FieldRef result{premiumWarningTexts(kind).result};
    ws.setText(result, "Yes");
    clearClick(ws);
    return ws.text(result).empty() ? refName(result) : std::string();
}

// The printed report's line that shows the result.
std::string reportLine(PremiumWarning kind) {
    Worksheet ws;
    ws.setText({premiumWarningTexts(kind).result}, "Yes");
    std::string found;
    for (const std::string& line : renderPlainText(composeReport(ws)))
        if (line.find("Yes") != std::string::npos) found = found.empty() ? line : "more than one line";
    return found;
}

struct Reader {
    const char* name;
    std::string (*shows)(PremiumWarning);
};
// clang-format off
const Reader kReaders[] = {
    {"commands/messages.cpp: the message box",           [](PremiumWarning k) { return messages::premiumWarning(k).text; }},
    {"commands/premium_fields.cpp: page 9's result",     pageNine},
    {"commands/premium_watch_fields.h: the watch's name", watchedResult},
    {"commands/clear.cpp: Clear",                        cleared},
    {"storage/report.cpp: the printed report",           reportLine},
    {"quote/quote_worksheet.cpp: kbt2-quote's token",    [](PremiumWarning k) { return std::string(premiumWarningTexts(k).token); }},
    {"app/quote/compare_format.cpp: --compare's change", [](PremiumWarning k) { return std::string(premiumWarningTexts(k).change); }},
    {"quote/quote_text.cpp: the summary's words",        summaryWords},
    {"quote/quote_text.cpp: the paper's meaning",        paperMeaning},
    {"quote/quote_text.cpp: the details' step",          stepClause},
};
// clang-format on

TEST(PremiumWarnings, EveryReaderShowsEveryKindApart) {
    for (const Reader& reader : kReaders) {
        std::set<std::string> shown;
        for (const PremiumWarningTest& test : kPremiumWarnings) {
            const std::string text = reader.shows(test.kind);
            EXPECT_FALSE(text.empty()) << reader.name << " shows nothing of " << kindName(test.kind);
            EXPECT_TRUE(shown.insert(text).second)
                << reader.name << " shows " << kindName(test.kind) << " as another kind: " << text;
        }
    }
}

// calc: a share of exactly its limit passes, a thousandth more warns of its
// kind alone.
TEST(PremiumWarnings, EachTestWarnsOnlyAboveItsLimit) {
    for (const PremiumWarningTest& test : kPremiumWarnings) {
        SCOPED_TRACE("calc/premium.h: " + kindName(test.kind));
        EXPECT_GT(test.limit, 0);
        EXPECT_LT(test.limit, 1);
        PremiumFigures f;
        f.*test.share = test.limit;
        EXPECT_TRUE(premiumWarnings(f).empty());
        f.*test.share = roundThousandths(test.limit + 0.001);
        EXPECT_EQ(premiumWarnings(f), std::vector<PremiumWarning>{test.kind});
    }
}

// A Kent county farm of livestock only is over every limit: the window, a
// fresh quote and kbt2-quote's quote each tell every warning, in the
// table's order.
TEST(PremiumWarnings, AFarmOverEveryLimitIsWarnedOfEveryKind) {
    Worksheet ws;
    ws.select({Control::St, 0});
    ws.select({Control::Mi1, 2});
    for (int year = 0; year < 5; ++year) {
        ws.setText({Control::Allinc1, year}, "1000");
        ws.setText({Control::Allexp1, year}, "0");
    }
    ws.setText({Control::Averageinc}, "1000");
    for (int row = 0; row < 2; ++row) {
        ws.setText({Control::Cropname1, row}, "Herd " + std::to_string(row));
        ws.setText({Control::Unit1, row}, std::to_string(801 + row));
        ws.setText({Control::Totamt1, row}, "100");
        ws.setText({Control::Expval1, row}, "1");
    }
    MadeUpRates rates({'Y', 'Y'});
    std::vector<PremiumWarning> every;
    std::vector<std::string> messageTexts;
    std::vector<std::string> tokens;
    for (const PremiumWarningTexts& texts : kPremiumWarningTexts) {
        every.push_back(texts.kind);
        messageTexts.push_back(texts.message);
        tokens.push_back(texts.token);
    }

    const std::filesystem::path file = storage_testing::scratchFolder("farm") / "herds.wsk";
    ASSERT_TRUE(writeWorksheetFile(ws, file.string()).ok());
    EXPECT_EQ(quote::quoteWorksheet(file.string(), rates).warnings, tokens) << "quote/quote_worksheet.cpp";

    FakePlatform quiet;
    const FreshQuote fresh = freshQuote(ws, quiet, rates, "herds.wsk", false);
    ASSERT_TRUE(fresh.summary) << fresh.problem;
    EXPECT_EQ(fresh.summary->premium.warnings, every) << "quote/fresh_quote.cpp";
    EXPECT_EQ(eligibilityWarnings(*fresh.summary).size(), every.size()) << "quote/quote_text.cpp";

    FakePlatform platform;
    const PremiumOutcome outcome = command4Click(ws, platform, rates);
    ASSERT_TRUE(outcome.calculated());
    EXPECT_EQ(outcome.figures->warnings, every) << "calc/premium.cpp";
    EXPECT_EQ(platform.messageTexts(), messageTexts) << "commands/premium.cpp";
    for (const PremiumWarningTexts& texts : kPremiumWarningTexts)
        EXPECT_EQ(ws.text({texts.result}), "Yes") << "commands/premium.cpp: " << kindName(texts.kind);
}

}  // namespace
}  // namespace kbt2
