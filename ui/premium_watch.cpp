#include "ui/premium_watch.h"

#include <QTimer>
#include <algorithm>
#include <string_view>

#include "commands/premium_watch_fields.h"
#include "worksheet/premium_rows.h"
#include "worksheet/report_rows.h"

namespace kbt2::ui {
namespace {

using C = Control;

constexpr const auto& kLevels = kCoverageCaptions;

// clang-format off
// The premium table's rows as page 9 captions them. The fields the premium
// reads and writes are commands/premium_watch_fields.h's.
constexpr std::string_view kRowNames[] = {
    "Indemnity Threshold", "Weighted average rate", "Diversification Factor", "KBT Rate", "KBT Liability",
    "Net KBT Liability", "Gross Premium", "Subsidy", "Producer Premium",
};
// clang-format on
static_assert(std::size(kRowNames) == std::size(kPremiumRows));

// One watched value with what a person calls it.
struct Watched {
    std::string value;
    std::string name;
};

std::vector<Watched> inputsOf(const Worksheet& ws) {
    std::vector<Watched> inputs;
    for (const WatchedChoice& choice : kPremiumChoiceInputs) {
        std::string chosen;
        for (const Control options : choice.options) chosen += std::to_string(ws.selectedIndex(options)) + ",";
        inputs.push_back({chosen, std::string(choice.name)});
    }
    for (const WatchedField& input : kPremiumSingleInputs)
        inputs.push_back({ws.text(input.field), std::string(input.name)});
    for (int year = 0; year < info(kPremiumIncomes).slots(); ++year)
        inputs.push_back({ws.text({kPremiumIncomes, year}),
                          "the allowable income of " + std::to_string(kPremiumFirstIncomeYear + year)});
    for (int row = 0; row < kReportRows; ++row) {
        const std::string& name = ws.text({C::Cropname1, row});
        const std::string owner = name.empty() ? "row " + std::to_string(row + 1) + "'s " : name + "'s ";
        for (const WatchedRowField& input : kPremiumRowInputs)
            inputs.push_back({ws.text({input.control, row}), owner + std::string(input.what)});
    }
    return inputs;
}

std::vector<Watched> outputsOf(const Worksheet& ws) {
    std::vector<Watched> outputs;
    for (int level = 0; level < kPremiumColumns; ++level)
        for (size_t k = 0; k < std::size(kPremiumRows); ++k)
            outputs.push_back({ws.text({kPremiumRows[k], level}),
                               "the " + std::string(kRowNames[k]) + " " + std::string(kLevels[level])});
    for (const WatchedField& output : kPremiumSingleOutputs)
        outputs.push_back({ws.text(output.field), std::string(output.name)});
    return outputs;
}

std::vector<std::string> values(const std::vector<Watched>& watched) {
    std::vector<std::string> result;
    for (const Watched& w : watched) result.push_back(w.value);
    return result;
}

// The names of the values that differ from the snapshot's.
std::vector<std::string> differing(const std::vector<Watched>& now, const std::vector<std::string>& then) {
    std::vector<std::string> names;
    for (size_t i = 0; i < now.size() && i < then.size(); ++i)
        if (now[i].value != then[i]) names.push_back(now[i].name);
    return names;
}

// "a, b and c", at most three named and then how many more.
QString listed(const std::vector<std::string>& names) {
    constexpr size_t kNamed = 3;
    QStringList shown;
    for (size_t i = 0; i < std::min(names.size(), kNamed); ++i) shown.append(QString::fromStdString(names[i]));
    if (names.size() > kNamed) shown.append(QStringLiteral("%1 more").arg(names.size() - kNamed));
    if (shown.size() == 1) return shown.front();
    const QString last = shown.takeLast();
    return shown.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

}  // namespace

PremiumWatch::PremiumWatch(Worksheet& worksheet, std::function<void(const QString&)> note,
                           std::function<bool()> fromFile)
    : worksheet_(worksheet), note_(std::move(note)), fromFile_(std::move(fromFile)) {
    worksheet_.addObserver([this, alive = std::weak_ptr<bool>(alive_)](const FieldChange&) {
        if (alive.expired() || (!calculated_ && stale_.isEmpty()) || checkPending_) return;
        checkPending_ = true;
        QTimer::singleShot(0, &timerContext_, [this] { check(); });
    });
}

PremiumWatch::Snapshot PremiumWatch::take() const {
    return {values(inputsOf(worksheet_)), values(outputsOf(worksheet_))};
}

void PremiumWatch::premiumCalculated(const QString& notAQuote) {
    calculated_ = take();
    problem_.clear();
    notAQuote_ = notAQuote;
    stale_.clear();
    show();
}

void PremiumWatch::premiumStopped() {
    const auto outputs = outputsOf(worksheet_);
    // Only the table counts: a stopped premium may itself write the results beside it.
    const bool figures = std::any_of(outputs.begin(), outputs.begin() + kPremiumColumns * std::size(kPremiumRows),
                                     [](const Watched& w) { return !w.value.empty(); });
    calculated_.reset();
    problem_.clear();
    notAQuote_.clear();
    stale_.clear();
    if (figures) {
        stale_ = QStringLiteral(
            "Page 9's figures are from an earlier Calculate Premium and do not belong to the worksheet as it "
            "stands: the last Calculate Premium stopped before it wrote them.");
        staleOutputs_ = values(outputs);
    }
    show();
    if (!stale_.isEmpty() && note_) note_(stale_);
}

void PremiumWatch::forget() {
    calculated_.reset();
    problem_.clear();
    notAQuote_.clear();
    stale_.clear();
    show();
}

void PremiumWatch::attachMark(QLabel* mark) {
    mark_ = mark;
    show();
}

void PremiumWatch::check() {
    checkPending_ = false;
    if (!calculated_) {
        // Stale figures stay marked until the page empties or a file's own come in.
        const auto outputs = outputsOf(worksheet_);
        const bool emptied = std::ranges::all_of(outputs, [](const Watched& w) { return w.value.empty(); });
        if (!stale_.isEmpty() && (emptied || (values(outputs) != staleOutputs_ && fromFile_ && fromFile_()))) forget();
        return;
    }
    const auto outputs = outputsOf(worksheet_);
    const auto typed = differing(outputs, calculated_->outputs);
    const bool emptied = std::ranges::all_of(outputs, [](const Watched& w) { return w.value.empty(); });
    // Cleared, or figures loaded from a file: they are no longer this premium's.
    if (emptied || (!typed.empty() && fromFile_ && fromFile_())) {
        forget();
        return;
    }
    QStringList parts;
    if (const auto changed = differing(inputsOf(worksheet_), calculated_->inputs); !changed.empty())
        parts.append(QStringLiteral("out of date: %1 changed since Calculate Premium").arg(listed(changed)));
    if (!typed.empty()) parts.append(QStringLiteral("typed over by hand: %1").arg(listed(typed)));
    const QString problem =
        parts.isEmpty() ? QString() : QStringLiteral("Page 9's figures are %1.").arg(parts.join(QStringLiteral("; ")));
    if (problem == problem_) return;
    problem_ = problem;
    show();
    if (!problem_.isEmpty() && note_) note_(problem_);
}

QString PremiumWatch::markText() const {
    QStringList parts;
    for (const QString* part : {&notAQuote_, &stale_, &problem_})
        if (!part->isEmpty()) parts.append(*part);
    return parts.isEmpty() ? QString() : QStringLiteral("\u26A0 ") + parts.join(QStringLiteral("\n\u26A0 "));
}

void PremiumWatch::show() {
    if (!mark_) return;
    const QString text = markText();
    mark_->setText(text);
    mark_->setVisible(!text.isEmpty());
}

}  // namespace kbt2::ui
