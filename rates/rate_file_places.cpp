#include "rates/rate_file_places.h"

#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace kbt2 {
namespace {

// An environment variable's value; empty when it is not set.
std::string_view environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

void addKbt2Folder(std::vector<std::string>& folders, std::string_view base) {
    if (base.empty() || base.front() != '/') return;
    folders.push_back((std::filesystem::path(base) / "kbt2").string());
}

}  // namespace

std::vector<std::string> dataRateFileFolders() {
    std::vector<std::string> folders;
    if (const std::string_view home = environment("XDG_DATA_HOME"); !home.empty())
        addKbt2Folder(folders, home);
    else if (const std::string_view user = environment("HOME"); !user.empty())
        addKbt2Folder(folders, (std::filesystem::path(user) / ".local" / "share").string());
    std::string_view dirs = environment("XDG_DATA_DIRS");
    if (dirs.empty()) dirs = "/usr/local/share/:/usr/share/";
    while (!dirs.empty()) {
        const size_t colon = dirs.find(':');
        addKbt2Folder(folders, dirs.substr(0, colon));
        dirs = colon == std::string_view::npos ? std::string_view() : dirs.substr(colon + 1);
    }
    return folders;
}

std::string programDataFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return (program.parent_path().parent_path() / "share" / "kbt2").string();
}

std::vector<std::string> defaultRateFileFolders() {
    std::vector<std::string> folders = dataRateFileFolders();
    if (std::string program = programDataFolder(); !program.empty()) folders.push_back(std::move(program));
    folders.push_back("/");
    return folders;
}

}  // namespace kbt2
