#include "ui/pages.h"

#include "commodities/catalogue.h"
#include "worksheet/premium_rows.h"
#include "worksheet/report_rows.h"

namespace kbt2::ui {
namespace {

// The first report row of page 8, and the Text15 element shown on page 8.
constexpr int kFirstRowOfPage8 = 9;

// clang-format off
// control, page (1-based; 0: outside the pages)
struct ControlPage { Control control; int page; };
constexpr ControlPage kControlPages[] = {
    {Control::Producer1, 1}, {Control::Producer2, 1}, {Control::Producer3, 1}, {Control::ProducerPhone, 1},
    {Control::TaxEntity, 1}, {Control::SSN, 1}, {Control::EIN, 1}, {Control::SSNEIN, 1}, {Control::IRSCash, 1},
    {Control::IRSAcc, 1}, {Control::InsuranceYear, 1}, {Control::Agent1, 1}, {Control::Agent2, 1},
    {Control::Agent3, 1}, {Control::AgentPhone, 1}, {Control::AgentCode, 1}, {Control::MPCI, 1},
    {Control::statename, 1}, {Control::countyname, 1}, {Control::Infobox, 1},
    {Control::St, 2}, {Control::Mi1, 2}, {Control::Me1, 2}, {Control::Ma1, 2}, {Control::Nh1, 2}, {Control::Fl1, 2},
    {Control::Allinc1, 3}, {Control::Allexp1, 3},
    {Control::Totalinc, 4}, {Control::Averageinc, 4}, {Control::Text29, 4}, {Control::Totalexp, 4},
    {Control::Averageexp, 4}, {Control::Text30, 4}, {Control::GrowthFact, 4}, {Control::Command2, 4},
    {Control::Command5, 6},
    {Control::Command3, 8},
    {Control::Projkbt, 9}, {Control::Text21, 9}, {Control::Croptext, 9}, {Control::Lvstex, 9},
    {Control::Mpciex, 9}, {Control::Command4, 9},
};
// clang-format on

}  // namespace

int pageOf(FieldRef field) {
    if (isReportRowField(field.control)) return field.index < kFirstRowOfPage8 ? 6 : 7;
    if (isPremiumRow(field.control)) return 8;
    if (field.control == Control::Text15) return field.index == 1 ? 7 : 8;
    if (const CommodityGroup* group = commodityGroup(field.control)) {
        if (field.index == group->transferBox) return 5;
        return groupEntries(field.control)[static_cast<size_t>(field.index)].place.page - 1;
    }
    for (const ControlPage& entry : kControlPages)
        if (entry.control == field.control) return entry.page - 1;
    return -1;
}

void buildPage(int index, QWidget* page, FieldBinding& binding) {
    switch (index) {
    case 0: buildGeneralPage(page, binding); break;
    case 1: buildLocationPage(page, binding); break;
    case 2: buildYearsPage(page, binding); break;
    case 3: buildPreliminaryPage(page, binding); break;
    case 4: buildCommodityPage(5, page, binding); break;
    case 5: buildCommodityPage(6, page, binding); break;
    case 6: buildReportPage(7, page, binding); break;
    case 7: buildReportPage(8, page, binding); break;
    case 8: buildPremiumPage(page, binding); break;
    default: break;
    }
}

}  // namespace kbt2::ui
