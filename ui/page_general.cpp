// Page 1: the producer, the agency and the case.

#include <QGridLayout>
#include <QLineEdit>
#include <algorithm>

#include "ui/field_binding.h"
#include "ui/field_look.h"
#include "ui/page_table.h"
#include "ui/pages.h"

namespace kbt2::ui {
namespace {

using C = Control;

// clang-format off
// id, parent, title, cell {row, column, rows, columns}, column stretch, row stretch
constexpr FrameItem kFrames[] = {
    {0, -1, "",                       {},            "01001", "000000000001"},
    {1, 0,  "",                       {6, 0},        "",      ""},
    {2, 0,  "IRS Accounting Method?", {7, 0, 2, 1},  "",      ""},
};

// text, frame, cell, look
constexpr CaptionItem kCaptions[] = {
    {"Producer Information", 0, {0, 0, 1, 2}},
    {"Phone Number",         0, {4, 0}},
    {"Type of Tax Entity",   0, {5, 0}},
    {"Agency Information",   0, {0, 3, 1, 2}},
    {"Phone Number",         0, {4, 3}},
    {"Agent Code",           0, {5, 3}},
    {"Insurance Year",       0, {6, 3}},
    {"State(s)",             0, {7, 3}},
    {"County(ies)",          0, {8, 3}},
    {"Liability for MPCI policies which are expected to be purchased for crops harvested in 1999", 0, {9, 0, 1, 4}, Look::Notice},
    {"Report Of Changes:",   0, {10, 0, 1, 5}},
};

// field, caption, frame, cell
constexpr FieldItem kFields[] = {
    {{C::Producer1},     "Producer Information, line 1", 0, {1, 0, 1, 2}},
    {{C::Producer2},     "Producer Information, line 2", 0, {2, 0, 1, 2}},
    {{C::Producer3},     "Producer Information, line 3", 0, {3, 0, 1, 2}},
    {{C::ProducerPhone}, "Producer Phone Number",  0, {4, 1}},
    {{C::TaxEntity},     "Type of Tax Entity",     0, {5, 1}},
    // The number straight after the tax entity: what is typed there is the
    // number, never lost on an option. Its kind (SSN or EIN) follows.
    {{C::SSNEIN},        "SSN or EIN",             0, {6, 1}},
    {{C::SSN},           "SSN",                    1, {0, 0}},
    {{C::EIN},           "EIN",                    1, {0, 1}},
    {{C::IRSCash},       "Cash",                   2, {0, 0}},
    {{C::IRSAcc},        "Accrural",               2, {0, 1}},
    {{C::Agent1},        "Agency Information, line 1",   0, {1, 3, 1, 2}},
    {{C::Agent2},        "Agency Information, line 2",   0, {2, 3, 1, 2}},
    {{C::Agent3},        "Agency Information, line 3",   0, {3, 3, 1, 2}},
    {{C::AgentPhone},    "Agency Phone Number",    0, {4, 4}},
    {{C::AgentCode},     "Agent Code",             0, {5, 4}},
    {{C::InsuranceYear}, "Insurance Year",         0, {6, 4}},
    {{C::statename},     "State(s)",               0, {7, 4}},
    {{C::countyname},    "County(ies)",            0, {8, 4}},
    {{C::MPCI},          "Liability for MPCI policies which are expected to be purchased for crops harvested in 1999", 0, {9, 4}},
    {{C::Infobox},       "Report Of Changes:",     0, {11, 0, 1, 5}},
};

// The room a text box keeps for what is typed into it, in average characters:
// a name or address line, a phone number with an extension, a legal form.
struct FieldWidth { Control field; int chars; };
constexpr FieldWidth kFieldWidths[] = {
    {C::Producer1,     50},
    {C::Producer2,     50},
    {C::Producer3,     50},
    {C::Agent1,        50},
    {C::Agent2,        50},
    {C::Agent3,        50},
    {C::ProducerPhone, 25},
    {C::AgentPhone,    25},
    {C::TaxEntity,     25},
    {C::SSNEIN,        25},
};

// The caption columns of the producer's and the agency's halves.
constexpr int kCaptionColumns[] = {0, 3};
// clang-format on

// Both halves of the page share its width evenly: their field columns take
// the same share of it, so their caption columns must be as wide as each
// other.
void equalCaptionColumns(QGridLayout* grid) {
    int widest = 0;
    for (int i = 0; i < grid->count(); ++i) {
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        const bool captionColumn =
            std::find(std::begin(kCaptionColumns), std::end(kCaptionColumns), column) != std::end(kCaptionColumns);
        if (captionColumn && columnSpan == 1) widest = std::max(widest, grid->itemAt(i)->sizeHint().width());
    }
    for (int column : kCaptionColumns) grid->setColumnMinimumWidth(column, widest);
}

}  // namespace

void buildGeneralPage(QWidget* page, FieldBinding& binding) {
    layPage(page, {kFrames, kCaptions, kFields}, binding);
    for (const FieldWidth& width : kFieldWidths)
        setWidthInChars(static_cast<QLineEdit*>(binding.widget({width.field})), width.chars);
    equalCaptionColumns(static_cast<QGridLayout*>(page->layout()));
}

}  // namespace kbt2::ui
