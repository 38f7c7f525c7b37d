#include "commands/premium.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "calc/numbers.h"
#include "fake_platform.h"
#include "rate_records.h"

namespace kbt2 {
namespace {

namespace fs = std::filesystem;
using testing_support::FakePlatform;
using testing_support::RateFields;
using testing_support::rateRecord;
using Columns = std::array<std::string, 3>;

constexpr const char* kOutOfRangeMessage =
    "The figures are too large to calculate a premium. Check the incomes (Tab 3), the Commodity Report (Tabs 7 and "
    "8), the MPCI liability (Tab 1) and the rates in Ratefile.prn.";

constexpr Control kTableRows[] = {Control::Text23, Control::Text24, Control::Text25, Control::Text26, Control::Text27,
                                  Control::Text28, Control::Text16, Control::Text17, Control::Text18};

// A Michigan farm in Kent county (26, 81) with five equal incomes of 1000,
// and a rate file in the first of two folders.
class Premium : public testing::Test {
protected:
    void SetUp() override {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        dir_ =
            fs::path(KBT2_TEST_SCRATCH_DIR) / "premium" / (std::string(test->test_suite_name()) + "." + test->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "system");
        fs::create_directories(dir_ / "root");
        platform.folders = {(dir_ / "system").string(), (dir_ / "root").string()};
        ws.select({Control::St, 0});
        ws.select({Control::Mi1, 2});
        incomes("1000");
    }

    void incomes(const std::string& each) {
        for (int k = 0; k < 5; ++k) ws.setText({Control::Allinc1, k}, each);
        ws.setText({Control::Averageinc}, each);
    }

    void commodity(int row, int code, const std::string& amount, const std::string& value = "1") {
        ws.setText({Control::Cropname1, row}, "Commodity " + std::to_string(code));
        ws.setText({Control::Unit1, row}, std::to_string(code));
        ws.setText({Control::Totamt1, row}, amount);
        ws.setText({Control::Expval1, row}, value);
    }

    void rateFile(const std::vector<RateFields>& records, const std::string& folder = "system") {
        std::ofstream out(dir_ / folder / "Ratefile.prn", std::ios::binary);
        for (const RateFields& r : records) out << rateRecord(r) << "\r\n";
    }

    static RateFields rates(int code, char livestock = 'N', char insurable = 'N') {
        return {.code = std::to_string(code),
                .livestock = livestock,
                .insurable = insurable,
                .rate80 = "0.080",
                .rate75 = "0.064",
                .rate65 = "0.048"};
    }

    // Rows 0..n-1 with equal KBTs of 100 and a rate record each.
    void evenFarm(int n) {
        std::vector<RateFields> records;
        for (int i = 0; i < n; ++i) {
            commodity(i, 100 + i, "100");
            records.push_back(rates(100 + i));
        }
        rateFile(records);
    }

    PremiumOutcome run() { return command4Click(ws, platform); }
    std::string text(Control c, int i = 0) const { return ws.text({c, i}); }
    Columns columns(Control c) const { return {text(c, 0), text(c, 1), text(c, 2)}; }

