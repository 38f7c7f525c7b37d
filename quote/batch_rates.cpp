#include "quote/batch_rates.h"

#include <filesystem>
#include <ostream>
#include <system_error>

#include "quote/printable.h"
#include "quote/quote_worksheet.h"

namespace kbt2::quote {

void BatchRates::locate(const std::optional<std::string>& named, std::ostream& errors) {
    path_ = named ? namedRateFile(*named) : windowRateFile();
    if (path_) return;
    // A file that is not there makes every worksheet an error, as before; one
    // that is there but no ordinary file (a folder, a pipe, a device) is a
    // slip refused outright.
    std::error_code error;
    namedNotAFile_ = named && std::filesystem::exists(*named, error);
    if (named)
        errors << "kbt2-quote: " << printable(*named) << ": no ordinary file of that name\n";
    else
        errors << "kbt2-quote: " << kRateFileName << " was found in none of the places the window looks in\n";
}

void BatchRates::readCountyWide() {
    if (path_) error_ = counties_.read(*path_);
}

void BatchRates::readKeyed() {
    byKeys_ = true;
    error_.reset();
    if (path_ && !keyed_.empty()) error_ = keyed_.read(*path_);
}

void BatchRates::reportError(std::ostream& errors) const {
    if (error_) errors << "kbt2-quote: " << printable(*path_) << ": " << error_->description << '\n';
}

bool BatchRates::refused(std::ostream& errors) const {
    if (namedNotAFile_) return true;  // said by locate()
    if (!path_ || error_ || counties_.contents().keyed) return false;
    errors << "kbt2-quote: " << printable(*path_)
           << ": not a rate table: it holds no valid record (a line whose state, county and commodity code, "
              "in columns 1-2, 8-10 and 13-16, are digits above 0)\n";
    return true;
}

RateSource& BatchRates::source() {
    if (!source_) {
        if (byKeys_)
            source_ = std::make_unique<RateTableSource>(keyed_, path_, error_);
        else
            source_ = std::make_unique<CountyRateSource>(counties_, path_, error_);
    }
    return *source_;
}

}  // namespace kbt2::quote
