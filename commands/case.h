#pragma once
// A case: the scenarios of one farm, each a whole worksheet with its own
// history. The first is the worksheet as it was loaded or typed ("base");
// each one added is a copy of the current one as it stood. Nothing done to
// one scenario changes another.
//
// The case works on a live form that somebody else owns (the window's or the
// driver's), which always holds the current scenario: whoever is bound to
// that form sees the current scenario. The others wait in forms of their own
// and trade places with the live form when they become current, so no
// observer of the live form has to follow a new one.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/form.h"

namespace kbt2 {

class Case {
public:
    // The most characters (not bytes) a scenario's name may have.
    static constexpr size_t kNameLimit = 40;
    enum class NameProblem { Empty, TooLong, Quote, Used };

    // The live form holds the first scenario, named `baseName`; it must
    // outlive the case.
    explicit Case(Form& live, std::string baseName = "base");
    Case(const Case&) = delete;
    Case& operator=(const Case&) = delete;
    ~Case();

    size_t size() const { return scenarios_.size(); }
    size_t current() const { return current_; }
    const std::string& name(size_t index) const { return scenarios_.at(index).name; }
    std::optional<size_t> find(std::string_view name) const;
    // The fields of a scenario as they stand (the live form's for the
    // current one).
    const Worksheet& worksheet(size_t index) const;

    // Whether a scenario goes on the farmer's paper; each starts without.
    bool forPaper(size_t index) const { return scenarios_.at(index).forPaper; }
    // False, and nothing changes, for an index out of range.
    bool setForPaper(size_t index, bool onPaper);

    // Why `name` cannot name a scenario; nothing when it can. `renaming` is
    // the scenario being renamed, whose own name does not count as used.
    std::optional<NameProblem> nameProblem(std::string_view name, std::optional<size_t> renaming = std::nullopt) const;

    // Each is false, and changes nothing, when it cannot be done: a name
    // with a problem, an index out of range, the last scenario left.
    //
    // Adds a copy of the current scenario as it stands (every field's text,
    // value, selection and visibility) after the last one and makes it
    // current. Nothing runs; the copy's history is empty and it belongs to
    // no file. No step of any history.
    bool add(std::string name);
    // Makes a scenario current. No step of any history: each scenario's
    // history, typing step included, waits as it was.
    bool switchTo(size_t index);
    bool rename(size_t index, std::string name);
    // Takes a scenario out of the case, to be put back by undoRemove. When
    // it was current, the next one (else the one before) becomes current.
    bool remove(size_t index);
    // Puts the scenario removed last back where it was, with its history,
    // current again when it was current; false when none was removed or its
    // name has been taken since (it stays for a later try).
    bool undoRemove();
    bool canUndoRemove() const { return !removed_.empty(); }
    // Moves a scenario to another place in the order; the current one stays
    // current.
    bool move(size_t from, size_t to);

    // For keeping the case in files (commands/case_file.h).
    // The form of a scenario (the live form for the current one).
    Form& document(size_t index);
    // Puts a scenario that waits in `form` after the last one; the current
    // one stays current. False, and nothing changes, for a name with a
    // problem.
    bool adopt(std::string name, std::unique_ptr<Form> form);
    // Leaves the current scenario alone in the case, first in it, with no
    // removed scenario to bring back. The work of those dropped that was not
    // saved, each as it stood.
    std::vector<Worksheet::Snapshot> keepOnlyCurrent();

private:
    struct Scenario {
        std::string name;
        std::unique_ptr<Form> waiting;  // none for the current scenario
        bool forPaper = false;
    };
    struct Removed {
        Scenario scenario;
        size_t place;
        bool wasCurrent;
    };

    Form& live_;
    std::vector<Scenario> scenarios_;
    size_t current_ = 0;
    std::vector<Removed> removed_;
};

// The number of characters of a UTF-8 text (its bytes other than
// continuation bytes).
size_t characterCount(std::string_view text);

}  // namespace kbt2
