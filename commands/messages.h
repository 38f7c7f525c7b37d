#pragma once
// Every text the commands show the user, in one table.
//
// These texts are the system's own and are kept exactly as they stand: odd
// blanks ("Error #  3", "You have  entered"), spellings ("AllowableIncome"),
// "root(C:\)" and the carriage returns that break their lines. Saved
// files, scripts and expected outputs compare them byte for byte, so a
// change here is a change of behaviour, not of wording.

#include <string>
#include <vector>

#include "calc/premium.h"
#include "commands/case_file.h"
#include "rates/rate_file.h"
#include "worksheet/platform.h"

namespace kbt2::messages {

// Calculate Preliminary KBT: the checks of the ten boxes, numbered 1 to 5.
inline constexpr const char* kIncomeNotNumeric = "You have not entered a correct number in the Allowable Income box ";
inline constexpr const char* kExpenseNotNumeric =
    "You have not entered a correct number in the Allowable Expenses box ";
inline constexpr const char* kIncomeCommaOrDollar =
    "You have entered either a comma or a $ in the AllowableIncome box ";
inline constexpr const char* kExpenseCommaOrDollar =
    "You have  entered either a comma or a $ in the Allowable Expense box ";
std::string preliminaryZeroIncome(int box);
inline constexpr const char* kPreliminaryOutOfRange =
    "The figures are too large to calculate. Check the Allowable Income and Allowable Expenses boxes.";

// Calculate KBT for each Commodity: the row checks put the line number
// (from 1) between a prefix and a suffix.
inline constexpr const char* kTotalAmountInvalid =
    "You've entered invalid characters or zero in Total Amount box line ";
inline constexpr const char* kTotalAmountInvalidEnd = "(e.g. $, Comma)";
inline constexpr const char* kTotalAmountCommaOrDollar =
    "You have entered either a comma or a $ in the Total amount box ";
inline constexpr const char* kExpectedValueCommaOrDollar =
    "You have entered either a comma or a $ in the Expected value box ";
inline constexpr const char* kExpectedValueInvalid =
    "You've entered invalid characters or zero in Expected value box line ";
inline constexpr const char* kExpectedValueInvalidEnd = " (e.g. $, Comma)";
std::string rowKbtOutOfRange(int line);
inline constexpr const char* kTotalKbtOutOfRange =
    "The Total Expected KBT is too large to calculate. Check the Total Amounts and Expected values.";

// Calculate Premium: what stops it, the rate file, the eligibility warnings.
std::string premiumStop(const PremiumStop& stop);
std::vector<Message> rateFileMissing();
std::vector<Message> rateFileUnreadable(const RateFileError& error);
// The rate file the user chose is gone: the premium is priced from the one
// the usual places hold, and the user is told so, with both, before it is.
std::string chosenRateFileGone(const std::string& gone, const std::string& instead);
// An eligibility warning's message box; its text is the warning's row of
// kPremiumWarningTexts (commands/premium_warnings.h).
Message premiumWarning(PremiumWarning warning);

// Save, Load and Print.
std::string worksheetNotSaved(const std::string& path, const std::string& reason);
std::string worksheetNotOpened(const std::string& path, const std::string& reason);
std::string worksheetNotLoaded(const std::string& path, const std::string& reason);
std::string reportNotPrinted(const std::string& reason);
std::string reportNotSaved(const std::string& path, const std::string& reason);
Message noPrinterOffer();

// A case kept in files: why a save stopped, what of a case was not opened.
inline constexpr const char* kTooManyScenarioFiles = "A case keeps at most 99 scenarios in its files.";
inline constexpr const char* kScenarioNameTooLong = "A scenario's name is longer than a case allows.";
std::string caseFileProblem(const CaseFileProblem& problem, const std::string& path);

}  // namespace kbt2::messages
