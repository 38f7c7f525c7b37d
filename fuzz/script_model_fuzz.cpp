// Random scripts against the worksheet model, as kbt2-driver runs them: every
// command, handler, dialogue answer and file the fuzzer can reach. Every
// message shown must be one the program has, and unless the script itself
// types "inf" or "nan", no field may end up holding either.
//
// Files stay in a scratch folder of this process: a script's file paths map
// to three worksheet files there and its rate file places to a folder with a
// small rate file and an empty one, so a run never reads or writes anything
// else (and never blocks on a device file).

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <string_view>
#include <variant>

#include "app/driver/model_target.h"
#include "app/driver/runner.h"
#include "app/driver/script.h"
#include "app/driver/session.h"
#include "tests/core/known_messages.h"
#include "worksheet/controls.h"

namespace fs = std::filesystem;

namespace {

// Some records of a rate file in its fixed columns: Kent county, Michigan
// (26, 81) and Cumberland county, Maine (23, 5), a few commodity codes, a
// duplicate, a short line and a bare line feed.
constexpr std::string_view kRateFile =
    "26     081  0054  N     Y         0.045      0.038     0.021\r\n"
    "26     081  0607  Y     N         0.061      0.052     0.034\r\n"
    "26     081  0091  N     Y         0.050      0.041     0.030\n"
    "23     005  0054  N     N         0.020\r\n"
    "26     081  0054  N     Y         0.047      0.039     0.022\r\n";

constexpr int kWorksheetFiles = 3;

struct Scratch {
    fs::path root;
    fs::path rates;
    fs::path empty;
    std::string places;

    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "kbt2-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        root = pattern;
        rates = root / "rates";
        empty = root / "empty";
        fs::create_directories(rates);
        fs::create_directories(empty);
        std::ofstream(rates / "Ratefile.prn", std::ios::binary) << kRateFile;
        places = "places " + rates.string() + " " + empty.string();
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    fs::path worksheetFile(size_t n) const { return root / ("sheet" + std::to_string(n % kWorksheetFiles) + ".wsk"); }
};

Scratch& scratch() {
    static Scratch instance;
    return instance;
}

// The script with its file paths and folders moved into the scratch folder,
// without its echo lines.
std::string confined(std::string_view script) {
    using namespace kbt2::driver;
    const Scratch& s = scratch();
    std::string out = s.places + "\n";
    size_t start = 0;
    while (start <= script.size()) {
        size_t end = script.find('\n', start);
        if (end == std::string_view::npos) end = script.size();
        const std::string_view line = script.substr(start, end - start);
        const ParsedLine parsed = parseLine(line);
        const auto* action = std::get_if<Action>(&parsed);
        if (action && action->kind == Action::Kind::File && !action->flag) {
            out += "file " + s.worksheetFile(std::hash<std::string>{}(action->text)).string();
        } else if (action && action->kind == Action::Kind::Echo) {
            // Left out: it acts on nothing, and could print what looks like a message.
        } else if (action && action->kind == Action::Kind::Places) {
            const bool swap = action->places[0].size() % 2 == 1;
            out += swap ? "places " + s.empty.string() + " " + s.rates.string() : s.places;
        } else {
            out += line;
        }
        out += '\n';
        start = end + 1;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kbt2::driver;
    // Each run starts without worksheet files, so a crash reproduces alone.
    std::error_code ignored;
    for (int n = 0; n < kWorksheetFiles; ++n) fs::remove(scratch().worksheetFile(n), ignored);

    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::istringstream script(confined(input));
    std::ostringstream out;
    std::ostringstream errors;
    Session session(out);
    ModelTarget target(session);
    const int status = runScript(script, session, target, errors);
    if (status != 0 && status != 2) __builtin_trap();

    using namespace kbt2::testing_support;
    for (const kbt2::Message& message : messagesInDriverOutput(out.str()))
        if (!isKnownMessage(message)) __builtin_trap();
    // A field may hold "inf" or "nan" only when the script typed it, maybe
    // right after an escape: a line break typed as \n, then "inf".
    std::string unescaped(input);
    for (size_t at = unescaped.find('\\'); at != std::string::npos && at + 1 < unescaped.size();
         at = unescaped.find('\\', at + 2))
        unescaped.replace(at, 2, "  ");
    if (!holdsInfOrNan(input) && !holdsInfOrNan(unescaped)) {
        for (const kbt2::ControlInfo& c : kbt2::kControls) {
            if (c.kind != kbt2::Kind::Text && c.kind != kbt2::Kind::Masked) continue;
            for (int i = 0; i < c.slots(); ++i)
                if (holdsInfOrNan(target.text({c.control, i}))) __builtin_trap();
        }
    }
    return 0;
}
