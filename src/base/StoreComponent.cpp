#include "base/StoreComponent.h"

#include <charconv>

namespace quodle {

namespace {

// Values may hold any byte; the record breaks and the escape itself are
// written as two-character escapes.
void AppendEscaped(std::string& out, std::string_view value) {
    for (const char c : value) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\0': out += "\\0"; break;
            default: out.push_back(c);
        }
    }
}

std::string Unescaped(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out.push_back(value[i]);
            continue;
        }
        switch (value[++i]) {
            case 'n': out.push_back('\n'); break;
            case 'r': out.push_back('\r'); break;
            case '0': out.push_back('\0'); break;
            default: out.push_back(value[i]);
        }
    }
    return out;
}

std::string ItemName(std::string_view list, std::size_t index) {
    return std::string(list) + "." + std::to_string(index);
}

}  // namespace

void TPropertyWriter::Write(std::string_view name, std::string_view value) {
    bytes_.append(name);
    bytes_.push_back('=');
    AppendEscaped(bytes_, value);
    bytes_.push_back('\n');
}

void TPropertyWriter::WriteList(std::string_view name, const std::vector<std::string>& items) {
    Write(std::string(name) + ".Count", static_cast<int>(items.size()));
    for (std::size_t i = 0; i < items.size(); ++i) Write(ItemName(name, i), items[i]);
}

TPropertyReader::TPropertyReader(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view record = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        const std::size_t eq = record.find('=');
        if (eq == std::string_view::npos || eq == 0) continue;
        // The last record of a name counts, as a later write would.
        values_[std::string(record.substr(0, eq))] = Unescaped(record.substr(eq + 1));
    }
}

const std::string* TPropertyReader::Find(std::string_view name) const {
    const auto it = values_.find(std::string(name));
    return it == values_.end() ? nullptr : &it->second;
}

bool TPropertyReader::Read(std::string_view name, std::string& value) const {
    const std::string* v = Find(name);
    if (v) value = *v;
    return v != nullptr;
}

bool TPropertyReader::Read(std::string_view name, bool& value) const {
    const std::string* v = Find(name);
    if (!v || (*v != "0" && *v != "1")) return false;
    value = *v == "1";
    return true;
}

bool TPropertyReader::Read(std::string_view name, int& value) const {
    const std::string* v = Find(name);
    if (!v) return false;
    int n = 0;
    const char* end = v->data() + v->size();
    const auto [ptr, ec] = std::from_chars(v->data(), end, n);
    if (ec != std::errc() || ptr != end || v->empty()) return false;
    value = n;
    return true;
}

bool TPropertyReader::ReadColor(std::string_view name, TColor& value) const {
    const std::string* v = Find(name);
    if (!v) return false;
    const auto color = StringToColor(*v);
    if (!color || !IsStoredColor(*color)) return false;
    value = *color;
    return true;
}

bool TPropertyReader::ReadList(std::string_view name, std::vector<std::string>& items) const {
    int count = 0;
    if (!Read(std::string(name) + ".Count", count) || count < 0 || count > kMaxStoredListItems) return false;
    std::vector<std::string> read;
    read.reserve(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
        std::string item;
        if (!Read(ItemName(name, i), item)) return false;
        read.push_back(std::move(item));
    }
    items = std::move(read);
    return true;
}

std::string TStoreComponent::StoreBytes() const {
    TPropertyWriter writer;
    WriteProperties(writer);
    return writer.Bytes();
}

void TStoreComponent::LoadBytes(std::string_view bytes) { ReadProperties(TPropertyReader(bytes)); }

}  // namespace quodle
