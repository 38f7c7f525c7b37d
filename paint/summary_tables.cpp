#include "paint/summary_tables.h"

#include "calc/numbers.h"
#include "paint/qt_text.h"
#include "quote/quote_text.h"

namespace kbt2::ui {
namespace {

QString plain(double value) { return toQString(plainText(value)); }
QString dollars(double value) { return toQString(dollarText(value)); }
QString yesNo(bool flag) { return flag ? QStringLiteral("yes") : QStringLiteral("no"); }
QString threeRates(const std::array<double, 3>& rates) {
    return QStringLiteral("%1 / %2 / %3").arg(plain(rates[0]), plain(rates[1]), plain(rates[2]));
}

}  // namespace

TextTable commodityCells(const QuoteSummary& s) {
    TextTable table{
        {QStringLiteral("Commodity"), QStringLiteral("Code"), QStringLiteral("KBT"), QStringLiteral("Share"),
         QStringLiteral("Livestock"), QStringLiteral("Insurable"), QStringLiteral("Record line"),
         QStringLiteral("Rates .80 / .75 / .65"), QStringLiteral("Rate × share .80 / .75 / .65")},
        {}};
    for (const SummaryCommodity& c : s.commodities)
        table.rows.append({toQString(c.name), toQString(c.code), dollars(c.kbt), plain(c.share), yesNo(c.livestock),
                           yesNo(c.insurable), c.recordLine ? QString::number(*c.recordLine) : QStringLiteral("none"),
                           threeRates(c.rates), threeRates(c.weighted)});
    return table;
}

TextTable levelCells(const QuoteSummary& s) {
    TextTable table{{QStringLiteral("Coverage"), QStringLiteral("Offered"), QStringLiteral("Indemnity threshold"),
                     QStringLiteral("Weighted rate"), QStringLiteral("Factor"), QStringLiteral("KBT rate"),
                     QStringLiteral("KBT liability"), QStringLiteral("Net liability"), QStringLiteral("Gross premium"),
                     QStringLiteral("Subsidy"), QStringLiteral("Producer premium")},
                    {}};
    for (const SummaryLevel& l : s.levels)
        table.rows.append({toQString(l.coverage), yesNo(l.offered), dollars(l.indemnityThreshold),
                           plain(l.weightedRate), toQString(l.diversificationFactor), plain(l.kbtRate),
                           dollars(l.kbtLiability), dollars(l.netKbtLiability), dollars(l.grossPremium),
                           dollars(l.subsidy), dollars(l.producerPremium)});
    return table;
}

QString rateFileText(const SummaryRateFile& file) {
    return QStringLiteral("%1\n%2 bytes, modified %3, %4 records read\nSHA-256 %5")
        .arg(toQString(file.path), toQString(groupedText(static_cast<double>(file.size))), toQString(file.modified),
             toQString(groupedText(static_cast<double>(file.records))), toQString(file.sha256));
}

}  // namespace kbt2::ui
