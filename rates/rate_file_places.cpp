#include "rates/rate_file_places.h"

#include <filesystem>
#include <system_error>

namespace kbt2 {

std::vector<std::string> defaultRateFileFolders() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    std::vector<std::string> folders;
    if (!error) folders.push_back((program.parent_path().parent_path() / "share" / "kbt2").string());
    folders.push_back("/");
    return folders;
}

}  // namespace kbt2
