#pragma once
// Components that keep their published properties in the settings file: a
// component writes each property as a named record and reads back the ones
// it knows. Records are "Name=Value" lines; a name of a sub-object's value
// is dotted ("Caret.TabIndent"). A record the reader does not know (written
// by a newer version) is passed over, and a missing or malformed one leaves
// the property as it was, so a stored set never fails to load.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/Color.h"

namespace quodle {

class TPropertyWriter {
public:
    void Write(std::string_view name, std::string_view value);
    void Write(std::string_view name, const char* value) { Write(name, std::string_view(value)); }
    void Write(std::string_view name, bool value) { Write(name, value ? "1" : "0"); }
    void Write(std::string_view name, int value) { Write(name, std::to_string(value)); }
    void WriteColor(std::string_view name, TColor value) { Write(name, ColorToString(value)); }
    // Name.Count and Name.0, Name.1, …
    void WriteList(std::string_view name, const std::vector<std::string>& items);
    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
};

class TPropertyReader {
public:
    explicit TPropertyReader(std::string_view bytes);
    // Each leaves `value` untouched and returns false when the record is
    // missing or does not parse.
    bool Read(std::string_view name, std::string& value) const;
    bool Read(std::string_view name, bool& value) const;
    bool Read(std::string_view name, int& value) const;
    // A colour that names no colour counts as malformed.
    bool ReadColor(std::string_view name, TColor& value) const;
    bool ReadList(std::string_view name, std::vector<std::string>& items) const;
    // An enumeration stored as its number, accepted only up to `last`.
    template <class E>
    bool ReadEnum(std::string_view name, E& value, E last) const {
        int n = 0;
        if (!Read(name, n) || n < 0 || n > static_cast<int>(last)) return false;
        value = static_cast<E>(n);
        return true;
    }

private:
    const std::string* Find(std::string_view name) const;
    std::unordered_map<std::string, std::string> values_;
};

// Most records a list may hold when read back; a damaged count costs no more.
inline constexpr int kMaxStoredListItems = 100000;

class TStoreComponent {
public:
    virtual ~TStoreComponent() = default;

    virtual void WriteProperties(TPropertyWriter& writer) const = 0;
    virtual void ReadProperties(const TPropertyReader& reader) = 0;

    // The component's records as bytes, and read back from them.
    std::string StoreBytes() const;
    void LoadBytes(std::string_view bytes);

    bool operator==(const TStoreComponent&) const = default;

protected:
    TStoreComponent() = default;
    TStoreComponent(const TStoreComponent&) = default;
    TStoreComponent& operator=(const TStoreComponent&) = default;
};

}  // namespace quodle
