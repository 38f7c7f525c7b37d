#include "ui/rate_file_info.h"

#include <QCursor>
#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <thread>

#include "commands/premium.h"
#include "paint/qt_text.h"
#include "quote/quote_text.h"
#include "quote/rate_file_identity.h"
#include "rates/rate_file.h"

namespace kbt2::ui {
namespace {

// A file this small is hashed well within a frame, on the window's thread.
constexpr qint64 kHashedInPlaceBelow = qint64{1} << 20;

// "PATH (1,234 bytes, 2026-03-14 09:05)", the time of its last change: the
// same words under every locale.
QString fileWithSizeAndTime(const QString& path) {
    const QFileInfo file(path);
    return QStringLiteral("%1 (%2 bytes, %3)")
        .arg(path, toQString(groupedText(static_cast<double>(file.size()))), timeText(file.lastModified()));
}

QString useInWords(const RateFileUse& use) {
    return QStringLiteral("Rates: %1, %2 records, %3 of %4 commodities found")
        .arg(fileWithSizeAndTime(QString::fromStdString(use.path)))
        .arg(toQString(groupedText(static_cast<double>(use.records))))
        .arg(use.found)
        .arg(use.commodities);
}

}  // namespace

QString premiumRatesNote(const Form& form) {
    QString note;
    if (const auto& gone = form.lastPremium().chosenRateFileGone)
        note = QStringLiteral("The chosen rate file %1 is gone; the usual places were searched. ")
                   .arg(QString::fromStdString(*gone));
    if (const auto& use = form.lastRateFileUse())
        note += useInWords(*use);
    else
        note += QStringLiteral("No rate file was read.");
    return note;
}

RatesWarning premiumRatesWarning(const Form& form) {
    const auto& use = form.lastRateFileUse();
    if (!use || !form.lastPremium().calculated()) return {};
    RatesWarning warning;
    QStringList parts;
    if (const QString notAQuote = premiumNotAQuote(form); !notAQuote.isEmpty()) {
        parts.append(notAQuote);
        warning.brief = QStringLiteral("\u26A0 Not a quote");
    }
    if (use->sample) {
        parts.append(QString::fromStdString(sampleRatesLine()));
        if (warning.brief.isEmpty()) warning.brief = QStringLiteral("\u26A0 Made-up sample rates: no quote");
    }
    warning.whole = parts.join(QLatin1Char(' '));
    return warning;
}

QString premiumNotAQuote(const Form& form) {
    const auto& use = form.lastRateFileUse();
    if (!use || !form.lastPremium().calculated()) return {};
    return QString::fromStdString(notAQuoteText(form.worksheet(), *use));
}

QString rateFileInUseText(const Form& form, Platform& platform) {
    if (const auto& use = form.lastRateFileUse()) {
        const QString path = QString::fromStdString(use->path);
        return QStringLiteral("The last premium was priced from this rate file.\n\n%1\n\nSHA-256: %2")
            .arg(useInWords(*use), sha256Of(path));
    }
    if (const auto path = findRateFile(platform)) {
        const QString file = QString::fromStdString(*path);
        return QStringLiteral(
                   "No premium has been calculated yet. The next one will be priced from\n\n%1\n\nSHA-256: %2")
            .arg(fileWithSizeAndTime(file), sha256Of(file));
    }
    return QStringLiteral("No premium has been calculated yet, and no rate file %1 was found.")
        .arg(QString::fromLatin1(kRateFileName));
}

QString sha256Of(const QString& path) {
    const std::string digest = rateFileSha256(QFile::encodeName(path).toStdString());
    if (digest.empty()) return QStringLiteral("(the file cannot be read)");
    return QString::fromLatin1(digest);
}

std::string rateFileSha256(const std::string& path) {
    // The digests taken, by file: only the window's thread comes here.
    struct Taken {
        qint64 size;
        QDateTime modified;
        std::string digest;
    };
    static QHash<QString, Taken> taken;
    const QString name = QFile::decodeName(QByteArray::fromStdString(path));
    const QFileInfo file(name);
    const auto known = taken.constFind(name);
    if (file.exists() && known != taken.constEnd() && known->size == file.size() &&
        known->modified == file.lastModified())
        return known->digest;

    std::string digest;
    if (file.size() < kHashedInPlaceBelow) {
        digest = sha256OfFile(path);
    } else {
        QEventLoop waiting;
        std::thread hashing([&] {
            digest = sha256OfFile(path);
            QMetaObject::invokeMethod(&waiting, &QEventLoop::quit, Qt::QueuedConnection);
        });
        QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
        waiting.exec(QEventLoop::ExcludeUserInputEvents);
        hashing.join();
        QGuiApplication::restoreOverrideCursor();
    }
    if (!digest.empty()) taken.insert(name, {file.size(), file.lastModified(), digest});
    return digest;
}

}  // namespace kbt2::ui
