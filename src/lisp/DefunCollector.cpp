// CollectDefuns and ScanSortedDefuns: find the "(DEFUN " forms of the
// code-only text by bracket counting. The rules are line-based, but they
// only ever look at the first "(DEFUN " of a line and at bracket counts that
// run on from line to line, so the text is walked as one stream of words.
#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <initializer_list>

#include "base/ByteScan.h"
#include "base/Text.h"
#include "lisp/LispScanner.h"

namespace quodle {

namespace {

constexpr std::size_t kNone = std::string_view::npos;
constexpr std::size_t kDefunLen = 7;  // "(DEFUN "
// Every byte up to the blank.
constexpr std::string_view kLeadingBlanks(
    "\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f"
    "\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1a\x1b\x1c\x1d\x1e\x1f ",
    33);

char UpperByte(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; }

// Upper-casing byte by byte is safe here: "(" never is a trail byte, so the
// bytes after it that can match are single-byte characters.
bool IsDefunAt(const char* s) {
    static constexpr std::string_view kWord = "(DEFUN ";
    for (std::size_t k = 0; k < kWord.size(); ++k)
        if (UpperByte(s[k]) != kWord[k]) return false;
    return true;
}

// Words are read whole: the last one of a range may run into the bytes after
// it (the code-only text keeps TCodeLines::kSlack readable bytes at its
// end), and those bytes are masked off.
std::uint64_t ValidMarks(std::size_t p, std::size_t limit) {
    return limit - p >= 8 ? ~std::uint64_t{0} : ~MarksFrom(static_cast<int>(limit - p));
}

// Marks of "(" and of ")" in a word: the two differ only in the lowest bit.
struct TBracketMarks {
    std::uint64_t Opens;
    std::uint64_t Closes;
};
TBracketMarks BracketMarks(std::uint64_t x, std::uint64_t valid) {
    const std::uint64_t brackets = MatchBytes(x & (kEachByte * 0xFE), '(') & valid;
    const std::uint64_t lowBit = (x & kEachByte) << 7;
    return {brackets & ~lowBit, brackets & lowBit};
}

// Marks of the "(" of a word (`opens`) that may start "(DEFUN ": those
// followed by "d" or "D". The next word's first byte is not tested here, so
// a "(" in the last byte always is one.
std::uint64_t DefunCandidates(std::uint64_t x, std::uint64_t opens) {
    return opens & (MarksToPreviousByte(MatchBytes(x | (kEachByte * 0x20), 'd')) | kLastByteMark);
}

// Offset of the first "(DEFUN " (any letter case) that lies within
// [from, limit), or kNone. It may still cross a line break; the caller
// checks that.
std::size_t FindDefun(const char* s, std::size_t from, std::size_t limit) {
    if (limit < kDefunLen) return kNone;
    for (std::size_t p = from; p < limit; p += 8) {
        const std::uint64_t x = LoadWord(s + p);
        const std::uint64_t opens = MatchBytes(x, '(') & ValidMarks(p, limit);
        if (!opens) continue;
        for (std::uint64_t c = DefunCandidates(x, opens); c; c = ClearFirstMarkedByte(c)) {
            const std::size_t at = p + static_cast<std::size_t>(FirstMarkedByte(c));
            if (at > limit - kDefunLen) return kNone;
            if (IsDefunAt(s + at)) return at;
        }
    }
    return kNone;
}

// Index of the byte in a word where `depth` open brackets come back to zero,
// or -1; `depth` is left as it stands after the word.
int BalanceInWord(TBracketMarks m, int& depth) {
    const int closeCount = MarkedBytes(m.Closes);
    const int openCount = MarkedBytes(m.Opens);
    if (depth > closeCount) {  // cannot reach zero here
        depth += openCount - closeCount;
        return -1;
    }
    if constexpr (std::endian::native == std::endian::little) {
        // Running counts per byte (multiplying by kEachByte sums every byte
        // into the ones after it in memory; at most 16, so no carries): the
        // count is zero at the first byte where closes = opens + depth.
        const std::uint64_t openRun = (m.Opens >> 7) * kEachByte + kEachByte * static_cast<unsigned>(depth);
        const std::uint64_t closeRun = (m.Closes >> 7) * kEachByte;
        const std::uint64_t zero = MatchBytes(openRun ^ closeRun, 0);
        if (zero) return FirstMarkedByte(zero);
        depth += openCount - closeCount;
        return -1;
    } else {
        for (int k = 0; k < 8; ++k) {
            const std::uint64_t bit = std::uint64_t{0x80} << (56 - 8 * k);
            if (m.Opens & bit) {
                ++depth;
            } else if ((m.Closes & bit) && --depth == 0) {
                return k;
            }
        }
        return -1;
    }
}

// Makes `record` (reused from record to record) the comma list of the two
// texts and the numbers, with as few passes over it as that takes.
void MakeRecord(std::string& record, std::string_view first, std::string_view second,
                std::initializer_list<std::size_t> numbers) {
    constexpr std::size_t kDigits = 20;  // of the largest std::size_t
    record.resize(first.size() + 1 + second.size() + numbers.size() * (1 + kDigits));
    char* w = record.data();
    w = std::copy(first.begin(), first.end(), w);
    *w++ = ',';
    w = std::copy(second.begin(), second.end(), w);
    for (const std::size_t n : numbers) {
        *w++ = ',';
        w = std::to_chars(w, w + kDigits, n).ptr;
    }
    record.resize(static_cast<std::size_t>(w - record.data()));
}

// Code lines as one text with line lookups.
class TCodeStream {
public:
    explicit TCodeStream(const TCodeLines& code) : code_(code) {}

