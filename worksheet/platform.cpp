#include "worksheet/platform.h"

#include <filesystem>
#include <system_error>

namespace kbt2 {

bool isOrdinaryFile(const std::string& path) {
    // A path that cannot be looked at (no permission, a name too long) is no
    // file the program could read: false, not an exception.
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

std::string inFolder(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool Platform::fileExists(const std::string& path) { return isOrdinaryFile(path); }

}  // namespace kbt2
