#include "search/FoldedSearch.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "base/ShiftJis.h"
#include "search/SearchMatcher.h"

namespace quodle {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// A backward search reads the text forward a stretch at a time, from its
// limit toward the start, the stretch doubling from this size.
constexpr std::size_t kBackwardStretch = 256;

bool IsSkipCode(TCharCode code, bool crlf, bool space) {
    if (crlf && (code == '\r' || code == '\n')) return true;
    return space && (code == '\t' || code == ' ' || code == 0x8140);
}

// A character of the skeleton as the scan read it.
struct TElement {
    std::size_t Start = 0;
    std::size_t RunStart = 0;  // of the passed-over characters before it; Start when none
    std::size_t Head = kNone;  // where a match opening with it would start, or kNone
};

// One pass of the scan over a buffer, handing on candidates in ascending
// order. Forward passes take, of the places in a run of blanks where a
// match opening with blanks could start, the first (if it fails, the later
// ones fail too); backward passes the last one that can hold the rest of
// the blanks, at most `last`. A pass stops once every candidate it could
// still give would start at `stop` or after.
class TFoldedScan {
public:
    TFoldedScan(TMatcher& m, const TFoldedPattern& p, bool backward, std::size_t last, std::size_t stop)
        : m_(m),
          p_(p),
          codes_(m.Pattern().Codes()),
          skel_(p.Skeleton()),
          s_(m.Data()),
          n_(m.Size()),
          backward_(backward),
          wholeWord_(m.Pattern().Has(sfWholeWord)),
          last_(last),
          stop_(stop) {}

    // Where a forward pass over a buffer with text after it leaves off
    // without reading on to the buffer's end: no candidate before it
    // matches, and the characters from there may belong to a match whose
    // anchor lies past the buffer (kNone when the pass read on).
    std::size_t Resume() const { return resume_; }

    // `take(x)` is handed each candidate; true ends the pass.
    template <class Take>
    void Run(std::size_t from, Take&& take) {
        if (skel_.empty()) return RunBlanks(from, take);
        if (!Restart(from, false)) return;
        for (;;) {
            if (!fresh_ && t_ == 0 && !pending_ && runStart_ == kNone && !noJump_ && !Jump()) return;
            if (i_ >= n_) break;
            TCharCode code = 0;
            std::size_t width = 0;
            const TRead read = m_.ReadChar(i_, code, width);
            if (read == TRead::Cut) return;
            if (read == TRead::Later) break;
            if (m_.Skippable(i_, width)) {
                if (runStart_ == kNone) runStart_ = i_;
                i_ += width;
                continue;
            }
            TElement e{i_, runStart_ == kNone ? i_ : runStart_, kNone};
            if (code == skel_[0]) {
                if (p_.Leading() == 0) e.Head = i_;
                else if (runStart_ != kNone) e.Head = runStart_;
            } else if (p_.MarkHead() && width == 2 && !IsLeadByte(m_.At(i_)) &&
                       m_.Pattern().SingleCode(m_.At(i_ + 1)) == skel_[0]) {
                e.Head = i_ + 1;  // the mark read alone
            }
            runStart_ = kNone;
            fresh_ = false;
            i_ += width;
            if (Step(code, e, take)) return;
            if (i_ >= stop_ && EarliestLive() >= stop_) return;
        }
        if (m_.MoreAfter()) Live(take);
    }

private:
    std::size_t Q() const { return skel_.size() - 1; }
    TElement& At(std::size_t index) { return ring_[index % skel_.size()]; }
    void Push(const TElement& e) {
        if (ring_.size() < skel_.size() && count_ == ring_.size()) ring_.push_back(e);
        else At(count_) = e;
        ++count_;
    }

    // Reads afresh from `r`; `jumped` when the scan jumped there, to read at
    // least the character there before jumping again.
    bool Restart(std::size_t r, bool jumped = true) {
        if (r >= stop_) return false;
        i_ = r;
        fresh_ = jumped;
        restart_ = r;
        t_ = 0;
        count_ = 0;
        pending_ = false;
        runStart_ = kNone;
        return true;
    }

