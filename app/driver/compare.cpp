#include "app/driver/compare.h"

#include "app/driver/model_target.h"
#include "app/driver/script.h"
#include "commands/quiet_platform.h"
#include "worksheet/premium_rows.h"

namespace kbt2::driver {

void compareScenarios(const Case& scenarios, Session& session) {
    std::ostream& out = session.out();
    // The script's rate file places; every message of a copy answered OK and
    // printed, and nothing else reaching the outside: a copy has no window to
    // close and no file or printer to ask for.
    ScriptedPlatform script(session);
    QuietPlatform platform(script);
    for (size_t i = 0; i < scenarios.size(); ++i) {
        out << "SCENARIO " << quote(scenarios.name(i)) << '\n';
        Form copy(platform);
        copy.startAs(scenarios.worksheet(i).snapshot());
        copy.click(Control::Command4);
        for (const Message& message : platform.messages) session.reportMessage(message);
        platform.messages.clear();
        for (int k = 0; k < kPremiumColumns; ++k) {
            const FieldRef field{Control::Text18, k};
            out << refName(field) << '=' << quote(copy.worksheet().text(field)) << '\n';
        }
    }
}

}  // namespace kbt2::driver
