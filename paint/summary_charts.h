#pragma once
// The charts of a quote: the five tax years, the commodity shares, and the
// revenue guarantee and the producer premium of each level offered, each on
// its own scale. The quote summary's first page and the premium details view
// draw the same ones.

#include "paint/charts.h"
#include "quote/quote_summary.h"

namespace kbt2::paint {

BarChart taxYearsChart(const QuoteSummary& summary);
BarChart commoditySharesChart(const QuoteSummary& summary);
BarChart guaranteeChart(const QuoteSummary& summary);
BarChart premiumChart(const QuoteSummary& summary);

}  // namespace kbt2::paint
