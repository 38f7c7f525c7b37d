#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>

#include "commands/premium_fields.h"
#include "fake_platform.h"

namespace kbt2 {
namespace {

using testing_support::FakePlatform;

std::array<std::string, 3> row(const Worksheet& ws, Control array) {
    return {ws.text({array, 0}), ws.text({array, 1}), ws.text({array, 2})};
}

struct NetCase {
    const char* name;
    const char* mpci;
    const char* net80;  // net liability of the 0.80 column, KBT liability 480
};
void PrintTo(const NetCase& c, std::ostream* os) { *os << c.name; }

class PremiumTable : public testing::TestWithParam<NetCase> {};

// Allowable KBT 800, weighted rate 0.052, diversification factor 0.75.
TEST_P(PremiumTable, FillsTheColumnsOfTheWorkedExample) {
    Worksheet ws;
    FakePlatform platform;
    ws.setText({Control::MPCI}, GetParam().mpci);
    FieldDraft draft(ws);
    writeLiabilities(draft, 800);
    writePremiums(draft, 800, {0.052, 0.052, 0.052}, 0.75);
    draft.commit(ws, platform);
    EXPECT_EQ(ws.text({Control::Text27, 0}), "480");
    EXPECT_EQ(ws.text({Control::Text23, 0}), "640");
    EXPECT_EQ(ws.text({Control::Text24, 0}), "0.052");
    EXPECT_EQ(ws.text({Control::Text25, 0}), "0.75");
    EXPECT_EQ(ws.text({Control::Text26, 0}), "0.039");
    EXPECT_EQ(ws.text({Control::Text28, 0}), GetParam().net80);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Mpci, PremiumTable, testing::Values(
    NetCase{"NoMpci",             "0",    "480"},
    NetCase{"MpciAboveHalf",      "300",  "240"},
    NetCase{"MpciBelowHalf",      "200",  "280"},
    NetCase{"MpciExactlyHalf",    "240",  "240"},
    NetCase{"MpciFarAboveHalf",   "1e9",  "240"},
    NetCase{"MpciTypedWithCents", "99.5", "381"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(PremiumTable, PremiumsOfTheWorkedExampleWithoutMpci) {
    Worksheet ws;
    FakePlatform platform;
    ws.setText({Control::MPCI}, "0");
    FieldDraft draft(ws);
    writeLiabilities(draft, 800);
    writePremiums(draft, 800, {0.052, 0.052, 0.052}, 0.75);
    draft.commit(ws, platform);
    EXPECT_EQ(row(ws, Control::Text27), (std::array<std::string, 3>{"480", "450", "390"}));
    EXPECT_EQ(row(ws, Control::Text23), (std::array<std::string, 3>{"640", "600", "520"}));
    EXPECT_EQ(row(ws, Control::Text16), (std::array<std::string, 3>{"19", "18", "15"}));
    EXPECT_EQ(row(ws, Control::Text18), (std::array<std::string, 3>{"10", "9", "8"}));
    EXPECT_EQ(row(ws, Control::Text17), (std::array<std::string, 3>{"9", "9", "7"}));
}

TEST(PremiumTable, ProducerPremiumRoundsHalfUpAndSubsidyTakesTheRest) {
    // KBT rate 0.5 on a net liability of 962: gross premium 481.
    Worksheet ws;
    FakePlatform platform;
    ws.setText({Control::MPCI}, "0");
    FieldDraft draft(ws);
    for (int j = 0; j < 3; ++j) draft.setText({Control::Text27, j}, "962");
    writePremiums(draft, 800, {0.5, 0.5, 0.5}, 1);
    draft.commit(ws, platform);
    EXPECT_EQ(ws.text({Control::Text16, 0}), "481");
    EXPECT_EQ(ws.text({Control::Text18, 0}), "241");
    EXPECT_EQ(ws.text({Control::Text17, 0}), "240");
}

TEST(PremiumTable, KbtRateReadsBackTheRoundedWeightedRate) {
    // 0.0525 is written as 0.053; 0.053 x 1000 x 0.41 = 21.73 -> 0.022.
    Worksheet ws;
    FakePlatform platform;
    FieldDraft draft(ws);
    writePremiums(draft, 100, {0.0525, 0.0524, 0}, 0.41);
    draft.commit(ws, platform);
    EXPECT_EQ(row(ws, Control::Text24), (std::array<std::string, 3>{"0.053", "0.052", "0"}));
    EXPECT_EQ(row(ws, Control::Text26), (std::array<std::string, 3>{"0.022", "0.021", "0"}));
}

TEST(PremiumTable, ALiabilityRoundingToZeroHasNoNetLiability) {
    // Allowable KBT 1: 0.65 column liability 0.4875 rounds to 0.
    for (const char* mpci : {"0", "100", "-100"}) {
        Worksheet ws;
        FakePlatform platform;
        ws.setText({Control::MPCI}, mpci);
        FieldDraft draft(ws);
        writeLiabilities(draft, 1);
        writePremiums(draft, 1, {0.05, 0.05, 0.05}, 1);
        EXPECT_FALSE(draft.overflow());
        draft.commit(ws, platform);
        EXPECT_EQ(ws.text({Control::Text27, 2}), "0") << mpci;
        EXPECT_EQ(ws.text({Control::Text28, 2}), "0") << mpci;
        EXPECT_EQ(ws.text({Control::Text16, 2}), "0") << mpci;
    }
}

struct LevelCase {
    const char* name;
    int significantCount;
    std::array<bool, 3> visible;
};
void PrintTo(const LevelCase& c, std::ostream* os) { *os << c.name; }

class OfferedLevels : public testing::TestWithParam<LevelCase> {};

TEST_P(OfferedLevels, HideAndEmptyTheColumnsNotOffered) {
    Worksheet ws;
    FakePlatform platform;
    constexpr Control kRows[] = {Control::Text23, Control::Text24, Control::Text25, Control::Text26, Control::Text27,
                                 Control::Text28, Control::Text16, Control::Text17, Control::Text18};
    for (Control r : kRows)
        for (int j = 0; j < 3; ++j) {
            ws.setText({r, j}, "7");
            ws.setVisible({r, j}, j == 2);  // as an earlier run with a count of 2 left them
        }
    FieldDraft draft(ws);
    showOfferedLevels(draft, GetParam().significantCount);
    draft.commit(ws, platform);
    for (Control r : kRows)
        for (int j = 0; j < 3; ++j) {
            const bool shown = GetParam().visible[static_cast<size_t>(j)];
            EXPECT_EQ(ws.visible({r, j}), shown) << refName({r, j});
            EXPECT_EQ(ws.text({r, j}), shown ? "7" : "") << refName({r, j});
        }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Counts, OfferedLevels, testing::Values(
    LevelCase{"OneOffersOnly065",   1, {false, false, true}},
    LevelCase{"TwoOffersOnly065",   2, {false, false, true}},
    LevelCase{"ThreeAdds075",       3, {false, true,  true}},
    LevelCase{"FiveOffers075",      5, {false, true,  true}},
    LevelCase{"SevenOffers075",     7, {false, true,  true}},
    LevelCase{"EightOffersAll",     8, {true,  true,  true}},
    LevelCase{"NineShowsAllAgain",  9, {true,  true,  true}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace kbt2
