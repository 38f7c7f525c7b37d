// Thousands of random sequences of a person's actions, run as kbt2-driver
// runs a script against the worksheet model. After every action: no field
// holds "inf" or "nan", and every message shown is one the program has. After
// every sequence: the worksheet saved, loaded into a cleared worksheet and
// saved again gives the identical file. A failure prints the seed and the
// sequence as a driver script that reproduces it.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/driver/model_target.h"
#include "app/driver/runner.h"
#include "app/driver/session.h"
#include "commodities/catalogue.h"
#include "tests/core/known_messages.h"
#include "worksheet/controls.h"

namespace kbt2::driver {
namespace {

namespace fs = std::filesystem;
using testing_support::holdsInfOrNan;
using testing_support::isKnownMessage;
using testing_support::messagesInDriverOutput;

// 2000 sequences in four shards, which CTest runs in parallel.
constexpr int kShards = 4;
constexpr int kSequences = 500;  // per shard
constexpr int kActionsPerSequence = 40;

// Rates of Kent county, Michigan (26, 81: Mi1(2)) for apples, barley,
// asparagus and blueberries, and a file whose rates are absurdly large.
constexpr const char* kRateFile =
    "26     081  0054  N     Y         0.045      0.038     0.021\r\n"
    "26     081  0091  N     Y         0.050      0.041     0.030\n"
    "26     081  0607  Y     N         0.061      0.052     0.034\r\n"
    "26     081  0012  N     N         0.020\r\n"
    "23     005  0054  N     N         0.020\r\n";
constexpr const char* kHugeRateFile =
    "26     081  0054  Y     Y         9e99       9e99      9e99 \r\n"
    "26     081  0091  Y     Y         1e308      1e308     1e308\r\n";

struct Folders {
    fs::path root;
    fs::path rates = root / "rates";
    fs::path hugeRates = root / "huge-rates";
    fs::path noRates = root / "no-rates";
    fs::path worksheets = root / "worksheets";

    explicit Folders(const std::string& name) : root(fs::path(KBT2_TEST_SCRATCH_DIR) / name) {
        fs::remove_all(root);
        for (const fs::path& dir : {rates, hugeRates, noRates, worksheets}) fs::create_directories(dir);
        std::ofstream(rates / "Ratefile.prn", std::ios::binary) << kRateFile;
        std::ofstream(hugeRates / "Ratefile.prn", std::ios::binary) << kHugeRateFile;
    }
};

// Texts a person might type: numbers of every size and shape, the entries
// the checks refuse, names. None holds "inf" or "nan" as a word, so one
// found in a field was written by the program.
const std::vector<std::string>& typedTexts() {
    static const std::vector<std::string> texts = {
        "",
        "0",
        "1",
        "100",
        "110",
        "121",
        "133.1",
        "146.41",
        "60",
        "2.5",
        "-3",
        "-0",
        "0.0004",
        "1e3",
        "1E-2",
        "999999999999999",
        "1e300",
        "-1e300",
        "1e308",
        "1e-320",
        "5e-324",
        "12abc",
        "abc",
        "1,000",
        "$500",
        " 42 ",
        "7.",
        ".5",
        "+8",
        "1 2",
        "--1",
        "e5",
        "Corn",
        "Müller & Söhne",
        "Hay\\sand\\sstraw",
        "26",
        "081",
        "0011",
        "0410",
        "0091",
    };
    return texts;
}

class Generator {
public:
    Generator(uint32_t seed, const Folders& folders) : random_(seed), folders_(folders) {}

    // One script line: mostly entries and commodity boxes, now and then a
    // button, a dialogue answer or a change of the rate file folders.
    std::string nextLine() {
        const int roll = below(100);
        if (roll < 22) return "set " + refName({pick({Control::Allinc1, Control::Allexp1}), below(5)}) + " " + number();
        if (roll < 40) return setRow();
        if (roll < 45) return "set " + refName(anyField({Kind::Text, Kind::Masked})) + " " + text();
        if (roll < 48) return "set Infobox " + text() + "\\n" + text();
        if (roll < 60) return "check " + refName(commodityBox()) + (below(4) ? " 1" : " 0");
        if (roll < 66) return "select " + refName(anyField({Kind::Option}));
        if (roll < 86) return "click " + std::string(info(button()).name);
        if (roll < 90) return below(2) ? "answer OK" : "answer Cancel";
        if (roll < 97) return fileAnswer();
        return "places " + rateFolder().string() + " " + folders_.noRates.string();
    }

