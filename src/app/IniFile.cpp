#include "app/IniFile.h"

#include <algorithm>
#include <charconv>
#include <utility>
#include <stdexcept>

#include "base/FileIo.h"
#include "base/ShiftJis.h"
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
    if (name.empty() || name != Trim(name) || HasLineBreak(name) || !IsValidUtf8(name) ||
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

// Names compare by the program's one case rule (AsciiEqualsIgnoreCase).
bool SameName(std::string_view a, std::string_view b) { return AsciiEqualsIgnoreCase(a, b); }

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

// ---------------------------------------------------------------- NameTable

namespace {

// 32 well-mixed bits of the name as SameName sees it: AsciiUpper's letters,
// upper-cased where a character starts.
std::uint32_t FoldedHash(std::string_view name) {
    std::uint64_t h = 14695981039346656037ull;  // FNV-1a
    for (std::size_t i = 0, next = 0; i < name.size(); ++i) {
        char c = name[i];
        if (i == next) {
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            next = i + CharLengthAt(name, i);
        }
        h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    h ^= h >> 33;  // and a finaliser, as FNV's low bits mix poorly
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 33;
    return static_cast<std::uint32_t>(h);
}

// The next CR or LF at or after pos, or the end.
std::size_t LineEnd(std::string_view text, std::size_t pos) {
    while (pos < text.size() && text[pos] != '\r' && text[pos] != '\n') ++pos;
    return pos;
}

}  // namespace

// A slot holds the name's hash in its high half, so that a probe touches
// a line only when the hash matches and growing needs no names at all.
template <class NameOf>
std::optional<std::size_t> IniDocument::NameTable::Find(std::string_view name, const NameOf& nameOf) const {
    if (slots_.empty()) return std::nullopt;
    const std::uint32_t hash = FoldedHash(name);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask; slots_[i] != 0; i = (i + 1) & mask) {
        const auto position = static_cast<std::uint32_t>(slots_[i]) - 1;
        if (static_cast<std::uint32_t>(slots_[i] >> 32) == hash && SameName(nameOf(position), name)) return position;
    }
    return std::nullopt;
}

template <class NameOf>
void IniDocument::NameTable::Insert(std::size_t position, const NameOf& nameOf) {
    if ((used_ + 1) * 2 > slots_.size()) {
        // Grows to keep at least half of the slots free.
        std::vector<std::uint64_t> old = std::move(slots_);
        slots_.assign(std::max<std::size_t>(16, old.size() * 2), 0);
        const std::size_t mask = slots_.size() - 1;
        for (const std::uint64_t entry : old) {
            if (entry == 0) continue;
            std::size_t i = (entry >> 32) & mask;
            while (slots_[i] != 0) i = (i + 1) & mask;
            slots_[i] = entry;
        }
    }
    const std::string_view name = nameOf(position);
    const std::uint32_t hash = FoldedHash(name);
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    for (; slots_[i] != 0; i = (i + 1) & mask)
        if (static_cast<std::uint32_t>(slots_[i] >> 32) == hash &&
            SameName(nameOf(static_cast<std::uint32_t>(slots_[i]) - 1), name))
            return;
    slots_[i] = (std::uint64_t{hash} << 32) | (position + 1);
    ++used_;
}

// ---------------------------------------------------------------- IniDocument

IniDocument::Line IniDocument::Classify(std::size_t text, std::size_t size) const {
    Line line;
    line.text = text;
    line.textSize = size;
    const std::string_view whole = Text(line);
    const std::string_view t = Trim(whole);
    const auto put = [&](std::string_view name) {
        name = Trim(name);
        line.name = text + static_cast<std::size_t>(name.data() - whole.data());
        line.nameSize = name.size();
    };
    if (t.starts_with('[')) {
        const auto close = t.find(']');
        if (close != std::string_view::npos) {
            line.kind = LineKind::kSection;
            put(t.substr(1, close - 1));
        }
    } else if (!t.starts_with(';')) {
        const auto eq = t.find('=');
        if (eq != std::string_view::npos && !Trim(t.substr(0, eq)).empty()) {
            line.kind = LineKind::kKey;
            put(t.substr(0, eq));
        }
    }
    return line;
}

IniDocument::Line IniDocument::NewLine(LineKind kind, std::string_view name, std::string_view text) {
    Line line;
    line.kind = kind;
    line.text = store_.size();
    line.textSize = text.size();
    line.name = store_.size() + static_cast<std::size_t>(text.find(name));
    line.nameSize = name.size();
    store_ += text;
    return line;
}

void IniDocument::IndexKeys(Section& section) const {
    section.keys.Clear();
    const auto nameOf = [&](std::size_t i) { return Name(section.body[i]); };
    for (std::size_t i = 0; i < section.body.size(); ++i)
        if (section.body[i].kind == LineKind::kKey) section.keys.Insert(i, nameOf);
}

void IniDocument::IndexSections() {
    sectionIndex_.Clear();
    const auto nameOf = [&](std::size_t i) { return Name(*sections_[i].header); };
    for (std::size_t i = 0; i < sections_.size(); ++i)
        if (sections_[i].header) sectionIndex_.Insert(i, nameOf);
}

IniDocument IniDocument::Parse(std::string text) {
    IniDocument doc;
    std::size_t pos = 0;
    if (std::string_view(text).starts_with(kByteOrderMark)) {
        doc.byteOrderMark_ = true;
        pos = kByteOrderMark.size();
    }
    if (text.compare(LineEnd(text, pos), 2, "\r\n") == 0) doc.lineBreak_ = "\r\n";
    doc.store_ = std::move(text);
    const std::size_t size = doc.store_.size();

    doc.sections_.emplace_back();  // the lines before the first section
    while (pos < size) {
        // Decoded lines go to the end of the store, which may move it.
        const std::string_view all(doc.store_.data(), size);
        const std::size_t end = LineEnd(all, pos);
        Line line = doc.Classify(pos, end - pos);
        const std::string_view raw = all.substr(pos, end - pos);
        pos = end;
        if (pos < all.size()) pos += all.substr(pos, 2) == "\r\n" ? 2 : 1;

        if (!IsValidUtf8(raw)) {
            // A file from the other platform is in Shift-JIS: its lines are
            // taken in that encoding (and written as UTF-8 from then on).
            // A line that is neither stays byte for byte, and its value
            // reads as missing until the program writes a new one.
            const std::u16string decoded = Cp932ToUtf16(raw);
            line.unreadable = std::any_of(decoded.begin(), decoded.end(), [](char16_t c) {
                return c >= kInvalidByteBase && c <= kInvalidByteBase + 0xFF;
            });
            if (!line.unreadable) {
                const std::size_t at = doc.store_.size();
                doc.store_ += Utf16ToUtf8(decoded);
                line = doc.Classify(at, doc.store_.size() - at);
            }
        }
        if (line.kind == LineKind::kSection) {
            doc.sections_.emplace_back().header = line;
            continue;
        }
        Section& section = doc.sections_.back();
        if (line.kind == LineKind::kKey) {
            // What stood between the last key and this one belongs to the body.
            section.body.insert(section.body.end(), section.tail.begin(), section.tail.end());
            section.tail.clear();
            section.body.push_back(line);
        } else {
            section.tail.push_back(line);
        }
    }
    for (Section& section : doc.sections_) doc.IndexKeys(section);
    doc.IndexSections();
    return doc;
}

std::string IniDocument::Serialize() const {
    std::string out;
    out.reserve(store_.size());
    if (byteOrderMark_) out += kByteOrderMark;
    const auto put = [&](const Line& line) {
        out += Text(line);
        out += lineBreak_;
    };
    for (const Section& section : sections_) {
        if (section.header) put(*section.header);
        for (const Line& line : section.body) put(line);
        for (const Line& line : section.tail) put(line);
    }
    return out;
}

const IniDocument::Section* IniDocument::FindSection(std::string_view section) const {
    const auto index = sectionIndex_.Find(section, [&](std::size_t i) { return Name(*sections_[i].header); });
    return index ? &sections_[*index] : nullptr;
}

IniDocument::Section* IniDocument::FindSection(std::string_view section) {
    return const_cast<Section*>(std::as_const(*this).FindSection(section));
}

std::optional<std::string> IniDocument::Value(std::string_view section, std::string_view key) const {
    const Section* s = FindSection(section);
    if (!s) return std::nullopt;
    const auto index = s->keys.Find(key, [&](std::size_t i) { return Name(s->body[i]); });
    if (!index || s->body[*index].unreadable) return std::nullopt;
    const std::string_view text = Text(s->body[*index]);
    return std::string(Trim(text.substr(text.find('=') + 1)));
}

bool IniDocument::SectionExists(std::string_view section) const { return FindSection(section) != nullptr; }

bool IniDocument::ValueExists(std::string_view section, std::string_view key) const {
    return Value(section, key).has_value();
}

std::vector<std::string> IniDocument::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    if (const Section* s = FindSection(section))
        for (const Line& line : s->body)
            if (line.kind == LineKind::kKey) keys.emplace_back(Name(line));
    return keys;
}

void IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    CheckSection(section);
    CheckKey(key);
    // The file is UTF-8 and read back as such (other lines as Shift-JIS):
    // other bytes would come back changed, or not at all.
    if (HasLineBreak(value) || !IsValidUtf8(value))
        throw std::invalid_argument("INI value with a line break or not in UTF-8 for key " + std::string(key));

    if (sections_.empty()) sections_.emplace_back();
    Section* s = FindSection(section);
    if (!s) {
        s = &sections_.emplace_back();
        // Appended piece by piece: "[" + name draws a false -Wrestrict from GCC 12 at -O2.
        std::string header;
        header.reserve(section.size() + 2);
        header.append(1, '[').append(section).append(1, ']');
        s->header = NewLine(LineKind::kSection, section, header);
        sectionIndex_.Insert(sections_.size() - 1, [&](std::size_t i) { return Name(*sections_[i].header); });
        changed_ = true;
    }
    const auto nameOf = [&](std::size_t i) { return Name(s->body[i]); };
    if (const auto index = s->keys.Find(key, nameOf)) {
        Line& line = s->body[*index];
        const std::string text = std::string(Name(line)) + "=" + std::string(value);
        if (!line.unreadable && Text(line) == text) return;
        line = NewLine(LineKind::kKey, Name(line), text);
        changed_ = true;
        return;
    }
    s->body.push_back(NewLine(LineKind::kKey, key, std::string(key) + "=" + std::string(value)));
    s->keys.Insert(s->body.size() - 1, nameOf);
    changed_ = true;
}

