#include "commands/state.h"

#include "location/states.h"

namespace kbt2 {
namespace {

enum class StateList { Michigan, NewEngland, Florida };

// The boxes a state may hide. The last entries of Crop and Crop1 (index 50),
// the last entry of Crop2 (56) and the three transfer boxes are always offered
// and never touched.
// clang-format off
constexpr struct {
    Control array;
    int count;
} kShownOnStateChange[] = {
    {Control::Crop,  50},
    {Control::Crop1, 50},
    {Control::Crop2, 56},
};
// clang-format on

bool hiddenIn(const HiddenBox& box, StateList list) {
    switch (list) {
    case StateList::Michigan: return box.michigan;
    case StateList::NewEngland: return box.newEngland;
    case StateList::Florida: return box.florida;
    }
    return false;
}

void showOnly(Worksheet& ws, StateList list) {
    for (const auto& range : kShownOnStateChange)
        for (int i = 0; i < range.count; ++i) ws.setVisible({range.array, i}, true);
    for (const HiddenBox& box : hiddenBoxes())
        if (hiddenIn(box, list)) ws.setVisible({box.array, box.index}, false);
}

}  // namespace

// The handler does not care which option raised it: it looks at the selection
// as it is now. Only one state can be selected, so one branch acts; with none
// selected nothing changes.
void stateClick(Worksheet& ws) {
    const auto isSelected = [&ws](int state) { return ws.selected({Control::St, state}); };
    if (isSelected(1) || isSelected(2) || isSelected(3)) showOnly(ws, StateList::NewEngland);
    if (isSelected(0)) showOnly(ws, StateList::Michigan);
    if (isSelected(4)) showOnly(ws, StateList::Florida);
}

}  // namespace kbt2
