#pragma once
// The transfer pass of the commodity check-box arrays: checked entries go
// into the commodity report, unchecked ones come out.

#include "commodities/catalogue.h"
#include "worksheet/worksheet.h"

namespace kbt2 {

// The click handler of a commodity check-box array: while the group's transfer
// box is checked, one transfer pass over the whole group. Nothing for an
// array that is no commodity group.
void transferPass(Worksheet& ws, Control array);

// Whether a removal of `entry` takes a row of this name: its first n
// characters equal the entry's removal prefix, unless the name is exactly the
// report name of another entry (so "Alfalfa" never takes an "Alfalfa Seed"
// row, nor one nursery entry the other's).
bool removalMatches(const CommodityEntry& entry, std::string_view rowName);

}  // namespace kbt2
