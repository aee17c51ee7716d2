#include "text/TextFile.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "text/RowParseState.h"
#include "text/StringList.h"

namespace quodle {

namespace {

constexpr char kCtrlZ = 26;

// Collects the complete lines of [data, data + size) and returns how many
// bytes they took. A CR at the very end counts only when `final`: an LF may
// still follow in the next read. Breaks are searched from `searchFrom` on:
// the bytes before it are known to hold none (an unfinished line carried
// over from the last read).
class TLineScanner {
public:
    TLineScanner(const char* data, std::size_t size, bool final, std::vector<std::string_view>& lines)
        : p_(data), end_(data + size), final_(final), lines_(lines) {}

    const char* LineStart() const { return p_; }

    // Handles a break byte found at brk; false when the scan must stop there.
    bool Break(const char* brk) {
        if (brk < p_) return true;  // the LF of a CR LF already taken
        if (*brk == '\r' && brk + 1 == end_ && !final_) return false;
        lines_.emplace_back(p_, static_cast<std::size_t>(brk - p_));
        p_ = brk + 1;
        if (*brk == '\r' && p_ < end_ && *p_ == '\n') ++p_;
        return true;
    }

    const char* End() const { return end_; }

private:
    const char* p_;
    const char* const end_;
    const bool final_;
    std::vector<std::string_view>& lines_;
};

std::size_t ScanLines(const char* data, std::size_t size, bool final, std::vector<std::string_view>& lines,
                      std::size_t searchFrom = 0) {
    TLineScanner scan(data, size, final, lines);
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

}  // namespace

bool TextLines(std::string_view text, std::vector<std::string_view>& lines) {
    const std::size_t used = ScanLines(text.data(), text.size(), true, lines);
    if (used == text.size()) return false;
    lines.push_back(text.substr(used));
    return true;
}

bool AppendLines(std::string_view text, TheStringList& rows) {
    std::vector<std::string_view> lines;
    const bool tail = TextLines(text, lines);
    TheStringList::TAppender(rows).Append(lines);
    return tail;
}

void AppendFileLines(const std::string& path, TheStringList& rows, std::size_t chunkBytes) {
    chunkBytes = std::max<std::size_t>(chunkBytes, 1);
    RegularFileReader file(path);
    std::size_t left = file.Size();  // what the file is expected to still hold
    TheStringList::TAppender appender(rows);
    // Never more than a read's worth of an unfinished line is carried over
    // (see below), so a read always fits behind it.
    const auto buf = std::make_unique_for_overwrite<char[]>(2 * chunkBytes);
    std::vector<std::string_view> lines;
    std::size_t have = 0;  // bytes in buf: an unfinished line carried over, then new ones
    bool open = false;     // the last row goes on in buf: its break is still to come
    bool atEnd = false;
    while (!atEnd) {
        // A carried-over line holds no break, except perhaps a final CR.
        const std::size_t searchFrom = have > 0 ? have - 1 : 0;
        const std::size_t got = file.Read(buf.get() + have, chunkBytes);
        left -= std::min(left, got);
        if (got < chunkBytes) atEnd = true;
        // Ctrl+Z ends the text; nothing after it is read.
        if (const void* z = std::memchr(buf.get() + have, kCtrlZ, got)) {
            have = static_cast<std::size_t>(static_cast<const char*>(z) - buf.get());
            atEnd = true;
        } else {
            have += got;
        }
        lines.clear();
        const std::size_t used = ScanLines(buf.get(), have, atEnd, lines, std::min(searchFrom, have));
        std::span<const std::string_view> complete(lines);
        if (open && !complete.empty()) {
            appender.Extend(complete.front(), 0);
            complete = complete.subspan(1);
            open = false;
        }
        appender.Append(complete);
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
}

}  // namespace quodle
