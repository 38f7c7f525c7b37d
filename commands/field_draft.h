#pragma once
// The pending effects of one command: field texts, visibility and messages,
// recorded in order and applied together. A command computes into a draft,
// reading back what it wrote as the worksheet would show it, and commits
// only when every figure came out finite, so a failed calculation leaves
// the worksheet exactly as it was.

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "worksheet/platform.h"
#include "worksheet/worksheet.h"

namespace kbt2 {

class FieldDraft {
public:
    explicit FieldDraft(const Worksheet& ws) : ws_(ws) {}

    // The text as the command has left it so far.
    const std::string& text(FieldRef f) const;
    // The numeric value of that text (what reading the field back gives).
    double number(FieldRef f) const;

    void setText(FieldRef f, std::string text);
    // Writes the value as plain decimal text. A value that is infinite or not
    // a number is recorded as an overflow and never reaches the worksheet.
    void setNumber(FieldRef f, double value);
    void setVisible(FieldRef f, bool visible);
    // A message shown at this point of the replay; its answer is not used.
    void message(Message m);

    // The first field that received a value out of range, if any.
    std::optional<FieldRef> overflow() const { return overflow_; }

    // Applies every recorded effect in order to the worksheet and platform.
    void commit(Worksheet& ws, Platform& platform) const;

private:
    struct TextEffect {
        FieldRef field;
        std::string text;
    };
    struct VisibilityEffect {
        FieldRef field;
        bool visible;
    };
    using Effect = std::variant<TextEffect, VisibilityEffect, Message>;

    const Worksheet& ws_;
    std::vector<Effect> effects_;
    std::optional<FieldRef> overflow_;
};

}  // namespace kbt2
