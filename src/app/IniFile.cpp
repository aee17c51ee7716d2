#include "app/IniFile.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

#include "base/BogusRestrict.h"
#include "base/FileIo.h"
#include "base/Text.h"

namespace quodle {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

void CheckName(std::string_view name, std::string_view forbidden, const char* what) {
    if (name.empty() || name != Trim(name) || HasLineBreak(name) ||
        name.find_first_of(forbidden) != std::string_view::npos)
        throw std::invalid_argument(std::string("unusable INI ") + what + " name: " + std::string(name));
}

void CheckSection(std::string_view section) { CheckName(section, "]", "section"); }

void CheckKey(std::string_view key) {
    CheckName(key, "=", "key");
    // A key that begins like a comment or a section line would not read back.
    if (key.front() == ';' || key.front() == '[')
        throw std::invalid_argument("unusable INI key name: " + std::string(key));
}

}  // namespace

std::optional<int> ParseDecimal(std::string_view text) {
    const bool plus = !text.empty() && text.front() == '+';
    if (plus) text.remove_prefix(1);
    if (text.empty() || (plus && text.front() == '-')) return std::nullopt;
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument doc;
    if (text.starts_with(kByteOrderMark)) {
        doc.byteOrderMark_ = true;
        text.remove_prefix(kByteOrderMark.size());
    }
    const auto firstBreak = text.find_first_of("\r\n");
    if (firstBreak != std::string_view::npos && text.substr(firstBreak, 2) == "\r\n") doc.lineBreak_ = "\r\n";

    std::size_t pos = 0;
    while (pos < text.size()) {
        auto end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view raw = text.substr(pos, end - pos);
        pos = end;
        if (pos < text.size()) pos += text.substr(pos, 2) == "\r\n" ? 2 : 1;

        Line line{LineKind::kOther, std::string(raw), {}};
        const std::string_view t = Trim(raw);
        if (t.starts_with('[')) {
            const auto close = t.find(']');
            if (close != std::string_view::npos) {
                line.kind = LineKind::kSection;
                line.name = std::string(Trim(t.substr(1, close - 1)));
            }
        } else if (!t.starts_with(';')) {
            const auto eq = t.find('=');
            if (eq != std::string_view::npos && !Trim(t.substr(0, eq)).empty()) {
                line.kind = LineKind::kKey;
                line.name = std::string(Trim(t.substr(0, eq)));
            }
        }
        doc.lines_.push_back(std::move(line));
    }
    return doc;
}

std::string IniDocument::Serialize() const {
    std::string out;
    if (byteOrderMark_) out += kByteOrderMark;
    for (const auto& line : lines_) {
        out += line.text;
        out += lineBreak_;
    }
    return out;
}

std::optional<IniDocument::Range> IniDocument::FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind != LineKind::kSection || !AsciiEqualsIgnoreCase(lines_[i].name, section)) continue;
        std::size_t end = i + 1;
        while (end < lines_.size() && lines_[end].kind != LineKind::kSection) ++end;
        return Range{i, i + 1, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> IniDocument::FindKey(const Range& range, std::string_view key) const {
    for (std::size_t i = range.begin; i < range.end; ++i)
        if (lines_[i].kind == LineKind::kKey && AsciiEqualsIgnoreCase(lines_[i].name, key)) return i;
    return std::nullopt;
}

std::optional<std::string> IniDocument::Value(std::string_view section, std::string_view key) const {
    const auto range = FindSection(section);
    if (!range) return std::nullopt;
    const auto index = FindKey(*range, key);
    if (!index) return std::nullopt;
    const std::string_view text = lines_[*index].text;
    return std::string(Trim(text.substr(text.find('=') + 1)));
}

bool IniDocument::SectionExists(std::string_view section) const { return FindSection(section).has_value(); }

bool IniDocument::ValueExists(std::string_view section, std::string_view key) const {
    return Value(section, key).has_value();
}

std::vector<std::string> IniDocument::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    if (const auto range = FindSection(section))
        for (std::size_t i = range->begin; i < range->end; ++i)
            if (lines_[i].kind == LineKind::kKey) keys.push_back(lines_[i].name);
    return keys;
}

void IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    CheckSection(section);
    CheckKey(key);
    if (HasLineBreak(value)) throw std::invalid_argument("INI value with a line break for key " + std::string(key));

    const auto range = FindSection(section);
    if (!range) {
        QUODLE_BOGUS_RESTRICT_BEGIN
        lines_.push_back(Line{LineKind::kSection, "[" + std::string(section) + "]", std::string(section)});
        QUODLE_BOGUS_RESTRICT_END
        lines_.push_back(Line{LineKind::kKey, std::string(key) + "=" + std::string(value), std::string(key)});
        return;
    }
    if (const auto index = FindKey(*range, key)) {
        Line& line = lines_[*index];
        line.text = line.name + "=" + std::string(value);
        return;
    }
    // After the section's last key, so that comments and blank lines that
    // lead into the next section stay with it.
    std::size_t at = range->begin;
    for (std::size_t i = range->begin; i < range->end; ++i)
        if (lines_[i].kind == LineKind::kKey) at = i + 1;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                  Line{LineKind::kKey, std::string(key) + "=" + std::string(value), std::string(key)});
}