    // A whole case that passes the checks: Kent county, five years, apples,
    // barley and asparagus with amounts, so the commands get past their
    // checks and the random actions start from a worked-out worksheet.
    std::vector<std::string> caseLines() {
        std::vector<std::string> lines = {"select St(0)", "select Mi1(2)"};
        for (int k = 0; k < 5; ++k) {
            lines.push_back("set Allinc1(" + std::to_string(k) + ") " + std::to_string(1000 + below(200000)));
            lines.push_back("set Allexp1(" + std::to_string(k) + ") " + std::to_string(below(100000)));
        }
        lines.push_back("click Command2");
        for (const char* box : {"Crop(1)", "Crop(6)", "Crop(3)", "Crop(51)"})
            lines.push_back(std::string("check ") + box + " 1");
        for (int row = 0; row < 3; ++row) {
            lines.push_back("set Totamt1(" + std::to_string(row) + ") " + std::to_string(1 + below(5000)));
            lines.push_back("set Expval1(" + std::to_string(row) + ") " + std::to_string(1 + below(300)));
        }
        lines.push_back("click Command3");
        return lines;
    }

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

private:
    template <typename T>
    T pick(std::initializer_list<T> items) {
        return *std::next(items.begin(), below(static_cast<int>(items.size())));
    }

    std::string number() {
        switch (below(4)) {
        case 0: return text();
        case 1: return std::to_string(below(2000));
        default: {
            std::ostringstream out;
            out << std::uniform_real_distribution<double>(0, 1e6)(random_);
            return out.str();
        }
        }
    }

    std::string text() { return typedTexts()[static_cast<size_t>(below(static_cast<int>(typedTexts().size())))]; }

    std::string setRow() {
        const int row = below(5) ? below(4) : below(14);
        const Control field =
            pick({Control::Cropname1, Control::Unit1, Control::Intamt1, Control::Totamt1, Control::Expval1,
                  Control::Totamt1, Control::Expval1, Control::YearProd, Control::Type1});
        if (field == Control::Cropname1) {
            const auto entries = catalogue();
            const std::string name =
                below(4) ? std::string(entries[static_cast<size_t>(below(static_cast<int>(entries.size())))].reportName)
                         : text();
            return "set " + refName({field, row}) + " " + name;
        }
        return "set " + refName({field, row}) + " " + number();
    }

    FieldRef anyField(std::initializer_list<Kind> kinds) {
        std::vector<FieldRef> fields;
        for (const ControlInfo& c : kControls)
            for (Kind kind : kinds)
                if (c.kind == kind)
                    for (int i = 0; i < c.slots(); ++i) fields.push_back({c.control, i});
        return fields[static_cast<size_t>(below(static_cast<int>(fields.size())))];
    }

    FieldRef commodityBox() {
        const CommodityGroup& group = kCommodityGroups[below(3)];
        // The transfer box often, so the passes run.
        return {group.array, below(4) ? below(group.transferBox + 1) : group.transferBox};
    }

    Control button() {
        // Exit ends the sequence, so it is rare.
        if (below(50) == 0) return Control::Command1;
        return pick({Control::Command2, Control::Command3, Control::Command4, Control::Command4, Control::Command5,
                     Control::Clear, Control::save, Control::Load, Control::Print});
    }

    std::string fileAnswer() {
        switch (below(6)) {
        case 0: return "file cancel";
        case 1: return "file " + (folders_.root / "missing" / "case.wsk").string();
        case 2: return "file " + folders_.worksheets.string();
        default: return "file " + (folders_.worksheets / ("case" + std::to_string(below(3)) + ".wsk")).string();
        }
    }

    fs::path rateFolder() {
        switch (below(3)) {
        case 0: return folders_.hugeRates;
        case 1: return folders_.noRates;
        default: return folders_.rates;
        }
    }

    std::mt19937 random_;
    const Folders& folders_;
};

// One sequence: the driver's session and model, the script so far.
class DriverRun {
public:
    // Runs one line as the driver would. False once the window has closed.
    bool perform(const std::string& line) {
        script_ += line + "\n";
        std::istringstream in(line);
        std::ostringstream errors;
        EXPECT_EQ(runScript(in, session_, target_, errors), 0) << errors.str();
        return !session_.closed();
    }

    // The messages shown since the last call.
    std::vector<Message> newMessages() {
        std::vector<Message> messages = messagesInDriverOutput(out_.str());
        out_.str("");
        return messages;
    }

    // Every text field that holds "inf" or "nan" as a word, by name.
    std::vector<std::string> fieldsWithInfOrNan() {
        std::vector<std::string> found;
        for (const ControlInfo& c : kControls) {
            if (c.kind != Kind::Text && c.kind != Kind::Masked) continue;
            for (int i = 0; i < c.slots(); ++i) {
                const std::string text = target_.text({c.control, i});
                if (holdsInfOrNan(text)) found.push_back(refName({c.control, i}) + "=\"" + text + "\"");
            }
        }
        return found;
    }

