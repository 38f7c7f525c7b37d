#pragma once
// The three charts of a quote: the five tax years, the commodity shares and
// the guarantee against the producer premium of each level offered. The
// quote summary's first page and the premium details view draw the same ones.

#include "paint/charts.h"
#include "quote/quote_summary.h"

namespace kbt2::ui {

BarChart taxYearsChart(const QuoteSummary& summary);
BarChart commoditySharesChart(const QuoteSummary& summary);
BarChart guaranteeChart(const QuoteSummary& summary);

}  // namespace kbt2::ui