    // The KMP step of the skeleton without its first character; a match of
    // it after a possible first character is an occurrence.
    template <class Take>
    bool Step(TCharCode code, const TElement& e, Take& take) {
        const std::size_t q = Q();
        bool done = false;
        if (q == 0) {
            done = e.Head != kNone && Occurrence(e, take);
            Push(e);
            return done;
        }
        const auto& links = p_.Links();
        while (t_ > 0 && skel_[t_ + 1] != code) t_ = links[t_];
        if (skel_[t_ + 1] == code) ++t_;
        if (t_ == q) {
            if (count_ >= q)
                if (const TElement& h = At(count_ - q); h.Head != kNone) done = Occurrence(h, take);
            t_ = links[q];
        }
        Push(e);
        pending_ = e.Head != kNone;
        return done;
    }

    // The skeleton stands complete from `h` to the character just read.
    template <class Take>
    bool Occurrence(const TElement& h, Take& take) {
        // Decided here already when nothing follows the skeleton.
        if (wholeWord_ && !p_.Trailing() && i_ < n_ && !IsWordDelimiter(m_.At(i_))) return false;
        const std::size_t x = p_.Leading() ? LeadCandidate(h.RunStart, h.Start, false) : h.Head;
        if (x == kNone) return false;
        return x >= stop_ || take(x);
    }

    // At the buffer's end: the candidates still under way, in order.
    template <class Take>
    void Live(Take& take) {
        if (count_ > 0 && Q() > 0) {
            for (std::size_t t = t_;; t = p_.Links()[t]) {
                if (count_ >= t + 1) {
                    const TElement& h = At(count_ - 1 - t);
                    const std::size_t x =
                        h.Head == kNone ? kNone : p_.Leading() ? LeadCandidate(h.RunStart, h.Start, false) : h.Head;
                    if (x != kNone && (x >= stop_ || take(x))) return;
                }
                if (t == 0) break;
            }
        }
        if (p_.Leading() && runStart_ != kNone)
            if (const std::size_t x = LeadCandidate(runStart_, i_, true); x != kNone && x < stop_) take(x);
    }

    std::size_t EarliestLive() {
        std::size_t x = kNone;
        if (t_ > 0) x = count_ >= t_ + 1 ? At(count_ - 1 - t_).RunStart : restart_;
        else if (pending_) x = At(count_ - 1).RunStart;
        if (p_.Leading() && runStart_ != kNone) x = std::min(x, runStart_);
        return x;
    }

    // Nothing under way: on to the next place the anchor could stand where
    // the characters before it fit.
    bool Jump() {
        const std::size_t k = p_.Anchor();
        for (std::size_t y = i_;; ++y) {
            y = p_.AnchorBytes().FindFirst(s_, y, n_);
            if (y >= n_) {
                if (!m_.MoreAfter()) return false;
                // Matches whose anchor lies past the buffer start among its
                // last characters: a forward search takes them up with the
                // text after them, a backward pass reads them here.
                if (!backward_) {
                    resume_ = WalkBack(n_, k);
                    return false;
                }
                noJump_ = true;
                return Restart(WalkBack(n_, k));
            }
            if (m_.IsTrail(y)) continue;
            if (m_.IsMarkOfPair(y) && !(k == 0 && p_.MarkHead())) continue;
            TCharCode code = 0;
            std::size_t width = 0;
            const TRead read = m_.ReadChar(y, code, width);
            if (read == TRead::Cut) return false;
            if (read == TRead::Later) {
                noJump_ = true;
                return Restart(WalkBack(y, k));
            }
            if (m_.Skippable(y, width) || code != skel_[k]) continue;
            if (const std::size_t h = VerifyBack(y, k); h != kNone) return Restart(h);
        }
    }

