#pragma once
// The fixed catalogue of the 159 commodities offered as check boxes on pages
// 5 and 6, and the three commodity groups with their transfer boxes.

#include <span>
#include <string_view>

#include "worksheet/controls.h"

namespace kbt2 {

struct Place {
    int page;
    int column;  // from the left, 1-based
    int row;     // from the top, 1-based
};

struct CommodityEntry {
    Control array;                    // Crop, Crop1 or Crop2
    int index;                        // also the entry's turn within a transfer pass
    std::string_view caption;         // shown beside the box; leading blanks indent
    std::string_view captionControl;  // the label that shows the caption
    Place place;
    std::string_view reportName;  // written into Cropname1 of the row it takes
    int code;                     // written into Unit1; the key of the rate file
    int prefixLength;             // the removal prefix is the first n characters

    std::string_view removalPrefix() const { return reportName.substr(0, static_cast<size_t>(prefixLength)); }
};

// A check-box array: its commodity entries and, at the highest index, its
// transfer box.
struct CommodityGroup {
    Control array;
    int transferBox;  // index of the transfer box; entries are 0 .. transferBox-1
};

inline constexpr CommodityGroup kCommodityGroups[] = {
    {Control::Crop, 51},
    {Control::Crop1, 51},
    {Control::Crop2, 57},
};

// All 159 entries, group by group, each group in index order.
std::span<const CommodityEntry> catalogue();

// The entries of one group, in index order; empty for a control that is no group.
std::span<const CommodityEntry> groupEntries(Control array);

// The group of a check-box array, or nullptr.
const CommodityGroup* commodityGroup(Control array);

}  // namespace kbt2
