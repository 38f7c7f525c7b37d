#pragma once
// The premium details' tables as text, the same in the Premium Details view
// and on the quote summary's second page: one row per commodity, one per
// coverage level, and the rate file's identity. Their headers are in the
// summary's language.

#include <QList>
#include <QString>
#include <QStringList>

#include "quote/quote_summary.h"

namespace kbt2::paint {

struct TextTable {
    QStringList headers;
    QList<QStringList> rows;
};

TextTable commodityCells(const QuoteSummary& summary);
TextTable levelCells(const QuoteSummary& summary);
// Path, size, time, records read and SHA-256, on three lines.
QString rateFileText(const SummaryRateFile& file);
// What paper shows of the rate file, on two lines: its name without the
// folder, time, records read and SHA-256; never where it lies.
QString paperRateFileText(const SummaryRateFile& file, Language language = Language::English);

}  // namespace kbt2::paint
