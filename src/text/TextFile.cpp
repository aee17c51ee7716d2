#include "text/TextFile.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/PathText.h"
#include "base/ShiftJis.h"
#include "text/RowParseState.h"
#include "text/StringList.h"

namespace quodle {

namespace {

constexpr char kCtrlZ = 26;

// Where a scan puts the complete lines it finds: a list of views.
class TViewSink {
public:
    explicit TViewSink(std::vector<std::string_view>& lines) : lines_(lines) {}
    void Line(const char* p, std::size_t n) { lines_.emplace_back(p, n); }

private:
    std::vector<std::string_view>& lines_;
};

// Or the row table itself: the lines are copied once, straight into the
// blocks' memory, without a list of views in between.
class TRowSink {
public:
    // Bytes of the lines' source may be read up to `readable`.
    TRowSink(TheStringList::TAppender& appender, const char* readable) : appender_(appender), readable_(readable) {}
    ~TRowSink() { Flush(); }
    TRowSink(const TRowSink&) = delete;
    TRowSink& operator=(const TRowSink&) = delete;

    void Line(const char* p, std::size_t n) {
        if (count_ == room_.Rows || n > room_.Bytes - used_) {
            if (!Reopen(p, n)) return;
        }
        char* out = room_.Text + used_;
        constexpr std::size_t kWord = TheStringList::TAppender::kRoomSlack;
        if (n <= kWord && readable_ - p >= static_cast<std::ptrdiff_t>(kWord)) {
            // A short line in one fixed-size move, cheaper than a call: the
            // room has slack for the bytes beyond the line, which the next
            // line overwrites.
            std::memcpy(out, p, kWord);
        } else {
            std::memcpy(out, p, n);
        }
        used_ += n;
        ends_[static_cast<std::size_t>(count_++)] = static_cast<std::uint32_t>(used_);
    }

private:
    // The room is full: the rows so far go to the list and room for `n`
    // bytes more is asked for; false when the line went to a block of its
    // own, being longer than a block. Out of line: the per-line path stays
    // small.
    [[gnu::noinline]] bool Reopen(const char* p, std::size_t n) {
        Flush();
        Open(n);
        if (n <= room_.Bytes) return true;
        appender_.Append(std::string_view(p, n));
        room_ = {};  // the next line asks for room again
        return false;
    }
    // Room is asked for only when a line is there to fill it: no block is
    // ever left without rows.
    void Open(std::size_t need) {
        room_ = appender_.Room(need);
        ends_.resize(static_cast<std::size_t>(room_.Rows));
        used_ = 0;
        count_ = 0;
    }
    void Flush() {
        appender_.Commit(std::span<const std::uint32_t>(ends_.data(), static_cast<std::size_t>(count_)));
        count_ = 0;
    }

    TheStringList::TAppender& appender_;
    const char* const readable_;
    TheStringList::TAppender::TRoom room_;
    std::vector<std::uint32_t> ends_;
    std::size_t used_ = 0;
    int count_ = 0;
};

// Collects the complete lines of [data, data + size) into the sink and
// returns how many bytes they took. A CR at the very end counts only when
// `final`: an LF may still follow in the next read. Breaks are searched
// from `searchFrom` on: the bytes before it are known to hold none (an
// unfinished line carried over from the last read).
template <class Sink>
class TLineScanner {
public:
    TLineScanner(const char* data, std::size_t size, bool final, Sink& sink)
        : p_(data), end_(data + size), final_(final), sink_(sink) {}

    const char* LineStart() const { return p_; }

    // Handles a break byte found at brk; false when the scan must stop there.
    [[gnu::always_inline]] bool Break(const char* brk) {
        if (brk < p_) return true;  // the LF of a CR LF already taken
        if (*brk == '\r' && brk + 1 == end_ && !final_) return false;
        sink_.Line(p_, static_cast<std::size_t>(brk - p_));
        p_ = brk + 1;
        if (*brk == '\r' && p_ < end_ && *p_ == '\n') ++p_;
        return true;
    }

