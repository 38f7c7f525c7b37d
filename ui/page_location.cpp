// Page 2: the state options and, in one frame, the county options of all
// five states, each state's counties in a column under its name.

#include <vector>

#include "location/states.h"
#include "ui/page_table.h"
#include "ui/pages.h"

namespace kbt2::ui {
namespace {

enum Frame { Page, States, Counties };

// clang-format off
// id, parent, title, cell, column stretch, row stretch
constexpr FrameItem kFrames[] = {
    {Page,     -1,   "",       {},     "001", "01"},
    {States,   Page, "State",  {0, 0}, "",    "000001",             2},
    {Counties, Page, "County", {0, 1}, "",    "000000000000001",    2},
};
// clang-format on

}  // namespace

void buildLocationPage(QWidget* page, FieldBinding& binding) {
    std::vector<CaptionItem> captions;
    std::vector<FieldItem> fields;
    for (const StateInfo& state : states())
        fields.push_back({{Control::St, state.index}, state.caption, States, {state.index, 0}});
    for (const StateInfo& state : states())
        captions.push_back({state.caption, Counties, {0, state.index}, Look::Caption});
    for (const CountyInfo& county : counties()) {
        const int column = [&] {
            for (const StateInfo& state : states())
                if (state.counties == county.array) return state.index;
            return 0;
        }();
        fields.push_back({{county.array, county.index}, county.caption, Counties, {1 + county.index, column}});
    }
    layPage(page, {kFrames, captions, fields}, binding);
}

}  // namespace kbt2::ui
