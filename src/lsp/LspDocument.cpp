#include "lsp/LspDocument.h"

#include <algorithm>

namespace quodle::lsp {

TLspDocument::TLspDocument(std::string uri, std::filesystem::path path, std::unique_ptr<TFountain> fountain)
    : uri_(std::move(uri)), path_(std::move(path)), document_(std::move(fountain)) {
    SetText({});
}

std::string_view TLspDocument::BreakText(TBreak b) {
    switch (b) {
    case bLf: return "\n";
    case bCr: return "\r";
    case bCrLf: return "\r\n";
    case bNone: break;
    }
    return {};
}

std::vector<TLspDocument::TLine> TLspDocument::Cut(std::string_view text, bool keepLast,
                                                   std::vector<std::string>& sjis) {
    std::vector<TLine> lines;
    const auto add = [&](std::string_view piece, TBreak b) {
        std::string& form = sjis.emplace_back();
        lines.push_back({TClientLine(std::string(piece), form), b});
    };
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        TBreak b = text[i] == '\n' ? bLf : bCr;
        const std::string_view piece = text.substr(start, i - start);
        if (b == bCr && i + 1 < text.size() && text[i + 1] == '\n') {
            b = bCrLf;
            ++i;
        }
        add(piece, b);
        start = i + 1;
    }
    if (keepLast || start < text.size()) add(text.substr(start), bNone);
    return lines;
}

void TLspDocument::SetText(std::string_view utf8) {
    std::vector<std::string> sjis;
    lines_ = Cut(utf8, true, sjis);
    std::string all;
    std::size_t size = 0;
    for (const std::string& s : sjis) size += s.size() + 2;
    all.reserve(size);
    // A break after every line, the last too: the rows are then exactly the
    // lines, an empty last one included.
    for (const std::string& s : sjis) (all += s) += "\r\n";
    document_.SetText(all);
    ++revision_;
}

void TLspDocument::Replace(TClientRange range, std::string_view utf8, TPositionEncoding encoding) {
    const auto clamp = [&](TClientPosition& p) {
        if (p.Line >= lines_.size()) p = {lines_.size() - 1, lines_.back().Text.ClientLength(encoding)};
    };
    clamp(range.Start);
    clamp(range.End);
    if (range.End.Line < range.Start.Line ||
        (range.End.Line == range.Start.Line && range.End.Character < range.Start.Character))
        range.End = range.Start;
    const std::size_t startByte = lines_[range.Start.Line].Text.ClientToUtf8(range.Start.Character, encoding);
    const std::size_t endByte = lines_[range.End.Line].Text.ClientToUtf8(range.End.Character, encoding);

    // The edited lines are cut anew. A CR ending the line above may meet an
    // LF at the start of what comes: the two are then one break, so that
    // line is cut anew too.
    std::size_t first = range.Start.Line;
    const std::size_t last = range.End.Line;
    std::string joined;
    if (startByte == 0 && first > 0 && lines_[first - 1].Break == bCr) {
        --first;
        joined += lines_[first].Text.Utf8();
        joined += BreakText(lines_[first].Break);
    }
    joined.append(lines_[range.Start.Line].Text.Utf8(), 0, startByte);
    joined += utf8;
    joined.append(lines_[last].Text.Utf8(), endByte);
    joined += BreakText(lines_[last].Break);

    std::vector<std::string> sjis;
    std::vector<TLine> fresh = Cut(joined, last + 1 == lines_.size(), sjis);
    std::vector<std::string_view> rows(sjis.begin(), sjis.end());
    const std::size_t count = last - first + 1;
    const TRowsSpan span{static_cast<int>(first), static_cast<int>(count), static_cast<int>(fresh.size())};
    Rows().ReplaceRowSpans(std::span(&span, 1), rows);
    // The client keeps the history; the rows need none.
    Rows().UndoObj().ClearHistory();
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(first),
                 lines_.begin() + static_cast<std::ptrdiff_t>(last + 1));
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(first), std::make_move_iterator(fresh.begin()),
                  std::make_move_iterator(fresh.end()));
    ++revision_;
}

TLineList TLspDocument::Lines() const {
    return TLineList(
        &document_.Rows(),
        [](const void* rows, std::size_t i) {
            return static_cast<const TEditorScreenStrings*>(rows)->View(static_cast<int>(i));
        },
        static_cast<std::size_t>(document_.Rows().Count()));
}

std::string TLspDocument::SjisText() const {
    const TEditorScreenStrings& rows = document_.Rows();
    std::string text;
    std::size_t size = 0;
    for (int r = 0; r < rows.Count(); ++r) size += rows.View(r).size() + 2;
    text.reserve(size);
    for (int r = 0; r < rows.Count(); ++r) {
        if (r > 0) text += "\r\n";
        text += rows.View(r);
    }
    return text;
}

std::string TLspDocument::Utf8Text() const {
    std::string text;
    for (const TLine& line : lines_) (text += line.Text.Utf8()) += BreakText(line.Break);
    return text;
}

TSjisPlace TLspDocument::ToSjis(TClientPosition position, TPositionEncoding encoding) const {
    if (position.Line >= lines_.size()) {
        const std::size_t last = lines_.size() - 1;
        return {last, lines_[last].Text.ClientToSjis(std::string::npos, encoding)};
    }
    return {position.Line, lines_[position.Line].Text.ClientToSjis(position.Character, encoding)};
}

TClientPosition TLspDocument::ToClient(std::size_t line, std::size_t sjisOffset, TPositionEncoding encoding) const {
    if (line >= lines_.size()) return {lines_.size() - 1, lines_.back().Text.ClientLength(encoding)};
    return {line, lines_[line].Text.SjisToClient(sjisOffset, encoding)};
}

}  // namespace quodle::lsp
