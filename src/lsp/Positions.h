#pragma once
// A line of a client's text in both forms: the UTF-8 the client sends and
// the Shift-JIS the analyses read, with an exact map between the client's
// positions (UTF-16 code units, or UTF-8 bytes when that was agreed on) and
// byte offsets in the Shift-JIS text. Only characters beyond ASCII are
// mapped: between them every form counts one per character.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quodle::lsp {

enum class TPositionEncoding : std::uint8_t { peUtf16, peUtf8 };

class TClientLine {
public:
    TClientLine() = default;
    // `utf8` is one line without its break, valid UTF-8 (as a JSON parser
    // hands it over); its Shift-JIS form goes to `sjis` (the document's rows
    // keep it). A character without a Shift-JIS form stands there as the
    // mark 〓 and is kept in the map.
    TClientLine(std::string utf8, std::string& sjis);

    const std::string& Utf8() const { return utf8_; }

    // The length in the client's units.
    std::size_t ClientLength(TPositionEncoding encoding) const;
    // A client offset as a byte offset in the UTF-8 or the Shift-JIS text:
    // past the end it is the end, inside a character the character's start.
    std::size_t ClientToUtf8(std::size_t offset, TPositionEncoding encoding) const;
    std::size_t ClientToSjis(std::size_t offset, TPositionEncoding encoding) const;
    // A Shift-JIS byte offset as a client offset (inside a character: its
    // start; past the end: the end).
    std::size_t SjisToClient(std::size_t offset, TPositionEncoding encoding) const;

    // A character that has no Shift-JIS form, where it stands.
    struct TNoForm {
        char32_t Char = 0;
        std::size_t Sjis = 0;  // its mark's offset
    };
    std::vector<TNoForm> NoForms() const;

private:
    // A character beyond ASCII: where it starts in each form and its length
    // there.
    struct TWide {
        std::uint32_t Utf8 = 0, Utf16 = 0, Sjis = 0;
        std::uint8_t Utf8Length = 0, Utf16Length = 0, SjisLength = 0;
        bool NoForm = false;
    };
    enum TForm : std::uint8_t { fUtf8, fUtf16, fSjis };
    static std::size_t At(const TWide& w, TForm form);
    static std::size_t LengthIn(const TWide& w, TForm form);
    // An offset in one form as an offset in another.
    std::size_t Convert(std::size_t offset, TForm from, TForm to) const;
    std::size_t LengthIn(TForm form) const;

    std::string utf8_;
    std::size_t sjisLength_ = 0;
    std::vector<TWide> wide_;
};


}  // namespace quodle::lsp
