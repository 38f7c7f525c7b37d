// The driver's script reader on any line: it either reads an action that the
// runner can perform or reports an error, and never reads past the line.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "app/driver/script.h"
#include "commands/case.h"
#include "fuzz/require.h"

using kbt2::fuzzing::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kbt2;
    using namespace kbt2::driver;
    // A copy of exactly `size` bytes, so ASan sees any read past the line.
    const std::string line(reinterpret_cast<const char*>(data), size);
    const ParsedLine parsed = parseLine(line);

    if (const auto* action = std::get_if<Action>(&parsed)) {
        switch (action->kind) {
        case Action::Kind::Set:
        case Action::Kind::Check:
        case Action::Kind::Select:
        case Action::Kind::Click: require(action->refs.size() == 1); break;
        case Action::Kind::Get:
        case Action::Kind::Visible:
        case Action::Kind::Display: require(!action->refs.empty()); break;
        case Action::Kind::Places: require(action->places.size() == 2); break;
        case Action::Kind::Scenario:
            require(!action->text.empty() && characterCount(action->text) <= Case::kNameLimit &&
                    action->text.find('"') == std::string::npos);
            break;
        case Action::Kind::Switch: require(!action->text.empty()); break;
        default: break;
        }
        for (const FieldRef& ref : action->refs) {
            // Every reference names an existing element, and its name reads back.
            const std::string name = refName(ref);
            const auto again = parseRef(name);
            require(again && *again == ref);
        }
    } else if (const auto* error = std::get_if<ScriptError>(&parsed)) {
        require(!error->reason.empty());
    }

    // Decoding never grows a text, and quoting always gives one quoted text.
    const std::string decoded = decodeText(line);
    require(decoded.size() <= line.size());
    const std::string quoted = quote(line);
    require(quoted.size() >= line.size() + 2 && quoted.front() == '"' && quoted.back() == '"');
    return 0;
}
