// A translation catalogue on any text, as the program reads its own: refused
// with a line that exists and a reason, or read into entries whose table
// keeps only the confirmed, non-empty translations of plain msgids.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/require.h"
#include "storage/po_catalogue.h"

using kbt2::fuzzing::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto parsed = kbt2::parsePoCatalogue(text);
    if (!parsed.ok()) {
        size_t lines = 1;
        for (const char c : text) lines += c == '\n' ? 1 : 0;
        require(parsed.failure().line >= 1 && parsed.failure().line <= lines + 1);
        require(!parsed.failure().reason.empty());
        return 0;
    }
    size_t kept = 0;
    for (const kbt2::PoEntry& entry : parsed.value()) {
        require(entry.line >= 1);
        if (!entry.id.empty() && entry.context.empty() && !entry.plural && !entry.fuzzy && !entry.str.empty()) ++kept;
    }
    const kbt2::PoTable table = kbt2::translationTable(parsed.value());
    require(table.size() == kept);
    for (const auto& [id, str] : table) require(!id.empty() && !str.empty());
    return 0;
}
