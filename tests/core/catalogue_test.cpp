#include "commodities/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "location/states.h"

namespace kbt2 {
namespace {

TEST(Catalogue, HoldsEveryBoxOfTheThreeGroupsInIndexOrder) {
    EXPECT_EQ(catalogue().size(), 159u);
    const std::map<Control, size_t> expected{{Control::Crop, 51}, {Control::Crop1, 51}, {Control::Crop2, 57}};
    for (const CommodityGroup& g : kCommodityGroups) {
        const auto entries = groupEntries(g.array);
        EXPECT_EQ(entries.size(), expected.at(g.array));
        // The transfer box is the last box of the array, right after the entries.
        EXPECT_EQ(g.transferBox, static_cast<int>(entries.size()));
        EXPECT_EQ(info(g.array).elements, g.transferBox + 1);
        EXPECT_EQ(commodityGroup(g.array), &g);
        for (size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(entries[i].index, static_cast<int>(i));
    }
    EXPECT_TRUE(groupEntries(Control::St).empty());
    EXPECT_EQ(commodityGroup(Control::Cropname1), nullptr);
}

TEST(Catalogue, CodesAreInTheirRangesAndSharedOnlyByTheKnownPairs) {
    std::map<int, std::set<std::string_view>> byCode;
    for (const CommodityEntry& e : catalogue()) {
        byCode[e.code].insert(e.reportName);
        const bool crop = e.code >= 11 && e.code <= 670;
        const bool livestock = (e.code >= 800 && e.code <= 810) || (e.code >= 820 && e.code <= 823);
        const bool product = e.code >= 840 && e.code <= 846;
        EXPECT_TRUE(crop || livestock || product) << e.reportName << " " << e.code;
    }
    std::map<int, std::set<std::string_view>> shared;
    for (const auto& [code, names] : byCode)
        if (names.size() > 1) shared[code] = names;
    const std::map<int, std::set<std::string_view>> expected{{15, {"Canola", "Rapeseed"}},
                                                             {668, {"Citrus (Other)", "Clover"}}};
    EXPECT_EQ(shared, expected);
}

TEST(Catalogue, PrefixLengthsAndReportNames) {
    std::map<int, int> lengths;
    std::set<std::string_view> names;
    for (const CommodityEntry& e : catalogue()) {
        ++lengths[e.prefixLength];
        EXPECT_FALSE(e.reportName.empty());
        EXPECT_LE(e.reportName.size(), 19u) << e.reportName;
        EXPECT_TRUE(names.insert(e.reportName).second) << "twice: " << e.reportName;
    }
    EXPECT_EQ(lengths[7], 128);
    for (const auto& [n, count] : lengths) EXPECT_TRUE(n == 4 || (n >= 7 && n <= 11)) << n;
    EXPECT_EQ(groupEntries(Control::Crop2)[56].removalPrefix(), "Wool");
}

TEST(Catalogue, TheReportNameNotTheCaptionReachesTheReport) {
    const std::map<std::string_view, std::string_view> renamed{
        {"Blueberries", "Bluberries"}, {"Broccoli", "Broccolli"},          {"Rapseed", "Rapeseed"},
        {"Rhubard", "Rhubarb"},        {"Squash,Other", "Sqaush (Other)"}, {"Peppers,Bell", "Bell"}};
    int found = 0;
    for (const CommodityEntry& e : catalogue())
        if (auto it = renamed.find(e.caption); it != renamed.end()) {
            EXPECT_EQ(e.reportName, it->second);
            ++found;
        }
    EXPECT_EQ(found, 6);
}

// Page 5: five columns of 18 rows, all filled. Page 6: four columns of 18,
// rows 9 to 11 of the fourth left for the transfer boxes and their instruction.
TEST(Catalogue, EveryPlaceOfPagesFiveAndSixIsTakenOnce) {
    std::set<std::tuple<int, int, int>> places;
    for (const CommodityEntry& e : catalogue()) {
        EXPECT_TRUE(places.insert({e.place.page, e.place.column, e.place.row}).second)
            << e.reportName << " shares its place";
        EXPECT_GE(e.place.row, 1);
        EXPECT_LE(e.place.row, 18);
    }
    std::set<std::tuple<int, int, int>> expected;
    for (int column = 1; column <= 5; ++column)
        for (int row = 1; row <= 18; ++row) expected.insert({5, column, row});
    for (int column = 1; column <= 4; ++column)
        for (int row = 1; row <= 18; ++row)
            if (column != 4 || row < 9 || row > 11) expected.insert({6, column, row});
    EXPECT_EQ(places, expected);
}

TEST(Catalogue, PagesHoldTheirBoxes) {
    for (const CommodityEntry& e : catalogue()) {
        const bool page5 = e.array == Control::Crop || (e.array == Control::Crop1 && e.index <= 38);
        EXPECT_EQ(e.place.page, page5 ? 5 : 6) << e.reportName;
    }
}

TEST(Location, StatesAndCountiesWithTheirCodes) {
    ASSERT_EQ(states().size(), 5u);
    EXPECT_EQ(counties().size(), 36u);
    std::map<Control, int> perState;
    std::set<std::pair<int, int>> pairs;
    for (const CountyInfo& c : counties()) {
        EXPECT_EQ(c.index, perState[c.array]++) << c.caption;
        EXPECT_GT(c.code, 0);
        const auto state =
            std::find_if(states().begin(), states().end(), [&](const StateInfo& s) { return s.counties == c.array; });
        ASSERT_NE(state, states().end());
        EXPECT_TRUE(pairs.insert({state->code, c.code}).second) << c.caption;
    }
    for (const StateInfo& s : states()) EXPECT_EQ(perState[s.counties], info(s.counties).elements) << s.caption;
}

struct HiddenCounts {
    const char* name;
    bool HiddenBox::*list;
    int crop, crop1, crop2;

    friend void PrintTo(const HiddenCounts& c, std::ostream* os) { *os << c.name; }
};

class HiddenPerState : public ::testing::TestWithParam<HiddenCounts> {};

TEST_P(HiddenPerState, Counts) {
    const HiddenCounts& c = GetParam();
    std::map<Control, int> count;
    for (const HiddenBox& box : hiddenBoxes())
        if (box.*c.list) ++count[box.array];
    EXPECT_EQ(count[Control::Crop], c.crop);
    EXPECT_EQ(count[Control::Crop1], c.crop1);
    EXPECT_EQ(count[Control::Crop2], c.crop2);
}

INSTANTIATE_TEST_SUITE_P(States, HiddenPerState,
                         ::testing::Values(HiddenCounts{"Michigan", &HiddenBox::michigan, 14, 6, 8},
                                           HiddenCounts{"NewEngland", &HiddenBox::newEngland, 16, 5, 9},
                                           HiddenCounts{"Florida", &HiddenBox::florida, 17, 8, 10}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Location, HiddenBoxesAreCommodityEntriesAStateMayTouch) {
    for (const HiddenBox& box : hiddenBoxes()) {
        const int last = box.array == Control::Crop2 ? 55 : 49;
        EXPECT_LE(box.index, last) << refName({box.array, box.index});
        EXPECT_TRUE(box.michigan || box.newEngland || box.florida);
    }
}

}  // namespace
}  // namespace kbt2
