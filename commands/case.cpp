#include "commands/case.h"

#include <algorithm>
#include <utility>

namespace kbt2 {

size_t characterCount(std::string_view text) {
    return static_cast<size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

Case::Case(Form& live, std::string baseName) : live_(live) {
    scenarios_.push_back({std::move(baseName), nullptr, false});
}

Case::~Case() = default;

std::optional<size_t> Case::find(std::string_view name) const {
    for (size_t i = 0; i < scenarios_.size(); ++i)
        if (scenarios_[i].name == name) return i;
    return std::nullopt;
}

const Worksheet& Case::worksheet(size_t index) const {
    const Scenario& s = scenarios_.at(index);
    return s.waiting ? s.waiting->worksheet() : live_.worksheet();
}

std::optional<Case::NameProblem> Case::nameProblem(std::string_view name, std::optional<size_t> renaming) const {
    if (name.empty()) return NameProblem::Empty;
    if (characterCount(name) > kNameLimit) return NameProblem::TooLong;
    if (name.find('"') != std::string_view::npos) return NameProblem::Quote;
    const auto used = find(name);
    if (used && used != renaming) return NameProblem::Used;
    return std::nullopt;
}

bool Case::add(std::string name) {
    if (nameProblem(name)) return false;
    // The copy starts in a form of its own, then trades places with the live
    // form, which thus holds the copy and hands the current scenario over.
    auto copy = std::make_unique<Form>(live_.platform());
    copy->startAs(live_.worksheet().snapshot());
    live_.exchangeDocument(*copy);
    scenarios_[current_].waiting = std::move(copy);
    scenarios_.push_back({std::move(name), nullptr, false});
    current_ = scenarios_.size() - 1;
    return true;
}

bool Case::switchTo(size_t index) {
    if (index >= scenarios_.size()) return false;
    if (index == current_) return true;
    std::unique_ptr<Form> form = std::move(scenarios_[index].waiting);
    live_.exchangeDocument(*form);
    scenarios_[current_].waiting = std::move(form);
    current_ = index;
    return true;
}

bool Case::setForPaper(size_t index, bool onPaper) {
    if (index >= scenarios_.size()) return false;
    scenarios_[index].forPaper = onPaper;
    return true;
}

bool Case::rename(size_t index, std::string name) {
    if (index >= scenarios_.size() || nameProblem(name, index)) return false;
    scenarios_[index].name = std::move(name);
    return true;
}

bool Case::remove(size_t index) {
    if (index >= scenarios_.size() || scenarios_.size() == 1) return false;
    const bool wasCurrent = index == current_;
    if (wasCurrent) switchTo(index + 1 < scenarios_.size() ? index + 1 : index - 1);
    removed_.push_back({std::move(scenarios_[index]), index, wasCurrent});
    scenarios_.erase(scenarios_.begin() + static_cast<std::ptrdiff_t>(index));
    if (current_ > index) --current_;
    return true;
}

bool Case::undoRemove() {
    if (removed_.empty() || find(removed_.back().scenario.name)) return false;
    Removed back = std::move(removed_.back());
    removed_.pop_back();
    const size_t place = std::min(back.place, scenarios_.size());
    scenarios_.insert(scenarios_.begin() + static_cast<std::ptrdiff_t>(place), std::move(back.scenario));
    if (current_ >= place) ++current_;
    if (back.wasCurrent) switchTo(place);
    return true;
}

bool Case::move(size_t from, size_t to) {
    if (from >= scenarios_.size() || to >= scenarios_.size()) return false;
    const std::string currentName = scenarios_[current_].name;
    Scenario moving = std::move(scenarios_[from]);
    scenarios_.erase(scenarios_.begin() + static_cast<std::ptrdiff_t>(from));
    scenarios_.insert(scenarios_.begin() + static_cast<std::ptrdiff_t>(to), std::move(moving));
    current_ = *find(currentName);
    return true;
}

Form& Case::document(size_t index) {
    Scenario& s = scenarios_.at(index);
    return s.waiting ? *s.waiting : live_;
}

bool Case::adopt(std::string name, std::unique_ptr<Form> form) {
    if (!form || nameProblem(name)) return false;
    scenarios_.push_back({std::move(name), std::move(form)});
    return true;
}

std::vector<Worksheet::Snapshot> Case::keepOnlyCurrent() {
    std::vector<Worksheet::Snapshot> unsaved;
    const auto keep = [&unsaved](const Scenario& s) {
        if (s.waiting && s.waiting->unsaved()) unsaved.push_back(s.waiting->worksheet().snapshot());
    };
    for (const Scenario& s : scenarios_) keep(s);
    for (const Removed& r : removed_) keep(r.scenario);
    Scenario current = std::move(scenarios_[current_]);
    scenarios_.clear();
    scenarios_.push_back(std::move(current));
    removed_.clear();
    current_ = 0;
    return unsaved;
}

}  // namespace kbt2
