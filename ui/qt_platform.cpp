#include "ui/qt_platform.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>

#include "paint/quote_summary_pdf.h"
#include "rates/rate_file_places.h"
#include "ui/app_settings.h"
#include "ui/dialog_texts.h"
#include "ui/report_printer.h"

namespace kbt2::ui {

MessageAnswer QtPlatform::showMessage(const Message& message) {
    QMessageBox box(window_);
    box.setWindowTitle(QString::fromStdString(message.title));
    box.setTextFormat(Qt::PlainText);
    box.setText(messageForDisplay(message.text));
    box.setIcon(message.icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon);
    if (message.buttons == MessageButtons::OKCancel) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
    }
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    const QAbstractButton* cancel = box.button(QMessageBox::Cancel);
    return cancel && box.clickedButton() == cancel ? MessageAnswer::Cancel : MessageAnswer::OK;
}

std::optional<std::string> QtPlatform::chooseFile(FileDialogMode mode, const std::string& filter) {
    // Only the worksheet dialogue offers the remembered worksheet name: any
    // other (the PDF) offers that name with its own extension, so Enter never
    // writes a report over a saved worksheet.
    const bool worksheet = filter == kWorksheetFileFilter;
    QFileDialog dialog(window_);
    // Qt's own dialogue on every desktop, so it looks and answers the same
    // everywhere. A worksheet saved under a name without an extension gets
    // ".wsk", so the batch tool and this dialogue find it again; any other
    // name is accepted as typed: an existing worksheet is replaced without a
    // question, and a name that does not exist reaches the command, which
    // reports it.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(mode == FileDialogMode::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setNameFilters(nameFilters(filter));
    dialog.setProperty(kCommandFilterProperty, QString::fromStdString(filter));
    const QString suggested = worksheet ? lastFile_ : sameNameWithExtension(documentFile_, filter);
    if (!suggested.isEmpty()) dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    const QString chosen =
        worksheet && mode == FileDialogMode::Save ? withFilterExtension(files.first(), filter) : files.first();
    if (worksheet)
        lastFile_ = chosen;
    else if (mode == FileDialogMode::Save && !mayReplace(chosen))
        return std::nullopt;
    return chosen.toStdString();
}

bool QtPlatform::mayReplace(const QString& path) {
    if (!QFileInfo::exists(path)) return true;
    QMessageBox box(
        QMessageBox::Warning, QStringLiteral("Replace File"),
        QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(QDir::toNativeSeparators(path)),
        QMessageBox::Yes | QMessageBox::No, window_);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::vector<std::string> QtPlatform::rateFileFolders() { return defaultRateFileFolders(); }

PrintResult QtPlatform::print(const PrintDocument& document) {
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (printerInfo.isNull()) return {PrintResult::Status::NoPrinter, "no printer is set up"};
    QPrinter printer(printerInfo, QPrinter::HighResolution);
    printer.setDocName(documentTitle());
    return printDocument(document, printer);
}

// The printer writes its file as it goes, and says nothing when a write
// fails: it writes into a folder of its own, and only a finished PDF then
// takes the chosen name, so a full disk never leaves half a report in place
// of the file that was there.
PrintResult QtPlatform::printToPdf(const PrintDocument& document, const std::string& path) {
    const QTemporaryDir scratch;
    if (!scratch.isValid()) return {PrintResult::Status::Failed, "The file cannot be created."};
    const QString draft = scratch.filePath(QStringLiteral("report.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(draft);
    printer.setDocName(documentTitle());
    const PrintResult printed = printDocument(document, printer);
    if (printed.status != PrintResult::Status::Printed) return printed;
    QFile made(draft);
    if (!made.open(QIODevice::ReadOnly)) return {PrintResult::Status::Failed, "The file cannot be created."};
    if (const auto written = paint::writeWholePdf(made.readAll(), QString::fromStdString(path)); !written.ok())
        return {PrintResult::Status::Failed, written.failure().reason};
    return {};
}

QString QtPlatform::documentTitle() const {
    return documentFile_.isEmpty() ? QStringLiteral("Untitled worksheet") : QFileInfo(documentFile_).fileName();
}

void QtPlatform::closeWindow() {
    if (window_) window_->close();
}

void QtPlatform::worksheetFileUsed(const std::string& path) {
    if (fileUsed_) fileUsed_(path);
}

std::optional<std::string> QtPlatform::chosenRateFile() {
    // The window's own settings, read once at its start: opening the file for
    // every premium would read it again, and clear it again when damaged.
    const QString chosen = settings_ ? settings_->chosenRateFile() : QString();
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.toStdString();
}

}  // namespace kbt2::ui
