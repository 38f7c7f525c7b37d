#include "app/driver/script.h"

#include "app/json/json_writer.h"
#include "commands/case.h"

namespace kbt2::driver {
namespace {

// Splits off the next word (up to a single blank); the rest follows that blank.
std::string_view nextWord(std::string_view& rest) {
    const auto blank = rest.find(' ');
    const std::string_view word = rest.substr(0, blank);
    rest = blank == std::string_view::npos ? std::string_view{} : rest.substr(blank + 1);
    return word;
}

bool kindFits(Action::Kind action, Kind control) {
    switch (action) {
    case Action::Kind::Set: return control == Kind::Text || control == Kind::Masked;
    case Action::Kind::Check: return control == Kind::Check;
    case Action::Kind::Select: return control == Kind::Option;
    case Action::Kind::Click: return control == Kind::Button;
    case Action::Kind::Get: return control != Kind::Button;
    case Action::Kind::Display: return control == Kind::Masked;
    default: return true;
    }
}

std::variant<FieldRef, ScriptError> readRef(std::string_view word, Action::Kind kind) {
    if (word.empty()) return ScriptError{"missing control name"};
    const auto ref = parseRef(word);
    if (!ref) {
        const auto open = word.find('(');
        if (!controlByName(word.substr(0, open))) return ScriptError{"unknown control " + std::string(word)};
        return ScriptError{"bad or out-of-range index in " + std::string(word)};
    }
    if (!kindFits(kind, info(ref->control).kind))
        return ScriptError{std::string(word) + " is the wrong kind of control for this action"};
    return *ref;
}

}  // namespace

std::string decodeText(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char c = text[i + 1];
            const char decoded = c == '\\'  ? '\\'
                                 : c == 'n' ? '\n'
                                 : c == 'r' ? '\r'
                                 : c == 't' ? '\t'
                                 : c == 's' ? ' '
                                            : 0;
            if (decoded) {
                out += decoded;
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::string quote(std::string_view text) { return json::escaped(text, json::Escapes::Driver); }

ParsedLine parseLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const auto firstNonBlank = line.find_first_not_of(" \t");
    if (firstNonBlank == std::string_view::npos || line[firstNonBlank] == '#') return std::monostate{};

    std::string_view rest = line;
    const std::string_view verb = nextWord(rest);
    struct Verb {
        std::string_view name;
        Action::Kind kind;
    };
    static constexpr Verb kVerbs[] = {
        {"set", Action::Kind::Set},         {"check", Action::Kind::Check},       {"select", Action::Kind::Select},
        {"click", Action::Kind::Click},     {"answer", Action::Kind::Answer},     {"file", Action::Kind::File},
        {"places", Action::Kind::Places},   {"get", Action::Kind::Get},           {"visible", Action::Kind::Visible},
        {"display", Action::Kind::Display}, {"echo", Action::Kind::Echo},         {"undo", Action::Kind::Undo},
        {"redo", Action::Kind::Redo},       {"scenario", Action::Kind::Scenario}, {"switch", Action::Kind::Switch},
        {"compare", Action::Kind::Compare},
    };
    const Verb* found = nullptr;
    for (const Verb& v : kVerbs)
        if (v.name == verb) found = &v;
    if (!found) return ScriptError{"unknown action " + std::string(verb)};

    Action action{found->kind, {}, {}, false, {}};
    switch (action.kind) {
    case Action::Kind::Set: {
        auto ref = readRef(nextWord(rest), action.kind);
        if (auto* e = std::get_if<ScriptError>(&ref)) return *e;
        action.refs.push_back(std::get<FieldRef>(ref));
        action.text = decodeText(rest);
        return action;
    }
    case Action::Kind::Check: {
        auto ref = readRef(nextWord(rest), action.kind);
        if (auto* e = std::get_if<ScriptError>(&ref)) return *e;
        action.refs.push_back(std::get<FieldRef>(ref));
        if (rest != "0" && rest != "1") return ScriptError{"a check box takes the value 0 or 1"};
        action.flag = rest == "1";
        return action;
    }
    case Action::Kind::Select:
    case Action::Kind::Click: {
        auto ref = readRef(nextWord(rest), action.kind);
        if (auto* e = std::get_if<ScriptError>(&ref)) return *e;
        if (!rest.empty()) return ScriptError{"unexpected text after the control name"};
        action.refs.push_back(std::get<FieldRef>(ref));
        return action;
    }
    case Action::Kind::Answer:
        if (rest != "OK" && rest != "Cancel") return ScriptError{"answer takes OK or Cancel"};
        action.flag = rest == "Cancel";
        return action;
    case Action::Kind::File:
        if (rest.empty()) return ScriptError{"file takes a path or cancel"};
        action.flag = rest == "cancel";
        action.text = std::string(rest);
        return action;
    case Action::Kind::Places: {
        const std::string_view first = nextWord(rest);
        const std::string_view second = nextWord(rest);
        if (first.empty() || second.empty() || !rest.empty()) return ScriptError{"places takes two folders"};
        action.places = {std::string(first), std::string(second)};
        return action;
    }
    case Action::Kind::Get:
    case Action::Kind::Visible:
    case Action::Kind::Display:
        if (rest.empty()) return ScriptError{"missing control name"};
        while (!rest.empty()) {
            auto ref = readRef(nextWord(rest), action.kind);
            if (auto* e = std::get_if<ScriptError>(&ref)) return *e;
            action.refs.push_back(std::get<FieldRef>(ref));
        }
        return action;
    case Action::Kind::Echo: action.text = std::string(rest); return action;
    case Action::Kind::Scenario:
        if (rest.empty()) return ScriptError{"missing scenario name"};
        if (characterCount(rest) > Case::kNameLimit)
            return ScriptError{"a scenario name has at most " + std::to_string(Case::kNameLimit) + " characters"};
        if (rest.find('"') != std::string_view::npos) return ScriptError{"a scenario name holds no double quote"};
        action.text = std::string(rest);
        return action;
    case Action::Kind::Switch:
        if (rest.empty()) return ScriptError{"missing scenario name"};
        action.text = std::string(rest);
        return action;
    case Action::Kind::Undo:
    case Action::Kind::Redo:
    case Action::Kind::Compare:
        if (!rest.empty()) return ScriptError{std::string(verb) + " takes no argument"};
        return action;
    }
    return ScriptError{"unknown action"};
}

}  // namespace kbt2::driver
