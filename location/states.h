#pragma once
// The states and counties where the plan is offered, with their FIPS codes,
// and the commodities each state does not offer.

#include <span>
#include <string_view>

#include "worksheet/controls.h"

namespace kbt2 {

struct StateInfo {
    int index;  // of the option St(index)
    std::string_view caption;
    int code;
    Control counties;  // the county option array of this state
};

struct CountyInfo {
    Control array;  // Mi1, Me1, Ma1, Nh1 or Fl1
    int index;
    std::string_view caption;
    int code;
};

// The commodity boxes a state hides; New England is Maine, Massachusetts and
// New Hampshire, which share one list.
struct HiddenBox {
    Control array;
    int index;
    bool michigan;
    bool newEngland;
    bool florida;
};

std::span<const StateInfo> states();
std::span<const CountyInfo> counties();
std::span<const HiddenBox> hiddenBoxes();

// The codes of the selected options, 0 when none is selected.
class Worksheet;
int selectedStateCode(const Worksheet& ws);
int selectedCountyCode(const Worksheet& ws);

}  // namespace kbt2
