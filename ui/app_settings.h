#pragma once
// What the window remembers between runs: the worksheet files used last,
// the rate file the user chose and the language of the last quote summary. They live in an INI file in the user's
// configuration folder (QStandardPaths::AppConfigLocation, which follows
// XDG_CONFIG_HOME).

#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>

namespace kbt2::ui {

class AppSettings {
public:
    static constexpr int kRecentLimit = 8;

    AppSettings();
    ~AppSettings();

    // Newest first, at most kRecentLimit, no repeats.
    QStringList recentFiles() const;
    // Puts the file first, dropping any older mention and the oldest beyond
    // the limit.
    void addRecentFile(const QString& path);
    void removeRecentFile(const QString& path);

    // Empty when the user chose none.
    QString chosenRateFile() const;
    void setChosenRateFile(const QString& path);

    // The code of the language the last quote summary was written in
    // ("en", "es"); empty before the first.
    QString summaryLanguage() const;
    void setSummaryLanguage(const QString& code);

    // Why the stored settings could not be read (they are then ignored and
    // rewritten on the next change), or empty.
    QString problem() const { return problem_; }

private:
    std::unique_ptr<QSettings> settings_;
    QString problem_;
};

}  // namespace kbt2::ui
