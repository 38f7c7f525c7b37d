#include "ui/paste_filter.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QVariant>
#include <QWidget>

#include "commands/paste.h"

namespace kbt2::ui {
namespace {

const char* const kFieldProperty = "kbt2PasteField";

}  // namespace

PasteFilter::PasteFilter(Form& form, std::function<void(FieldRef, bool)> acted,
                         std::function<void(const QString&)> refused, std::function<QString(FieldRef)> caption,
                         QObject* parent)
    : QObject(parent),
      form_(form),
      acted_(std::move(acted)),
      refused_(std::move(refused)),
      caption_(std::move(caption)) {}

void PasteFilter::watch(QWidget* widget, FieldRef field) {
    widget->setProperty(kFieldProperty, QString::fromStdString(refName(field)));
    widget->installEventFilter(this);
}

bool PasteFilter::pasteBlock(FieldRef field, const QString& text) {
    const PasteTable* table = pasteTableOf(field);
    const auto cells = pastedCells(text.toStdString());
    if (!table || (cells.size() < 2 && (cells.empty() || cells.front().size() < 2))) return false;
    const auto plan = planPaste(*table, field, cells);
    if (const auto* refusal = std::get_if<PasteRefusal>(&plan)) {
        const QString caption = refusal->field ? caption_(*refusal->field) : QString();
        QApplication::beep();
        refused_(QString::fromStdString(pasteRefusalWords(*refusal, caption.toStdString())));
        return true;
    }
    acted_(field, form_.paste(field, std::get<PastePlan>(plan)));
    return true;
}

bool PasteFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste))
        return false;
    const auto field = parseRef(watched->property(kFieldProperty).toString().toStdString());
    return field && pasteBlock(*field, QApplication::clipboard()->text());
}

}  // namespace kbt2::ui
