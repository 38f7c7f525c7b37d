#include "app/driver/runner.h"

#include <optional>
#include <string>

#include "app/driver/compare.h"
#include "app/driver/script.h"
#include "commands/case.h"
#include "worksheet/controls.h"

namespace kbt2::driver {
namespace {

void perform(const Action& action, Session& session, Target& target) {
    std::ostream& out = session.out();
    switch (action.kind) {
    case Action::Kind::Set: target.setText(action.refs[0], action.text); break;
    case Action::Kind::Check: target.setChecked(action.refs[0], action.flag); break;
    case Action::Kind::Select: target.select(action.refs[0]); break;
    case Action::Kind::Click: target.click(action.refs[0].control); break;
    case Action::Kind::Answer: session.queueAnswer(action.flag ? MessageAnswer::Cancel : MessageAnswer::OK); break;
    case Action::Kind::File:
        session.queueFile(action.flag ? std::nullopt : std::optional<std::string>(action.text));
        break;
    case Action::Kind::Places: session.setPlaces(action.places); break;
    case Action::Kind::Get:
        for (const FieldRef& ref : action.refs) {
            const Kind kind = info(ref.control).kind;
            if (kind == Kind::Check || kind == Kind::Option)
                out << refName(ref) << '=' << (target.value(ref) ? 1 : 0) << '\n';
            else
                out << refName(ref) << '=' << quote(target.text(ref)) << '\n';
        }
        break;
    case Action::Kind::Visible:
        for (const FieldRef& ref : action.refs)
            out << refName(ref) << " visible=" << (target.visible(ref) ? 1 : 0) << '\n';
        break;
    case Action::Kind::Display:
        for (const FieldRef& ref : action.refs)
            out << refName(ref) << " display=" << quote(target.display(ref)) << '\n';
        break;
    case Action::Kind::Echo: out << action.text << '\n'; break;
    case Action::Kind::Undo: target.undo(); break;
    case Action::Kind::Redo: target.redo(); break;
    case Action::Kind::Scenario: target.addScenario(action.text); break;
    case Action::Kind::Switch: target.switchScenario(*target.scenarios().find(action.text)); break;
    case Action::Kind::Compare: compareScenarios(target.scenarios(), session); break;
    }
}

// What is wrong with a well-formed line in the case as it stands.
std::optional<ScriptError> misfit(const Action& action, Target& target) {
    if (action.kind == Action::Kind::Scenario && target.scenarios().find(action.text))
        return ScriptError{"a scenario named " + action.text + " is already in the case"};
    if (action.kind == Action::Kind::Switch && !target.scenarios().find(action.text))
        return ScriptError{"no scenario named " + action.text};
    return std::nullopt;
}

}  // namespace

int runScript(std::istream& script, Session& session, Target& target, std::ostream& errors) {
    std::string line;
    for (int number = 1; !session.closed() && std::getline(script, line); ++number) {
        ParsedLine parsed = parseLine(line);
        if (const auto* action = std::get_if<Action>(&parsed))
            if (auto error = misfit(*action, target)) parsed = std::move(*error);
        if (const auto* error = std::get_if<ScriptError>(&parsed)) {
            session.out().flush();
            errors << "ERROR line " << number << ": " << error->reason << '\n';
            return 2;
        }
        if (const auto* action = std::get_if<Action>(&parsed)) perform(*action, session, target);
        session.out().flush();
    }
    return 0;
}

}  // namespace kbt2::driver
