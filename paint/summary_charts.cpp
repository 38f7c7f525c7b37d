#include "paint/summary_charts.h"

#include "paint/qt_text.h"
#include "quote/quote_text.h"

namespace kbt2::ui {
namespace {

QString dollars(double amount) { return toQString(dollarText(amount)); }

}  // namespace

BarChart taxYearsChart(const QuoteSummary& summary) {
    BarChart chart;
    chart.title =
        QStringLiteral("Allowable income and expenses, %1–%2").arg(kFirstTaxYear).arg(kFirstTaxYear + kTaxYears - 1);
    ChartSeries income{QStringLiteral("Income"), {}};
    ChartSeries expenses{QStringLiteral("Expenses"), {}};
    for (int year = 0; year < kTaxYears; ++year) {
        chart.categories.append(QString::number(kFirstTaxYear + year));
        income.values.append(summary.income[static_cast<size_t>(year)]);
        expenses.values.append(summary.expenses[static_cast<size_t>(year)]);
    }
    chart.series = {income, expenses};
    chart.reference = ChartReference{QStringLiteral("Average income"), summary.premium.averageIncome};
    chart.valueText = dollars;
    return chart;
}

BarChart commoditySharesChart(const QuoteSummary& summary) {
    BarChart chart;
    chart.direction = BarChart::Direction::Horizontal;
    chart.title = QStringLiteral("Commodity shares of expected revenue");
    ChartSeries shares{QStringLiteral("Share"), {}};
    for (size_t i = 0; i < summary.commodities.size() && i < summary.premium.rows.size(); ++i) {
        chart.categories.append(toQString(summary.commodities[i].name));
        shares.values.append(summary.premium.rows[i].share);
    }
    chart.series = {shares};
    chart.valueText = [](double share) { return toQString(percentText(share)); };
    return chart;
}

BarChart guaranteeChart(const QuoteSummary& summary) {
    BarChart chart;
    chart.title = QStringLiteral("Revenue guarantee and producer premium");
    ChartSeries guarantee{QStringLiteral("Revenue guarantee"), {}};
    ChartSeries premium{QStringLiteral("Producer premium"), {}};
    for (const SummaryLevel& level : offeredLevels(summary)) {
        chart.categories.append(QStringLiteral("Coverage %1").arg(toQString(level.coverage)));
        guarantee.values.append(level.figures.indemnityThreshold());
        premium.values.append(level.figures.producerPremium());
    }
    chart.series = {guarantee, premium};
    chart.valueText = dollars;
    return chart;
}

}  // namespace kbt2::ui
