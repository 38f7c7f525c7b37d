#pragma once
// Which rate file priced the quote, in words: for the status bar after
// Calculate Premium and for Help > Rate File in Use. Rate tables are reissued
// during the year, so an agent must be able to tell one copy from another:
// the full path, size, modification time and, on request, the SHA-256.

#include <QString>
#include <string>

#include "commands/form.h"

namespace kbt2::ui {

// After Calculate Premium: the file read, its size and time, the records
// read and how many commodities found one; and whether the chosen rate file
// had gone so the usual places were searched, as the premium found it.
QString premiumRatesNote(const Form& form);
// Beside it: why the last premium's figures are no quote, and whether they
// were priced from the made-up sample, in a few words and whole; empty when
// neither.
struct RatesWarning {
    QString brief;
    QString whole;
};
RatesWarning premiumRatesWarning(const Form& form);

// Why the last premium's figures are no quote; empty when they are one.
QString premiumNotAQuote(const Form& form);

// The rate file of the last premium with its SHA-256, or, before any, the
// one the next premium would read.
QString rateFileInUseText(const Form& form, Platform& platform);

// The file's SHA-256 in hexadecimal, or a remark in brackets when the file
// cannot be read.
QString sha256Of(const QString& path);
// The same, empty when the file cannot be read. A rate table of hundreds of
// megabytes takes longer than a frame to hash: it is hashed on another
// thread while the window goes on drawing itself under a busy cursor (what
// the user types or clicks waits until it is done). A digest taken before of
// the same file (path, size and time of last change) is not taken again.
std::string rateFileSha256(const std::string& path);

}  // namespace kbt2::ui
