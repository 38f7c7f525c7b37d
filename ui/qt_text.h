#pragma once
// The core's texts are UTF-8; the widgets take QString.

#include <QString>
#include <string_view>

namespace kbt2::ui {

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace kbt2::ui
