#pragma once
// The quote summary a farmer keeps: a Letter-size PDF of two pages. Page one
// holds the case, the charts, the coverage levels offered, the eligibility
// warnings, the rate file's identity and the disclaimer; page two the
// details of the premium's calculation; a third, when scenarios of the farm
// were ticked for the paper, the options looked at side by side.

#include <QDate>
#include <QString>

#include "quote/quote_summary.h"
#include "storage/file_io.h"

namespace kbt2::paint {

// The summary's PDF made in memory, or why it could not be drawn: written
// directly in the PDF standard fonts, or by Qt's PDF writer where a name
// needs a script they lack. Any thread may draw one while the application
// object exists.
Outcome<QByteArray, FileFailure> quoteSummaryPdf(const QuoteSummary& summary,
                                                 const QDate& prepared = QDate::currentDate());

// Writes the summary to `path` whole or not at all: a full disk or a size
// limit leaves the file already there as it was, and the failure's reason
// says so.
FileOutcome writeQuoteSummaryPdf(const QuoteSummary& summary, const QString& path,
                                 const QDate& prepared = QDate::currentDate());

// True for the bytes of a PDF that was finished: its header, and its last
// line "%%EOF".
bool isWholePdf(const QByteArray& bytes);

// Writes a finished PDF's bytes to `path` whole or not at all, as above.
FileOutcome writeWholePdf(const QByteArray& bytes, const QString& path);

}  // namespace kbt2::paint
