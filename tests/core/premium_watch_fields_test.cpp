// The premium's inputs and outputs as the window's watch of page 9 lists
// them, against what Calculate Premium really reads and writes: a field it
// reads that is no input would leave stale figures unmarked, a field it
// writes that is no output would be taken for a change by hand.

#include "commands/premium_watch_fields.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "commands/form.h"
#include "commands/premium.h"
#include "fake_platform.h"
#include "location/states.h"
#include "made_up_rates.h"

namespace kbt2 {
namespace {

using testing_support::FakePlatform;
using testing_support::MadeUpRates;

std::set<size_t> slotsOf(const std::vector<FieldRef>& fields) {
    std::set<size_t> slots;
    for (const FieldRef f : fields) slots.insert(Worksheet::slotOf(f));
    return slots;
}

std::vector<FieldRef> everyField() {
    std::vector<FieldRef> fields;
    for (const ControlInfo& c : kControls)
        for (int i = 0; i < c.slots(); ++i) fields.push_back({c.control, i});
    return fields;
}

TEST(PremiumWatchFields, NoFieldIsBothOrListedTwice) {
    const auto inputs = premiumInputFields();
    const auto outputs = premiumOutputFields();
    EXPECT_EQ(slotsOf(inputs).size(), inputs.size());
    EXPECT_EQ(slotsOf(outputs).size(), outputs.size());
    for (const FieldRef f : inputs) EXPECT_FALSE(slotsOf(outputs).contains(Worksheet::slotOf(f))) << refName(f);
}

// The county is one choice among the counties of every state the page offers.
TEST(PremiumWatchFields, TheCountyIsChosenAmongEveryState) {
    std::set<Control> offered;
    for (const StateInfo& state : states()) offered.insert(state.counties);
    EXPECT_EQ(std::set<Control>(std::begin(kPremiumCountyOptions), std::end(kPremiumCountyOptions)), offered);
}

// A Michigan farm in Kent county with incomes of 1000, an MPCI liability and
// four commodities, the first livestock, priced from made-up rates.
class PremiumReadsAndWrites : public testing::Test {
protected:
    static void farm(const std::function<void(FieldRef, std::string)>& setText,
                     const std::function<void(FieldRef)>& select) {
        select({Control::St, 0});
        select({Control::Mi1, 2});
        for (int year = 0; year < 5; ++year) setText({Control::Allinc1, year}, std::to_string(1000 + 10 * year));
        setText({Control::Averageinc}, "1020");
        setText({Control::MPCI}, "150");
        const int kbts[] = {300, 250, 150, 100};
        for (int row = 0; row < 4; ++row) {
            setText({Control::Cropname1, row}, "Commodity " + std::to_string(row));
            setText({Control::Unit1, row}, std::to_string(41 + row));
            setText({Control::Totamt1, row}, std::to_string(kbts[row]));
            setText({Control::Expval1, row}, "1");
        }
    }

    MadeUpRates rates{{'Y'}, {'N', 'Y'}};
    FakePlatform platform;
};

// What a run left: every field of the worksheet and every message.
struct PremiumRun {
    Worksheet::Snapshot after;
    std::vector<std::string> messages;
    bool calculated = false;
};

PremiumRun runOn(Worksheet ws, RateSource& rates) {
    FakePlatform platform;
    const bool calculated = command4Click(ws, platform, rates).calculated();
    return {ws.snapshot(), platform.messageTexts(), calculated};
}

// Every field that is no input is set otherwise, one at a time: the premium
// must give the very same figures, messages and fields. A value the premium
// overwrites is its own; the field changed by hand is not compared.
TEST_F(PremiumReadsAndWrites, ReadsNothingButItsInputs) {
    Worksheet base;
    farm([&](FieldRef f, std::string text) { base.setText(f, std::move(text)); }, [&](FieldRef f) { base.select(f); });
    const Worksheet::Snapshot unchanged = base.snapshot();
    const PremiumRun expected = runOn(base, rates);
    ASSERT_TRUE(expected.calculated);

    const std::set<size_t> inputs = slotsOf(premiumInputFields());
    int tried = 0;
    for (const FieldRef field : everyField()) {
        if (inputs.contains(Worksheet::slotOf(field))) continue;
        std::vector<std::function<void(Worksheet&)>> changes;
        switch (info(field.control).kind) {
        case Kind::Check: changes.push_back([&](Worksheet& ws) { ws.setChecked(field, !ws.checked(field)); }); break;
        case Kind::Option:
            changes.push_back([&](Worksheet& ws) { ws.selected(field) ? ws.deselect(field) : ws.select(field); });
            break;
        default:
            for (const char* text : {"", "7"})
                if (base.text(field) != text) changes.push_back([&, text](Worksheet& ws) { ws.setText(field, text); });
        }
        changes.push_back([&](Worksheet& ws) { ws.setVisible(field, !ws.visible(field)); });
        for (const auto& change : changes) {
            Worksheet changed = base;
            change(changed);
            const Worksheet::Snapshot before = changed.snapshot();
            const PremiumRun run = runOn(changed, rates);
            ++tried;
            EXPECT_EQ(run.messages, expected.messages) << refName(field);
            for (size_t slot = 0; slot < Worksheet::slotCount(); ++slot) {
                if (before.fields[slot] != unchanged.fields[slot]) continue;  // changed by hand
                if (run.after.fields[slot] != expected.after.fields[slot]) {
                    ADD_FAILURE() << "the premium reads " << refName(field) << ", which is no input";
                    break;
                }
            }
        }
    }
    EXPECT_GT(tried, 500);
}

// The premium through the form, with every output typed over by hand first:
// it changes every output and nothing else.
TEST_F(PremiumReadsAndWrites, WritesEveryOutputAndNothingElse) {
    Form form(platform, rates);
    farm([&](FieldRef f, std::string text) { form.setText(f, std::move(text)); }, [&](FieldRef f) { form.select(f); });
    for (const FieldRef f : premiumOutputFields()) form.setText(f, "?");
    std::set<size_t> written;
    form.worksheet().addObserver([&](const FieldChange& change) { written.insert(Worksheet::slotOf(change.field)); });
    form.click(Control::Command4);
    ASSERT_TRUE(form.lastPremium().calculated());
    EXPECT_EQ(written, slotsOf(premiumOutputFields()));
}

// A premium that stops at the rate file writes a part of its outputs, and
// an MPCI liability left empty is filled in with 0, the one input it writes:
// the watch takes its snapshot of the inputs after the premium.
TEST_F(PremiumReadsAndWrites, WhenItStopsAtTheRateFileWritesOnlyOutputsAndTheEmptyMpci) {
    Form form(platform);  // no rate file in any folder
    farm([&](FieldRef f, std::string text) { form.setText(f, std::move(text)); }, [&](FieldRef f) { form.select(f); });
    form.setText({Control::MPCI}, "");
    std::set<size_t> written;
    form.worksheet().addObserver([&](const FieldChange& change) { written.insert(Worksheet::slotOf(change.field)); });
    form.click(Control::Command4);
    ASSERT_FALSE(form.lastPremium().calculated());
    ASSERT_FALSE(written.empty());
    std::set<size_t> allowed = slotsOf(premiumOutputFields());
    allowed.insert(Worksheet::slotOf({Control::MPCI}));
    for (const size_t slot : written) EXPECT_TRUE(allowed.contains(slot)) << slot;
    EXPECT_TRUE(written.contains(Worksheet::slotOf({Control::MPCI})));
}

}  // namespace
}  // namespace kbt2