bool IniDocument::DeleteKey(std::string_view section, std::string_view key) {
    return DeleteKeys(section, [&](std::string_view name) { return SameName(name, key); });
}

bool IniDocument::DeleteKeys(std::string_view section, const std::function<bool(std::string_view key)>& doomed) {
    bool deleted = false;
    for (Section& s : sections_) {
        if (!s.header || !SameName(Name(*s.header), section)) continue;
        const auto removed = std::erase_if(s.body, [&](const Line& line) {
            return line.kind == LineKind::kKey && doomed(Name(line));
        });
        if (removed == 0) continue;
        deleted = true;
        // Lines after the new last key lead into the next section.
        const auto lastKey = std::find_if(s.body.rbegin(), s.body.rend(),
                                          [](const Line& line) { return line.kind == LineKind::kKey; });
        s.tail.insert(s.tail.begin(), lastKey.base(), s.body.end());
        s.body.erase(lastKey.base(), s.body.end());
        IndexKeys(s);
    }
    changed_ = changed_ || deleted;
    return deleted;
}

bool IniDocument::DeleteSection(std::string_view section) {
    const auto removed = std::erase_if(sections_, [&](const Section& s) {
        return s.header && SameName(Name(*s.header), section);
    });
    if (removed == 0) return false;
    IndexSections();
    changed_ = true;
    return true;
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
        auto bytes = ReadFileBytes(path_);
        return bytes ? IniDocument::Parse(std::move(*bytes)) : IniDocument();
    } catch (const FileError&) {
        // An unreadable file reads like a missing one: the defaults apply.
        return IniDocument();
    }
}

void IniFile::Update(const std::function<void(IniDocument&)>& edit) {
    auto bytes = ReadFileBytes(path_);
    IniDocument doc = bytes ? IniDocument::Parse(std::move(*bytes)) : IniDocument();
    edit(doc);
    if (doc.Changed()) SaveFileAtomically(path_, doc.Serialize());
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
