#include "ui/quote_actions.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <algorithm>

#include "paint/qt_text.h"
#include "paint/quote_summary_pdf.h"
#include "quote/fresh_quote.h"
#include "quote/paper_options.h"
#include "quote/quote_text.h"
#include "quote/rate_file_identity.h"
#include "quote/scenario_comparison.h"
#include "ui/app_settings.h"
#include "ui/premium_details_dialog.h"
#include "ui/rate_file_info.h"

namespace kbt2::ui {

QuoteActions::QuoteActions(QWidget& window, Form& form, const Case& scenarios, QtPlatform& platform,
                           std::function<void(const QString&)> note)
    : window_(window), form_(form), scenarios_(scenarios), platform_(platform), note_(std::move(note)) {}

std::optional<QuoteSummary> QuoteActions::freshSummary() {
    RateFileSource rates;
    const QString file = platform_.documentTitle();
    FreshQuote quote = freshQuote(form_.worksheet(), platform_, rates, file.toStdString(), false);
    if (!quote.summary) {
        QMessageBox box(QMessageBox::Information, QStringLiteral("KBT2"),
                        QStringLiteral("The premium of the worksheet as it stands cannot be calculated:\n\n%1")
                            .arg(toQString(quote.problem).replace(QChar(13), QChar(10))),
                        QMessageBox::Ok, &window_);
        box.setTextFormat(Qt::PlainText);
        box.exec();
        return std::nullopt;
    }
    // The rate file's identity: its digest off the window's thread.
    SummaryRateFile& used = quote.summary->rateFile;
    const bool sample = used.sample;
    used = rateFileStamp(used.path, used.records);
    used.sha256 = rateFileSha256(used.path);
    used.sample = sample;
    return quote.summary;
}

void QuoteActions::showDetails() {
    const auto summary = freshSummary();
    if (!summary) return;
    PremiumDetailsDialog dialog(*summary, &window_);
    dialog.exec();
}

void QuoteActions::exportSummary() {
    const QString title = platform_.documentTitle();
    const QString suggested = QFileInfo(title).completeBaseName() + QStringLiteral(" quote.pdf");
    QFileDialog dialog(&window_, QStringLiteral("Export Quote Summary"), QString(), QStringLiteral("PDF (*.pdf)"));
    dialog.setObjectName(QStringLiteral("exportQuoteSummaryDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectFile(suggested);

    // The language of the paper, below the file type: Alt+L reaches it.
    AppSettings settings;
    auto* languages = new QComboBox(&dialog);
    languages->setObjectName(QStringLiteral("summaryLanguage"));
    for (const LanguageInfo& language : kLanguages)
        languages->addItem(toQString(language.name), QString::fromLatin1(language.code));
    languages->setCurrentIndex(std::max(0, languages->findData(settings.summaryLanguage())));
    auto* label = new QLabel(QStringLiteral("&Language:"), &dialog);
    label->setBuddy(languages);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(languages, row, 1);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString path = dialog.selectedFiles().constFirst();
    if (path.isEmpty()) return;
    const QString code = languages->currentData().toString();
    settings.setSummaryLanguage(code);
    exportSummaryTo(path, languageOfCode(code.toStdString()).value_or(Language::English));
}

bool QuoteActions::exportSummaryTo(const QString& path, Language language) {
    auto summary = freshSummary();
    if (!summary) return false;
    summary->language = language;
    // Figures priced at rate 0 for a commodity without a record are no quote:
    // no paper is made of them.
    if (const std::string unrated = unratedText(*summary); !unrated.empty()) {
        const QString why = QStringLiteral("No quote summary was written to %1. %2").arg(path, toQString(unrated));
        note_(why);
        QMessageBox box(QMessageBox::Warning, QStringLiteral("KBT2"), why, QMessageBox::Ok, &window_);
        box.setTextFormat(Qt::PlainText);
        box.exec();
        return false;
    }
    // The scenarios ticked for the paper go on a page of their own, each
    // calculated afresh as it stands.
    bool ticked = false;
    for (size_t i = 0; i < scenarios_.size() && !ticked; ++i) ticked = scenarios_.forPaper(i);
    if (ticked) {
        RateFileSource rates;
        summary->options = paperOptions(compareScenarios(scenarios_, platform_, rates, language), language);
    }
    if (const auto written = paint::writeQuoteSummaryPdf(*summary, path); !written.ok()) {
        note_(QStringLiteral("The quote summary could not be written to %1: %2")
                  .arg(path, toQString(written.failure().reason)));
        return false;
    }
    note_(QStringLiteral("The quote summary was written to %1.").arg(path));
    return true;
}

void addQuoteEntries(QMenuBar* bar, QuoteActions& actions) {
    auto* file = bar->findChild<QMenu*>(QStringLiteral("menuFile"));
    auto* exportPdf = bar->findChild<QAction*>(QStringLiteral("actionExportPdf"));
    if (!file || !exportPdf) return;
    const QList<QAction*> entries = file->actions();
    const qsizetype at = entries.indexOf(exportPdf);
    QAction* before = at + 1 < entries.size() ? entries[at + 1] : nullptr;

    auto* summary = new QAction(QStringLiteral("Export &Quote Summary…"), file);
    summary->setObjectName(QStringLiteral("actionExportQuoteSummary"));
    QObject::connect(summary, &QAction::triggered, &actions, [&actions] { actions.exportSummary(); });
    auto* details = new QAction(QStringLiteral("Premium De&tails…"), file);
    details->setObjectName(QStringLiteral("actionPremiumDetails"));
    details->setShortcut(QKeySequence(QStringLiteral("Ctrl+D")));
    QObject::connect(details, &QAction::triggered, &actions, [&actions] { actions.showDetails(); });
    file->insertActions(before, {summary, details});
}

}  // namespace kbt2::ui
