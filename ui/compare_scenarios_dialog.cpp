#include "ui/compare_scenarios_dialog.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "paint/qt_text.h"
#include "quote/scenario_comparison.h"
#include "rates/rate_source.h"

namespace kbt2::ui {
namespace {

constexpr const char* kPaperHeading = "On the farmer's paper";

}  // namespace

CompareScenariosDialog::CompareScenariosDialog(Case& scenarios, Platform& platform,
                                               std::function<bool(const std::string&)> add, QWidget* parent)
    : QDialog(parent), case_(scenarios), platform_(platform), add_(std::move(add)) {
    setObjectName(QStringLiteral("compareScenarios"));
    setWindowTitle(QStringLiteral("Compare Scenarios"));
    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("comparisonTable"));
    table_->setAccessibleName(QStringLiteral("The scenarios side by side"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(true);
    table_->setTabKeyNavigation(false);
    // As tall as its rows, within the screen: the advice stays right below.
    table_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (building_ || item->row() != table_->rowCount() - 1) return;
        case_.setForPaper(static_cast<size_t>(item->column()), item->checkState() == Qt::Checked);
    });

    advice_ = new QLabel(this);
    advice_->setObjectName(QStringLiteral("nextLevelAdvice"));
    advice_->setWordWrap(true);
    advice_->setTextFormat(Qt::PlainText);
    // Selectable by keys too, so Tab reaches it and a screen reader reads it.
    advice_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    advice_->setFocusPolicy(Qt::StrongFocus);
    try_ = new QPushButton(this);
    try_->setObjectName(QStringLiteral("tryNextLevel"));
    try_->setAutoDefault(false);
    connect(try_, &QPushButton::clicked, this, &CompareScenariosDialog::tryNextLevel);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    auto* heading = new QLabel(QStringLiteral("What would open the next level"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading);
    layout->addWidget(advice_);
    layout->addWidget(try_, 0, Qt::AlignLeft);
    layout->addStretch(1);
    layout->addWidget(buttons);
    setTabOrder(table_, advice_);
    setTabOrder(advice_, try_);
    rebuild();

    // As large as the columns ask, never more than the screen it opens on.
    const QFontMetrics metrics(font());
    QSize want(metrics.averageCharWidth() * (34 + 30 * table_->columnCount()), metrics.lineSpacing() * 40);
    QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) want = want.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(want);
}

void CompareScenariosDialog::rebuild() {
    building_ = true;
    RateFileSource rates;
    const ScenarioComparison comparison = compareScenarios(case_, platform_, rates);
    const ComparisonTable cells = comparisonTable(comparison);

    const int rows = static_cast<int>(cells.headings.size()) + 1;
    const int columns = static_cast<int>(cells.columns.size());
    table_->clear();
    table_->setRowCount(rows);
    table_->setColumnCount(columns);
    QStringList headings;
    for (const std::string& heading : cells.headings) headings.append(toQString(heading));
    headings.append(QString::fromLatin1(kPaperHeading));
    table_->setVerticalHeaderLabels(headings);
    QStringList names;
    for (const ComparedScenario& s : comparison.scenarios)
        names.append(toQString(s.name) + (s.current ? QStringLiteral(" (current)") : QString()));
    table_->setHorizontalHeaderLabels(names);
    for (int c = 0; c < columns; ++c) {
        const auto& column = cells.columns[static_cast<size_t>(c)];
        for (int r = 0; r < rows - 1; ++r) {
            auto* item = new QTableWidgetItem(toQString(column[static_cast<size_t>(r)]));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            item->setTextAlignment(r == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
            if (column[static_cast<size_t>(r)].ends_with("(cheapest)")) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            table_->setItem(r, c, item);
        }
        auto* paper = new QTableWidgetItem(QStringLiteral("Print"));
        paper->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        paper->setCheckState(comparison.scenarios[static_cast<size_t>(c)].forPaper ? Qt::Checked : Qt::Unchecked);
        paper->setToolTip(QStringLiteral("Put this scenario on the farmer's paper"));
        table_->setItem(rows - 1, c, paper);
    }
    const QFontMetrics metrics(font());
    for (int c = 0; c < columns; ++c) table_->setColumnWidth(c, metrics.averageCharWidth() * 30);
    table_->resizeRowsToContents();

    if (comparison.advice) {
        advice_->setText(toQString(comparison.advice->words));
        if (comparison.advice->coverage)
            tryName_ = tryName(case_, *comparison.advice);
        else
            tryName_.clear();
    } else {
        advice_->setText(QStringLiteral("The current scenario's premium cannot be calculated as it stands."));
        tryName_.clear();
    }
    try_->setText(tryName_.empty() ? QStringLiteral("Try the Next Level")
                                   : QStringLiteral("Add Scenario “%1”").arg(toQString(tryName_)));
    try_->setEnabled(!tryName_.empty());
    building_ = false;
}

void CompareScenariosDialog::tryNextLevel() {
    if (tryName_.empty() || !add_(tryName_)) return;
    rebuild();
}

}  // namespace kbt2::ui
