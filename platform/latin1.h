#pragma once
// The program's strings are 8-bit: one Latin-1 character per byte. These convert at the
// boundary to Qt; characters beyond Latin-1 coming back from Qt become '?'.
#include <string>

#include <QString>

namespace platform {

inline QString ToQString(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string FromQString(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace platform
