// Page 1: the producer, the agency and the case.

#include "ui/page_table.h"
#include "ui/pages.h"

namespace kbt2::ui {
namespace {

using C = Control;

// clang-format off
// id, parent, title, cell {row, column, rows, columns}, column stretch, row stretch
constexpr FrameItem kFrames[] = {
    {0, -1, "",                       {},            "01003", "000000000001"},
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
    {{C::ProducerPhone}, "Phone Number",           0, {4, 1}},
    {{C::TaxEntity},     "Type of Tax Entity",     0, {5, 1}},
    {{C::SSN},           "SSN",                    1, {0, 0}},
    {{C::EIN},           "EIN",                    1, {0, 1}},
    {{C::SSNEIN},        "SSN or EIN",             0, {6, 1}},
    {{C::IRSCash},       "Cash",                   2, {0, 0}},
    {{C::IRSAcc},        "Accrural",               2, {0, 1}},
    {{C::Agent1},        "Agency Information, line 1",   0, {1, 3, 1, 2}},
    {{C::Agent2},        "Agency Information, line 2",   0, {2, 3, 1, 2}},
    {{C::Agent3},        "Agency Information, line 3",   0, {3, 3, 1, 2}},
    {{C::AgentPhone},    "Phone Number",           0, {4, 4}},
    {{C::AgentCode},     "Agent Code",             0, {5, 4}},
    {{C::InsuranceYear}, "Insurance Year",         0, {6, 4}},
    {{C::statename},     "State(s)",               0, {7, 4}},
    {{C::countyname},    "County(ies)",            0, {8, 4}},
    {{C::MPCI},          "Liability for MPCI policies which are expected to be purchased for crops harvested in 1999", 0, {9, 4}},
    {{C::Infobox},       "Report Of Changes:",     0, {11, 0, 1, 5}},
};
// clang-format on

}  // namespace

void buildGeneralPage(QWidget* page, FieldBinding& binding) { layPage(page, {kFrames, kCaptions, kFields}, binding); }

}  // namespace kbt2::ui
