#include "cad/TargetWindows.h"

#include <algorithm>
#include <optional>

namespace quodle {
namespace {

// One alternative, already in the text's coding: the usual two-cursor walk
// that goes back to the last "*" on a mismatch, a character at a time.
bool MatchesGlob(std::string_view text, std::string_view glob, TPathCoding coding) {
    constexpr std::size_t kNone = std::string_view::npos;
    std::size_t t = 0, g = 0, starGlob = kNone, starText = 0;
    while (t < text.size()) {
        if (g < glob.size() && glob[g] == '*') {
            starGlob = ++g;
            starText = t;
            continue;
        }
        const std::size_t n = std::max<std::size_t>(CharLengthIn(text, t, coding), 1);
        if (g < glob.size() && glob.substr(g, n) == text.substr(t, n)) {
            t += n;
            g += n;
            continue;
        }
        if (starGlob == kNone) return false;
        starText += std::max<std::size_t>(CharLengthIn(text, starText, coding), 1);
        t = starText;
        g = starGlob;
    }
    while (g < glob.size() && glob[g] == '*') ++g;
    return g == glob.size();
}

}  // namespace

bool MatchesPattern(std::string_view text, std::string_view pattern, TPathCoding coding) {
    // Alternatives are split in UTF-8, where "|" is never part of another
    // character (in Shift-JIS it can be a second byte).
    for (std::size_t start = 0; start <= pattern.size();) {
        std::size_t end = pattern.find('|', start);
        if (end == std::string_view::npos) end = pattern.size();
        const std::string_view alternative = pattern.substr(start, end - start);
        if (!alternative.empty()) {
            const std::optional<std::string> glob = PathInCoding(alternative, coding);
            if (glob && MatchesGlob(text, *glob, coding)) return true;
        }
        start = end + 1;
    }
    return false;
}

bool MatchesWindow(const TWindowPattern& pattern, std::string_view className, std::string_view title,
                   TPathCoding coding) {
    return MatchesPattern(className, pattern.Class, coding) &&
           (pattern.Title.empty() || MatchesPattern(title, pattern.Title, coding));
}

}  // namespace quodle
