#include "ui/premium_details_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

#include "paint/qt_text.h"
#include "paint/summary_charts.h"
#include "paint/summary_tables.h"
#include "quote/quote_text.h"
#include "ui/chart_view.h"
#include "ui/window_fit.h"

namespace kbt2::ui {
namespace {

// `title` names the table for a screen reader, and each row's first cell
// (the commodity, the level) is its row header; Tab leaves the table, the
// arrow keys move inside it.
QTableWidget* makeTable(const paint::TextTable& cells, const QString& name, const QString& title, QWidget* parent) {
    const QList<QStringList>& rows = cells.rows;
    auto* table = new QTableWidget(static_cast<int>(rows.size()), static_cast<int>(cells.headers.size()), parent);
    table->setObjectName(name);
    table->setAccessibleName(title);
    table->setTabKeyNavigation(false);
    table->setHorizontalHeaderLabels(cells.headers);
    QStringList rowHeaders;
    for (const QStringList& row : rows) rowHeaders << (row.isEmpty() ? QString() : row.constFirst());
    table->setVerticalHeaderLabels(rowHeaders);
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
    // Never narrower than its columns: the dialogue scrolls sideways rather
    // than clip the last one.
    table->setMinimumWidth(table->sizeHint().width());
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

}  // namespace

PremiumDetailsDialog::PremiumDetailsDialog(const QuoteSummary& s, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("premiumDetails"));
    setWindowTitle(s.worksheetName.empty() ? QStringLiteral("Premium Details")
                                           : QStringLiteral("Premium Details: %1").arg(toQString(s.worksheetName)));
    auto* content = new QWidget;
    auto* column = new QVBoxLayout(content);

    // Figures that are no quote say so first, in words a glance finds.
    QStringList warnings;
    if (s.rateFile.sample) warnings.append(toQString(sampleRatesLine()));
    if (const std::string unrated = unratedText(s); !unrated.empty()) warnings.append(toQString(unrated));
    if (!warnings.isEmpty()) {
        auto* notQuote =
            makeText(QStringLiteral("\u26A0 ") + warnings.join(QStringLiteral("\n\u26A0 ")), content, true);
        notQuote->setObjectName(QStringLiteral("notAQuote"));
        notQuote->setFrameShape(QFrame::Box);
        column->addWidget(notQuote);
    }

    const QString commoditiesTitle = QStringLiteral("The commodities");
    column->addWidget(makeText(commoditiesTitle, content, true));
    // A commodity without a rate record is marked in its row.
    paint::TextTable commodities = paint::commodityCells(s);
    for (size_t i = 0; i < s.commodities.size() && i < static_cast<size_t>(commodities.rows.size()); ++i) {
        if (s.commodities[i].recordLine) continue;
        QStringList& row = commodities.rows[static_cast<qsizetype>(i)];
        row[0] = QStringLiteral("\u26A0 ") + row[0];
        row[6] = QStringLiteral("none: rate 0");
    }
    column->addWidget(makeTable(commodities, QStringLiteral("commodityTable"), commoditiesTitle, content));
    auto* shares = new ChartView(paint::commoditySharesChart(s), content);
    shares->setObjectName(QStringLiteral("sharesChart"));
    shares->setMinimumHeight(fontMetrics().lineSpacing() * (3 + 2 * static_cast<int>(s.commodities.size())));
    column->addWidget(shares);

    const QString stepsTitle = QStringLiteral("From the shares to the premium");
    column->addWidget(makeText(stepsTitle, content, true));
    QStringList steps;
    for (const std::string& step : premiumSteps(s)) steps.append(toQString(step));
    for (const std::string& warning : eligibilityWarnings(s)) steps.append(toQString("Warning: " + warning));
    auto* stepText = makeText(steps.join(QStringLiteral("\n\n")), content);
    stepText->setObjectName(QStringLiteral("premiumSteps"));
    // On the Tab walk, and read by the keyboard, as the tables are.
    stepText->setAccessibleName(stepsTitle);
    stepText->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    stepText->setFocusPolicy(Qt::StrongFocus);
    column->addWidget(stepText);

    const QString levelsTitle = QStringLiteral("The coverage levels");
    column->addWidget(makeText(levelsTitle, content, true));
    column->addWidget(makeTable(paint::levelCells(s), QStringLiteral("levelTable"), levelsTitle, content));

    column->addWidget(makeText(QStringLiteral("The rate file"), content, true));
    auto* rateFile = makeText(paint::rateFileText(s.rateFile), content);
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
    // As large as the details want, as far as the screen it opens on has
    // room: the content scrolls and Close stays in view.
    const QFontMetrics metrics(font());
    fitToScreen(this, QSize(metrics.averageCharWidth() * 150, metrics.lineSpacing() * 48));
}

}  // namespace kbt2::ui
