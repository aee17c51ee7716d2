#pragma once
// The document's lines as the analyses read them: views over text someone
// else keeps (the row store, a file read whole) or a list of strings. Holds
// no text of its own; what it looks at must outlive it.
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quodle {

class TLineList {
public:
    TLineList(std::span<const std::string_view> lines) : views_(lines.data()), count_(lines.size()) {}
    TLineList(const std::vector<std::string_view>& lines) : TLineList(std::span<const std::string_view>(lines)) {}
    TLineList(const std::vector<std::string>& lines) : strings_(lines.data()), count_(lines.size()) {}

    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    std::string_view operator[](std::size_t i) const { return views_ ? views_[i] : std::string_view(strings_[i]); }

private:
    const std::string_view* views_ = nullptr;
    const std::string* strings_ = nullptr;
    std::size_t count_ = 0;
};

}  // namespace quodle
