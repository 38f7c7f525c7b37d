#include "ui/premium_details_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

#include "calc/numbers.h"
#include "commands/quote_text.h"
#include "ui/chart_view.h"
#include "ui/qt_text.h"
#include "ui/summary_charts.h"

namespace kbt2::ui {
namespace {

QString plain(double value) { return toQString(plainText(value)); }
QString dollars(double value) { return toQString(dollarText(value)); }
QString yesNo(bool flag) { return flag ? QStringLiteral("yes") : QStringLiteral("no"); }
QString threeRates(const std::array<double, 3>& rates) {
    return QStringLiteral("%1 / %2 / %3").arg(plain(rates[0]), plain(rates[1]), plain(rates[2]));
}

QTableWidget* makeTable(const QStringList& headers, const QList<QStringList>& rows, const QString& name,
                        QWidget* parent) {
    auto* table = new QTableWidget(static_cast<int>(rows.size()), static_cast<int>(headers.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(rows[r][c]);
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(r, c, item);
        }
    table->resizeColumnsToContents();
    // Big enough for every row and column: the dialogue scrolls, not each table.
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    return table;
}

QLabel* makeText(const QString& text, QWidget* parent, bool heading = false) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (heading) {
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
    }
    return label;
}

QTableWidget* commodityTable(const QuoteSummary& s, QWidget* parent) {
    QList<QStringList> rows;
    for (const SummaryCommodity& c : s.commodities)
        rows.append({toQString(c.name), toQString(c.code), dollars(c.kbt), plain(c.share), yesNo(c.livestock),
                     yesNo(c.insurable), c.recordLine ? QString::number(*c.recordLine) : QStringLiteral("none"),
                     threeRates(c.rates), threeRates(c.weighted)});
    return makeTable(
        {QStringLiteral("Commodity"), QStringLiteral("Code"), QStringLiteral("KBT"), QStringLiteral("Share"),
         QStringLiteral("Livestock"), QStringLiteral("Insurable"), QStringLiteral("Rate file line"),
         QStringLiteral("Rates .80 / .75 / .65"), QStringLiteral("Rate × share")},
        rows, QStringLiteral("commodityTable"), parent);
}

QTableWidget* levelTable(const QuoteSummary& s, QWidget* parent) {
    QList<QStringList> rows;
    for (const SummaryLevel& l : s.levels)
        rows.append({toQString(l.coverage), yesNo(l.offered), dollars(l.indemnityThreshold), plain(l.weightedRate),
                     toQString(l.diversificationFactor), plain(l.kbtRate), dollars(l.kbtLiability),
                     dollars(l.netKbtLiability), dollars(l.grossPremium), dollars(l.subsidy),
                     dollars(l.producerPremium)});
    return makeTable({QStringLiteral("Coverage"), QStringLiteral("Offered"), QStringLiteral("Indemnity threshold"),
                      QStringLiteral("Weighted rate"), QStringLiteral("Factor"), QStringLiteral("KBT rate"),
                      QStringLiteral("KBT liability"), QStringLiteral("Net liability"), QStringLiteral("Gross premium"),
                      QStringLiteral("Subsidy"), QStringLiteral("Producer premium")},
                     rows, QStringLiteral("levelTable"), parent);
}

QString rateFileText(const SummaryRateFile& file) {
    return QStringLiteral("%1\n%2 bytes, modified %3, %4 records read\nSHA-256 %5")
        .arg(toQString(file.path), toQString(groupedText(static_cast<double>(file.size))), toQString(file.modified),
             toQString(groupedText(static_cast<double>(file.records))), toQString(file.sha256));
}

}  // namespace

PremiumDetailsDialog::PremiumDetailsDialog(const QuoteSummary& s, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("premiumDetails"));
    setWindowTitle(s.worksheetName.empty() ? QStringLiteral("Premium Details")
                                           : QStringLiteral("Premium Details: %1").arg(toQString(s.worksheetName)));
    auto* content = new QWidget;
    auto* column = new QVBoxLayout(content);

    column->addWidget(makeText(QStringLiteral("The commodities"), content, true));
    column->addWidget(commodityTable(s, content));
    auto* shares = new ChartView(commoditySharesChart(s), content);
    shares->setObjectName(QStringLiteral("sharesChart"));
    shares->setMinimumHeight(fontMetrics().lineSpacing() * (3 + 2 * static_cast<int>(s.commodities.size())));
    column->addWidget(shares);

    column->addWidget(makeText(QStringLiteral("From the shares to the premium"), content, true));
    QStringList steps;
    for (const std::string& step : premiumSteps(s)) steps.append(toQString(step));
    for (const std::string& warning : eligibilityWarnings(s)) steps.append(toQString("Warning: " + warning));
    auto* stepText = makeText(steps.join(QStringLiteral("\n\n")), content);
    stepText->setObjectName(QStringLiteral("premiumSteps"));
    column->addWidget(stepText);

    column->addWidget(makeText(QStringLiteral("The coverage levels"), content, true));
    column->addWidget(levelTable(s, content));

    column->addWidget(makeText(QStringLiteral("The rate file"), content, true));
    auto* rateFile = makeText(rateFileText(s.rateFile), content);
    rateFile->setObjectName(QStringLiteral("rateFileIdentity"));
    column->addWidget(rateFile);
    column->addStretch(1);

    auto* scroller = new QScrollArea;
    scroller->setWidget(content);
    scroller->setWidgetResizable(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroller, 1);
    layout->addWidget(buttons);
    const QFontMetrics metrics(font());
    resize(metrics.averageCharWidth() * 150, metrics.lineSpacing() * 48);
}

}  // namespace kbt2::ui
