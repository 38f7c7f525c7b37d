#include "commands/quiet_platform.h"

#include "rates/rate_file_places.h"

namespace kbt2 {

std::optional<std::string> QuietPlatform::chooseFile(FileDialogMode mode, const std::string&) {
    if (mode == FileDialogMode::Open) return opens_;
    return std::nullopt;
}

bool QuietPlatform::fileExists(const std::string& path) {
    return outer_ ? outer_->fileExists(path) : Platform::fileExists(path);
}

std::vector<std::string> QuietPlatform::rateFileFolders() {
    return outer_ ? outer_->rateFileFolders() : defaultRateFileFolders();
}

std::optional<std::string> QuietPlatform::chosenRateFile() {
    return outer_ ? outer_->chosenRateFile() : Platform::chosenRateFile();
}

}  // namespace kbt2
