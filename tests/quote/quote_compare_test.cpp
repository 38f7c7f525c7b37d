// kbt2-quote --compare against two plain runs of the same worksheets, one
// under each rate table: for a table of old and new rate files (a rate
// raised, a record removed or added, a flag flipped, a table missing) every
// figure of the comparison is the plain run's, the change and what moved are
// worked out right, and the exit status is the plain runs'. Also: the output
// of any number of threads is the one-thread output, in the order given.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "calc/numbers.h"
#include "commodities/catalogue.h"
#include "location/states.h"
#include "quote/compare_summary.h"
#include "quote/quote_text.h"
#include "run_process.h"
#include "storage/worksheet_file_format.h"
#include "storage_test_support.h"
#include "worksheet/worksheet.h"

namespace kbt2 {
namespace {

namespace fs = std::filesystem;
using testing_support::runProcess;

// RFC 4180 fields of one CSV line (without its line end).
std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (quoted && line[i] == '"' && i + 1 < line.size() && line[i + 1] == '"')
            fields.back() += line[++i];
        else if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ',' && !quoted)
            fields.emplace_back();
        else
            fields.back() += line[i];
    }
    return fields;
}

// The lines of a CSV output after its header, as named fields.
std::vector<std::map<std::string, std::string>> csvRows(const std::string& out) {
    std::istringstream in(out);
    std::string line;
    std::getline(in, line);
    line.pop_back();
    const std::vector<std::string> names = fieldsOf(line);
    std::vector<std::map<std::string, std::string>> rows;
    while (std::getline(in, line)) {
        EXPECT_EQ(line.back(), '\r');
        line.pop_back();
        const std::vector<std::string> fields = fieldsOf(line);
        EXPECT_EQ(fields.size(), names.size()) << line;
        std::map<std::string, std::string> row;
        for (size_t i = 0; i < names.size() && i < fields.size(); ++i) row[names[i]] = fields[i];
        rows.push_back(std::move(row));
    }
    return rows;
}

// A worksheet of one county with these catalogue commodities, priced from
// incomes every check passes.
std::string worksheetFile(const CountyInfo& county, const std::vector<size_t>& entries, int seed) {
    Worksheet ws;
    ws.setText({Control::Producer1, 0}, "Farm " + std::to_string(seed));
    for (const StateInfo& state : states())
        if (state.counties == county.array) ws.select({Control::St, state.index});
    ws.select({county.array, county.index});
    for (int year = 0; year < 5; ++year) {
        ws.setText({Control::Allinc1, year}, std::to_string(150000 + 9000 * year + seed * 101));
        ws.setText({Control::Allexp1, year}, std::to_string(30000 + 1000 * year));
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        const CommodityEntry& entry = catalogue()[entries[i]];
        const int row = static_cast<int>(i);
        ws.setText({Control::Cropname1, row}, std::string(entry.reportName));
        ws.setText({Control::Unit1, row}, std::to_string(entry.code));
        ws.setText({Control::Totamt1, row}, std::to_string(300 + 50 * seed + 70 * row));
        ws.setText({Control::Expval1, row}, std::to_string(20 + row) + ".5");
    }
    return formatWorksheetFile(ws);
}

// The commodity whose rate record the cases change, and the county it is in.
const CountyInfo& kCounty = counties()[2];
constexpr size_t kEntry = 3;

int stateCodeOf(const CountyInfo& county) {
    for (const StateInfo& state : states())
        if (state.counties == county.array) return state.code;
    return 0;
}

// The sample rate file's lines; `isRecord` tells the changed commodity's.
std::vector<std::string> sampleLines() {
    return storage_testing::crlfLines(storage_testing::readBytes(KBT2_SAMPLE_RATE_FILE));
}
bool isRecord(const std::string& line) {
    return line.size() >= 16 && numericValue(line.substr(0, 2)) == stateCodeOf(kCounty) &&
           numericValue(line.substr(7, 3)) == kCounty.code &&
           numericValue(line.substr(12, 4)) == catalogue()[kEntry].code;
}

using Edit = std::function<void(std::vector<std::string>&)>;
void raiseRate(std::vector<std::string>& lines) {
    for (std::string& line : lines)
        if (isRecord(line)) {
            for (const size_t at : {34, 45, 55}) line.replace(at, 5, "0.400");
        }
}
void removeRecord(std::vector<std::string>& lines) { std::erase_if(lines, isRecord); }
void flipFlags(std::vector<std::string>& lines) {
    for (std::string& line : lines)
        if (isRecord(line)) {
            line[18] = line[18] == 'Y' ? 'N' : 'Y';
            line[24] = line[24] == 'Y' ? 'N' : 'Y';
        }
}

