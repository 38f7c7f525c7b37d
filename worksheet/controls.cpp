#include "worksheet/controls.h"

#include <charconv>

namespace kbt2 {

std::string refName(FieldRef ref) {
    const ControlInfo& c = info(ref.control);
    std::string name(c.name);
    if (c.isArray()) name += "(" + std::to_string(ref.index) + ")";
    return name;
}

std::optional<Control> controlByName(std::string_view name) {
    for (const ControlInfo& c : kControls)
        if (c.name == name) return c.control;
    return std::nullopt;
}

std::optional<FieldRef> parseRef(std::string_view text) {
    const auto open = text.find('(');
    const auto control = controlByName(text.substr(0, open));
    if (!control) return std::nullopt;
    const ControlInfo& c = info(*control);
    if (open == std::string_view::npos) {
        if (c.isArray()) return std::nullopt;
        return FieldRef{*control, 0};
    }
    if (!c.isArray() || text.back() != ')') return std::nullopt;
    const std::string_view digits = text.substr(open + 1, text.size() - open - 2);
    // The index is spelled as refName writes it: digits only, no leading zero.
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos ||
        (digits.size() > 1 && digits.front() == '0'))
        return std::nullopt;
    int index = 0;
    const auto [end, err] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
    if (err != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    if (index < 0 || index >= c.elements) return std::nullopt;
    return FieldRef{*control, index};
}

}  // namespace kbt2