    const char* End() const { return end_; }

private:
    const char* p_;
    const char* const end_;
    const bool final_;
    Sink& sink_;
};

template <class Sink>
std::size_t ScanLines(const char* data, std::size_t size, bool final, Sink& sink, std::size_t searchFrom = 0) {
    TLineScanner<Sink> scan(data, size, final, sink);
    const char* s = data + searchFrom;
    const char* const end = scan.End();
#if defined(__SSE2__)
    // Sixteen bytes at a time: one pass finds every CR and LF, without a
    // call per line.
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
    for (; end - s >= 16; s += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
        unsigned mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf))));
        for (; mask != 0; mask &= mask - 1)
            if (!scan.Break(s + __builtin_ctz(mask))) return static_cast<std::size_t>(scan.LineStart() - data);
    }
#endif
    for (; s < end; ++s)
        if ((*s == '\r' || *s == '\n') && !scan.Break(s)) break;
    return static_cast<std::size_t>(scan.LineStart() - data);
}

std::size_t ScanLines(const char* data, std::size_t size, bool final, std::vector<std::string_view>& lines,
                      std::size_t searchFrom = 0) {
    TViewSink sink(lines);
    return ScanLines(data, size, final, sink, searchFrom);
}

}  // namespace

bool TextLines(std::string_view text, std::vector<std::string_view>& lines) {
    const std::size_t used = ScanLines(text.data(), text.size(), true, lines);
    if (used == text.size()) return false;
    lines.push_back(text.substr(used));
    return true;
}

bool AppendLines(std::string_view text, TheStringList& rows) {
    TheStringList::TAppender appender(rows);
    std::size_t used;
    {
        TRowSink sink(appender, text.data() + text.size());
        used = ScanLines(text.data(), text.size(), true, sink);
    }
    if (used == text.size()) return false;
    appender.Append(text.substr(used));
    return true;
}

namespace {

// A UTF-8 character cut off by the end of a read waits for the next one:
// a read may give back that many bytes more than asked for.
constexpr std::size_t kCarriedBytes = 3;

// A file's text as CP932 bytes, a read at a time: as it stands, or
// converted from UTF-8. Ctrl+Z ends the text; the bytes from it on are kept
// as they stand (Tail), so that a save can write them back.
class TTextReader {
public:
    TTextReader(const std::string& path, bool utf8, std::size_t chunkBytes) : file_(PathFromUtf8(path)), utf8_(utf8) {
        if (!utf8_) return;
        raw_ = std::make_unique_for_overwrite<char[]>(chunkBytes + kCarriedBytes);
        rawHave_ = file_.Read(raw_.get(), kCarriedBytes);
        if (std::string_view(raw_.get(), rawHave_) == kUtf8Bom) {
            Bom = true;
            rawHave_ = 0;
            rawOffset_ = kUtf8Bom.size();
        }
        stopped_ = EndsAtCtrlZ(raw_.get(), rawHave_);
    }

    // Puts up to `size` (+ kCarriedBytes for UTF-8) bytes into dst; atEnd
    // once the text is done. A UTF-8 read stops at an invalid byte.
    std::size_t Read(char* dst, std::size_t size, bool& atEnd) {
        if (!utf8_) {
            std::size_t got = file_.Read(dst, size);
            const bool shortRead = got < size;
            atEnd = EndsAtCtrlZ(dst, got) || shortRead;
            return got;
        }
        std::size_t got = stopped_ ? 0 : file_.Read(raw_.get() + rawHave_, size);
        const bool shortRead = got < size;
        atEnd = EndsAtCtrlZ(raw_.get() + rawHave_, got) || stopped_ || shortRead;
        rawHave_ += got;
        const TUtf8Conversion r = Utf8ToCp932Strict(std::string_view(raw_.get(), rawHave_), dst, atEnd, Variants);
        NonAscii = NonAscii || r.nonAscii;
        Foreign = Foreign || r.foreign;
        if (r.unmapped != 0 && !UnmappedAt) {
            Unmapped = r.unmapped;
            UnmappedAt = rawOffset_ + r.unmappedAt;
        }
        if (r.invalid) {
            InvalidAt = rawOffset_ + r.used;
            InvalidByte = static_cast<unsigned char>(raw_[r.used]);
            atEnd = true;
        }
        std::memmove(raw_.get(), raw_.get() + r.used, rawHave_ - r.used);
        rawHave_ -= r.used;
        rawOffset_ += r.used;
        return r.written;
    }

