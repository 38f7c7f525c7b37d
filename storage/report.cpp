#include "storage/report.h"

namespace kbt2 {

// Not built yet.
PrintDocument composeReport(const Worksheet&) { return {}; }

std::vector<std::string> renderPlainText(const PrintDocument& document) {
    std::vector<std::string> lines;
    for (const PrintLine& items : document.lines) {
        std::string current;
        for (const PrintItem& item : items) {
            if (item.kind == PrintItem::Kind::Text) {
                current += item.text;
                continue;
            }
            const size_t target = item.column > 1 ? static_cast<size_t>(item.column - 1) : 0;
            if (current.size() > target) {
                lines.push_back(std::move(current));
                current.clear();
            }
            current.resize(target, ' ');
        }
        lines.push_back(std::move(current));
    }
    return lines;
}

}  // namespace kbt2
