// The shared tables' texts as Qt strings: captions and names are UTF-16 and
// ASCII views, never null-terminated.
#pragma once

#include <QString>
#include <string_view>

namespace window {

inline QString toQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline QString toQString(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace window
