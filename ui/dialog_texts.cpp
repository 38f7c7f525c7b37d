#include "ui/dialog_texts.h"

#include <QDir>
#include <QFileInfo>

namespace kbt2::ui {

QString messageForDisplay(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace(QChar(u'\r'), QChar(QChar::LineSeparator));
    return shown;
}

std::string messageFromDisplay(const QString& shown) {
    QString text = shown;
    text.replace(QChar(QChar::LineSeparator), QChar(u'\r'));
    return text.toStdString();
}

QStringList nameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString patterns = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString();
        if (patterns.isEmpty() || (description.endsWith(u')') && description.contains(u'('))) {
            filters << description;
        } else {
            QString list = patterns;
            list.replace(u';', u' ');
            filters << QStringLiteral("%1 (%2)").arg(description, list);
        }
    }
    return filters;
}

QString sameNameWithExtension(const QString& path, const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(u'|');
    if (path.isEmpty() || parts.size() < 2) return {};
    const QString pattern = parts[1].split(u';').first().trimmed();
    if (!pattern.startsWith(QStringLiteral("*.")) || pattern.size() < 3) return {};
    const QFileInfo file(path);
    return QDir(file.path()).filePath(file.completeBaseName() + pattern.mid(1));
}

}  // namespace kbt2::ui
