// kbt2-quote's argument list and folder handling on any input. The input is
// split at NUL bytes into arguments. They are parsed as the command line;
// then each becomes an entry of a scratch folder (a folder when it starts
// with "d"), and the folder's worksheets must be exactly its ordinary *.wsk
// entries, in byte order, each joined to the folder's path.
//
// Input: arguments separated by NUL bytes.

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "app/quote/quote_options.h"
#include "app/quote/worksheet_list.h"
#include "fuzz/require.h"

using kbt2::fuzzing::require;

namespace {

namespace fs = std::filesystem;

bool isWorksheetName(const std::string& name) {
    if (name.size() < 4) return false;
    std::string tail = name.substr(name.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; });
    return tail == ".wsk";
}

// A folder of this process, removed when it ends.
const fs::path& scratch() {
    static const struct Scratch {
        fs::path path = fs::temp_directory_path() / ("quote_arguments_fuzz-" + std::to_string(getpid()));
        ~Scratch() {
            std::error_code ignored;
            fs::remove_all(path, ignored);
        }
    } folder;
    return folder.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> arguments(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            arguments.emplace_back();
        else
            arguments.back() += static_cast<char>(data[i]);
    }

    const auto parsed = kbt2::quote::parseQuoteArguments(arguments);
    if (!parsed.ok()) {
        const std::string& reason = parsed.failure().reason;
        require(!reason.empty() && reason.find('\n') == std::string::npos);
    } else if (const auto* options = std::get_if<kbt2::quote::QuoteOptions>(&parsed.value())) {
        require(!options->inputs.empty());
        require(!options->ratesPath || !options->ratesPath->empty());
        require(!options->outputPath || !options->outputPath->empty());
    }

    std::error_code ignored;
    fs::remove_all(scratch(), ignored);
    fs::create_directories(scratch());
    std::set<std::string> expected;
    for (const std::string& name : arguments) {
        if (name.empty() || name == "." || name == ".." || name.size() > 200 || name.find('/') != std::string::npos)
            continue;
        const bool folder = name[0] == 'd';
        if (folder ? !fs::create_directory(scratch() / name, ignored) : !std::ofstream(scratch() / name)) continue;
        if (!folder && isWorksheetName(name)) expected.insert(name);
    }
    const kbt2::quote::WorksheetList worksheets({scratch().string()});
    require(worksheets.size() == expected.size());
    auto name = expected.begin();
    worksheets.forEach([&](const kbt2::quote::QuoteItem& item) {
        require(!item.problem && name != expected.end());
        require(item.path == scratch().string() + "/" + *name++);
    });
    require(name == expected.end());
    return 0;
}