    // The start of the character before `p` (> 0). A voiced mark at the
    // scan's place is read alone, as the scan reads it from there: its kana
    // lies before the place.
    std::size_t PrevStart(std::size_t p) {
        if (p >= 2 && (m_.IsTrail(p - 1) || (m_.IsMarkOfPair(p - 1) && p - 1 > i_))) return p - 2;
        return p - 1;
    }

    // Reads the character before `p`, not before the scan's place: false
    // when there is none.
    bool Back(std::size_t& p, TCharCode& code, bool& skipped) {
        if (p <= i_) return false;
        const std::size_t q = PrevStart(p);
        if (q < i_) return false;
        std::size_t width = 0;
        const bool ok = m_.ReadChar(q, code, width) == TRead::Ok;
        skipped = ok && m_.Skippable(q, width);
        p = q;
        return true;
    }

    // Where a match with the anchor at `y` would start reading (its first
    // character, or the blanks before it), when the skeleton's characters
    // before the anchor stand before `y`; else kNone. The anchor's code
    // comes first in the skeleton, so these reads never pass an earlier
    // anchor: every character is read back at most once.
    std::size_t VerifyBack(std::size_t y, std::size_t k) {
        std::size_t p = y;
        for (std::size_t d = 1; d <= k; ++d) {
            TCharCode code = 0;
            bool skipped = true;
            while (skipped)
                if (!Back(p, code, skipped)) return kNone;
            if (d < k ? code != skel_[k - d] : !Heads(p, code)) return kNone;
        }
        return p_.Leading() ? RunBefore(p) : p;
    }

    bool Heads(std::size_t p, TCharCode code) {
        if (code == skel_[0]) return true;
        return p_.MarkHead() && !IsLeadByte(m_.At(p)) && m_.IsMarkOfPair(p + 1) &&
               m_.Pattern().SingleCode(m_.At(p + 1)) == skel_[0];
    }

    // `k` skeleton characters back from `p`, not before the scan's place.
    std::size_t WalkBack(std::size_t p, std::size_t k) {
        for (std::size_t counted = 0; counted < k;) {
            TCharCode code = 0;
            bool skipped = false;
            if (!Back(p, code, skipped)) return i_;
            if (!skipped) ++counted;
        }
        return p_.Leading() ? RunBefore(p) : p;
    }

    // The start of the passed-over characters just before `p`.
    std::size_t RunBefore(std::size_t p) {
        for (std::size_t q = p;;) {
            TCharCode code = 0;
            bool skipped = false;
            if (!Back(q, code, skipped) || !skipped) return p;
            p = q;
        }
    }

    // The latest place from which the codes [from, to) of the pattern can be
    // found in order in the run [runStart, runEnd); kNone when nowhere.
    std::size_t LatestFit(std::size_t from, std::size_t to, std::size_t runStart, std::size_t runEnd) {
        std::size_t p = runEnd;
        for (std::size_t j = to; j > from;) {
            if (p <= runStart) return kNone;
            const std::size_t q = PrevStart(p);
            TCharCode code = 0;
            std::size_t width = 0;
            m_.ReadChar(q, code, width);
            if (code == codes_[j - 1]) --j;
            p = q;
        }
        return p;
    }

    // The candidate in a run of blanks [runStart, runEnd) for a pattern
    // whose first `count` characters are blanks or breaks: forward the first
    // place that holds the first one, backward the last from which the
    // others still fit in the run (at most `last`); `open` when the run goes
    // on past the buffer, where they may fit.
    std::size_t RunCandidate(std::size_t runStart, std::size_t runEnd, std::size_t count, bool open) {
        std::size_t limit = kNone;
        if (backward_) {
            limit = std::min(last_, stop_ == kNone ? kNone : stop_ - 1);
            if (!open) {
                const std::size_t fit = LatestFit(1, count, runStart, runEnd);
                if (fit == kNone || fit == 0) return kNone;
                limit = std::min(limit, fit - 1);
            }
        }
        std::size_t best = kNone;
        TCharCode code = 0;
        for (std::size_t x = runStart, width = 0; x < runEnd && x <= limit; x += width) {
            m_.ReadChar(x, code, width);
            if (code != codes_[0] || (wholeWord_ && !m_.WordStartAt(x))) continue;
            if (!backward_) return x;
            best = x;
        }
        return best;
    }
    std::size_t LeadCandidate(std::size_t runStart, std::size_t runEnd, bool open) {
        return RunCandidate(runStart, runEnd, p_.Leading(), open);
    }