    const char* Data() const { return code_.Text().data(); }
    std::size_t Size() const { return code_.Text().size(); }
    std::size_t Lines() const { return code_.size(); }
    std::size_t Start(std::size_t line) const { return code_.LineStart(line); }
    std::size_t End(std::size_t line) const { return code_.LineEnd(line); }
    // The line that holds the byte at `offset`, which lies on line `from`
    // or after it.
    std::size_t LineOf(std::size_t offset, std::size_t from) const { return code_.LineOf(offset, from); }

    // The text after the "(DEFUN " at `at` up to the next "(" of its line,
    // or nothing when the line has none there.
    std::optional<std::string_view> NameAfter(std::size_t at, std::size_t line) const {
        const char* s = Data();
        const std::size_t from = at + kDefunLen;
        const void* open = std::memchr(s + from, '(', End(line) - from);
        if (!open) return std::nullopt;
        return std::string_view(s + from, static_cast<std::size_t>(static_cast<const char*>(open) - (s + from)));
    }

    // The first "(DEFUN " inside one line from `from` on, and that line;
    // `line` comes in as the line that holds `from`.
    bool NextDefun(std::size_t& from, std::size_t limit, std::size_t& line) const {
        for (;;) {
            const std::size_t at = FindDefun(Data(), from, limit);
            if (at == kNone) return false;
            line = LineOf(at, line);
            // One that runs over a line break is none; nothing else can
            // start in the few bytes left of that line.
            if (at + kDefunLen <= End(line)) {
                from = at;
                return true;
            }
            from = at + 1;
        }
    }

private:
    const TCodeLines& code_;
};

// The records of a document's code, given in chunks of whole lines in
// order. Only a line's first "(DEFUN " with a "(" after it counts. A
// top-level definition runs to the ")" that balances its "("; the first
// definition of each later line up to the ending one (all of it) is nested
// in it; the rest of the ending line is not searched. A definition still
// open at the end gives nothing. Each chunk is walked as one stream of
// words, turning offsets into lines only where something is found: a
// document of millions of short lines costs no more than its bytes.
class TDefunCollector {
public:
    // With `states`, the state each record's line starts in goes there, in
    // step with the records.
    TDefunCollector(TTextLines& records, TStripStates* states, bool padded, TProgressPass& pass)
        : records_(records), states_(states), padded_(padded), pass_(pass) {}
    // With `endStates`, the state of the line after each top-level record's
    // end line goes there, by the record's index.
    void KeepEndStates(TStripStates* endStates) { endStates_ = endStates; }

    // Top-level records so far whose name reads as a command's, and the
    // others.
    std::size_t Commands() const { return commands_; }
    std::size_t Functions() const { return functions_; }

