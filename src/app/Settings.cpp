#include "app/Settings.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "base/Text.h"
#include "base/UserFolders.h"

namespace quodle::settings {
namespace fs = std::filesystem;

namespace {

std::string ChunkKey(int index) { return std::string(kBlobChunk.name) + std::to_string(index); }

// The blob keys of one section.
IntKey ChunkCountKey(std::string_view section) {
    IntKey k = kBlobChunkCount;
    k.section = section;
    return k;
}
StringKey ChunkKeyFamily(std::string_view section) {
    StringKey k = kBlobChunk;
    k.section = section;
    return k;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::optional<int> NumberedKeyIndex(std::string_view key, std::string_view prefix) {
    if (key.size() <= prefix.size() || !AsciiEqualsIgnoreCase(key.substr(0, prefix.size()), prefix))
        return std::nullopt;
    const std::string_view digits = key.substr(prefix.size());
    if (digits.front() < '0' || digits.front() > '9') return std::nullopt;
    const auto index = ParseDecimal(digits);
    if (!index || std::to_string(*index) != digits) return std::nullopt;
    return index;
}

std::string Read(const IniDocument& doc, const StringKey& k, std::string_view def) {
    std::string value = doc.ReadString(k.section, k.name, def);
    return value.size() <= k.maxBytes ? value : std::string(def);
}

std::optional<std::string> ReadNumbered(const IniDocument& doc, const StringKey& k, std::size_t index) {
    auto value = doc.Value(k.section, std::string(k.name) + std::to_string(index));
    if (value && value->size() > k.maxBytes) value.reset();
    return value;
}

TTargetWindows ReadTargetWindows(const IniDocument& doc) {
    TTargetWindows w;
    const std::pair<const StringKey*, std::string*> keys[] = {
        {&kCadAcadClass, &w.AutoCadMain.Class}, {&kCadAcadTitle, &w.AutoCadMain.Title},
        {&kCadAcadTextClass, &w.AutoCadText.Class}, {&kCadAcadTextTitle, &w.AutoCadText.Title},
        {&kCadIcadClass, &w.IntelliCad.Class}, {&kCadIcadTitle, &w.IntelliCad.Title},
        {&kCadZcadClass, &w.ZwCad.Class}, {&kCadZcadTitle, &w.ZwCad.Title},
        {&kCadBcadClass, &w.BricsCad.Class}, {&kCadBcadTitle, &w.BricsCad.Title},
    };
    for (const auto& [key, value] : keys) *value = Read(doc, *key, *value);
    return w;
}

fs::path SettingsFilePath(const fs::path& executablePath) {
    fs::path name = executablePath.filename();
    name.replace_extension(".ini");
    return ProgramFilePath(executablePath, name, UserConfigHome());
}

void WriteBlob(IniDocument& doc, std::string_view section, std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string digits;
    digits.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        digits.push_back(kHex[b >> 4]);
        digits.push_back(kHex[b & 0xF]);
    }
    const int newCount = static_cast<int>((digits.size() + kBlobChunkDigits - 1) / kBlobChunkDigits);

    // The count as stored, not as read: every surplus chunk it covers goes,
    // in one pass over the keys that exist however large a damaged count.
    const int oldCount = doc.ReadInteger(section, kBlobChunkCount.name, 0);
    if (oldCount > newCount) {
        doc.DeleteKeys(section, [&](std::string_view key) {
            const auto index = NumberedKeyIndex(key, kBlobChunk.name);
            return index && *index >= newCount && *index < oldCount;
        });
    }
    if (newCount == 0) {
        doc.DeleteKey(section, kBlobChunkCount.name);
        return;
    }
    for (int i = 0; i < newCount; ++i)
        doc.WriteString(section, ChunkKey(i),
                        std::string_view(digits).substr(static_cast<std::size_t>(i) * kBlobChunkDigits,
                                                        kBlobChunkDigits));
    Write(doc, ChunkCountKey(section), newCount);
}

void WritePrintBlob(IniFile& ini, std::string_view bytes) {
    ini.Update([&](IniDocument& doc) { WritePrintBlob(doc, bytes); });
}

std::string ReadBlob(const IniDocument& doc, std::string_view section) {
    // No more chunks, and no longer ones, than a blob of the program's own
    // can have: a damaged file costs no more than a sound one.
    const int count = Read(doc, ChunkCountKey(section));
    const StringKey chunkKey = ChunkKeyFamily(section);
    std::string digits;
    for (int i = 0; i < count; ++i)
        if (const auto chunk = ReadNumbered(doc, chunkKey, static_cast<std::size_t>(i))) digits += *chunk;

    std::string bytes;
    bytes.reserve(digits.size() / 2);
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
        const int hi = HexDigit(digits[i]), lo = HexDigit(digits[i + 1]);
        bytes.push_back(static_cast<char>(hi < 0 || lo < 0 ? 0 : hi * 16 + lo));
    }
    return bytes;
}

std::string ReadPrintBlob(const IniFile& ini) { return ReadPrintBlob(ini.Read()); }

}  // namespace quodle::settings
