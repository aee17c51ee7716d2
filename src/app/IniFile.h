#pragma once
// The settings file: a plain INI file ("[Section]" lines, "key=value" lines).
// Section and key names compare without regard to ASCII case. Lines the
// program does not know — other sections, other keys, comments, blank lines —
// are kept as they are, in their order, whenever the file is rewritten.
//
// IniFile keeps nothing in memory: every read batch reads the file afresh
// and every write batch re-reads it, changes it and reaches the file before
// it returns, so a window never writes back values that another window (or
// another running copy) has changed since. The text is stored in the
// platform's own encoding (UTF-8 here); a line that is not UTF-8 is read as
// Shift-JIS, the encoding of settings files from the other platform.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Color.h"

namespace quodle {

// The parsed text of one INI file, edited in memory.
class IniDocument {
public:
    IniDocument() = default;
    static IniDocument Parse(std::string_view text);
    // The text to store: every line ended by the line break the file used
    // (LF for a new file).
    std::string Serialize() const;

    // The value of the first key of that name in the first section of that
    // name, with blanks around it removed.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    // Key names of a section in file order.
    std::vector<std::string> Keys(std::string_view section) const;

    // Replaces the value of an existing key (the key keeps its spelling) or
    // adds the key at the end of its section, adding the section at the end
    // of the file when it is missing. Names must be non-empty and may not
    // contain line breaks, "=" or "]"; values may not contain line breaks
    // (either would change the file's structure): std::invalid_argument.
    void SetValue(std::string_view section, std::string_view key, std::string_view value);
    // Removes every line of that key in that section; false when none was there.
    bool DeleteKey(std::string_view section, std::string_view key);
    // Removes every section of that name with all its lines.
    bool DeleteSection(std::string_view section);

    // Typed values. A missing key, and a value that does not parse, give the
    // default.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;
    int ReadInteger(std::string_view section, std::string_view key, int def) const;
    TColor ReadColor(std::string_view section, std::string_view key, TColor def) const;
    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    void WriteBool(std::string_view section, std::string_view key, bool value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteColor(std::string_view section, std::string_view key, TColor value);
    void WriteString(std::string_view section, std::string_view key, std::string_view value);

private:
    enum class LineKind { kOther, kSection, kKey };
    struct Line {
        LineKind kind;
        std::string text;  // the line as stored, without its line break
        std::string name;  // section or key name, trimmed
        bool unreadable;   // neither UTF-8 nor Shift-JIS: kept, never read
    };
    // [begin, end) of the lines after a section's header line.
    struct Range {
        std::size_t header, begin, end;
    };
    std::optional<Range> FindSection(std::string_view section) const;
    std::optional<std::size_t> FindKey(const Range& range, std::string_view key) const;

    std::vector<Line> lines_;
    std::string lineBreak_ = "\n";
    bool byteOrderMark_ = false;
};

// Parses a whole decimal integer with an optional sign; nothing else.
std::optional<int> ParseDecimal(std::string_view text);

// The settings file at one path.
class IniFile {
public:
    explicit IniFile(std::filesystem::path path) : path_(std::move(path)) {}
    const std::filesystem::path& Path() const { return path_; }

    // One read batch: the file as it is now. A missing or unreadable file
    // reads as empty, so every value takes its default.
    IniDocument Read() const;
    // One write batch: reads the file afresh, lets edit change it and writes
    // it back at once (atomically) if anything changed; a missing file is
    // created then. Throws FileError when the file cannot be written, or
    // when it exists but cannot be read (rewriting it would lose its other
    // values).
    void Update(const std::function<void(IniDocument&)>& edit);

    // Single values, each its own batch.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;
    int ReadInteger(std::string_view section, std::string_view key, int def) const;
    TColor ReadColor(std::string_view section, std::string_view key, TColor def) const;
    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    void WriteBool(std::string_view section, std::string_view key, bool value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteColor(std::string_view section, std::string_view key, TColor value);
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void DeleteKey(std::string_view section, std::string_view key);
    void DeleteSection(std::string_view section);

private:
    std::filesystem::path path_;
};

}  // namespace quodle