    std::size_t Size() const { return file_.Size(); }

    bool Bom = false;
    bool NonAscii = false;
    bool Foreign = false;
    TVariantForms Variants;
    std::string Tail;  // from Ctrl+Z on
    char32_t Unmapped = 0;
    std::optional<std::uint64_t> UnmappedAt;  // file offsets
    std::optional<std::uint64_t> InvalidAt;
    unsigned char InvalidByte = 0;

private:
    bool EndsAtCtrlZ(const char* data, std::size_t& got) {
        const void* z = std::memchr(data, kCtrlZ, got);
        if (!z) return false;
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(z) - data);
        Tail.assign(data + at, got - at);
        got = at;
        char buffer[65536];
        while (const std::size_t n = file_.Read(buffer, sizeof buffer)) Tail.append(buffer, n);
        return true;
    }

    RegularFileReader file_;
    const bool utf8_;
    std::unique_ptr<char[]> raw_;
    std::size_t rawHave_ = 0;
    std::uint64_t rawOffset_ = 0;
    bool stopped_ = false;  // Ctrl+Z met among the first bytes
};

// The style of the first line break in the bytes fed to it.
class TFirstBreak {
public:
    void Feed(std::string_view bytes, bool atEnd) {
        if (style_) return;
        std::size_t i = 0;
        if (pendingCr_) {
            if (bytes.empty() && !atEnd) return;
            style_ = !bytes.empty() && bytes[0] == '\n' ? TLineBreak::CrLf : TLineBreak::Cr;
            return;
        }
        i = bytes.find_first_of("\r\n");
        if (i == std::string_view::npos) return;
        if (bytes[i] == '\n') {
            style_ = TLineBreak::Lf;
        } else if (i + 1 < bytes.size()) {
            style_ = bytes[i + 1] == '\n' ? TLineBreak::CrLf : TLineBreak::Cr;
        } else if (atEnd) {
            style_ = TLineBreak::Cr;
        } else {
            pendingCr_ = true;
        }
    }
    TLineBreak Style() const { return style_.value_or(pendingCr_ ? TLineBreak::Cr : TLineBreak::CrLf); }

private:
    std::optional<TLineBreak> style_;
    bool pendingCr_ = false;
};