struct RenewalCase {
    const char* name;
    Edit oldEdit;  // applied to the sample file for the old table
    Edit newEdit;  // and for the new one
    bool oldMissing = false;
    // On the changed commodity's lines: the change's sign and a name of `changes`.
    int sign = 0;
    const char* moved = "";
    // What the letter of the changed commodity alone says moved its premium.
    const char* reason = "";
};

const RenewalCase kCases[] = {
    {"SameTable", {}, {}, false, 0, ""},
    {"RateRaised", {}, raiseRate, false, 1, "rates", "at this level rose from"},
    {"RecordRemoved", {}, removeRecord, false, -1, "rates"},
    {"RecordAdded", removeRecord, {}, false, 1, "rates", "at this level rose from 0 to"},
    {"FlagsFlipped", {}, flipFlags, false, 0, "warning", "Nothing that sets this premium changed"},
    {"TableMissing", {}, {}, true, 0, ""},
};

void PrintTo(const RenewalCase& c, std::ostream* os) { *os << c.name; }

class QuoteCompare : public ::testing::TestWithParam<RenewalCase> {
protected:
    void SetUp() override {
        scratch_ = storage_testing::scratchFolder(std::string("compare-") + GetParam().name);
        fs::create_directories(scratch_ / "in");
        // The changed commodity alone, with others, and a county the edits miss.
        storage_testing::writeBytes(scratch_ / "in" / "a.wsk", worksheetFile(kCounty, {kEntry}, 1));
        storage_testing::writeBytes(scratch_ / "in" / "b.wsk", worksheetFile(kCounty, {kEntry, 7, 20, 41}, 2));
        storage_testing::writeBytes(scratch_ / "in" / "c.wsk", worksheetFile(counties()[9], {5, 9}, 3));
        storage_testing::writeBytes(scratch_ / "in" / "d.wsk", "not a worksheet");
    }
    std::string rateFile(const char* name, const Edit& edit) {
        std::vector<std::string> lines = sampleLines();
        if (edit) edit(lines);
        storage_testing::writeBytes(scratch_ / name, storage_testing::joinCrlf(lines));
        return (scratch_ / name).string();
    }
    testing_support::ProcessResult quote(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), KBT2_QUOTE);
        arguments.push_back((scratch_ / "in").string());
        return runProcess(arguments, scratch_);
    }
    fs::path scratch_;
};

