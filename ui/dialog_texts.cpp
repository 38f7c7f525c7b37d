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

namespace {

// The first pattern's extension with its point (".wsk"); empty when the
// filter names none.
QString firstExtension(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(u'|');
    if (parts.size() < 2) return {};
    const QString pattern = parts[1].split(u';').first().trimmed();
    if (!pattern.startsWith(QStringLiteral("*.")) || pattern.size() < 3) return {};
    return pattern.mid(1);
}

}  // namespace

QString sameNameWithExtension(const QString& path, const std::string& filter) {
    const QString extension = firstExtension(filter);
    if (path.isEmpty() || extension.isEmpty()) return {};
    const QFileInfo file(path);
    return QDir(file.path()).filePath(file.completeBaseName() + extension);
}

QString withFilterExtension(const QString& path, const std::string& filter) {
    const QString extension = firstExtension(filter);
    const QFileInfo file(path);
    if (extension.isEmpty() || file.fileName().isEmpty() || file.isDir()) return path;
    if (path.endsWith(u'.')) return path + extension.mid(1);
    return file.suffix().isEmpty() ? path + extension : path;
}

}  // namespace kbt2::ui
