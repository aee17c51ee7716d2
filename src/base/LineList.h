#pragma once
// The document's lines as the analyses read them: views over text someone
// else keeps, a list of strings, or a source that hands out one line at a
// time (the row store, without copying millions of views first). Holds no
// text of its own; what it looks at must outlive it.
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quodle {

class TLineList {
public:
    using TGetLine = std::string_view (*)(const void* source, std::size_t line);

    TLineList(std::span<const std::string_view> lines) : views_(lines.data()), count_(lines.size()) {}
    TLineList(const std::vector<std::string_view>& lines) : TLineList(std::span<const std::string_view>(lines)) {}
    TLineList(const std::vector<std::string>& lines) : strings_(lines.data()), count_(lines.size()) {}
    TLineList(const void* source, TGetLine get, std::size_t count) : source_(source), get_(get), count_(count) {}

    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    std::string_view operator[](std::size_t i) const {
        if (views_) return views_[i];
        if (strings_) return strings_[i];
        return get_(source_, i);
    }
    // The first n lines (all of them when there are fewer).
    TLineList First(std::size_t n) const {
        TLineList head = *this;
        head.count_ = n < count_ ? n : count_;
        return head;
    }

private:
    const std::string_view* views_ = nullptr;
    const std::string* strings_ = nullptr;
    const void* source_ = nullptr;
    TGetLine get_ = nullptr;
    std::size_t count_ = 0;
};

}  // namespace quodle
