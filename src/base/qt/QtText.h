#pragma once
// Shift-JIS bytes and QString meet only at the widget boundary, through the
// one codec of base/ShiftJis.h.
#include <QString>
#include <string>
#include <string_view>

#include "base/ShiftJis.h"

namespace quodle {

inline QString SjisToQString(std::string_view bytes) {
    const std::u16string text = Cp932ToUtf16(bytes);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string QStringToSjis(const QString& text) {
    return Utf16ToCp932(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                            static_cast<std::size_t>(text.size())));
}

}  // namespace quodle