TEST_P(QuoteCompare, EveryFigureIsThePlainRunsAndTheChangeIsWorkedOut) {
    const RenewalCase& c = GetParam();
    const std::string oldRates = c.oldMissing ? (scratch_ / "none.prn").string() : rateFile("old.prn", c.oldEdit);
    const std::string newRates = rateFile("new.prn", c.newEdit);
    const auto plainOld = quote({"--rates", oldRates});
    const auto plainNew = quote({"--rates", newRates});
    const auto compared = quote({"--rates", newRates, "--compare", oldRates});
    EXPECT_EQ(compared.status, std::max(plainOld.status, plainNew.status)) << compared.err;
    EXPECT_EQ(compared.status, 1);  // d.wsk
    if (c.oldMissing) {
        EXPECT_NE(compared.err.find(oldRates + ": no ordinary file"), std::string::npos);
    }

    // What each plain run showed, by file and coverage level.
    std::map<std::string, std::map<std::string, std::string>> before, after;
    for (auto& row : csvRows(plainOld.out)) before[row["file"] + "@" + row["coverage"]] = row;
    for (auto& row : csvRows(plainNew.out)) after[row["file"] + "@" + row["coverage"]] = row;

    std::vector<std::string> files;
    for (auto& row : csvRows(compared.out)) {
        const std::string key = row["file"] + "@" + row["coverage"];
        SCOPED_TRACE(key);
        if (files.empty() || files.back() != row["file"]) files.push_back(row["file"]);
        if (row["status"] == "error") {
            EXPECT_TRUE(before[key]["status"] == "error" || after[key]["status"] == "error");
            if (c.oldMissing && !row["file"].ends_with("d.wsk")) {
                EXPECT_NE(row["message"].find("under the old rate table " + oldRates + ": Ratefile.prn - cannot find"),
                          std::string::npos);
            }
            continue;
        }
        EXPECT_TRUE(row["producer"].starts_with("Farm ")) << row["producer"];
        if (!row["file"].ends_with("c.wsk")) {
            EXPECT_EQ(row["county"], kCounty.caption);
        }
        EXPECT_EQ(row["old_producer_premium"], before.count(key) ? before[key]["producer_premium"] : "");
        EXPECT_EQ(row["new_producer_premium"], after.count(key) ? after[key]["producer_premium"] : "");
        EXPECT_EQ(row["old_gross_premium"], before.count(key) ? before[key]["gross_premium"] : "");
        EXPECT_EQ(row["new_gross_premium"], after.count(key) ? after[key]["gross_premium"] : "");
        EXPECT_EQ(row["old_weighted_rate"], before.count(key) ? before[key]["weighted_rate"] : "");
        EXPECT_EQ(row["new_weighted_rate"], after.count(key) ? after[key]["weighted_rate"] : "");
        const double oldPremium = numericValue(row["old_producer_premium"]);
        const double change = numericValue(row["new_producer_premium"]) - oldPremium;
        EXPECT_EQ(row["change"], plainText(change));
        if (oldPremium == 0) {
            EXPECT_EQ(row["change_percent"], "");
        } else {
            // Per cent of the old premium, not of the new one.
            EXPECT_NEAR(numericValue(row["change_percent"]), change / oldPremium * 100, 0.05) << row["change_percent"];
        }
        if (!before.count(key)) {
            EXPECT_NE(row["changes"].find("level-offered"), std::string::npos);
        }
        if (!after.count(key)) {
            EXPECT_NE(row["changes"].find("level-withdrawn"), std::string::npos);
        }

        const bool edited = !row["file"].ends_with("c.wsk");
        if (!edited || c.sign == 0) {
            if (c.moved[0] == '\0' || !edited) {
                EXPECT_EQ(row["change"], "0");
                EXPECT_EQ(row["changes"], "");
            }
        } else {
            EXPECT_EQ(change > 0 ? 1 : change < 0 ? -1 : 0, c.sign) << row["change"];
        }
    }
    const std::string in = (scratch_ / "in").string();
    EXPECT_EQ(files, (std::vector<std::string>{in + "/a.wsk", in + "/b.wsk", in + "/c.wsk", in + "/d.wsk"}));

    // The changed commodity's record is named in the JSON lines with both
    // tables' values.
    const auto jsonl = quote({"--rates", newRates, "--compare", oldRates, "--format", "jsonl"});
    const std::string record = "{\"code\":\"" + std::to_string(catalogue()[kEntry].code) + "\",\"old\":";
    const bool recordsDiffer = c.oldEdit || c.newEdit;
    EXPECT_EQ(jsonl.out.find(record) != std::string::npos, recordsDiffer) << jsonl.out;
    if (c.moved[0] != '\0') {
        EXPECT_NE(compared.out.find(c.moved), std::string::npos) << compared.out;
    }

    // --changed-only keeps only what moved, and every error.
    const auto changed = quote({"--rates", newRates, "--compare", oldRates, "--changed-only"});
    EXPECT_EQ(changed.status, compared.status);
    const bool anyMoved = recordsDiffer || c.oldMissing;
    EXPECT_EQ(changed.out.find("/a.wsk,") != std::string::npos, anyMoved) << changed.out;
    EXPECT_EQ(changed.out.find("/c.wsk,") != std::string::npos, c.oldMissing) << changed.out;
    EXPECT_NE(changed.out.find("/d.wsk,error,"), std::string::npos) << changed.out;

    // Renewal letters: the output as without them, and a PDF for each
    // worksheet whose figures changed, none for one that did not or that a
    // table stops; each letter sets the producer premiums side by side.
    const fs::path letters = scratch_ / "letters";
    const auto lettered = quote({"--rates", newRates, "--compare", oldRates, "--summaries", letters.string()});
    EXPECT_EQ(lettered.status, compared.status);
    EXPECT_EQ(lettered.out, compared.out);
    for (const std::string name : {"a", "b", "c", "d"}) {
        SCOPED_TRACE(name);
        const bool movedOk = changed.out.find("/" + name + ".wsk,ok,") != std::string::npos;
        // Priced under a new table without the commodity's record: no letter, and a word why.
        const bool unrated =
            lettered.err.find("/" + name + ".wsk: no renewal letter: the rate file has no record") != std::string::npos;
        EXPECT_EQ(unrated, movedOk && std::string(c.name) == "RecordRemoved") << lettered.err;
        EXPECT_EQ(fs::exists(letters / (name + ".pdf")), movedOk && !unrated);
    }
    if (!fs::exists(letters / "a.pdf")) return;
    // The page's text as laid out, each run of blanks one blank.
    std::string text;
    for (const char c : runProcess({"pdftotext", "-layout", (letters / "a.pdf").string(), "-"}, scratch_).out)
        if (!std::isspace(static_cast<unsigned char>(c)))
            text += c;
        else if (!text.empty() && text.back() != ' ')
            text += ' ';
    EXPECT_NE(text.find("Last quote / this quote"), std::string::npos) << text;
    EXPECT_NE(text.find(c.reason), std::string::npos) << c.reason << " in " << text;
    // The paper names the rate file, never the folder it lies in.
    EXPECT_EQ(text.find(scratch_.string()), std::string::npos) << text;
    const auto premium = [](const std::string& figure) {
        return figure.empty() ? std::string("not offered") : dollarText(numericValue(figure));
    };
    for (auto& row : csvRows(changed.out)) {
        if (!row["file"].ends_with("/a.wsk")) continue;
        std::string figures = premium(row["old_producer_premium"]) + " " + premium(row["new_producer_premium"]);
        // The change as the CSV gives it, signed, in dollars and per cent.
        if (!row["old_producer_premium"].empty() && !row["new_producer_premium"].empty()) {
            const double change = numericValue(row["change"]);
            figures += std::string(" ") + (change > 0 ? "+" : "") + dollarText(change);
            if (!row["change_percent"].empty())
                figures += std::string(" ") + (change > 0 ? "+" : "") + row["change_percent"] + "%";
        }
        EXPECT_NE(text.find(coverageText(row["coverage"]) + " " + figures), std::string::npos)
            << figures << " in " << text;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, QuoteCompare, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(QuoteThreads, AnyNumberOfThreadsWritesTheOneThreadOutputInTheOrderGiven) {
    const fs::path scratch = storage_testing::scratchFolder("threads");
    fs::create_directories(scratch / "in");
    std::vector<std::string> expectedOrder;
    for (int n = 0; n < 40; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "w%02d.wsk", 39 - n);  // written in the reverse of name order
        const CountyInfo& county = counties()[static_cast<size_t>(n) % counties().size()];
        storage_testing::writeBytes(
            scratch / "in" / name,
            n % 13 == 5 ? "broken" : worksheetFile(county, {size_t(n) % 30, size_t(n) % 7 + 40}, n));
    }
    const std::string in = (scratch / "in").string();
    for (const std::vector<std::string>& mode :
         {std::vector<std::string>{}, {"--compare", KBT2_SAMPLE_RATE_FILE}, {"--format", "jsonl"}}) {
        std::vector<std::string> command{KBT2_QUOTE, "--rates", KBT2_SAMPLE_RATE_FILE};
        command.insert(command.end(), mode.begin(), mode.end());
        command.push_back(in);
        auto withJobs = [&](const char* jobs) {
            std::vector<std::string> c = command;
            c.insert(c.begin() + 1, {"--jobs", jobs});
            return runProcess(c, scratch);
        };
        const auto one = withJobs("1");
        const auto many = withJobs("4");
        EXPECT_EQ(one.status, 1);
        EXPECT_EQ(many.status, 1);
        EXPECT_EQ(many.out, one.out);
        // In name order: w00 first, w39 last.
        EXPECT_LT(one.out.find("/w00.wsk"), one.out.find("/w01.wsk"));
        EXPECT_LT(one.out.find("/w38.wsk"), one.out.find("/w39.wsk"));
    }
}

// A comparison of one level's producer premiums ("" where not offered).
quote::ComparedQuote premiums(const std::string& file, const char* before, const char* after) {
    quote::ComparedQuote compared;
    for (quote::WorksheetQuote* q : {&compared.before, &compared.after}) {
        q->file = file;
        q->ok = true;
    }
    const auto level = [](const char* premium) {
        quote::LevelQuote l{".80", std::vector<std::string>(std::size(quote::kLevelColumnNames))};
        l.figures[quote::figureIndex("producer_premium")] = premium;
        return l;
    };
    if (*before) compared.before.levels.push_back(level(before));
    if (*after) compared.after.levels.push_back(level(after));
    return compared;
}

TEST(CompareSummary, CountsUpDownUnchangedAndErrorsAndKeepsTheFiveLargestRisesInOrder) {
    quote::CompareSummary summary;
    summary.add(premiums("a", "10", "12"));  // +2
    summary.add(premiums("b", "10", "8"));   // down
    summary.add(premiums("c", "10", "10"));  // unchanged
    summary.add(premiums("d", "", "30"));    // offered: +30
    summary.add(premiums("e", "10", "15"));  // +5
    summary.add(premiums("f", "10", "15"));  // +5, after e
    summary.add(premiums("g", "1", "4"));    // +3
    summary.add(premiums("h", "1", "2"));    // +1: sixth, left out
    quote::ComparedQuote error = premiums("i", "1", "1");
    error.after.ok = false;
    summary.add(error);
    EXPECT_EQ(summary.text(),
              "kbt2-quote: 9 worksheets compared: producer premium up for 6, down for 1, unchanged for 1; 1 errors\n"
              "kbt2-quote: the largest rises:\n"
              "  +30 at .80 (- -> 30)  d\n"
              "  +5 at .80 (10 -> 15)  e\n"
              "  +5 at .80 (10 -> 15)  f\n"
              "  +3 at .80 (1 -> 4)  g\n"
              "  +2 at .80 (10 -> 12)  a\n");
}

}  // namespace
}  // namespace kbt2