    // Lines `first` on; `lineStates` (needed with `states`) has the state
    // each of them starts in, `after` (needed with end states) the state of
    // the line after them.
    void Chunk(const TCodeLines& code, std::size_t first, const TStripStates* lineStates, TStripState after = {}) {
        if (code.empty()) return;
        const TCodeStream text(code);
        TChunk chunk{text, first, lineStates, after};
        std::size_t pos = 0;  // where the walk goes on
        std::size_t line = 0;
        for (;;) {
            if (open_) {
                const std::size_t close = WalkOpen(chunk, pos, line);
                if (close == kNone) return;  // goes on in the next chunk
                const std::size_t endLine = text.LineOf(close, line);
                // The rest of the ending line may still hold a nested one.
                for (std::size_t from = close + 1; nestedFrom_ <= endLine;) {
                    const std::size_t at = FindDefun(text.Data(), from, text.End(endLine));
                    if (at == kNone) break;
                    Nested(chunk, at, line);
                    from = at + 1;
                }
                pass_.AtLine(first + endLine);
                if (endStates_)
                    endStates_->Add(records_.size(),
                                    endLine + 1 < text.Lines() ? lineStates->At(endLine + 1) : chunk.After);
                Close(first + endLine, close - text.Start(endLine));
                pos = text.End(endLine);
                line = endLine;
            }
            if (!text.NextDefun(pos, text.Size(), line)) return;
            pass_.AtLine(first + line);
            const auto name = text.NameAfter(pos, line);
            if (!name) {
                pos = text.End(line);
                continue;
            }
            // The name is kept: the chunk's code does not outlive the call.
            open_ = true;
            depth_ = 0;
            name_.assign(*name);
            startLine_ = first + line;
            startCol_ = pos - text.Start(line);
            startState_ = lineStates ? lineStates->At(line) : TStripState{};
            nested_.clear();
            nestedStates_.clear();
            nestedFrom_ = line + 1;
        }
    }

private:
    struct TChunk {
        const TCodeStream& Text;
        std::size_t First;
        const TStripStates* LineStates;
        TStripState After;
    };

    // Counts the brackets of the open definition from `pos` (its "(" when
    // it has just been found, with depth 0) and takes the nested
    // definitions on the way: the balancing ")" or kNone at the chunk's end.
    // One walk does both: candidates for "(DEFUN " are rare, and they come
    // with the "(" the count looks for anyway.
    std::size_t WalkOpen(const TChunk& chunk, std::size_t pos, std::size_t& line) {
        const char* const s = chunk.Text.Data();
        const std::size_t size = chunk.Text.Size();
        int depth = depth_;  // in a register: the bytes read could alias the member
        for (std::size_t p = pos; p < size; p += 8) {
            const std::uint64_t x = LoadWord(s + p);
            const TBracketMarks m = BracketMarks(x, ValidMarks(p, size));
            const int k = BalanceInWord(m, depth);
            if (m.Opens) {
                std::uint64_t c = DefunCandidates(x, m.Opens);
                // Past the balancing ")" the caller goes on.
                if (k >= 0) c &= ~MarksFrom(k);
                for (; c; c = ClearFirstMarkedByte(c)) Nested(chunk, p + static_cast<std::size_t>(FirstMarkedByte(c)), line);
            }
            if (k >= 0) {
                depth_ = depth;
                return p + static_cast<std::size_t>(k);
            }
        }
        depth_ = depth;
        nestedFrom_ = 0;  // the next chunk starts a new line
        return kNone;
    }

    // A candidate at `at` for a nested definition: taken when it is the
    // first "(DEFUN " of a line after the start line that lies wholly in its
    // line. `line` is a line at or before it, and becomes its line.
    void Nested(const TChunk& chunk, std::size_t at, std::size_t& line) {
        const TCodeStream& text = chunk.Text;
        if (nestedFrom_ >= text.Lines() || at < text.Start(nestedFrom_)) return;
        if (at + kDefunLen > text.Size() || !IsDefunAt(text.Data() + at)) return;
        line = text.LineOf(at, std::max(line, nestedFrom_));
        if (at + kDefunLen > text.End(line)) return;  // runs over a line break
        nestedFrom_ = line + 1;
        if (const auto name = text.NameAfter(at, line)) {
            MakeRecord(record_, name_, *name, {chunk.First + line, at - text.Start(line)});
            nested_.push_back(record_);
            nestedStates_.push_back(chunk.LineStates ? chunk.LineStates->At(line) : TStripState{});
        }
    }

    void Close(std::size_t endLine, std::size_t endCol) {
        open_ = false;
        // A record's first field starts after the blanks and control bytes.
        const std::size_t lead = std::min(name_.find_first_not_of(kLeadingBlanks), name_.size());
        ++(IsCommandName(std::string_view(name_).substr(lead)) ? commands_ : functions_);
        MakeRecord(record_, name_, padded_ ? kDefunPadding : std::string_view(),
                   {startLine_, startCol_, endLine, endCol});
        records_.push_back(record_);
        if (states_) states_->Add(records_.size() - 1, startState_);
        SortTextOrder(nested_, nestedOrder_);
        for (const std::uint32_t k : nestedOrder_) {
            records_.push_back(nested_[k]);
            if (states_) states_->Add(records_.size() - 1, nestedStates_[k]);
        }
    }

