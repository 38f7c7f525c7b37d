// Pages 3 and 4: five years of income and expenses, and the preliminary KBT.

#include <QStringList>

#include "paint/qt_text.h"
#include "ui/field_binding.h"
#include "ui/page_table.h"
#include "ui/pages.h"

namespace kbt2::ui {
namespace {

using C = Control;

// clang-format off
// id, parent, title, cell, column stretch, row stretch
constexpr FrameItem kYearsFrames[] = {
    {0, -1, "", {}, "0001", "0000000001"},
};

// text, frame, cell, look
constexpr CaptionItem kYearsCaptions[] = {
    {"Tax Year",          0, {0, 0}},
    {"Allowable Income",  0, {0, 1}, Look::Heading},
    {"Allowable Expense", 0, {0, 2}, Look::Heading},
    {"1993",              0, {1, 0}},
    {"1994",              0, {2, 0}},
    {"1995",              0, {3, 0}},
    {"1996",              0, {4, 0}},
    {"1997",              0, {5, 0}},
    {"You must Enter a Value in each Box", 0, {7, 0, 1, 4}, Look::Notice},
    {"The computer will not accept any character except numbers (e.g. will not accept commas, periods, $)", 0, {8, 0, 1, 4}, Look::Notice},
};

// field, caption, frame, cell
constexpr FieldItem kYearsFields[] = {
    {{C::Allinc1, 0}, "Allowable Income, 1993",  0, {1, 1}},
    {{C::Allinc1, 1}, "Allowable Income, 1994",  0, {2, 1}},
    {{C::Allinc1, 2}, "Allowable Income, 1995",  0, {3, 1}},
    {{C::Allinc1, 3}, "Allowable Income, 1996",  0, {4, 1}},
    {{C::Allinc1, 4}, "Allowable Income, 1997",  0, {5, 1}},
    {{C::Allexp1, 0}, "Allowable Expense, 1993", 0, {1, 2}},
    {{C::Allexp1, 1}, "Allowable Expense, 1994", 0, {2, 2}},
    {{C::Allexp1, 2}, "Allowable Expense, 1995", 0, {3, 2}},
    {{C::Allexp1, 3}, "Allowable Expense, 1996", 0, {4, 2}},
    {{C::Allexp1, 4}, "Allowable Expense, 1997", 0, {5, 2}},
};

constexpr FrameItem kPreliminaryFrames[] = {
    {0, -1, "", {}, "0001", "000000001"},
};

constexpr CaptionItem kPreliminaryCaptions[] = {
    {"Allowable Income",  0, {0, 1}, Look::Heading},
    {"Allowable Expense", 0, {0, 2}, Look::Heading},
    {"Total",             0, {1, 0}},
    {"Average",           0, {2, 0}},
    {"Preliminary KBT",   0, {3, 0}},
    {"Adjustment Factor", 0, {5, 0}},
};

constexpr FieldItem kPreliminaryFields[] = {
    {{C::Totalinc},   "Total, Allowable Income",            0, {1, 1}},
    {{C::Totalexp},   "Total, Allowable Expense",           0, {1, 2}},
    {{C::Averageinc}, "Average, Allowable Income",          0, {2, 1}},
    {{C::Averageexp}, "Average, Allowable Expense",         0, {2, 2}},
    {{C::Text29},     "Preliminary KBT, Allowable Income",  0, {3, 1}},
    {{C::Text30},     "Preliminary KBT, Allowable Expense", 0, {3, 2}},
    {{C::GrowthFact}, "Adjustment Factor",                 0, {5, 1}},
    {{C::Command2},   "Calculate Preliminary &KBT and Adjustment Factor", 0, {7, 0, 1, 3}},
};
// clang-format on

}  // namespace

void buildYearsPage(QWidget* page, FieldBinding& binding) {
    layPage(page, {kYearsFrames, kYearsCaptions, kYearsFields}, binding);
    // The page's instructions describe each of its fields, so a screen
    // reader says them with the field, not only to someone reading the page.
    QStringList instructions;
    for (const CaptionItem& caption : kYearsCaptions)
        if (caption.look == Look::Notice) instructions << toQString(caption.text);
    for (const FieldItem& field : kYearsFields)
        binding.widget(field.field)->setAccessibleDescription(instructions.join(u' '));
}

void buildPreliminaryPage(QWidget* page, FieldBinding& binding) {
    layPage(page, {kPreliminaryFrames, kPreliminaryCaptions, kPreliminaryFields}, binding);
}

}  // namespace kbt2::ui
