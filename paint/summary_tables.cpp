#include "paint/summary_tables.h"

#include "calc/numbers.h"
#include "paint/paper_words.h"
#include "paint/qt_text.h"
#include "quote/quote_text.h"

namespace kbt2::paint {
namespace {

QString plain(double value) { return toQString(plainText(value)); }
QString dollars(double value) { return toQString(dollarText(value)); }
QString yesNo(bool flag, Language language) { return paperWords(language, flag ? N_("yes") : N_("no")); }
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
    const Language l = s.language;
    TextTable table{{paperWords(l, N_("Commodity")), paperWords(l, N_("Code")), paperWords(l, N_("KBT")),
                     paperWords(l, N_("Share")), paperWords(l, N_("Livestock")), paperWords(l, N_("Insurable")),
                     paperWords(l, N_("Record line")), perLevelHeading(paperWords(l, N_("Rates"))),
                     perLevelHeading(paperWords(l, N_("Rate × share")))},
                    {}};
    for (size_t i = 0; i < s.commodities.size() && i < s.premium.rows.size(); ++i) {
        const SummaryCommodity& c = s.commodities[i];
        const PremiumRow& row = s.premium.rows[i];
        table.rows.append({toQString(c.name), toQString(c.code), dollars(row.kbt), plain(row.share),
                           yesNo(row.livestock, l), yesNo(row.insurable, l),
                           c.recordLine ? QString::number(*c.recordLine) : paperWords(l, N_("none")),
                           perLevel(row.rates), perLevel(row.weighted)});
    }
    return table;
}

TextTable levelCells(const QuoteSummary& s) {
    const Language l = s.language;
    TextTable table{
        {paperWords(l, N_("Coverage")), paperWords(l, N_("Offered")), paperWords(l, N_("Indemnity threshold")),
         paperWords(l, N_("Weighted rate")), paperWords(l, N_("Factor")), paperWords(l, N_("KBT rate")),
         paperWords(l, N_("KBT liability")), paperWords(l, N_("Net liability")), paperWords(l, N_("Gross premium")),
         paperWords(l, N_("Subsidy")), paperWords(l, N_("Producer premium"))},
        {}};
    for (const SummaryLevel& level : summaryLevels(s)) {
        const PremiumColumn& c = level.figures;
        table.rows.append({toQString(level.coverage), yesNo(c.offered, l), dollars(c.indemnityThreshold()),
                           plain(c.weightedRate()), plain(c.diversificationFactor()), plain(c.kbtRate()),
                           dollars(c.kbtLiability()), dollars(c.netKbtLiability()), dollars(c.grossPremium()),
                           dollars(c.subsidy()), dollars(c.producerPremium())});
    }
    return table;
}

QString rateFileText(const SummaryRateFile& file) {
    return QStringLiteral("%1\n%2 bytes, modified %3, %4 records read\nSHA-256 %5")
        .arg(toQString(file.path), toQString(groupedText(static_cast<double>(file.size))), toQString(file.modified),
             toQString(groupedText(static_cast<double>(file.records))), toQString(file.sha256));
}

QString paperRateFileText(const SummaryRateFile& file, Language language) {
    return paperWords(language, N_("{file}, dated {date}, {records} records read\nSHA-256 {digest}"),
                      {{"file", rateFileName(file)},
                       {"date", file.modified},
                       {"records", groupedText(static_cast<double>(file.records))},
                       {"digest", file.sha256}});
}

}  // namespace kbt2::paint
