#include "quote/batch_rates.h"

#include <filesystem>
#include <ostream>
#include <system_error>

#include "quote/printable.h"
#include "quote/quote_worksheet.h"
#include "quote/rate_file_identity.h"

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

void BatchRates::readOnce(const std::function<RateReadOutcome(const Tap&)>& read,
                          const std::function<bool()>& stillWanted) {
    identity_.reset();
    const auto keep = [this](RateReadOutcome outcome) {
        if (!outcome.ok()) error_ = std::move(outcome).failure();
    };
    if (!identify_) {
        keep(read({}));
        return;
    }
    Sha256Stream digest;
    keep(read([&](const char* begin, const char* end) {
        if (stillWanted()) digest.add(begin, end);
    }));
    if (!error_ && stillWanted())
        identity_ =
            rateFileIdentity(*path_, keysOnly_ || byKeys_ ? keyed_.contents() : counties_.contents(), digest.finish());
}

void BatchRates::readCountyWide() {
    if (!path_ || keysOnly_) return;
    readOnce([this](const Tap& tap) { return counties_.read(*path_, tap); },
             [this] { return !counties_.overflowed(); });
}

void BatchRates::readKeyed() {
    byKeys_ = true;
    error_.reset();
    // Read by keys only, the file is read even for no key: whether it is a
    // rate table at all, and the sample, are told from this reading.
    if (path_ && (keysOnly_ || !keyed_.empty()))
        readOnce([this](const Tap& tap) { return keyed_.read(*path_, kRateFileBlockSize, tap); }, [] { return true; });
}

void BatchRates::reportError(std::ostream& errors) const {
    if (error_) errors << "kbt2-quote: " << printable(*path_) << ": " << error_->description << '\n';
}

bool BatchRates::refused(std::ostream& errors) const {
    if (namedNotAFile_) return true;  // said by locate()
    if (!path_ || error_ || contents().keyed) return false;
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
