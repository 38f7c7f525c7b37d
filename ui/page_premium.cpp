// Page 9: the premium table, one column per coverage level, with the single
// results beside it and the button that calculates them.

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <deque>
#include <string>
#include <vector>

#include "ui/accessibility.h"
#include "ui/field_binding.h"
#include "ui/page_table.h"
#include "ui/pages.h"
#include "worksheet/premium_rows.h"

namespace kbt2::ui {
namespace {

using C = Control;

enum Frame { Page, Table };

// clang-format off
// The caption of each row of the table, top to bottom.
constexpr std::string_view kRowCaptions[] = {
    "Indemnity Threshold",
    "Weighted average rate",
    "Diversification Factor",
    "KBT Rate",
    "KBT Liability",
    "Net KBT Liability",
    "Gross Premium",
    "Subsidy",
    "Producer Premium",
};
static_assert(std::size(kRowCaptions) == std::size(kPremiumRows));


// The single results stand in the table's grid, right of it, each on a row
// of the table: grid columns 5 and 6 after a gap in column 4.
// id, parent, title, cell, column stretch, row stretch
constexpr FrameItem kFrames[] = {
    {Page,  -1,   "", {},           "1",       "00001"},
    {Table, Page, "", {0, 0},       "0111021", "0000000001"},
};
constexpr int kGapColumn = 4;
// The page's row between the table and Calculate Premium.
constexpr int kMarkRow = 1;
constexpr int kButtonRow = 2;
constexpr int kSideCaptionColumn = 5;
// Room enough for the longest side caption on two lines.
constexpr int kSideCaptionChars = 36;
constexpr int kGapChars = 3;

// text, frame, cell, look
constexpr CaptionItem kSideCaptions[] = {
    {"Livestock exceed 35% of expected KBT",              Table, {1, 5}, Look::Notice},
    {"Livestock and MPCI crops exceeds 50% of exp. KBT",  Table, {2, 5}, Look::Notice},
    {"Preliminary KBT (Tab 4)",                           Table, {3, 5}, Look::Notice},
    {"Total expected KBT (Tab 8)",                        Table, {4, 5}, Look::Notice},
    {"Preliminary estimate of Allowable KBT (subject to company approval)", Table, {5, 5}, Look::Notice},
    {"Number of crops used to calculate the diversification factor",       Table, {6, 5}, Look::Notice},
    {"(Must complete the State and County (Tab 2), enter KBT data (Tab 3), Calculate KBT (Tab 4), identify Commodities, page 2 (Tab 6), and Intended Commodity  Report, page 2 (Tab 8) before calculating premium.)", Page, {3, 0}, Look::Notice},
};

// field, caption, frame, cell
constexpr FieldItem kSideFields[] = {
    {{C::Lvstex},    "Livestock exceed 35% of expected KBT",             Table, {1, 6}},
    {{C::Mpciex},    "Livestock and MPCI crops exceeds 50% of exp. KBT", Table, {2, 6}},
    {{C::Projkbt},   "Preliminary KBT (Tab 4)",                          Table, {3, 6}},
    {{C::Text15, 0}, "Total expected KBT (Tab 8)",                       Table, {4, 6}},
    {{C::Text21},    "Preliminary estimate of Allowable KBT (subject to company approval)", Table, {5, 6}},
    {{C::Croptext},  "Number of crops used to calculate the diversification factor",       Table, {6, 6}},
    {{C::Command4},  "Calculate Pre&mium",                                Page, {2, 0}},
};
// clang-format on

}  // namespace

void buildPremiumPage(QWidget* page, FieldBinding& binding) {
    std::vector<CaptionItem> captions;
    std::vector<FieldItem> fields;
    std::deque<std::string> names;  // "Subsidy, .80": the field's accessible name
    int column = 1;
    for (std::string_view level : kCoverageCaptions) captions.push_back({level, Table, {0, column++}, Look::Heading});
    int row = 1;
    for (std::string_view caption : kRowCaptions) captions.push_back({caption, Table, {row++, 0}});
    // Column by column: the keyboard goes down one coverage level, then the next.
    for (int level = 0; level < kPremiumColumns; ++level) {
        for (size_t k = 0; k < std::size(kPremiumRows); ++k) {
            names.push_back(std::string(kRowCaptions[k]) + ", " + std::string(kCoverageCaptions[level]));
            fields.push_back({{kPremiumRows[k], level}, names.back(), Table, {1 + static_cast<int>(k), 1 + level}});
        }
    }
    captions.insert(captions.end(), std::begin(kSideCaptions), std::end(kSideCaptions));
    fields.insert(fields.end(), std::begin(kSideFields), std::end(kSideFields));
    layPage(page, {kFrames, captions, fields}, binding);
    QWidget* tableFrame = static_cast<QGridLayout*>(page->layout())->itemAtPosition(0, 0)->widget();
    auto* table = static_cast<QGridLayout*>(tableFrame->layout());
    const int averageChar = page->fontMetrics().averageCharWidth();
    table->setColumnMinimumWidth(kGapColumn, averageChar * kGapChars);
    table->setColumnMinimumWidth(kSideCaptionColumn, averageChar * kSideCaptionChars);

    // Shown by the window while the figures above no longer hold.
    auto* mark = new QLabel(page);
    mark->setObjectName(QStringLiteral("premiumFiguresMark"));
    mark->setWordWrap(true);
    mark->setFrameShape(QFrame::Box);
    mark->setMargin(averageChar / 2);
    QFont bold = mark->font();
    bold.setBold(true);
    mark->setFont(bold);
    mark->hide();
    auto* grid = static_cast<QGridLayout*>(page->layout());
    grid->addWidget(mark, kMarkRow, 0);

    // Premium Details stands beside Calculate Premium; the window connects it.
    auto* details = new QPushButton(QStringLiteral("Premium &Details…"), page);
    details->setObjectName(QStringLiteral("premiumDetailsButton"));
    // Off the typist's Tab walk, which goes over the fields of the page and
    // then the buttons below it; Alt+D and Ctrl+D reach it from the keyboard.
    // A screen reader's user finds it on the walk, after the figures.
    reachWhileListened(details);
    QWidget* calculate = binding.widget({C::Command4});
    grid->removeWidget(calculate);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(calculate);
    buttons->addWidget(details);
    buttons->addStretch(1);
    grid->addLayout(buttons, kButtonRow, 0);
}

}  // namespace kbt2::ui
