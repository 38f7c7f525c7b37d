#include "ui/report_printer.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrintDialog>

namespace kbt2::ui {
namespace {

PrintResult failed(std::string reason) { return {PrintResult::Status::Failed, std::move(reason)}; }

// Walks the document down the page. A page break comes only when text is to
// be drawn on a line that would not fit, so trailing blank lines never start
// an empty page.
class PageWriter {
public:
    PageWriter(QPainter& painter, QPrinter& printer)
        : painter_(painter),
          printer_(printer),
          metrics_(painter.font(), &printer),
          column_(metrics_.averageCharWidth()),
          lineHeight_(metrics_.lineSpacing()),
          pageHeight_(printer.height()) {}

    bool print(const PrintDocument& document) {
        for (const PrintLine& line : document.lines) {
            for (const PrintItem& item : line) {
                if (item.kind == PrintItem::Kind::Text)
                    text(QString::fromStdString(item.text));
                else
                    moveTo(item.column);
            }
            endLine();
        }
        return ok_;
    }

private:
    void text(const QString& s) {
        if (s.isEmpty()) return;
        if (y_ > 0 && y_ + lineHeight_ > pageHeight_) {
            ok_ = printer_.newPage() && ok_;
            y_ = 0;
        }
        painter_.drawText(QPointF(x_, y_ + metrics_.ascent()), s);
        x_ += metrics_.horizontalAdvance(s);
    }

    void moveTo(int column) {
        const qreal target = (column > 1 ? column - 1 : 0) * column_;
        // A small tolerance keeps text that ends exactly at the column on
        // its line despite rounding in the advances.
        if (x_ > target + 0.01) endLine();
        x_ = target;
    }

    void endLine() {
        x_ = 0;
        y_ += lineHeight_;
    }

    QPainter& painter_;
    QPrinter& printer_;
    QFontMetricsF metrics_;
    qreal column_;
    qreal lineHeight_;
    qreal pageHeight_;
    qreal x_ = 0;
    qreal y_ = 0;
    bool ok_ = true;
};

}  // namespace

PrintResult printDocument(const PrintDocument& document, QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (printer.outputFormat() == QPrinter::PdfFormat) return failed("The file cannot be created.");
        return failed("The printer cannot be started.");
    }
    const bool printed = PageWriter(painter, printer).print(document);
    const bool ended = painter.end();
    if (!printed || !ended || printer.printerState() == QPrinter::Error)
        return failed("The printer reported an error.");
    return {};
}

std::optional<PrintResult> printWithDialog(const PrintDocument& document, const QString& jobTitle, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(jobTitle);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print %1").arg(jobTitle));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return printDocument(document, printer);
}

}  // namespace kbt2::ui
