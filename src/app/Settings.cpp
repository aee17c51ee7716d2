#include "app/Settings.h"

#include <algorithm>
#include <optional>

#include "base/Text.h"
#include "base/UserFolders.h"

namespace quodle::settings {
namespace fs = std::filesystem;

namespace {

std::string ChunkKey(int index) { return std::string(kPrintChunkKeyPrefix) + std::to_string(index); }

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

fs::path SettingsFilePath(const fs::path& executablePath) {
    fs::path beside = executablePath;
    beside.replace_extension(".ini");
    const fs::path folder = beside.has_parent_path() ? beside.parent_path() : fs::path(".");
    return WritableFilePath(folder, beside.filename(), UserConfigHome());
}

void WritePrintBlob(IniDocument& doc, std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string digits;
    digits.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        digits.push_back(kHex[b >> 4]);
        digits.push_back(kHex[b & 0xF]);
    }
    const int newCount = static_cast<int>((digits.size() + kPrintChunkDigits - 1) / kPrintChunkDigits);

    const int oldCount = doc.ReadInteger(kPrintSection, kPrintChunkCountKey, 0);
    if (oldCount > newCount) {
        // Only the keys that exist can be deleted; walking them instead of
        // every number up to the old count keeps a corrupt huge count cheap.
        for (const auto& key : doc.Keys(kPrintSection)) {
            const auto index = NumberedKeyIndex(key, kPrintChunkKeyPrefix);
            if (index && *index >= newCount && *index < oldCount) doc.DeleteKey(kPrintSection, key);
        }
    }
    if (newCount == 0) {
        doc.DeleteKey(kPrintSection, kPrintChunkCountKey);
        return;
    }
    for (int i = 0; i < newCount; ++i)
        doc.WriteString(kPrintSection, ChunkKey(i),
                        std::string_view(digits).substr(static_cast<std::size_t>(i) * kPrintChunkDigits,
                                                        kPrintChunkDigits));
    doc.WriteInteger(kPrintSection, kPrintChunkCountKey, newCount);
}

void WritePrintBlob(IniFile& ini, std::string_view bytes) {
    ini.Update([&](IniDocument& doc) { WritePrintBlob(doc, bytes); });
}

std::string ReadPrintBlob(const IniDocument& doc) {
    const int count = doc.ReadInteger(kPrintSection, kPrintChunkCountKey, 0);
    if (count <= 0) return {};
    // Chunks past the last one present would all read as empty.
    int present = 0;
    for (const auto& key : doc.Keys(kPrintSection))
        if (const auto index = NumberedKeyIndex(key, kPrintChunkKeyPrefix); index && *index < count) present = std::max(present, *index + 1);
    std::string digits;
    for (int i = 0; i < present; ++i) digits += doc.ReadString(kPrintSection, ChunkKey(i), "");

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
