// The worksheet file reader on any file, as Load reads it: decoded (UTF-8 or
// Windows-1252), checked whole, then applied to a worksheet with its handlers.
// What a loaded worksheet saves must load again, into a fresh worksheet, and
// save to the very same file.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "commands/form.h"
#include "fuzz/require.h"
#include "storage/text_encoding.h"
#include "storage/worksheet_file_format.h"

using kbt2::fuzzing::require;

namespace {

// Nothing outside is reached while a file is applied: the handlers that
// loading runs only set fields.
class NoPlatform : public kbt2::Platform {
public:
    kbt2::MessageAnswer showMessage(const kbt2::Message&) override {
        __builtin_trap();  // loading shows nothing
    }
    std::optional<std::string> chooseFile(kbt2::FileDialogMode, const std::string&) override { return std::nullopt; }
    bool fileExists(const std::string&) override { return false; }
    std::vector<std::string> rateFileFolders() override { return {}; }
    kbt2::PrintResult print(const kbt2::PrintDocument&) override { return {}; }
    kbt2::PrintResult printToPdf(const kbt2::PrintDocument&, const std::string&) override { return {}; }
    void closeWindow() override {}
};

// The file a fresh worksheet saves after loading `text`, or nothing when the
// text is refused.
std::optional<std::string> loadAndSave(std::string_view text) {
    const auto parsed = kbt2::parseWorksheetFile(text);
    if (const auto* error = std::get_if<kbt2::LoadError>(&parsed)) {
        require(error->line >= 1 && !error->reason.empty());
        return std::nullopt;
    }
    NoPlatform platform;
    kbt2::Form form(platform);
    kbt2::applyLoadPlan(form.worksheet(), std::get<kbt2::LoadPlan>(parsed));
    return kbt2::formatWorksheetFile(form.worksheet());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = kbt2::decodeFileText(bytes);
    require(kbt2::isValidUtf8(text));

    const std::optional<std::string> saved = loadAndSave(text);
    if (!saved) return 0;
    const std::optional<std::string> again = loadAndSave(*saved);
    require(again.has_value());
    require(*again == *saved);
    return 0;
}
