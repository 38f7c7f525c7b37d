#include "commands/clear.h"

#include "commands/premium_warnings.h"
#include "worksheet/premium_rows.h"
#include "worksheet/report_rows.h"

namespace kbt2 {
namespace {

// clang-format off
constexpr Control kPage1Texts[] = {
    Control::Producer1, Control::Producer2, Control::Producer3, Control::InsuranceYear, Control::MPCI,
    Control::TaxEntity, Control::ProducerPhone, Control::SSNEIN, Control::Agent1, Control::Agent2,
    Control::Agent3, Control::AgentPhone, Control::AgentCode, Control::Infobox,
};
constexpr Control kCountyOptions[] = {Control::Mi1, Control::Me1, Control::Ma1, Control::Nh1, Control::Fl1};
constexpr Control kCommodityBoxes[] = {Control::Crop, Control::Crop1, Control::Crop2};
constexpr Control kPreliminaryResults[] = {
    Control::Totalinc, Control::Averageinc, Control::Text29,
    Control::Totalexp, Control::Averageexp, Control::Text30, Control::GrowthFact,
};
constexpr FieldRef kPremiumSingles[] = {
    {Control::Text15, 1}, {Control::Projkbt}, {Control::Text15, 0}, {Control::Text21}, {Control::Croptext},
};
// clang-format on

void emptyAll(Worksheet& ws, Control array) {
    for (int i = 0; i < info(array).slots(); ++i) ws.setText({array, i}, {});
}

void deselectAll(Worksheet& ws, Control array) {
    for (int i = 0; i < info(array).slots(); ++i) ws.deselect({array, i});
}

}  // namespace

void clearClick(Worksheet& ws) {
    for (Control field : kPage1Texts) ws.setText({field}, {});

    // Deselecting raises no event, so the state handler does not run and the
    // boxes the last state hid stay hidden.
    deselectAll(ws, Control::St);
    for (Control county : kCountyOptions) deselectAll(ws, county);

    emptyAll(ws, Control::Allinc1);
    emptyAll(ws, Control::Allexp1);
    for (Control field : kPreliminaryResults) ws.setText({field}, {});

    // Each cleared box runs its group's transfer pass before the next one is
    // cleared; the rows are emptied afterwards, so the passes leave nothing.
    for (Control array : kCommodityBoxes)
        for (int i = 0; i < info(array).slots(); ++i)
            if (ws.checked({array, i})) ws.setChecked({array, i}, false);
    for (int row = 0; row < kReportRows; ++row) clearReportRow(ws, row);

    for (FieldRef field : kPremiumSingles) ws.setText(field, {});
    for (Control array : kPremiumRows) emptyAll(ws, array);
    for (const PremiumWarningTexts& warning : kPremiumWarningTexts) ws.setText({warning.result}, {});
}

}  // namespace kbt2
