#pragma once
// What is sent to a CAD application: the file's path inside a LISP string
// and the load expressions built around it, as bytes.
//
// A path travels in the byte form of the desktop it goes to: Shift-JIS (code
// page 932) on Windows, whose system code page the CAD applications read, and
// UTF-8 on X11, where every window speaks Unicode.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quodle {

enum class TPathCoding : std::uint8_t { pcCp932, pcUtf8 };

// Length of the character that starts at s[i] (i < s.size()), or 0 when the
// bytes there are not a whole character of the coding: a Shift-JIS lead byte
// without its trail byte, or a UTF-8 sequence that is cut, overlong, a
// surrogate or beyond U+10FFFF.
std::size_t CharLengthIn(std::string_view s, std::size_t i, TPathCoding coding);
bool IsWholeText(std::string_view s, TPathCoding coding);

// The UTF-8 path in the given coding, or nothing when a character of it has
// no form there (a CAD could not open the file by that name).
std::optional<std::string> PathInCoding(std::string_view utf8Path, TPathCoding coding);

// Whether `part` occurs in `text` starting on a character boundary: the
// second byte of a Shift-JIS character never begins a match.
bool ContainsText(std::string_view text, std::string_view part, TPathCoding coding);

// The path as the inside of a LISP string literal: every backslash that is a
// character of its own is doubled (a Shift-JIS trail byte 0x5C is left
// alone); a double quote becomes \" and a control character \nnn (three
// octal digits), so no path can end the string early or press Enter in the
// command line. Nothing when the path is not whole text of the coding, since
// a stray lead byte would swallow the escape that follows it.
std::optional<std::string> EscapeForLispString(std::string_view path, TPathCoding coding);

// 0x03 (cancels a running command), (load "P")(princ), CR.
std::string AutoCadLoadExpression(std::string_view escapedPath);
// (load "P")(princ), CR.
std::string BricsCadLoadExpression(std::string_view escapedPath);

// The record a text is handed to AutoCAD in: kind 1, the text and its NUL,
// either in the desktop's byte form or in UTF-16 (little-endian bytes here).
struct TCopyData {
    static constexpr std::uint32_t kCommandKind = 1;
    // The fixed buffers the text is copied into, NUL included.
    static constexpr std::size_t kAnsiBufferBytes = 256;
    static constexpr std::size_t kWideBufferUnits = 512;

    std::uint32_t Kind = kCommandKind;
    bool Wide = false;
    std::string Bytes;  // what the record points at; its size is cbData
};

// The record for `text` (in `coding`), or nothing when the text with its NUL
// does not fit the fixed buffer of its form.
std::optional<TCopyData> AutoCadCopyData(std::string_view text, bool wide, TPathCoding coding);

}  // namespace quodle
