#include "lsp/Positions.h"

#include <algorithm>
#include <optional>

#include "base/ShiftJis.h"
#include "base/Utf8Lead.h"

namespace quodle::lsp {

TClientLine::TClientLine(std::string utf8, std::string& sjis) : utf8_(std::move(utf8)) {
    sjis.clear();
    sjis.reserve(utf8_.size());
    std::size_t utf16 = 0;
    for (std::size_t i = 0; i < utf8_.size();) {
        const auto lead = static_cast<unsigned char>(utf8_[i]);
        if (lead < 0x80) {
            sjis.push_back(static_cast<char>(lead));
            ++i;
            ++utf16;
            continue;
        }
        // The text is valid UTF-8; a broken byte still counts as one
        // character without a form rather than reading past the end.
        std::size_t length = Utf8Lead(lead).Length;
        if (length == 0 || i + length > utf8_.size()) length = 1;
        char32_t c = length == 1 ? 0xFFFD : lead & (0xFF >> (length + 1));
        for (std::size_t k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(utf8_[i + k]) & 0x3F);
        TWide w;
        w.Utf8 = static_cast<std::uint32_t>(i);
        w.Utf16 = static_cast<std::uint32_t>(utf16);
        w.Sjis = static_cast<std::uint32_t>(sjis.size());
        w.Utf8Length = static_cast<std::uint8_t>(length);
        w.Utf16Length = c > 0xFFFF ? 2 : 1;
        const std::optional<std::uint16_t> code = Cp932CodeOf(c);
        if (!code) {
            w.NoForm = true;
            sjis += kNoFormMark;
        } else if (*code > 0xFF) {
            sjis.push_back(static_cast<char>(*code >> 8));
            sjis.push_back(static_cast<char>(*code & 0xFF));
        } else {
            sjis.push_back(static_cast<char>(*code));
        }
        w.SjisLength = static_cast<std::uint8_t>(sjis.size() - w.Sjis);
        wide_.push_back(w);
        i += length;
        utf16 += w.Utf16Length;
    }
    sjisLength_ = sjis.size();
    wide_.shrink_to_fit();
}

std::size_t TClientLine::At(const TWide& w, TForm form) {
    return form == fUtf8 ? w.Utf8 : form == fUtf16 ? w.Utf16 : w.Sjis;
}

std::size_t TClientLine::LengthIn(const TWide& w, TForm form) {
    return form == fUtf8 ? w.Utf8Length : form == fUtf16 ? w.Utf16Length : w.SjisLength;
}

std::size_t TClientLine::LengthIn(TForm form) const {
    if (form == fUtf8) return utf8_.size();
    if (form == fSjis) return sjisLength_;
    if (wide_.empty()) return utf8_.size();
    const TWide& last = wide_.back();
    return last.Utf16 + last.Utf16Length + (utf8_.size() - last.Utf8 - last.Utf8Length);
}

// `offset` lies within the line in form `from`.
std::size_t TClientLine::Convert(std::size_t offset, TForm from, TForm to) const {
    // The last wide character that starts at or before the offset; before
    // the first one all is ASCII.
    const auto after = std::upper_bound(wide_.begin(), wide_.end(), offset,
                                        [&](std::size_t o, const TWide& w) { return o < At(w, from); });
    if (after == wide_.begin()) return offset;
    const TWide& w = *(after - 1);
    const std::size_t end = At(w, from) + LengthIn(w, from);
    if (offset < end) return At(w, to);
    return At(w, to) + LengthIn(w, to) + (offset - end);
}

std::size_t TClientLine::ClientLength(TPositionEncoding encoding) const {
    return LengthIn(encoding == TPositionEncoding::peUtf8 ? fUtf8 : fUtf16);
}

std::size_t TClientLine::ClientToUtf8(std::size_t offset, TPositionEncoding encoding) const {
    const TForm from = encoding == TPositionEncoding::peUtf8 ? fUtf8 : fUtf16;
    return Convert(std::min(offset, LengthIn(from)), from, fUtf8);
}

std::size_t TClientLine::ClientToSjis(std::size_t offset, TPositionEncoding encoding) const {
    const TForm from = encoding == TPositionEncoding::peUtf8 ? fUtf8 : fUtf16;
    return Convert(std::min(offset, LengthIn(from)), from, fSjis);
}

std::size_t TClientLine::SjisToClient(std::size_t offset, TPositionEncoding encoding) const {
    return Convert(std::min(offset, sjisLength_), fSjis, encoding == TPositionEncoding::peUtf8 ? fUtf8 : fUtf16);
}

std::vector<TClientLine::TNoForm> TClientLine::NoForms() const {
    std::vector<TNoForm> out;
    for (const TWide& w : wide_) {
        if (!w.NoForm) continue;
        const std::u16string wide = Utf8ToUtf16(std::string_view(utf8_).substr(w.Utf8, w.Utf8Length));
        char32_t c = wide.empty() ? 0xFFFD : wide[0];
        if (wide.size() == 2) c = 0x10000 + ((static_cast<char32_t>(wide[0]) - 0xD800) << 10) + (wide[1] - 0xDC00);
        out.push_back({c, w.Sjis});
    }
    return out;
}

}  // namespace quodle::lsp
