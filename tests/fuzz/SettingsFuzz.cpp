// libFuzzer target for the settings file: any text must parse, store and
// parse again to the same text; then on top of it a sequence of writes and
// deletions of strings, integers, flags, colours and the print blob, with
// names in any letter case. Every value written must read back — from the
// document and from its stored text parsed anew — as written (strings
// without the blanks around them), a deleted one not at all, and a write
// the file cannot hold must be refused without changing anything.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "app/IniFile.h"
#include "app/Settings.h"
#include "base/Text.h"

namespace {

using quodle::IniDocument;

constexpr const char* kSections[] = {"Form", "form", "Editor", "OpenMenuItems", "Print", "print", "X y"};
constexpr const char* kKeys[] = {"Left", "LEFT", "Size", "Count", "Item1", "item1", "para_c", "para_d0", "k"};

std::string Name(FuzzedDataProvider& in, const auto& pool) {
    if (in.ConsumeIntegralInRange<int>(0, 7) == 0) return in.ConsumeRandomLengthString(12);
    return pool[in.ConsumeIntegralInRange<std::size_t>(0, std::size(pool) - 1)];
}

std::string Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return std::string(s);
}

using TKey = std::pair<std::string, std::string>;
TKey KeyOf(const std::string& section, const std::string& key) {
    return {quodle::AsciiUpper(section), quodle::AsciiUpper(key)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    IniDocument doc = IniDocument::Parse(in.ConsumeRandomLengthString(2048));
    const std::string stored = doc.Serialize();
    if (IniDocument::Parse(stored).Serialize() != stored) std::abort();

    // What each touched key must read as; nullopt: deleted.
    std::map<TKey, std::optional<std::string>> expected;
    std::map<TKey, quodle::TColor> colors;
    std::optional<std::string> blob;  // known while nothing else touched [Print]
    for (int op = 0; op < 24 && in.remaining_bytes() > 0; ++op) {
        const int kind = in.ConsumeIntegralInRange<int>(0, 6);
        const std::string section = Name(in, kSections);
        const std::string key = Name(in, kKeys);
        const std::string before = doc.Serialize();
        if (quodle::AsciiEqualsIgnoreCase(section, quodle::settings::kPrintSection) && kind != 6) blob.reset();
        // Any write or deletion replaces a colour written before.
        std::optional<quodle::TColor> keptColor;
        if (const auto it = colors.find(KeyOf(section, key)); it != colors.end()) {
            keptColor = it->second;
            colors.erase(it);
        }
        try {
            switch (kind) {
                case 0: {
                    const std::string value = in.ConsumeRandomLengthString(40);
                    doc.WriteString(section, key, value);
                    expected[KeyOf(section, key)] = Trimmed(value);
                    break;
                }
                case 1: {
                    const int value = in.ConsumeIntegral<int>();
                    doc.WriteInteger(section, key, value);
                    expected[KeyOf(section, key)] = std::to_string(value);
                    if (doc.ReadInteger(section, key, value ^ 1) != value) std::abort();
                    break;
                }
                case 2: {
                    const bool value = in.ConsumeBool();
                    doc.WriteBool(section, key, value);
                    expected[KeyOf(section, key)] = value ? "1" : "0";
                    break;
                }
                case 3: {
                    const auto value = in.ConsumeIntegral<quodle::TColor>();
                    doc.WriteColor(section, key, value);
                    expected[KeyOf(section, key)] = doc.Value(section, key);
                    colors[KeyOf(section, key)] = value;
                    break;
                }
                case 4:
                    doc.DeleteKey(section, key);
                    expected[KeyOf(section, key)] = std::nullopt;
                    break;
                case 5:
                    doc.DeleteSection(section);
                    for (auto& [k, v] : expected)
                        if (k.first == quodle::AsciiUpper(section)) v = std::nullopt;
                    std::erase_if(colors, [&](const auto& c) { return c.first.first == quodle::AsciiUpper(section); });
                    break;
                default: {
                    const std::string bytes = in.ConsumeRandomLengthString(300);
                    quodle::settings::WritePrintBlob(doc, bytes);
                    blob = bytes;
                    // The blob's keys are its own now.
                    std::erase_if(expected, [](const auto& e) { return e.first.first == "PRINT"; });
                    std::erase_if(colors, [](const auto& c) { return c.first.first == "PRINT"; });
                }
            }
        } catch (const std::invalid_argument&) {
            // A name or value the file cannot hold: nothing written.
            if (doc.Serialize() != before) std::abort();
            if (keptColor) colors[KeyOf(section, key)] = *keptColor;
        }
    }

    IniDocument reread = IniDocument::Parse(doc.Serialize());
    for (const IniDocument* d : {&doc, &reread}) {
        for (const auto& [k, v] : expected)
            if (d->Value(k.first, k.second) != v) std::abort();
        for (const auto& [k, c] : colors)
            if (d->ReadColor(k.first, k.second, c ^ 1) != c) std::abort();
        if (blob && quodle::settings::ReadPrintBlob(*d) != *blob) std::abort();
    }
    return 0;
}
