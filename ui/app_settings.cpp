#include "ui/app_settings.h"

#include <QDir>
#include <QStandardPaths>

namespace kbt2::ui {
namespace {

constexpr auto kRecentKey = "recentFiles";
constexpr auto kRateFileKey = "rateFile";
constexpr auto kSummaryLanguageKey = "summaryLanguage";

QString settingsFile() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
        .filePath(QStringLiteral("kbt2.conf"));
}

}  // namespace

AppSettings::AppSettings() : settings_(std::make_unique<QSettings>(settingsFile(), QSettings::IniFormat)) {
    switch (settings_->status()) {
    case QSettings::NoError: break;
    case QSettings::AccessError:
        problem_ = QStringLiteral("The settings in %1 could not be read and were ignored.").arg(settings_->fileName());
        break;
    case QSettings::FormatError:
        problem_ = QStringLiteral("The settings in %1 are damaged and were ignored.").arg(settings_->fileName());
        // Nothing of a damaged file is trusted; the next change writes a sound one.
        settings_->clear();
        break;
    }
}

AppSettings::~AppSettings() = default;

QStringList AppSettings::recentFiles() const {
    QStringList files;
    for (const QString& file : settings_->value(kRecentKey).toStringList())
        if (!file.isEmpty() && !files.contains(file) && files.size() < kRecentLimit) files.append(file);
    return files;
}

void AppSettings::addRecentFile(const QString& path) {
    QStringList files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > kRecentLimit) files.removeLast();
    settings_->setValue(kRecentKey, files);
    settings_->sync();
}

void AppSettings::removeRecentFile(const QString& path) {
    QStringList files = recentFiles();
    files.removeAll(path);
    settings_->setValue(kRecentKey, files);
    settings_->sync();
}

QString AppSettings::chosenRateFile() const { return settings_->value(kRateFileKey).toString(); }

void AppSettings::setChosenRateFile(const QString& path) {
    settings_->setValue(kRateFileKey, path);
    settings_->sync();
}

QString AppSettings::summaryLanguage() const { return settings_->value(kSummaryLanguageKey).toString(); }

void AppSettings::setSummaryLanguage(const QString& code) {
    settings_->setValue(kSummaryLanguageKey, code);
    settings_->sync();
}

}  // namespace kbt2::ui
