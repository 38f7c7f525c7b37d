#include "location/states.h"

#include "worksheet/worksheet.h"

namespace kbt2 {
namespace {

// clang-format off
constexpr StateInfo kStates[] = {
    {0, "Michigan",      26, Control::Mi1},
    {1, "Maine",         23, Control::Me1},
    {2, "Massachusetts", 25, Control::Ma1},
    {3, "New Hamp.",     33, Control::Nh1},
    {4, "Florida",       12, Control::Fl1},
};

// option array, index, caption, county code
constexpr CountyInfo kCounties[] = {
    {Control::Mi1, 0,  "Allegan",       5},
    {Control::Mi1, 1,  "Berrien",       21},
    {Control::Mi1, 2,  "Kent",          81},
    {Control::Mi1, 3,  "Ottawa",        139},
    {Control::Mi1, 4,  "Van Buren",     159},
    {Control::Me1, 0,  "Androscoggin",  1},
    {Control::Me1, 1,  "Cumberland",    5},
    {Control::Me1, 2,  "Kennebec",      11},
    {Control::Me1, 3,  "York",          31},
    {Control::Ma1, 0,  "Barnstable",    1},
    {Control::Ma1, 1,  "Berkshire",     3},
    {Control::Ma1, 2,  "Bristol",       5},
    {Control::Ma1, 3,  "Dukes",         7},
    {Control::Ma1, 4,  "Essex",         9},
    {Control::Ma1, 5,  "Franklin",      11},
    {Control::Ma1, 6,  "Hampden",       13},
    {Control::Ma1, 7,  "Hampshire",     15},
    {Control::Ma1, 8,  "Middlesex",     17},
    {Control::Ma1, 9,  "Nantucket",     19},
    {Control::Ma1, 10, "Norfolk",       21},
    {Control::Ma1, 11, "Plymouth",      23},
    {Control::Ma1, 12, "Suffolk",       25},
    {Control::Ma1, 13, "Worchester",    27},
    {Control::Nh1, 0,  "Belknap",       1},
    {Control::Nh1, 1,  "Cheshire",      5},
    {Control::Nh1, 2,  "Hilsborough",   11},
    {Control::Nh1, 3,  "Merrimack",     13},
    {Control::Nh1, 4,  "Rockingham",    15},
    {Control::Nh1, 5,  "Strafford",     17},
    {Control::Nh1, 6,  "Sullivan",      19},
    {Control::Fl1, 0,  "Alachua",       1},
    {Control::Fl1, 1,  "Gilchrist",     41},
    {Control::Fl1, 2,  "Levy",          75},
    {Control::Fl1, 3,  "Marion",        83},
    {Control::Fl1, 4,  "Sumter",        119},
    {Control::Fl1, 5,  "Suwannee",      121},
};

// box, hidden in Michigan, in Maine / Massachusetts / New Hampshire, in Florida
constexpr HiddenBox kHidden[] = {
    {Control::Crop,  0,  true , true , true },  // Almonds
    {Control::Crop,  2,  false, false, true },  // Apricots
    {Control::Crop,  3,  false, false, true },  // Asparagus
    {Control::Crop,  5,  true , true , true },  // Avocado
    {Control::Crop,  7,  false, false, true },  // Beans, Proc.
    {Control::Crop,  8,  false, false, true },  // Beans, Dry
    {Control::Crop,  9,  false, false, true },  // Beets
    {Control::Crop,  17, false, false, true },  // Carambola
    {Control::Crop,  21, false, true , true },  // Cherry, Sweet
    {Control::Crop,  22, false, false, true },  // Cherry, Tart
    {Control::Crop,  24, true , true , false},  // Citrus(Other)
    {Control::Crop,  25, true , true , false},  // Grapefruit
    {Control::Crop,  26, true , true , false},  // Lemon
    {Control::Crop,  27, true , true , false},  // Limes
    {Control::Crop,  28, true , true , false},  // Oranges
    {Control::Crop,  29, true , true , false},  // Tangelos
    {Control::Crop,  30, true , true , false},  // Tangerines
    {Control::Crop,  32, true , true , false},  // Cotton
    {Control::Crop,  33, true , true , true },  // Cotton,ELS
    {Control::Crop,  34, false, false, true },  // Crambe
    {Control::Crop,  35, false, false, true },  // Cranberries
    {Control::Crop,  37, true , true , true },  // Dates
    {Control::Crop,  40, true , true , true },  // Figs
    {Control::Crop,  41, false, true , true },  // Flax
    {Control::Crop,  45, true , true , true },  // Forage seeding
    {Control::Crop1, 13, true , false, true },  // Nursery (Container)
    {Control::Crop1, 14, true , true , true },  // Mango trees
    {Control::Crop1, 15, false, false, true },  // Maple
    {Control::Crop1, 25, false, false, true },  // Nectarines
    {Control::Crop1, 28, true , true , false},  // Okra
    {Control::Crop1, 33, false, false, true },  // Parsnips
    {Control::Crop1, 36, true , true , false},  // Peanuts
    {Control::Crop1, 38, false, false, true },  // Peas,Dry
    {Control::Crop1, 40, true , true , false},  // Pecans
    {Control::Crop1, 46, false, false, true },  // Plums
    {Control::Crop1, 49, true , true , true },  // Prunes
    {Control::Crop2, 0,  true , true , false},  // Rapseed
    {Control::Crop2, 1,  true , true , true },  // Raisins
    {Control::Crop2, 2,  false, false, true },  // Rhubard
    {Control::Crop2, 3,  true , true , true },  // Rice
    {Control::Crop2, 4,  false, true , false},  // Rye
    {Control::Crop2, 14, false, false, true },  // Seed,Sesame
    {Control::Crop2, 15, false, false, true },  // Seed,Vegetable
    {Control::Crop2, 22, true , true , true },  // Sugarcane
    {Control::Crop2, 23, false, false, true },  // Sugar Beets
    {Control::Crop2, 26, true , true , false},  // Sweet Potatoes
    {Control::Crop2, 27, false, false, true },  // Table Grapes
    {Control::Crop2, 28, false, false, true },  // Tobacco
    {Control::Crop2, 31, true , true , true },  // Walnuts
    {Control::Crop2, 33, true , true , false},  // Wild Rice
    {Control::Crop2, 48, true , true , false},  // Reptiles
};
// clang-format on

}  // namespace

std::span<const StateInfo> states() { return kStates; }
std::span<const CountyInfo> counties() { return kCounties; }
std::span<const HiddenBox> hiddenBoxes() { return kHidden; }

int selectedStateCode(const Worksheet& ws) {
    for (const StateInfo& s : kStates)
        if (ws.selected({Control::St, s.index})) return s.code;
    return 0;
}

int selectedCountyCode(const Worksheet& ws) {
    for (const CountyInfo& c : kCounties)
        if (ws.selected({c.array, c.index})) return c.code;
    return 0;
}

}  // namespace kbt2
