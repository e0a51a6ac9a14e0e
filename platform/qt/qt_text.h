#pragma once
// The widget boundary: Shift-JIS bytes in, QString out, and back.

#include "platform/sjis_codec.h"

#include <QString>
#include <string>
#include <string_view>

namespace vornik {

inline QString fromSjis(std::string_view sjis)
{
    const std::string utf8 = sjisToUtf8(sjis);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string toSjis(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return utf8ToSjis(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

// Paths are UTF-8 inside the program (platform/native_path.h).
inline QString fromPath(const std::string& path)
{
    return QString::fromStdString(path);
}

inline std::string toPath(const QString& path)
{
    return path.toStdString();
}

} // namespace vornik
