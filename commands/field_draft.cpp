#include "commands/field_draft.h"

#include <cmath>

#include "calc/numbers.h"

namespace kbt2 {

const std::string& FieldDraft::text(FieldRef f) const {
    // The latest write wins; a command writes a few dozen fields at most.
    for (auto it = effects_.rbegin(); it != effects_.rend(); ++it)
        if (const auto* t = std::get_if<TextEffect>(&*it); t && t->field == f) return t->text;
    return ws_.text(f);
}

double FieldDraft::number(FieldRef f) const { return numericValue(text(f)); }

void FieldDraft::setText(FieldRef f, std::string text) { effects_.emplace_back(TextEffect{f, std::move(text)}); }

void FieldDraft::setNumber(FieldRef f, double value) {
    if (!std::isfinite(value)) {
        if (!overflow_) overflow_ = f;
        return;
    }
    setText(f, plainText(value));
}

void FieldDraft::setVisible(FieldRef f, bool visible) { effects_.emplace_back(VisibilityEffect{f, visible}); }

void FieldDraft::message(Message m) { effects_.emplace_back(std::move(m)); }

void FieldDraft::commit(Worksheet& ws, Platform& platform) const {
    for (const Effect& effect : effects_) {
        if (const auto* t = std::get_if<TextEffect>(&effect))
            ws.setText(t->field, t->text);
        else if (const auto* v = std::get_if<VisibilityEffect>(&effect))
            ws.setVisible(v->field, v->visible);
        else
            platform.showMessage(std::get<Message>(effect));
    }
}

}  // namespace kbt2
