// Conversions between the UTF-8 strings of templates and callers and Qt's QString.
#pragma once

#include <QString>
#include <string>
#include <string_view>

inline QString qstr(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string utf8(const QString& text) {
    return text.toStdString();
}