bool IniDocument::DeleteKey(std::string_view section, std::string_view key) {
    bool deleted = false;
    bool inSection = false;
    std::vector<Line> kept;
    kept.reserve(lines_.size());
    for (auto& line : lines_) {
        if (line.kind == LineKind::kSection) inSection = AsciiEqualsIgnoreCase(line.name, section);
        if (inSection && line.kind == LineKind::kKey && AsciiEqualsIgnoreCase(line.name, key)) {
            deleted = true;
            continue;
        }
        kept.push_back(std::move(line));
    }
    lines_ = std::move(kept);
    return deleted;
}

bool IniDocument::DeleteSection(std::string_view section) {
    bool deleted = false;
    bool inSection = false;
    std::vector<Line> kept;
    kept.reserve(lines_.size());
    for (auto& line : lines_) {
        if (line.kind == LineKind::kSection) {
            inSection = AsciiEqualsIgnoreCase(line.name, section);
            deleted = deleted || inSection;
        }
        if (!inSection) kept.push_back(std::move(line));
    }
    lines_ = std::move(kept);
    return deleted;
}

bool IniDocument::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

int IniDocument::ReadInteger(std::string_view section, std::string_view key, int def) const {
    const auto value = Value(section, key);
    if (!value) return def;
    return ParseDecimal(*value).value_or(def);
}

TColor IniDocument::ReadColor(std::string_view section, std::string_view key, TColor def) const {
    const auto value = Value(section, key);
    if (!value) return def;
    return StringToColor(*value).value_or(def);
}

std::string IniDocument::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
    return Value(section, key).value_or(std::string(def));
}

void IniDocument::WriteBool(std::string_view section, std::string_view key, bool value) {
    SetValue(section, key, value ? "1" : "0");
}

void IniDocument::WriteInteger(std::string_view section, std::string_view key, int value) {
    SetValue(section, key, std::to_string(value));
}

void IniDocument::WriteColor(std::string_view section, std::string_view key, TColor value) {
    SetValue(section, key, ColorToString(value));
}

void IniDocument::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    SetValue(section, key, value);
}

// ---------------------------------------------------------------- IniFile

IniDocument IniFile::Read() const {
    try {
        const auto bytes = ReadFileBytes(path_);
        return bytes ? IniDocument::Parse(*bytes) : IniDocument();
    } catch (const FileError&) {
        // An unreadable file reads like a missing one: the defaults apply.
        return IniDocument();
    }
}

void IniFile::Update(const std::function<void(IniDocument&)>& edit) {
    const auto bytes = ReadFileBytes(path_);
    IniDocument doc = bytes ? IniDocument::Parse(*bytes) : IniDocument();
    const std::string before = doc.Serialize();
    edit(doc);
    const std::string after = doc.Serialize();
    if (after == before) return;
    SaveFileAtomically(path_, after);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return Read().ReadBool(section, key, def);
}
int IniFile::ReadInteger(std::string_view section, std::string_view key, int def) const {
    return Read().ReadInteger(section, key, def);
}
TColor IniFile::ReadColor(std::string_view section, std::string_view key, TColor def) const {
    return Read().ReadColor(section, key, def);
}
std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
    return Read().ReadString(section, key, def);
}
bool IniFile::SectionExists(std::string_view section) const { return Read().SectionExists(section); }
bool IniFile::ValueExists(std::string_view section, std::string_view key) const {
    return Read().ValueExists(section, key);
}
void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    Update([&](IniDocument& d) { d.WriteBool(section, key, value); });
}
void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    Update([&](IniDocument& d) { d.WriteInteger(section, key, value); });
}
void IniFile::WriteColor(std::string_view section, std::string_view key, TColor value) {
    Update([&](IniDocument& d) { d.WriteColor(section, key, value); });
}
void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Update([&](IniDocument& d) { d.WriteString(section, key, value); });
}
void IniFile::DeleteKey(std::string_view section, std::string_view key) {
    Update([&](IniDocument& d) { d.DeleteKey(section, key); });
}
void IniFile::DeleteSection(std::string_view section) {
    Update([&](IniDocument& d) { d.DeleteSection(section); });
}

}  // namespace quodle
