#include "paint/summary_tables.h"

#include "calc/numbers.h"
#include "paint/qt_text.h"
#include "quote/quote_text.h"

namespace kbt2::ui {
namespace {

QString plain(double value) { return toQString(plainText(value)); }
QString dollars(double value) { return toQString(dollarText(value)); }
QString yesNo(bool flag) { return flag ? QStringLiteral("yes") : QStringLiteral("no"); }
// "0.052 / 0.041 / 0.03": a value per coverage level, in column order.
QString perLevel(const LevelValues& values) {
    QStringList texts;
    for (const double value : values) texts.append(plain(value));
    return texts.join(QStringLiteral(" / "));
}
// "Rates .80 / .75 / .65": a heading over a value per coverage level.
QString perLevelHeading(const QString& what) {
    QStringList captions;
    for (const CoverageLevel& level : kCoverageLevels) captions.append(toQString(level.caption));
    return what + QLatin1Char(' ') + captions.join(QStringLiteral(" / "));
}

}  // namespace

TextTable commodityCells(const QuoteSummary& s) {
    TextTable table{
        {QStringLiteral("Commodity"), QStringLiteral("Code"), QStringLiteral("KBT"), QStringLiteral("Share"),
         QStringLiteral("Livestock"), QStringLiteral("Insurable"), QStringLiteral("Record line"),
         perLevelHeading(QStringLiteral("Rates")), perLevelHeading(QStringLiteral("Rate × share"))},
        {}};
    for (size_t i = 0; i < s.commodities.size() && i < s.premium.rows.size(); ++i) {
        const SummaryCommodity& c = s.commodities[i];
        const PremiumRow& row = s.premium.rows[i];
        table.rows.append({toQString(c.name), toQString(c.code), dollars(row.kbt), plain(row.share),
                           yesNo(row.livestock), yesNo(row.insurable),
                           c.recordLine ? QString::number(*c.recordLine) : QStringLiteral("none"), perLevel(row.rates),
                           perLevel(row.weighted)});
    }
    return table;
}

TextTable levelCells(const QuoteSummary& s) {
    TextTable table{{QStringLiteral("Coverage"), QStringLiteral("Offered"), QStringLiteral("Indemnity threshold"),
                     QStringLiteral("Weighted rate"), QStringLiteral("Factor"), QStringLiteral("KBT rate"),
                     QStringLiteral("KBT liability"), QStringLiteral("Net liability"), QStringLiteral("Gross premium"),
                     QStringLiteral("Subsidy"), QStringLiteral("Producer premium")},
                    {}};
    for (const SummaryLevel& level : summaryLevels(s)) {
        const PremiumColumn& l = level.figures;
        table.rows.append({toQString(level.coverage), yesNo(l.offered), dollars(l.indemnityThreshold()),
                           plain(l.weightedRate()), plain(l.diversificationFactor()), plain(l.kbtRate()),
                           dollars(l.kbtLiability()), dollars(l.netKbtLiability()), dollars(l.grossPremium()),
                           dollars(l.subsidy()), dollars(l.producerPremium())});
    }
    return table;
}

QString rateFileText(const SummaryRateFile& file) {
    return QStringLiteral("%1\n%2 bytes, modified %3, %4 records read\nSHA-256 %5")
        .arg(toQString(file.path), toQString(groupedText(static_cast<double>(file.size))), toQString(file.modified),
             toQString(groupedText(static_cast<double>(file.records))), toQString(file.sha256));
}

QString paperRateFileText(const SummaryRateFile& file) {
    return QStringLiteral("%1, dated %2, %3 records read\nSHA-256 %4")
        .arg(toQString(rateFileName(file)), toQString(file.modified),
             toQString(groupedText(static_cast<double>(file.records))), toQString(file.sha256));
}

}  // namespace kbt2::ui
