#include "base/SortedStringList.h"

#include <algorithm>

#include "base/ShiftJis.h"

namespace quodle {

namespace {

constexpr unsigned char FoldByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b >= 'a' && b <= 'z') ? static_cast<unsigned char>(b - ('a' - 'A')) : b;
}

bool LessIgnoreCase(std::string_view a, std::string_view b) { return CompareIgnoreCase(a, b) < 0; }

}  // namespace

// The strings agree up to the first difference, so both have a character
// boundary at the same places there: a trail byte is compared as it is, never
// folded (ァ and ア differ only in a trail byte that looks like a letter).
int CompareIgnoreCase(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    bool trail = false;
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = trail ? static_cast<unsigned char>(a[i]) : FoldByte(a[i]);
        const unsigned char y = trail ? static_cast<unsigned char>(b[i]) : FoldByte(b[i]);
        if (x != y) return x < y ? -1 : 1;
        trail = !trail && IsLeadByte(x);
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

int TSortedStringList::IndexOf(std::string_view word) const {
    const auto it = std::lower_bound(items_.begin(), items_.end(), word,
                                     [](const std::string& item, std::string_view w) { return LessIgnoreCase(item, w); });
    if (it == items_.end() || CompareIgnoreCase(*it, word) != 0) return -1;
    return static_cast<int>(it - items_.begin());
}

bool TSortedStringList::Add(std::string_view word) {
    const auto it = std::lower_bound(items_.begin(), items_.end(), word,
                                     [](const std::string& item, std::string_view w) { return LessIgnoreCase(item, w); });
    if (it != items_.end() && CompareIgnoreCase(*it, word) == 0) return false;
    items_.insert(it, std::string(word));
    Changed();
    return true;
}

void TSortedStringList::Clear() {
    if (items_.empty()) return;
    items_.clear();
    Changed();
}

void TSortedStringList::Assign(const std::vector<std::string>& words) {
    std::vector<std::string> sorted(words);
    // Stable, so the first of several spellings of one word is the one kept.
    std::stable_sort(sorted.begin(), sorted.end(), LessIgnoreCase);
    sorted.erase(std::unique(sorted.begin(), sorted.end(),
                             [](const std::string& a, const std::string& b) { return CompareIgnoreCase(a, b) == 0; }),
                 sorted.end());
    items_ = std::move(sorted);
    Changed();
}

}  // namespace quodle