// Appends the rows of one reading of the file; gives up (rows then partly
// appended) at a byte that is not UTF-8 when reading as UTF-8.
TLineBreak ReadRows(TTextReader& reader, TheStringList& rows, std::size_t chunkBytes) {
    std::size_t left = reader.Size();  // what the file is expected to still hold
    TheStringList::TAppender appender(rows);
    TFirstBreak firstBreak;
    // Never more than a read's worth of an unfinished line is carried over
    // (see below), so a read always fits behind it.
    const auto buf = std::make_unique_for_overwrite<char[]>(2 * chunkBytes + kCarriedBytes);
    std::vector<std::string_view> lines;
    std::size_t have = 0;  // bytes in buf: an unfinished line carried over, then new ones
    bool open = false;     // the last row goes on in buf: its break is still to come
    bool atEnd = false;
    while (!atEnd) {
        // A carried-over line holds no break, except perhaps a final CR.
        const std::size_t searchFrom = have > 0 ? have - 1 : 0;
        const std::size_t got = reader.Read(buf.get() + have, chunkBytes, atEnd);
        if (reader.InvalidAt) return firstBreak.Style();
        left -= std::min(left, got);
        firstBreak.Feed(std::string_view(buf.get() + have, got), atEnd);
        have += got;
        std::size_t used;
        if (open) {
            // The first line goes on the row a long line began.
            lines.clear();
            used = ScanLines(buf.get(), have, atEnd, lines, std::min(searchFrom, have));
            std::span<const std::string_view> complete(lines);
            if (!complete.empty()) {
                appender.Extend(complete.front(), 0);
                complete = complete.subspan(1);
                open = false;
            }
            appender.Append(complete);
        } else {
            TRowSink sink(appender, buf.get() + have);
            used = ScanLines(buf.get(), have, atEnd, sink, std::min(searchFrom, have));
        }
        if (used > 0) std::memmove(buf.get(), buf.get() + used, have - used);
        have -= used;
        // An unfinished line of a read's length goes to its row now: a long
        // line is held once, in its row, and not also here. A final CR
        // stays, as an LF may follow it.
        if (!atEnd && have >= chunkBytes) {
            const std::size_t keep = buf[have - 1] == '\r' ? 1 : 0;
            const std::string_view piece(buf.get(), have - keep);
            if (!open) appender.Append(std::string_view());
            appender.Extend(piece, left);
            open = true;
            if (keep > 0) buf[0] = '\r';
            have = keep;
        }
    }
    if (have > 0 || open) {
        if (open) {
            appender.Extend(std::string_view(buf.get(), have), 0);
        } else {
            appender.Append(std::string_view(buf.get(), have));
        }
        appender.SetLastAttribute1(reNoBreak);
    }
    return firstBreak.Style();
}

// The line (from 1) that holds the byte at `offset` of the file, by the
// line-break rule. Only wanted for a message, so the file is read again.
int LineOfOffset(const std::string& path, std::uint64_t offset) {
    RegularFileReader file(PathFromUtf8(path));
    std::vector<char> buf(kReadChunkBytes);
    int line = 1;
    bool lastCr = false;
    while (offset > 0) {
        const std::size_t got = file.Read(buf.data(), static_cast<std::size_t>(std::min<std::uint64_t>(offset, buf.size())));
        if (got == 0) break;
        offset -= got;
        for (std::size_t i = 0; i < got; ++i) {
            const char c = buf[i];
            if (c == '\r' || (c == '\n' && !lastCr)) ++line;
            lastCr = c == '\r';
        }
    }
    return line;
}

// Whether the file's text reads as Shift-JIS with every byte part of a
// character.
bool ReadsAsShiftJis(const std::string& path, std::size_t chunkBytes) {
    TTextReader reader(path, false, chunkBytes);
    const auto buf = std::make_unique_for_overwrite<char[]>(chunkBytes + 1);
    std::string decoded;
    std::size_t have = 0;  // a lead byte carried over to meet its trail byte
    bool atEnd = false;
    while (!atEnd) {
        have += reader.Read(buf.get() + have, chunkBytes, atEnd);
        const std::string_view bytes(buf.get(), have);
        const std::size_t keep = !atEnd && have > 0 && IsLeadByte(bytes.back()) && !IsTrailByteAt(bytes, have - 1) ? 1 : 0;
        decoded.resize(kUtf8PerCp932Byte * (have - keep));
        std::size_t undecodable = std::string_view::npos;
        PutCp932AsUtf8(decoded.data(), bytes.substr(0, have - keep), 0, undecodable);
        if (undecodable != std::string_view::npos) return false;
        if (keep > 0) buf[0] = bytes.back();
        have = keep;
    }
    return true;
}

}  // namespace

std::string_view LineBreakBytes(TLineBreak lineBreak) {
    switch (lineBreak) {
        case TLineBreak::Lf: return "\n";
        case TLineBreak::Cr: return "\r";
        case TLineBreak::CrLf: break;
    }
    return "\r\n";
}

