#pragma once
// The core's texts are UTF-8; the widgets take QString.

#include <QDateTime>
#include <QString>
#include <string_view>

namespace kbt2 {

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A time as the window writes it, the same under every locale: "2026-03-14 09:05".
inline QString timeText(const QDateTime& time) { return time.toString(QStringLiteral("yyyy-MM-dd HH:mm")); }

}  // namespace kbt2
