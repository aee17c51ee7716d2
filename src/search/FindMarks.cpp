#include "search/FindMarks.h"

#include <oniguruma.h>

#include <algorithm>
#include <array>

#include "base/ShiftJis.h"
#include "text/CellMap.h"

namespace quodle {

namespace {

// The library is set up once for the one encoding the program uses.
void InitializeOnce() {
    static const bool done = [] {
        OnigEncoding encodings[] = {ONIG_ENCODING_SJIS};
        onig_initialize(encodings, 1);
        return true;
    }();
    (void)done;
}

const OnigUChar* Bytes(std::string_view s) { return reinterpret_cast<const OnigUChar*>(s.data()); }

// Character kinds for whole-word matches: a match must begin and end where
// the kind changes.
enum class TKind { None, Word, Delimiter, Double };

TKind KindAt(std::string_view s, std::ptrdiff_t i) {
    if (i < 0 || static_cast<std::size_t>(i) >= s.size()) return TKind::None;
    const auto at = static_cast<std::size_t>(i);
    if (IsTrailByteAt(s, at) || CharLengthAt(s, at) == 2) return TKind::Double;
    return IsDelimiterByte(static_cast<unsigned char>(s[at])) ? TKind::Delimiter : TKind::Word;
}

}  // namespace

struct TFindMarks::TRegex {
    OnigRegex regex = nullptr;
    OnigRegion* region = nullptr;
    ~TRegex() {
        if (region) onig_region_free(region, 1);
        if (regex) onig_free(regex);
    }
};

TFindMarks::TFindMarks() = default;
TFindMarks::~TFindMarks() = default;

std::string UnescapeFindMark(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = CharLengthAt(text, i);
        if (length == 1 && text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[i + 1];
            const char* mapped = next == 't' ? "\t" : next == 'r' ? "\r" : next == 'n' ? "\n" : next == '\\' ? "\\" : nullptr;
            if (mapped) {
                out += mapped;
                i += 2;
                continue;
            }
        }
        out.append(text, i, length);
        i += length;
    }
    return out;
}

void TFindMarks::Set(std::string_view text, TExSearchOptions options) {
    if (text == text_ && options == options_) return;
    text_ = std::string(text);
    options_ = options;
    regex_.reset();
    compiled_ = false;
    error_.clear();
    line_.clear();
    results_.clear();
}

bool TFindMarks::Compile() {
    if (compiled_) return regex_ != nullptr;
    compiled_ = true;
    const bool regexp = (options_ & soRegexp) != 0;
    // A regular expression that names a line break can never match within a line.
    if (text_.empty() || (regexp && text_.find("\\r\\n") != std::string::npos)) return false;
    const std::string pattern = (options_ & soEscSeq) ? UnescapeFindMark(text_) : text_;
    InitializeOnce();
    auto compiled = std::make_unique<TRegex>();
    OnigErrorInfo info{};
    const OnigOptionType option =
        ONIG_OPTION_FIND_NOT_EMPTY | ((options_ & soMatchCase) ? ONIG_OPTION_NONE : ONIG_OPTION_IGNORECASE);
    const int r = onig_new(&compiled->regex, Bytes(pattern), Bytes(pattern) + pattern.size(), option,
                           ONIG_ENCODING_SJIS, regexp ? ONIG_SYNTAX_RUBY : ONIG_SYNTAX_ASIS, &info);
    if (r != ONIG_NORMAL) {
        std::array<OnigUChar, ONIG_MAX_ERROR_MESSAGE_LEN> message{};
        onig_error_code_to_str(message.data(), r, &info);
        error_ = reinterpret_cast<const char*>(message.data());
        compiled->regex = nullptr;
        return false;
    }
    compiled->region = onig_region_new();
    regex_ = std::move(compiled);
    return true;
}

const std::vector<TFindMarkMatch>& TFindMarks::Match(std::string_view line) {
    if (compiled_ && line == line_) return results_;
    line_ = std::string(line);
    results_.clear();
    if (!Compile()) return results_;
    const OnigUChar* begin = Bytes(line_);
    const OnigUChar* end = begin + line_.size();
    OnigRegion* region = regex_->region;
    for (std::size_t from = 0; from <= line_.size();) {
        if (onig_search(regex_->regex, begin, end, begin + from, end, region, ONIG_OPTION_NONE) < 0) break;
        const int mbeg = region->beg[0], mend = region->end[0];
        from = static_cast<std::size_t>(std::max(mend, mbeg + 1));
        if ((options_ & soWholeWord) &&
            (KindAt(line_, mbeg) == KindAt(line_, mbeg - 1) || KindAt(line_, mend - 1) == KindAt(line_, mend)))
            continue;
        TFindMarkMatch m{mbeg + 1, mend - mbeg, {}};
        for (int g = 0; g < region->num_regs; ++g)
            m.Groups.push_back(region->beg[g] >= 0 && region->end[g] > region->beg[g]
                                   ? line_.substr(static_cast<std::size_t>(region->beg[g]),
                                                  static_cast<std::size_t>(region->end[g] - region->beg[g]))
                                   : std::string());
        results_.push_back(std::move(m));
    }
    return results_;
}

std::optional<TFindMarkMatch> TFindMarks::Next(int column, bool wordWrap) const {
    if (!wordWrap) column = std::min(column, kMaxMappedCells);
    for (const TFindMarkMatch& m : results_)
        if (m.Start > column) {
            if (!wordWrap && m.Start > kMaxMappedCells) return std::nullopt;
            return m;
        }
    return std::nullopt;
}

std::optional<TFindMarkMatch> TFindMarks::Previous(int column, bool wordWrap) const {
    if (!wordWrap) column = std::min(column, kMaxMappedCells);
    for (auto it = results_.rbegin(); it != results_.rend(); ++it)
        if (it->Start <= column) return *it;
    return std::nullopt;
}

std::string TFindMarks::Replacement(const TFindMarkMatch& match, std::string_view replacement) const {
    if ((options_ & (soRegexp | soEscSeq)) != (soRegexp | soEscSeq)) return std::string(replacement);
    std::string out;
    for (std::size_t i = 0; i < replacement.size();) {
        const std::size_t length = CharLengthAt(replacement, i);
        if (length == 1 && replacement[i] == '\\') {
            std::size_t digits = 0;
            while (digits < 5 && i + 1 + digits < replacement.size() && replacement[i + 1 + digits] >= '0' &&
                   replacement[i + 1 + digits] <= '9')
                ++digits;
            // The longest number that names a group.
            for (; digits > 0; --digits) {
                std::size_t group = 0;
                for (std::size_t k = 0; k < digits; ++k) group = group * 10 + static_cast<std::size_t>(replacement[i + 1 + k] - '0');
                if (group < match.Groups.size()) {
                    out += match.Groups[group];
                    break;
                }
            }
            if (digits > 0) {
                i += 1 + digits;
                continue;
            }
        }
        out.append(replacement, i, length);
        i += length;
    }
    return out;
}

std::string TFindMarks::ReplaceAll(std::string_view replacement) const {
    std::string out;
    std::size_t at = 0;
    for (const TFindMarkMatch& m : results_) {
        const auto start = static_cast<std::size_t>(m.Start - 1);
        out.append(line_, at, start - at);
        out += Replacement(m, replacement);
        at = start + static_cast<std::size_t>(m.Length);
    }
    out.append(line_, at, std::string::npos);
    return out;
}

std::string TFindMarks::Version() { return onig_version(); }

}  // namespace quodle