TUtf8Writer::TUtf8Writer(std::string& out, std::size_t cp932Bytes, TCp932Variants variants)
    : out_(out), used_(out.size()), variants_(variants) {
    // Enough for double-byte characters only (two bytes become at most
    // three), so the string is seldom moved.
    out_.reserve(used_ + cp932Bytes + cp932Bytes / 2 + 2 * kUtf8PerCp932Byte * kStepBytes);
}

bool TUtf8Writer::PutRowInSteps(std::string_view cp932, std::string_view lineBreak) {
    out_.resize(used_);
    const bool whole = AppendCp932AsUtf8(out_, cp932, variants_) == std::string_view::npos;
    out_.append(lineBreak);
    used_ = out_.size();
    out_.resize(used_ + kUtf8PerCp932Byte * kStepBytes);  // room for the rows to come
    return whole;
}

namespace {

// What the reader kept from a Ctrl+Z on goes to the result, unless it is
// only the old end-of-file mark.
void TakeTail(TTextReader& reader, const TheStringList& rows, int first, TLoadResult& result) {
    if (reader.Tail.empty() || reader.Tail.find_first_not_of("\r\n", 1) == std::string::npos) return;
    result.Tail = std::move(reader.Tail);
    result.TailSize = result.Tail.size();
    const int lines = rows.Count() - first;
    result.TailLine = lines > 0 && rows.Attribute1(rows.Count() - 1) == reNoBreak ? lines : lines + 1;
}

TLoadResult ReadShiftJis(const std::string& path, TheStringList& rows, std::size_t chunkBytes) {
    const int first = rows.Count();
    TLoadResult result;
    TTextReader sjis(path, false, chunkBytes);
    result.Format.Break = ReadRows(sjis, rows, chunkBytes);
    TakeTail(sjis, rows, first, result);
    return result;
}

}  // namespace

TLoadResult AppendFileLines(const std::string& path, TheStringList& rows, TReadEncoding encoding,
                            std::size_t chunkBytes) {
    chunkBytes = std::max<std::size_t>(chunkBytes, 1);
    if (encoding == TReadEncoding::ShiftJis) return ReadShiftJis(path, rows, chunkBytes);
    const int first = rows.Count();
    TLoadResult result;
    // Read as UTF-8 first: Shift-JIS Japanese text fails that within its
    // first few characters, and ASCII reads the same either way.
    TTextReader utf8(path, true, chunkBytes);
    result.Format.Break = ReadRows(utf8, rows, chunkBytes);
    const bool asked = encoding == TReadEncoding::Utf8;
    // Half-width katakana can spell UTF-8 that no Japanese text holds: then
    // valid Shift-JIS is what the file is.
    const bool shiftJisAfterAll =
        !utf8.InvalidAt && !asked && !utf8.Bom && utf8.Foreign && ReadsAsShiftJis(path, chunkBytes);
    if (!utf8.InvalidAt && !shiftJisAfterAll) {
        result.Format.Encoding = utf8.Bom                 ? TTextEncoding::Utf8Bom
                                 : utf8.NonAscii || asked ? TTextEncoding::Utf8
                                                          : TTextEncoding::ShiftJis;
        result.Format.Variants = utf8.Variants.Alternative;
        if (utf8.UnmappedAt)
            result.Problem = TLoadProblem{TLoadProblem::lpNoForm, utf8.Unmapped, LineOfOffset(path, *utf8.UnmappedAt)};
        TakeTail(utf8, rows, first, result);
        return result;
    }
    rows.DeleteRange(first, rows.Count() - first);
    result = ReadShiftJis(path, rows, chunkBytes);
    // Marked or named UTF-8 but not: the bytes are kept as they are, and said so.
    if (utf8.InvalidAt && (utf8.Bom || asked))
        result.Problem = TLoadProblem{asked ? TLoadProblem::lpNotUtf8 : TLoadProblem::lpInvalidUtf8, utf8.InvalidByte,
                                      LineOfOffset(path, *utf8.InvalidAt)};
    return result;
}

}  // namespace quodle