    TTextLines& records_;
    TStripStates* states_;
    TStripStates* endStates_ = nullptr;
    std::size_t commands_ = 0;
    std::size_t functions_ = 0;
    const bool padded_;
    TProgressPass& pass_;
    // The top-level definition still open, and its nested ones so far, in
    // buffers reused from one definition to the next: a large document has
    // hundreds of thousands of them.
    bool open_ = false;
    int depth_ = 0;
    std::size_t nestedFrom_ = 0;  // the first line of the chunk that may hold a nested one
    std::string name_;
    std::size_t startLine_ = 0;
    std::size_t startCol_ = 0;
    TStripState startState_;
    TTextLines nested_;
    std::vector<TStripState> nestedStates_;
    std::vector<std::uint32_t> nestedOrder_;
    std::string record_;
};

// The code is stripped this much at a time into a buffer that stays in the
// processor's cache, where the search reads it back.
constexpr std::size_t kChunkBytes = 64 << 10;

// Strips the lines a chunk at a time and hands each chunk to `collector`.
void CollectByChunks(TLineList lines, TDefunCollector& collector, TProgressPass& strip) {
    TCodeLines chunk;
    TStripStates chunkStates;
    TStripState state;
    for (std::size_t first = 0; first < lines.size();) {
        const std::size_t count = chunk.Refill(lines, first, state, kChunkBytes, strip, &chunkStates);
        collector.Chunk(chunk, first, &chunkStates, state);
        first += count;
    }
}

}  // namespace

TTextLines CollectDefuns(const TCodeLines& code, int steps, TProgressSink* progress, bool padded) {
    TTextLines records;
    TProgressPass pass(progress, code.size(), steps);
    TDefunCollector(records, nullptr, padded, pass).Chunk(code, 0, nullptr);
    if (!code.empty()) pass.AtLine(code.size() - 1);
    return records;
}

TDefunScan ScanDefuns(TLineList lines, int steps, TProgressSink* progress) {
    TDefunScan scan;
    TProgressPass strip(progress, lines.size(), steps);
    TProgressPass silent(nullptr, 0, 0);
    TDefunCollector collector(scan.Records, &scan.LineStates, false, silent);
    collector.KeepEndStates(&scan.EndStates);
    CollectByChunks(lines, collector, strip);
    return scan;
}

TSortedDefuns ScanSortedDefuns(TLineList lines, int stripSteps, int collectSteps, TProgressSink* progress) {
    TSortedDefuns scan;
    TProgressPass strip(progress, lines.size(), stripSteps);
    TProgressPass collect(progress, lines.size(), collectSteps);
    TDefunCollector collector(scan.Found, &scan.LineStates, true, collect);
    CollectByChunks(lines, collector, strip);
    if (!lines.empty()) collect.AtLine(lines.size() - 1);
    scan.Commands = collector.Commands();
    scan.Functions = collector.Functions();
    SortTextOrder(scan.Found, scan.Order);
    return scan;
}

std::optional<TDefunRecord> ParseDefunRecord(std::string_view record) {
    // Read as views, without a list of fields: every analysis reads every
    // record.
    std::array<std::string_view, 7> fields;
    std::size_t count = 0;
    TCommaFields reader(record);
    while (count < fields.size() && reader.Next(fields[count])) ++count;
    const auto number = [](std::string_view f, int& out) {
        const auto [end, ec] = std::from_chars(f.data(), f.data() + f.size(), out);
        return ec == std::errc() && end == f.data() + f.size();
    };
    // The comma-list rule also splits at blanks, so a name with blanks inside
    // ("(defun f 99 7 (x) x)") could read as a record of other numbers:
    // every field must be all of the text between its commas. Each comma
    // segment gives at least one field, so that is one more field than commas.
    const auto commas = static_cast<std::size_t>(std::count(record.begin(), record.end(), ','));
    if ((count != 6 && count != 4) || count != commas + 1) return std::nullopt;
    TDefunRecord r;
    if (count == 6) {
        if (!number(fields[2], r.Line) || !number(fields[3], r.Col) || !number(fields[4], r.EndLine) ||
            !number(fields[5], r.EndCol))
            return std::nullopt;
        r.Name = fields[0];
        return r;
    }
    if (count == 4) {
        if (!number(fields[2], r.Line) || !number(fields[3], r.Col)) return std::nullopt;
        r.Nested = true;
        r.Outer = fields[0];
        r.Name = fields[1];
        return r;
    }
    return std::nullopt;
}

}  // namespace quodle
