#pragma once
// The nine pages of the worksheet window.

#include <QWidget>
#include <array>
#include <string_view>

#include "worksheet/controls.h"

namespace kbt2::ui {

class FieldBinding;

inline constexpr int kPageCount = 9;

// clang-format off
inline constexpr std::array<std::string_view, kPageCount> kPageCaptions = {
    "1. General Farm Information",
    "2. State and County",
    "3. Kelbrant",
    "4. Calculate KBT ",
    "5. Commodity Names (Page 1)",
    "6. Commodity names (Page 2)",
    "7.  Commodity Report (Page 1)",
    "8.  Commodity Report (Page 2)",
    "9. Calculate Premium",
};
// clang-format on

// The page (0-based) that holds a field's widget; -1 for the buttons outside
// the pages.
int pageOf(FieldRef field);

// Builds the widgets of page `index` (0-based) into `page`.
void buildPage(int index, QWidget* page, FieldBinding& binding);

// One builder per page or kind of page.
void buildGeneralPage(QWidget* page, FieldBinding& binding);
void buildLocationPage(QWidget* page, FieldBinding& binding);
void buildYearsPage(QWidget* page, FieldBinding& binding);
void buildPreliminaryPage(QWidget* page, FieldBinding& binding);
void buildCommodityPage(int pageNumber, QWidget* page, FieldBinding& binding);
void buildReportPage(int pageNumber, QWidget* page, FieldBinding& binding);
void buildPremiumPage(QWidget* page, FieldBinding& binding);

}  // namespace kbt2::ui
