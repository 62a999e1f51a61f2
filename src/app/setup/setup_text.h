#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace kv820 {

// The setup's texts cross between the core (UTF-8 bytes) and the widgets here.
inline QString setupText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string setupBytes(const QString& text) {
    return text.toUtf8().toStdString();
}

}  // namespace kv820