    // A pattern of blanks and breaks only: its matches lie inside one run
    // of them.
    template <class Take>
    void RunBlanks(std::size_t from, Take& take) {
        for (std::size_t y = from; y < n_;) {
            y = p_.AnchorBytes().FindFirst(s_, y, n_);
            if (y >= n_ || y >= stop_) return;
            if (m_.IsTrail(y)) {
                ++y;
                continue;
            }
            TCharCode code = 0;
            std::size_t width = 0;
            const TRead read = m_.ReadChar(y, code, width);
            if (read == TRead::Cut) return;
            if (read == TRead::Later) {
                take(y);
                return;
            }
            if (!m_.Skippable(y, width) || code != codes_[0]) {
                y += width;
                continue;
            }
            std::size_t end = y;
            bool open = false;
            while (end < n_) {
                const TRead r = m_.ReadChar(end, code, width);
                if (r == TRead::Later) open = true;
                if (r != TRead::Ok || !m_.Skippable(end, width)) break;
                end += width;
            }
            if (end >= n_ && m_.MoreAfter()) open = true;
            if (TakeInRun(y, end, open, take)) return;
            y = end;
        }
    }

    template <class Take>
    bool TakeInRun(std::size_t runStart, std::size_t runEnd, bool open, Take& take) {
        if (backward_ && !wholeWord_) {
            // The last place that leaves room for the rest decides the run.
            const std::size_t x = RunCandidate(runStart, runEnd, codes_.size(), open);
            return x != kNone && take(x);
        }
        TCharCode code = 0;
        for (std::size_t x = runStart, width = 0; x < runEnd; x += width) {
            m_.ReadChar(x, code, width);
            if (code != codes_[0] || (wholeWord_ && !m_.WordStartAt(x))) continue;
            if (x >= stop_) return true;
            if (take(x)) return true;
            // The first place fails only where every later one does, unless
            // the match's end decides too.
            if (!wholeWord_ && !backward_) return false;
        }
        return false;
    }

    TMatcher& m_;
    const TFoldedPattern& p_;
    const std::vector<TCharCode>& codes_;
    const std::vector<TCharCode>& skel_;
    const char* s_;
    std::size_t n_;
    bool backward_;
    bool wholeWord_;
    std::size_t last_;
    std::size_t stop_;

    std::size_t i_ = 0;        // the next byte to read
    std::size_t restart_ = 0;  // where reading began afresh
    std::size_t t_ = 0;        // skeleton characters after the first matched
    std::size_t count_ = 0;    // skeleton characters read since then
    bool pending_ = false;     // the last one read may open a match
    std::size_t runStart_ = kNone;  // passed-over characters read since it
    bool noJump_ = false;      // reading on to the buffer's end
    bool fresh_ = false;       // no skeleton character read since a jump
    std::size_t resume_ = kNone;
    std::vector<TElement> ring_;  // the last skeleton characters read
};

}  // namespace

TByteSet FirstBytesOf(TCharCode code, bool matchCase, bool zenkaku) {
    const auto equal = [&](TCharCode c) { return (matchCase ? c : FoldCase(c)) == code; };
    TByteSet set;
    if (IsDoubleCode(code)) {
        set.Add(static_cast<unsigned char>(code >> 8));
        if (const TCharCode lower = matchCase ? 0 : LowerCaseOf(code)) set.Add(static_cast<unsigned char>(lower >> 8));
    }
    for (unsigned b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        if (equal(zenkaku && !IsLeadByte(byte) ? FullWidthOf(byte) : byte)) set.Add(byte);
        if (zenkaku && TakesMark(byte))
            for (const unsigned char mark : {0xDE, 0xDF})
                if (const TCharCode pair = VoicedFullWidth(byte, mark); pair && equal(pair)) set.Add(byte);
    }
    return set;
}

