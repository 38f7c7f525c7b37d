#include "paint/summary_charts.h"

#include "paint/paper_words.h"
#include "paint/qt_text.h"
#include "quote/quote_text.h"

namespace kbt2::paint {
namespace {

QString dollars(double amount) { return toQString(dollarText(amount)); }

}  // namespace

BarChart taxYearsChart(const QuoteSummary& summary) {
    BarChart chart;
    const Language l = summary.language;
    chart.title =
        paperWords(l, N_("Allowable income and expenses, {first}–{last}"),
                   {{"first", std::to_string(kFirstTaxYear)}, {"last", std::to_string(kFirstTaxYear + kTaxYears - 1)}});
    ChartSeries income{paperWords(l, N_("Income")), {}};
    ChartSeries expenses{paperWords(l, N_("Expenses")), {}};
    for (int year = 0; year < kTaxYears; ++year) {
        chart.categories.append(QString::number(kFirstTaxYear + year));
        income.values.append(summary.income[static_cast<size_t>(year)]);
        expenses.values.append(summary.expenses[static_cast<size_t>(year)]);
    }
    chart.series = {income, expenses};
    chart.reference = ChartReference{paperWords(l, N_("Average income")), summary.premium.averageIncome};
    chart.valueText = dollars;
    return chart;
}

BarChart commoditySharesChart(const QuoteSummary& summary) {
    BarChart chart;
    chart.direction = BarChart::Direction::Horizontal;
    chart.title = paperWords(summary.language, N_("Commodity shares of expected revenue"));
    ChartSeries shares{paperWords(summary.language, N_("Share")), {}};
    for (size_t i = 0; i < summary.commodities.size() && i < summary.premium.rows.size(); ++i) {
        chart.categories.append(toQString(summary.commodities[i].name));
        shares.values.append(summary.premium.rows[i].share);
    }
    chart.series = {shares};
    chart.valueText = [](double share) { return toQString(percentText(share)); };
    return chart;
}

// A chart of one figure per coverage level offered, each level named with
// its share of the allowable KBT.
BarChart levelsChart(const QuoteSummary& summary, const QString& title, const QString& name,
                     double (PremiumColumn::*figure)() const) {
    BarChart chart;
    chart.title = title;
    ChartSeries values{name, {}};
    for (const SummaryLevel& level : offeredLevels(summary)) {
        chart.categories.append(toQString(coverageText(level.coverage, summary.language)));
        values.values.append((level.figures.*figure)());
    }
    chart.series = {values};
    chart.valueText = dollars;
    return chart;
}

BarChart guaranteeChart(const QuoteSummary& summary) {
    return levelsChart(summary, paperWords(summary.language, N_("Revenue guarantee by coverage level")),
                       paperWords(summary.language, N_("Revenue guarantee")), &PremiumColumn::indemnityThreshold);
}

// The premium on a scale of its own: beside the guarantee it would be too
// short a bar to read.
BarChart premiumChart(const QuoteSummary& summary) {
    return levelsChart(summary, paperWords(summary.language, N_("Producer premium by coverage level")),
                       paperWords(summary.language, N_("Producer premium")), &PremiumColumn::producerPremium);
}

}  // namespace kbt2::paint
