#include "cad/LoadExpression.h"

#include "base/ShiftJis.h"

namespace quodle {

namespace {

std::size_t Utf8CharLength(std::string_view s, std::size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) return 1;
    std::size_t len = 0;
    char32_t c = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
        c = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
        len = 3;
        c = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        c = b & 0x07;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto t = static_cast<unsigned char>(s[i + k]);
        if ((t & 0xC0) != 0x80) return 0;
        c = (c << 6) | (t & 0x3F);
    }
    const bool overlong = (len == 3 && c < 0x800) || (len == 4 && c < 0x10000);
    if (overlong || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return 0;
    return len;
}

void AppendOctalEscape(std::string& out, unsigned char b) {
    out.push_back('\\');
    out.push_back(static_cast<char>('0' + (b >> 6)));
    out.push_back(static_cast<char>('0' + ((b >> 3) & 7)));
    out.push_back(static_cast<char>('0' + (b & 7)));
}

std::string LoadCall(std::string_view escapedPath) {
    std::string out = "(load \"";
    out += escapedPath;
    out += "\")(princ)\r";
    return out;
}

}  // namespace

std::size_t CharLengthIn(std::string_view s, std::size_t i, TPathCoding coding) {
    if (coding == TPathCoding::pcUtf8) return Utf8CharLength(s, i);
    if (!IsLeadByte(s[i])) return 1;
    return i + 1 < s.size() && IsTrailByte(static_cast<unsigned char>(s[i + 1])) ? 2 : 0;
}

bool IsWholeText(std::string_view s, TPathCoding coding) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t len = CharLengthIn(s, i, coding);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

std::optional<std::string> PathInCoding(std::string_view utf8Path, TPathCoding coding) {
    if (!IsWholeText(utf8Path, TPathCoding::pcUtf8)) return std::nullopt;
    if (coding == TPathCoding::pcUtf8) return std::string(utf8Path);
    std::string sjis = Utf8ToCp932(utf8Path);
    // Characters without a Shift-JIS form come back as '?'.
    if (Cp932ToUtf8(sjis) != utf8Path || !IsWholeText(sjis, coding)) return std::nullopt;
    return sjis;
}

bool ContainsText(std::string_view text, std::string_view part, TPathCoding coding) {
    if (part.empty()) return true;
    for (std::size_t i = 0; i + part.size() <= text.size();) {
        if (text.compare(i, part.size(), part) == 0) return true;
        const std::size_t len = CharLengthIn(text, i, coding);
        i += len == 0 ? 1 : len;
    }
    return false;
}

std::optional<std::string> EscapeForLispString(std::string_view path, TPathCoding coding) {
    std::string out;
    out.reserve(path.size() + 8);
    for (std::size_t i = 0; i < path.size();) {
        const std::size_t len = CharLengthIn(path, i, coding);
        if (len == 0) return std::nullopt;
        const auto b = static_cast<unsigned char>(path[i]);
        if (len > 1) {
            out.append(path, i, len);
        } else if (b == '\\') {
            out += "\\\\";
        } else if (b == '"') {
            out += "\\\"";
        } else if (b < 0x20 || b == 0x7F) {
            AppendOctalEscape(out, b);
        } else {
            out.push_back(static_cast<char>(b));
        }
        i += len;
    }
    return out;
}

std::string AutoCadLoadExpression(std::string_view escapedPath) {
    std::string out(1, '\x03');
    out += LoadCall(escapedPath);
    return out;
}

std::string BricsCadLoadExpression(std::string_view escapedPath) { return LoadCall(escapedPath); }

std::optional<TCopyData> AutoCadCopyData(std::string_view text, bool wide, TPathCoding coding) {
    TCopyData record;
    record.Wide = wide;
    if (!wide) {
        if (text.size() + 1 > TCopyData::kAnsiBufferBytes) return std::nullopt;
        record.Bytes.assign(text);
        record.Bytes.push_back('\0');
        return record;
    }
    const std::u16string units = coding == TPathCoding::pcCp932 ? Cp932ToUtf16(text) : Utf8ToUtf16(text);
    if (units.size() + 1 > TCopyData::kWideBufferUnits) return std::nullopt;
    record.Bytes.reserve((units.size() + 1) * 2);
    for (const char16_t u : units) {
        record.Bytes.push_back(static_cast<char>(u & 0xFF));
        record.Bytes.push_back(static_cast<char>(u >> 8));
    }
    record.Bytes.append(2, '\0');
    return record;
}

}  // namespace quodle
