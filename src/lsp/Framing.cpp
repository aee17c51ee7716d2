#include "lsp/Framing.h"

#include <algorithm>

#include "base/Text.h"

namespace quodle::lsp {

namespace {

constexpr std::string_view kLengthName = "Content-Length";
constexpr std::string_view kHeaderEnd = "\r\n\r\n";

std::size_t FindIgnoringCase(std::string_view text, std::string_view what, std::size_t from) {
    for (std::size_t i = text.find_first_of("cC", from); i != std::string_view::npos && i + what.size() <= text.size();
         i = text.find_first_of("cC", i + 1))
        if (AsciiEqualsIgnoreCase(text.substr(i, what.size()), what)) return i;
    return std::string_view::npos;
}

}  // namespace

void TMessageFramer::Feed(std::string_view bytes) {
    // What was taken goes once it is the larger part.
    if (start_ > 0 && start_ >= buffer_.size() / 2) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
    buffer_.append(bytes);
}

TMessageFramer::THeader TMessageFramer::ReadHeader() const {
    THeader header;
    const std::string_view text = std::string_view(buffer_).substr(start_);
    const std::size_t end = text.find(kHeaderEnd);
    if (end == std::string_view::npos) {
        if (text.size() > kMaxHeader) header.Problem = "a header without its end";
        return header;
    }
    if (end > kMaxHeader) {
        header.Problem = "a header without its end";
        return header;
    }
    bool haveLength = false;
    for (std::size_t pos = 0; pos < end;) {
        std::size_t lineEnd = text.find("\r\n", pos);
        if (lineEnd > end) lineEnd = end;
        const std::string_view line = text.substr(pos, lineEnd - pos);
        pos = lineEnd + 2;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            header.Problem = "a header line without a colon";
            return header;
        }
        if (!AsciiEqualsIgnoreCase(TrimBlanks(line.substr(0, colon)), kLengthName)) continue;
        const std::string_view value = TrimBlanks(line.substr(colon + 1));
        std::size_t length = 0;
        bool valid = !value.empty() && value.size() <= 12;
        for (const char c : value) {
            if (c < '0' || c > '9') valid = false;
            else length = length * 10 + static_cast<std::size_t>(c - '0');
        }
        if (!valid || length > kMaxBody) {
            header.Problem = "a Content-Length that is no size: " + std::string(value.substr(0, 40));
            return header;
        }
        header.Length = length;
        haveLength = true;
    }
    if (!haveLength) {
        header.Problem = "a header without Content-Length";
        return header;
    }
    header.HeaderEnd = end + kHeaderEnd.size();
    return header;
}

void TMessageFramer::Resync() {
    const std::string_view text = buffer_;
    const std::size_t next = FindIgnoringCase(text, kLengthName, start_ + 1);
    if (next != std::string_view::npos) {
        start_ = next;
        return;
    }
    // The name may be cut off by the end of what has arrived; at least one
    // byte goes, so a broken header is never read twice.
    start_ = std::max(start_ + 1, buffer_.size() - std::min(buffer_.size(), kLengthName.size() - 1));
}

bool TMessageFramer::Ready() const {
    const THeader header = ReadHeader();
    if (!header.Problem.empty()) return true;
    return header.HeaderEnd > 0 && Pending() - header.HeaderEnd >= header.Length;
}

TMessageFramer::TNext TMessageFramer::Next() {
    TNext next;
    const THeader header = ReadHeader();
    if (!header.Problem.empty()) {
        Resync();
        next.Kind = TNext::nkBadHeader;
        next.Problem = header.Problem;
        return next;
    }
    if (header.HeaderEnd == 0 || Pending() - header.HeaderEnd < header.Length) return next;
    next.Kind = TNext::nkMessage;
    next.Body.assign(buffer_, start_ + header.HeaderEnd, header.Length);
    start_ += header.HeaderEnd + header.Length;
    if (start_ == buffer_.size()) {
        buffer_.clear();
        start_ = 0;
    }
    return next;
}

}  // namespace quodle::lsp
