// kbt2-screenshots OUTDIR SCRIPT [PAGES]: runs a driver script in the window
// (as kbt2-driver --window does) and saves a picture of every page, or of the
// pages listed (1-based, comma-separated: "1,7,9"), as OUTDIR/page-N.png.
// With every page it also saves the Premium Details view as
// OUTDIR/premium-details.png and the quote summary as OUTDIR/quote-summary.pdf
// (and in Spanish as OUTDIR/quote-summary-es.pdf), then adds two scenarios and saves the comparison view as
// OUTDIR/compare.png. scripts/screenshots.sh makes the README's pictures so.

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <fstream>
#include <iostream>

#include "app/driver/window_target.h"
#include "paint/quote_summary_pdf.h"
#include "ui/compare_scenarios_dialog.h"
#include "ui/main_window.h"
#include "ui/pages.h"
#include "ui/premium_details_dialog.h"

namespace {

// The details view and the summary of the worksheet as the script left it,
// the summary in English and in Spanish.
bool saveDetails(kbt2::ui::MainWindow& window, const QDir& folder) {
    const auto summary = window.quotes().freshSummary();
    if (!summary) return false;
    kbt2::ui::PremiumDetailsDialog details(*summary, &window);
    details.resize(1000, 1000);
    details.show();
    QApplication::processEvents();
    const QString picture = folder.filePath(QStringLiteral("premium-details.png"));
    bool saved = details.grab().save(picture);
    for (const kbt2::Language language : {kbt2::Language::English, kbt2::Language::Spanish}) {
        kbt2::QuoteSummary paper = *summary;
        paper.language = language;
        const QString pdf =
            folder.filePath(language == kbt2::Language::English ? QStringLiteral("quote-summary.pdf")
                                                                : QStringLiteral("quote-summary-es.pdf"));
        if (!kbt2::paint::writeQuoteSummaryPdf(paper, pdf).ok()) saved = false;
    }
    if (!saved) std::cerr << "kbt2-screenshots: cannot write the details or the summary\n";
    return saved;
}

// Two scenarios beside the script's worksheet: the first commodity at half
// its expected value, then the third at half its amount as well.
bool saveComparison(kbt2::ui::MainWindow& window, const QDir& folder) {
    using kbt2::Control;
    if (!window.scenarios().add(std::string("Half the price"))) return false;
    window.form().worksheet().setText({Control::Expval1, 0}, "2.25");
    if (!window.scenarios().add(std::string("Less grain"))) return false;
    window.form().worksheet().setText({Control::Totamt1, 2}, "9000");
    kbt2::ui::QtPlatform platform;
    kbt2::ui::CompareScenariosDialog view(
        window.scenarioCase(), platform, [](const std::string&) { return false; }, &window);
    view.resize(960, 520);
    view.show();
    QApplication::processEvents();
    const QString picture = folder.filePath(QStringLiteral("compare.png"));
    if (view.grab().save(picture)) return true;
    std::cerr << "kbt2-screenshots: cannot write " << picture.toStdString() << '\n';
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: kbt2-screenshots OUTDIR SCRIPT [PAGES]\n";
        return 2;
    }
    QSet<int> pages;
    if (argc == 4)
        for (const QString& page : QString::fromLocal8Bit(argv[3]).split(u',')) {
            bool number = false;
            const int n = page.toInt(&number);
            if (!number || n < 1 || n > kbt2::ui::kPageCount) {
                std::cerr << "kbt2-screenshots: no page " << page.toStdString() << '\n';
                return 2;
            }
            pages.insert(n);
        }
    std::ifstream script(argv[2], std::ios::binary);
    if (!script) {
        std::cerr << "kbt2-screenshots: cannot read " << argv[2] << '\n';
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    bool saved = true;
    std::ostream discard(nullptr);  // the driver's transcript is not wanted here
    const int status =
        kbt2::driver::runInWindow(argc, argv, script, discard, std::cerr, [&](kbt2::ui::MainWindow& window) {
            QDir().mkpath(folder);
            for (int page = 0; page < window.pages()->count(); ++page) {
                if (!pages.isEmpty() && !pages.contains(page + 1)) continue;
                window.pages()->setCurrentIndex(page);
                // The field that has the focus would show a cursor; pictures show none.
                if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
                QApplication::processEvents();
                // The page scrolled to its focused field on the way; a picture
                // shows it from its top left corner.
                if (auto* scroller = qobject_cast<QScrollArea*>(window.pages()->currentWidget())) {
                    scroller->verticalScrollBar()->setValue(0);
                    scroller->horizontalScrollBar()->setValue(0);
                    QApplication::processEvents();
                }
                const QString file = QDir(folder).filePath(QStringLiteral("page-%1.png").arg(page + 1));
                if (!window.grab().save(file)) {
                    std::cerr << "kbt2-screenshots: cannot write " << file.toStdString() << '\n';
                    saved = false;
                }
            }
            if (pages.isEmpty()) saved = saveDetails(window, QDir(folder)) && saved;
            if (pages.isEmpty()) saved = saveComparison(window, QDir(folder)) && saved;
        });
    return status != 0 ? status : saved ? 0 : 1;
}
