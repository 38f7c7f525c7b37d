#pragma once
// Every message box the program can show, for tests that check that nothing
// else ever appears. In a text, '#' stands for a number (a box or line) and
// '*' for any text (a file name, a reason from the system).

#include <string_view>

#include "worksheet/platform.h"

namespace kbt2::testing_support {

struct KnownMessage {
    std::string_view title;
    MessageButtons buttons;
    MessageIcon icon;
    std::string_view text;
};

// clang-format off
inline constexpr KnownMessage kKnownMessages[] = {
    // Command2: the five years of income and expenses
    {"KBT2", MessageButtons::OK, MessageIcon::None, "You have not entered a correct number in the Allowable Income box #"},
    {"KBT2", MessageButtons::OK, MessageIcon::None, "You have not entered a correct number in the Allowable Expenses box #"},
    {"KBT2", MessageButtons::OK, MessageIcon::None, "You have entered either a comma or a $ in the AllowableIncome box #"},
    {"KBT2", MessageButtons::OK, MessageIcon::None, "You have  entered either a comma or a $ in the Allowable Expense box #"},
    {"KBT2", MessageButtons::OK, MessageIcon::None, "The adjustment factor cannot be calculated from a zero income. Enter the income of the Allowable Income box #"},
    {"KBT2", MessageButtons::OK, MessageIcon::None, "The figures are too large to calculate. Check the Allowable Income and Allowable Expenses boxes."},
    // Command3: the commodity report
    {"KBT2", MessageButtons::OK, MessageIcon::None, "You've entered invalid characters or zero in Total Amount box line #(e.g. $, Comma)"},
    {"KBT2", MessageButtons::OK, MessageIcon::None, "You have entered either a comma or a $ in the Total amount box #"},
    {"KBT2", MessageButtons::OK, MessageIcon::None, "You have entered either a comma or a $ in the Expected value box #"},
    {"KBT2", MessageButtons::OK, MessageIcon::None, "You've entered invalid characters or zero in Expected value box line # (e.g. $, Comma)"},
    {"KBT2", MessageButtons::OK, MessageIcon::None, "The KBT is too large to calculate. Check the Total Amount and the Expected value of line #"},
    {"KBT2", MessageButtons::OK, MessageIcon::None, "The Total Expected KBT is too large to calculate. Check the Total Amounts and Expected values."},
};
// clang-format on

// True when `text` fits `pattern`: '#' takes one or more digits, '*' any
// text (also none), every other character itself.
inline bool fitsPattern(std::string_view pattern, std::string_view text) {
    if (pattern.empty()) return text.empty();
    const char p = pattern.front();
    if (p == '*') {
        for (size_t skip = 0; skip <= text.size(); ++skip)
            if (fitsPattern(pattern.substr(1), text.substr(skip))) return true;
        return false;
    }
    if (p == '#') {
        size_t digits = 0;
        while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
        for (size_t take = digits; take >= 1; --take)
            if (fitsPattern(pattern.substr(1), text.substr(take))) return true;
        return false;
    }
    return !text.empty() && text.front() == p && fitsPattern(pattern.substr(1), text.substr(1));
}

inline bool isKnownMessage(const Message& message) {
    for (const KnownMessage& known : kKnownMessages)
        if (known.title == message.title && known.buttons == message.buttons && known.icon == message.icon &&
            fitsPattern(known.text, message.text))
            return true;
    return false;
}

}  // namespace kbt2::testing_support