    std::string text(FieldRef field) { return target_.text(field); }
    const std::string& script() const { return script_; }

private:
    std::ostringstream out_;
    Session session_{out_};
    ModelTarget target_{session_};
    std::string script_;
};

// The parameter is the shard: a range of seeds and a scratch folder of its own.
class RandomSequences : public testing::TestWithParam<int> {
protected:
    uint32_t seed(int n) const { return 20240 + static_cast<uint32_t>(GetParam() * kSequences + n); }
};

TEST_P(RandomSequences, KeepFieldsFiniteAndShowOnlyTheProgramsMessages) {
    const Folders folders("property-" + std::to_string(GetParam()));
    int messagesSeen = 0;
    int preliminaryResults = 0;
    int commodityResults = 0;
    int premiumResults = 0;
    for (int n = 0; n < kSequences && !HasFailure(); ++n) {
        Generator generate(seed(n), folders);
        DriverRun run;
        std::vector<std::string> lines = {"places " + folders.rates.string() + " " + folders.noRates.string()};
        if (generate.below(2))
            for (std::string& line : generate.caseLines()) lines.push_back(std::move(line));
        for (int step = 0; step < kActionsPerSequence; ++step) lines.push_back(generate.nextLine());
        bool preliminary = false;
        bool commodity = false;
        bool premium = false;
        for (const std::string& line : lines) {
            const bool open = run.perform(line);
            preliminary = preliminary || !run.text({Control::Text29}).empty();
            commodity = commodity || !run.text({Control::Text15, 1}).empty();
            for (int level = 0; level < 3; ++level) premium = premium || !run.text({Control::Text18, level}).empty();
            for (const Message& m : run.newMessages()) {
                ++messagesSeen;
                EXPECT_TRUE(isKnownMessage(m)) << "unknown message title=\"" << m.title << "\" text=\"" << m.text
                                               << "\"\nseed " << seed(n) << ", script:\n"
                                               << run.script();
            }
            // Only the commands compute; a typed text holds no such word.
            if (line.rfind("click ", 0) == 0) {
                const auto bad = run.fieldsWithInfOrNan();
                EXPECT_TRUE(bad.empty()) << bad.front() << "\nseed " << seed(n) << ", script:\n" << run.script();
            }
            if (!open || HasFailure()) break;
        }
        preliminaryResults += preliminary;
        commodityResults += commodity;
        premiumResults += premium;
    }
    if (HasFailure()) return;
    // The sequences reach both the checks of the commands and their results.
    EXPECT_GT(messagesSeen, kSequences);
    EXPECT_GT(preliminaryResults, kSequences / 3);
    EXPECT_GT(commodityResults, kSequences / 4);
    EXPECT_GT(premiumResults, kSequences / 10);
}

TEST_P(RandomSequences, SaveClearLoadSaveGivesTheSameFile) {
    const Folders folders("roundtrip-" + std::to_string(GetParam()));
    const fs::path first = folders.root / "first.wsk";
    const fs::path second = folders.root / "second.wsk";
    // Fewer than the other property: every save waits for the disk.
    for (int n = 0; n < kSequences / 4 && !HasFailure(); ++n) {
        Generator generate(seed(n), folders);
        DriverRun run;
        bool open = run.perform("places " + folders.rates.string() + " " + folders.noRates.string());
        if (generate.below(2))
            for (const std::string& line : generate.caseLines()) open = open && run.perform(line);
        for (int step = 0; step < kActionsPerSequence && open; ++step) open = run.perform(generate.nextLine());
        if (!open) continue;
        // Dialogue answers the sequence queued but never used would answer
        // the dialogues below; saving changes no field, so saves use them up.
        for (size_t at = run.script().find("\nfile "); at != std::string::npos;
             at = run.script().find("\nfile ", at + 1))
            run.perform("click save");
        fs::remove(first);
        fs::remove(second);
        for (const std::string& line :
             {"file " + first.string(), std::string("click save"), std::string("click Clear"), "file " + first.string(),
              std::string("click Load"), "file " + second.string(), std::string("click save")})
            run.perform(line);
        const auto bytes = [](const fs::path& path) {
            std::ifstream in(path, std::ios::binary);
            return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        };
        ASSERT_TRUE(fs::exists(first)) << "seed " << seed(n) << ", script:\n" << run.script();
        EXPECT_EQ(bytes(second), bytes(first)) << "seed " << seed(n) << ", script:\n" << run.script();
    }
}

INSTANTIATE_TEST_SUITE_P(Shards, RandomSequences, testing::Range(0, kShards));

}  // namespace
}  // namespace kbt2::driver