TFoldedPattern::TFoldedPattern(const TSearchPattern& pattern) {
    const std::vector<TCharCode>& codes = pattern.Codes();
    if (codes.empty()) return;
    const bool crlf = pattern.Has(sfIncludeCRLF), space = pattern.Has(sfIncludeSpace);
    const bool matchCase = pattern.Has(sfMatchCase), zenkaku = pattern.Has(sfNoMatchZenkaku);
    while (leading_ < codes.size() && IsSkipCode(codes[leading_], crlf, space)) ++leading_;
    for (std::size_t j = leading_; j < codes.size(); ++j)
        if (!IsSkipCode(codes[j], crlf, space)) skeleton_.push_back(codes[j]);
    if (skeleton_.empty()) {
        anchorBytes_ = FirstBytesOf(codes.front(), matchCase, zenkaku);
        return;
    }
    trailing_ = IsSkipCode(codes.back(), crlf, space);
    markHead_ = zenkaku && leading_ == 0 &&
                (skeleton_[0] == pattern.SingleCode(0xDE) || skeleton_[0] == pattern.SingleCode(0xDF));
    const std::size_t q = skeleton_.size() - 1;
    links_.assign(q + 1, 0);
    for (std::size_t j = 1, k = 0; j < q; ++j) {
        while (k > 0 && skeleton_[j + 1] != skeleton_[k + 1]) k = links_[k];
        if (skeleton_[j + 1] == skeleton_[k + 1]) ++k;
        links_[j + 1] = static_cast<std::uint32_t>(k);
    }
    // The rarest character by its bytes; of equals the first, so that the
    // anchor's code stands nowhere before it in the skeleton.
    std::unordered_map<TCharCode, int> scores;
    int best = 1 << 30;
    for (std::size_t k = 0; k < skeleton_.size(); ++k) {
        const auto [it, fresh] = scores.try_emplace(skeleton_[k], 0);
        if (!fresh) continue;
        const TByteSet bytes = FirstBytesOf(skeleton_[k], matchCase, zenkaku);
        int& score = it->second;
        score = bytes.Size() > 4 ? 400 : 0;
        for (unsigned b = 0; b < 256; ++b)
            if (bytes.Contains(static_cast<unsigned char>(b))) score += ByteCommonness(static_cast<unsigned char>(b));
        if (score < best) {
            best = score;
            anchor_ = k;
            anchorBytes_ = bytes;
        }
    }
}

TSearchResult FoldedForward(TMatcher& m, const TFoldedPattern& pattern, std::size_t from) {
    TSearchResult result;
    TFoldedScan scan(m, pattern, false, kNone, kNone);
    scan.Run(from, [&](std::size_t x) { return TryCandidate(m, x, result); });
    if (result.Outcome == TSearchOutcome::NotFound && scan.Resume() != kNone)
        return {TSearchOutcome::NeedsLater, scan.Resume(), 0};
    return result;
}

TSearchResult FoldedBackward(TMatcher& m, const TFoldedPattern& pattern, std::size_t top) {
    TSearchResult result;
    std::vector<std::size_t> found;
    const std::size_t first = std::max(kBackwardStretch, 4 * m.Pattern().ByteLength());
    for (std::size_t end = top + 1, stretch = first;; stretch *= 2) {
        std::size_t begin = end > stretch ? end - stretch : 0;
        if (begin > 0 && m.IsTrail(begin)) --begin;
        found.clear();
        TFoldedScan(m, pattern, true, top, end).Run(begin, [&](std::size_t x) {
            if (x >= end) return true;
            if (x <= top) found.push_back(x);
            return false;
        });
        for (auto it = found.rbegin(); it != found.rend(); ++it)
            if (TryCandidate(m, *it, result)) return result;
        if (begin == 0) return {};
        end = begin;
    }
}

}  // namespace quodle