    Worksheet ws;
    FakePlatform platform;
    fs::path dir_;
};

TEST_F(Premium, EightEvenCommoditiesFillEveryColumn) {
    evenFarm(8);
    run();
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(text(Control::Lvstex), "No");
    EXPECT_EQ(text(Control::Mpciex), "No");
    EXPECT_EQ(text(Control::MPCI), "0");
    EXPECT_EQ(text(Control::Croptext), "8");
    EXPECT_EQ(text(Control::Projkbt), "1000");
    EXPECT_EQ(text(Control::Text15, 0), "800");
    EXPECT_EQ(text(Control::Text21), "800");
    EXPECT_EQ(columns(Control::Text27), (Columns{"480", "450", "390"}));
    EXPECT_EQ(columns(Control::Text23), (Columns{"640", "600", "520"}));
    EXPECT_EQ(columns(Control::Text24), (Columns{"0.08", "0.064", "0.048"}));
    EXPECT_EQ(columns(Control::Text25), (Columns{"0.41", "0.41", "0.41"}));
    EXPECT_EQ(columns(Control::Text26), (Columns{"0.033", "0.026", "0.02"}));
    EXPECT_EQ(columns(Control::Text28), (Columns{"480", "450", "390"}));
    EXPECT_EQ(columns(Control::Text16), (Columns{"16", "12", "8"}));
    EXPECT_EQ(columns(Control::Text18), (Columns{"8", "6", "4"}));
    EXPECT_EQ(columns(Control::Text17), (Columns{"8", "6", "4"}));
    for (Control r : kTableRows)
        for (int j = 0; j < 3; ++j) EXPECT_TRUE(ws.visible({r, j}));
    EXPECT_EQ(platform.closes, 0);
}

// The figures the premium returns are the ones it wrote, and the run's
// intermediate values are those of the worked example.
TEST_F(Premium, ReturnsTheFiguresItWrote) {
    evenFarm(4);
    commodity(3, 103, "1");  // a small fourth row: shares 0.332 x 3 and 0.003
    const PremiumOutcome outcome = run();
    ASSERT_TRUE(outcome.calculated());
    const PremiumFigures& f = *outcome.figures;
    for (int j = 0; j < 3; ++j) {
        const PremiumColumn& column = f.columns[static_cast<size_t>(j)];
        EXPECT_EQ(column.offered, ws.visible({Control::Text23, j}));
        if (!column.offered) continue;
        for (Control row : kPremiumRows) EXPECT_EQ(plainText(column.figure(row)), text(row, j)) << j;
    }
    EXPECT_EQ(plainText(f.projectedKbt), text(Control::Projkbt));
    EXPECT_EQ(plainText(f.totalExpectedKbt), text(Control::Text15));
    EXPECT_EQ(plainText(f.allowableKbt), text(Control::Text21));
    ASSERT_EQ(f.rows.size(), 4u);
    EXPECT_EQ(f.rows[3].kbt, 1);
    EXPECT_EQ(f.rows[3].share, 0.003);
    EXPECT_EQ(f.rows[0].weighted[0], 0.027);  // 0.08 x 0.332
    EXPECT_EQ(f.equalShare, 0.25);
    EXPECT_EQ(f.threshold, 0.125);
    EXPECT_EQ(f.significantCount, 3);
    EXPECT_EQ(outcome.rateFile->found, 4);
}

TEST_F(Premium, TheProjectedKbtAppliesTheAdjustmentFactorAgain) {
    // Incomes growing by a tenth a year: factor 1.464 on the average as written.
    const char* incomes[] = {"100", "110", "121", "133.1", "146.41"};
    for (int k = 0; k < 5; ++k) ws.setText({Control::Allinc1, k}, incomes[k]);
    ws.setText({Control::Averageinc}, "122.102");
    ws.setText({Control::GrowthFact}, "9");  // never read
    commodity(0, 41, "1000");
    rateFile({rates(41)});
    run();
    EXPECT_EQ(text(Control::Projkbt), "179");
    EXPECT_EQ(text(Control::Text21), "179");
}

struct AllowableCase {
    const char* name;
    const char* income;  // every year and the average: the projected KBT
    const char* total;   // the one commodity's KBT
    const char* allowable;
};
void PrintTo(const AllowableCase& c, std::ostream* os) { *os << c.name; }

class PremiumAllowable : public Premium, public testing::WithParamInterface<AllowableCase> {};

TEST_P(PremiumAllowable, IsTheSmallerOfProjectedAndExpected) {
    incomes(GetParam().income);
    commodity(0, 41, GetParam().total);
    rateFile({rates(41)});
    run();
    EXPECT_EQ(text(Control::Text21), GetParam().allowable);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Kbts, PremiumAllowable, testing::Values(
    AllowableCase{"ProjectedSmaller", "150", "180", "150"},
    AllowableCase{"ExpectedSmaller",  "180", "150", "150"},
    AllowableCase{"BothEqual",        "150", "150", "150"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(Premium, FourteenRowsCountFourteen) {
    evenFarm(14);
    run();
    EXPECT_EQ(text(Control::Croptext), "14");
    EXPECT_EQ(text(Control::Text25, 0), "0.41");
}

TEST_F(Premium, MpciAboveHalfOfEveryLiabilityHalvesThem) {
    evenFarm(8);
    ws.setText({Control::MPCI}, "100000");
    run();
    EXPECT_EQ(columns(Control::Text28), (Columns{"240", "225", "195"}));
}

struct CountCase {
    const char* name;
    int commodities;  // of equal KBT, so the significant count is the same
    std::array<bool, 3> shown;
};
void PrintTo(const CountCase& c, std::ostream* os) { *os << c.name; }

class PremiumLevels : public Premium, public testing::WithParamInterface<CountCase> {};

TEST_P(PremiumLevels, FollowTheSignificantCount) {
    evenFarm(GetParam().commodities);
    run();
    for (Control r : kTableRows)
        for (int j = 0; j < 3; ++j) {
            const bool shown = GetParam().shown[static_cast<size_t>(j)];
            EXPECT_EQ(ws.visible({r, j}), shown) << refName({r, j});
            EXPECT_EQ(text(r, j).empty(), !shown) << refName({r, j});
        }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Counts, PremiumLevels, testing::Values(
    CountCase{"Two",   2, {false, false, true}},
    CountCase{"Five",  5, {false, true,  true}},
    CountCase{"Eight", 8, {true,  true,  true}},
    CountCase{"Nine",  9, {true,  true,  true}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(Premium, ALaterRunShowsHiddenColumnsAgain) {
    evenFarm(2);
    run();
    ASSERT_FALSE(ws.visible({Control::Text16, 0}));
    evenFarm(9);
    run();
    for (Control r : kTableRows)
        for (int j = 0; j < 3; ++j) {
            EXPECT_TRUE(ws.visible({r, j})) << refName({r, j});
            EXPECT_FALSE(text(r, j).empty()) << refName({r, j});
        }
}

TEST_F(Premium, ASmallCommodityDoesNotCountTowardsTheLevels) {
    // Shares 0.495, 0.495, 0.01: H = 0.167, so only two count.
    commodity(0, 41, "495");
    commodity(1, 54, "495");
    commodity(2, 91, "10");
    rateFile({rates(41), rates(54), rates(91)});
    run();
    EXPECT_FALSE(ws.visible({Control::Text23, 1}));
    EXPECT_EQ(text(Control::Croptext), "3");
}

struct WarningCase {
    const char* name;
    std::vector<std::array<const char*, 3>> rows;  // KBT, livestock flag, insurable flag
    std::vector<std::string> titles;
    const char* lvstex;
    const char* mpciex;
};
void PrintTo(const WarningCase& c, std::ostream* os) { *os << c.name; }

class PremiumWarnings : public Premium, public testing::WithParamInterface<WarningCase> {};

TEST_P(PremiumWarnings, WarnAndGoOn) {
    std::vector<RateFields> records;
    for (int i = 0; i < static_cast<int>(GetParam().rows.size()); ++i) {
        const auto& r = GetParam().rows[static_cast<size_t>(i)];
        commodity(i, 40 + i, r[0]);
        records.push_back(rates(40 + i, r[1][0], r[2][0]));
    }
    rateFile(records);
    platform.answers = {MessageAnswer::Cancel, MessageAnswer::Cancel};
    ws.setText({Control::Lvstex}, "Yes");  // reset by every run
    ws.setText({Control::Mpciex}, "Yes");
    const PremiumOutcome outcome = run();
    ASSERT_TRUE(outcome.calculated());
    EXPECT_EQ(outcome.figures->warnings.size(), GetParam().titles.size());
    std::vector<std::string> texts;
    for (const Message& m : platform.messages) {
        EXPECT_EQ(m.title, "*** ERROR ***");
        EXPECT_EQ(m.buttons, MessageButtons::OKCancel);
        EXPECT_EQ(m.icon, MessageIcon::Critical);
        texts.push_back(m.text.substr(0, 12));
    }
    EXPECT_EQ(texts, GetParam().titles);
    EXPECT_EQ(text(Control::Lvstex), GetParam().lvstex);
    EXPECT_EQ(text(Control::Mpciex), GetParam().mpciex);
    EXPECT_FALSE(text(Control::Text18, 2).empty());
}

const std::string kLivestock = "You are not ";
const std::string kMpci = "You must pur";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Shares, PremiumWarnings, testing::Values(
    WarningCase{"LivestockExactly35",     {{"35", "Y", "N"}, {"65", "N", "N"}},                   {},                  "No",  "No"},
    WarningCase{"Livestock351",           {{"351", "Y", "N"}, {"649", "N", "N"}},                 {kLivestock},        "Yes", "No"},
    WarningCase{"Livestock40",            {{"40", "Y", "N"}, {"60", "N", "N"}},                   {kLivestock},        "Yes", "No"},
    WarningCase{"Livestock30Insurable25", {{"30", "Y", "N"}, {"25", "N", "Y"}, {"45", "N", "N"}}, {kMpci},             "No",  "Yes"},
    WarningCase{"Livestock60",            {{"60", "Y", "N"}, {"40", "N", "N"}},                   {kLivestock, kMpci}, "Yes", "Yes"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(Premium, NoStateSelectedFindsNoRatesAndNoWarnings) {
    ws.deselect({Control::St, 0});
    ws.deselect({Control::Mi1, 2});
    commodity(0, 41, "100");
    rateFile({rates(41, 'Y', 'Y')});
    run();
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(columns(Control::Text24), (Columns{"", "", "0"}));
    EXPECT_EQ(text(Control::Text16, 2), "0");
}

TEST_F(Premium, TheCountyIsNotComparedWithTheState) {
    ws.select({Control::Me1, 3});  // York, county 31 of Maine, with Michigan selected
    commodity(0, 41, "100");
    RateFields york = rates(41);
    york.county = "031";
    york.rate65 = "0.500";
    rateFile({rates(41), york});
    run();
    EXPECT_EQ(text(Control::Text24, 2), "0.5");
}

TEST_F(Premium, TheFirstFolderHoldingTheFileIsRead) {
    commodity(0, 41, "100");
    RateFields root = rates(41);
    root.rate65 = "0.100";
    rateFile({root}, "root");
    run();
    EXPECT_EQ(text(Control::Text24, 2), "0.1");
    rateFile({rates(41)}, "system");
    run();
    EXPECT_EQ(text(Control::Text24, 2), "0.048");
}

TEST_F(Premium, AMissingRateFileStopsAfterItsMessagesAndKeepsTheWindow) {
    evenFarm(8);
    fs::remove(dir_ / "system" / "Ratefile.prn");
    ws.setText({Control::Lvstex}, "Yes");
    ws.setText({Control::Projkbt}, "earlier");
    platform.answers = {MessageAnswer::Cancel};
    const PremiumOutcome outcome = run();
    EXPECT_TRUE(outcome.rateFileMissing);
    EXPECT_FALSE(outcome.rateFile);
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0].title, "*** ERROR ***");
    EXPECT_EQ(platform.messages[0].text,
              "Ratefile.prn - cannot find file, Program will not work without it\rIf you put the file in the "
              "root(C:\\) the program will find it there.");
    EXPECT_EQ(platform.messages[0].buttons, MessageButtons::OKCancel);
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(platform.messages[1].title, "*** Stopped ***");
    EXPECT_EQ(platform.messages[1].text, "Program Stopped");
    EXPECT_EQ(platform.messages[1].buttons, MessageButtons::OK);
    EXPECT_EQ(platform.messages[1].icon, MessageIcon::Critical);
    EXPECT_EQ(platform.closes, 0);
    // What came before the search is written, nothing after it.
    EXPECT_EQ(text(Control::Lvstex), "No");
    EXPECT_EQ(text(Control::MPCI), "0");
    EXPECT_EQ(text(Control::Croptext), "8");
    EXPECT_EQ(text(Control::Projkbt), "earlier");
    EXPECT_EQ(text(Control::Text16, 0), "");
}

// A chosen rate file comes before the usual places while it is there.
TEST_F(Premium, AChosenRateFileIsReadFirstWhileItIsThere) {
    commodity(0, 41, "100");
    rateFile({rates(41)}, "system");
    RateFields chosen = rates(41);
    chosen.rate65 = "0.100";
    fs::create_directories(dir_ / "chosen");
    rateFile({chosen}, "chosen");
    platform.chosen = (dir_ / "chosen" / "Ratefile.prn").string();
    run();
    EXPECT_EQ(text(Control::Text24, 2), "0.1");
    fs::remove(*platform.chosen);
    const PremiumOutcome outcome = run();
    EXPECT_EQ(text(Control::Text24, 2), "0.048");
    // The window is told so without looking at the disk again.
    EXPECT_EQ(outcome.chosenRateFileGone, platform.chosen);
    ASSERT_TRUE(outcome.rateFile);
    EXPECT_EQ(outcome.rateFile->chosenGone, platform.chosen);
    // And the user is told before the figures are written, with both files.
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].text.find(*platform.chosen + ", is gone"), std::string::npos)
        << platform.messages[0].text;
    EXPECT_NE(platform.messages[0].text.find("priced from " + (dir_ / "system" / "Ratefile.prn").string()),
              std::string::npos)
        << platform.messages[0].text;
}

// The file is found but is gone when it is opened.
class VanishingFilePlatform : public FakePlatform {
public:
    bool fileExists(const std::string&) override { return true; }
};

TEST_F(Premium, ARateFileThatCannotBeOpenedStopsWithTheSystemError) {
    VanishingFilePlatform vanishing;
    vanishing.folders = {(dir_ / "none").string()};
    evenFarm(8);
    const PremiumOutcome outcome = command4Click(ws, vanishing);
    ASSERT_TRUE(outcome.rateFileError);
    EXPECT_EQ(outcome.rateFileError->number, 2);
    ASSERT_EQ(vanishing.messages.size(), 2u);
    EXPECT_EQ(vanishing.messages[0].title, "ERROR");
    EXPECT_EQ(vanishing.messages[0].text, "Error #  2 was generated by kbt2\rNo such file or directory");
    EXPECT_EQ(vanishing.messages[0].buttons, MessageButtons::OK);
    EXPECT_EQ(vanishing.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(vanishing.messages[1].title, "*** ERROR ***");
    EXPECT_EQ(vanishing.messages[1].text, "Program Stopped");
    EXPECT_EQ(vanishing.messages[1].icon, MessageIcon::Critical);
    EXPECT_EQ(vanishing.closes, 0);
    EXPECT_EQ(text(Control::Croptext), "8");
    EXPECT_EQ(text(Control::Projkbt), "");
}

struct GuardCase {
    const char* name;
    std::function<void(Worksheet&)> change;
    std::string message;
    PremiumStopKind kind;
};
void PrintTo(const GuardCase& c, std::ostream* os) { *os << c.name; }

class PremiumGuards : public Premium, public testing::WithParamInterface<GuardCase> {};

TEST_P(PremiumGuards, StopBeforeAnythingIsWritten) {
    evenFarm(3);
    GetParam().change(ws);
    const PremiumOutcome outcome = run();
    ASSERT_TRUE(outcome.stop);
    EXPECT_EQ(outcome.stop->kind, GetParam().kind);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].title, "KBT2");
    EXPECT_EQ(platform.messages[0].buttons, MessageButtons::OK);
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(platform.messages[0].text, GetParam().message);
    EXPECT_EQ(text(Control::Lvstex), "");
    EXPECT_EQ(text(Control::MPCI), "");
    EXPECT_EQ(text(Control::Croptext), "");
    EXPECT_EQ(text(Control::Projkbt), "");
    EXPECT_EQ(text(Control::Text16, 2), "");
}

void clearNames(Worksheet& ws) {
    for (int i = 0; i < 14; ++i) ws.setText({Control::Cropname1, i}, "");
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Inputs, PremiumGuards, testing::Values(
    GuardCase{"NoCommodityNamed", clearNames,
              "There is no commodity in the Commodity Report. Check the farm's commodities (Tabs 5 and 6) and "
              "complete the Commodity Report (Tabs 7 and 8) before calculating the premium.",
              PremiumStopKind::NoCommodity},
    GuardCase{"Zero1994Income", [](Worksheet& ws) { ws.setText({Control::Allinc1, 1}, "0"); },
              "The adjustment factor cannot be calculated from a zero income. Enter the income of the Allowable "
              "Income box 2 (Tab 3) before calculating the premium.", PremiumStopKind::ZeroIncome},
    GuardCase{"Empty1996Income", [](Worksheet& ws) { ws.setText({Control::Allinc1, 3}, ""); },
              "The adjustment factor cannot be calculated from a zero income. Enter the income of the Allowable "
              "Income box 4 (Tab 3) before calculating the premium.", PremiumStopKind::ZeroIncome},
    GuardCase{"TotalExpectedZero", [](Worksheet& ws) { ws.setText({Control::Totamt1, 2}, "-200"); },
              "The total expected KBT is 0. Enter the Total Amount and the Expected value of each commodity "
              "(Tabs 7 and 8) before calculating the premium.", PremiumStopKind::ZeroTotal},
    GuardCase{"PreliminaryKbtNotCalculated", [](Worksheet& ws) { ws.setText({Control::Averageinc}, ""); },
              "The allowable KBT is 0: there is nothing to insure. Calculate the preliminary KBT (Tab 4) and check "
              "the Commodity Report (Tabs 7 and 8) before calculating the premium.", PremiumStopKind::NothingToInsure},
    GuardCase{"NegativeTotal", [](Worksheet& ws) { ws.setText({Control::Totamt1, 2}, "-500"); },
              "The allowable KBT is -300: there is nothing to insure. Calculate the preliminary KBT (Tab 4) and "
              "check the Commodity Report (Tabs 7 and 8) before calculating the premium.", PremiumStopKind::NothingToInsure},
    GuardCase{"TotalOutOfRange", [](Worksheet& ws) { ws.setText({Control::Totamt1, 0}, "1e400"); },
              kOutOfRangeMessage, PremiumStopKind::OutOfRange}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(Premium, AnOverflowLateInTheTableWritesNothingAndShowsNoWarning) {
    // A rate of 99999 on a net liability near the largest double: the gross
    // premium overflows after the eligibility tests.
    commodity(0, 41, "100");
    RateFields huge = rates(41, 'Y', 'Y');
    huge.rate65 = "99999";
    rateFile({huge});
    ws.setText({Control::MPCI}, "-1.7e308");
    const PremiumOutcome outcome = run();
    ASSERT_TRUE(outcome.stop);
    EXPECT_EQ(outcome.stop->kind, PremiumStopKind::OutOfRange);
    EXPECT_TRUE(outcome.rateFile);
    EXPECT_EQ(platform.messageTexts(), (std::vector<std::string>{kOutOfRangeMessage}));
    EXPECT_EQ(text(Control::Lvstex), "");
    EXPECT_EQ(text(Control::Projkbt), "");
    EXPECT_EQ(text(Control::Text28, 2), "");
}

}  // namespace
}  // namespace kbt2
