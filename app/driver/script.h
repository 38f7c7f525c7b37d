#pragma once
// The scripting driver's language: one action per line (see README).

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "worksheet/controls.h"

namespace kbt2::driver {

struct Action {
    enum class Kind {
        Set,
        Check,
        Select,
        Click,
        Answer,
        File,
        Places,
        Get,
        Visible,
        Display,
        Echo,
        Undo,
        Redo,
        Scenario,
        Switch,
        Compare
    };
    Kind kind;
    std::vector<FieldRef> refs;       // set/check/select/click: one; get/visible/display: one or more
    std::string text;                 // set: decoded TEXT; file: PATH; echo: TEXT as written;
                                      // scenario, switch: the scenario's name
    bool flag = false;                // check: the value; answer: Cancel; file: cancel
    std::vector<std::string> places;  // places: the two folders
};

struct ScriptError {
    std::string reason;
};

// Nothing for a blank or comment line.
using ParsedLine = std::variant<std::monostate, Action, ScriptError>;
ParsedLine parseLine(std::string_view line);

// Decodes \\ \n \r \t \s; any other backslash stands as itself.
std::string decodeText(std::string_view text);

// A text inside double quotes in the output.
std::string quote(std::string_view text);

}  // namespace kbt2::driver
