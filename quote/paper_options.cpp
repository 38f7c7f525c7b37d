#include "quote/paper_options.h"

#include "calc/numbers.h"
#include "quote/language.h"
#include "quote/quote_text.h"
#include "quote/scenario_comparison.h"
#include "worksheet/premium_rows.h"

namespace kbt2 {

PaperOptions paperOptions(const ScenarioComparison& comparison, Language language) {
    PaperOptions paper;
    std::vector<const ComparedScenario*> ticked;
    for (const ComparedScenario& s : comparison.scenarios)
        if (s.forPaper) ticked.push_back(&s);
    if (ticked.empty()) return paper;

    paper.headings.push_back(std::string(translated(language, N_("Coverage levels offered"))));
    for (const CoverageLevel& level : kCoverageLevels)
        for (const char* what : {N_("{level}: revenue guarantee"), N_("{level}: producer premium"),
                                 N_("{level}: premium per $1,000 of guarantee")})
            paper.headings.push_back(sentence(language, what, {{"level", coverageText(level.caption, language)}}));

    const double lowest = cheapestShownCents(ticked);
    for (const ComparedScenario* s : ticked) {
        paper.names.push_back(s->name);
        std::string changes;
        for (const std::string& phrase : s->differences) changes += (changes.empty() ? "" : "; ") + phrase;
        if (s == &comparison.scenarios.front())
            paper.changes.push_back(sentence(language, N_("{name}: the farm as entered."), {{"name", s->name}}));
        else if (changes.empty())
            paper.changes.push_back(
                sentence(language, N_("{name}: the same as the farm as entered."), {{"name", s->name}}));
        else
            paper.changes.push_back(
                sentence(language, N_("{name}: {changes}."), {{"name", s->name}, {"changes", changes}}));

        std::vector<std::string> cells;
        if (!s->summary) {
            cells.push_back(std::string(translated(language, N_("Cannot be estimated as it stands"))));
            cells.resize(paper.headings.size(), "—");
            paper.columns.push_back(std::move(cells));
            continue;
        }
        std::string offered;
        for (size_t i = 0; i < s->levels.size(); ++i)
            if (s->levels[i].offered)
                offered += (offered.empty() ? "" : ", ") + plainText(roundWhole(kCoverageLevels[i].level * 100)) + "%";
        cells.push_back(offered.empty() ? std::string(translated(language, N_("None"))) : offered);
        for (const ComparedLevel& level : s->levels) {
            if (!level.offered) {
                cells.insert(cells.end(), {std::string(translated(language, N_("Not offered"))), "—", "—"});
                continue;
            }
            cells.push_back(dollarText(level.guarantee));
            cells.push_back(dollarText(level.producerPremium));
            cells.push_back(atCheapest(level, lowest) ? sentence(language, N_("{amount} (lowest)"),
                                                                 {{"amount", dollarCentsText(level.perThousand)}})
                                                      : dollarCentsText(level.perThousand));
        }
        paper.columns.push_back(std::move(cells));
    }
    return paper;
}

}  // namespace kbt2
