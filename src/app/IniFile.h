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
//
// A file is indexed once when it is read: finding, changing and adding a
// value costs the same in a file of ten lines as in one of a million, so a
// damaged or hostile settings file costs no more than reading it.
#include <cstdint>
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
    static IniDocument Parse(std::string text);
    // The text to store: every line ended by the line break the file used
    // (LF for a new file).
    std::string Serialize() const;
    // Whether an edit changed the text since it was parsed.
    bool Changed() const { return changed_; }

    // The value of the first key of that name in the first section of that
    // name, with blanks around it removed. A line that could not be decoded
    // reads as missing.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    // Key names of the first section of that name, in file order.
    std::vector<std::string> Keys(std::string_view section) const;

    // Replaces the value of an existing key (the key keeps its spelling) or
    // adds the key after the last key of its section, adding the section at
    // the end of the file when it is missing. Names must be non-empty and
    // may not contain line breaks, "=" or "]"; values may not contain line
    // breaks (either would change the file's structure); names and values
    // must be UTF-8 (others would not read back): std::invalid_argument.
    void SetValue(std::string_view section, std::string_view key, std::string_view value);
    // Removes every line of that key in every section of that name; false
    // when none was there.
    bool DeleteKey(std::string_view section, std::string_view key);
    // Removes, in one pass, every key of the sections of that name whose
    // name `doomed` accepts; false when none was there.
    bool DeleteKeys(std::string_view section, const std::function<bool(std::string_view key)>& doomed);
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
    enum class LineKind : std::uint8_t { kOther, kSection, kKey };
    // A line's text and name are places in store_, which holds the file as
    // read and, after it, every line the program wrote: reading a large
    // file costs no allocation per line.
    struct Line {
        std::size_t text = 0, textSize = 0;
        std::size_t name = 0, nameSize = 0;  // section or key name, trimmed
        LineKind kind = LineKind::kOther;
        bool unreadable = false;  // neither UTF-8 nor Shift-JIS: kept, never read
    };
    // The first position of every name (ASCII case ignored), by open
    // addressing; the names stay in the lines.
    class NameTable {
    public:
        template <class NameOf>
        std::optional<std::size_t> Find(std::string_view name, const NameOf& nameOf) const;
        // Keeps the earlier position when the name is there already.
        template <class NameOf>
        void Insert(std::size_t position, const NameOf& nameOf);
        void Clear() { slots_.clear(), used_ = 0; }

    private:
        std::vector<std::uint64_t> slots_;  // hash tag, position + 1; 0 is free
        std::size_t used_ = 0;
    };
    // A section line and what follows it up to the next one. `body` ends
    // with the section's last key, so a new key is appended there; the
    // comments and blank lines after that key lead into the next section
    // and stay in `tail`.
    struct Section {
        std::optional<Line> header;  // none for the lines before the first section
        std::vector<Line> body;
        std::vector<Line> tail;
        NameTable keys;  // positions in body
    };

    std::string_view Text(const Line& line) const { return std::string_view(store_).substr(line.text, line.textSize); }
    std::string_view Name(const Line& line) const { return std::string_view(store_).substr(line.name, line.nameSize); }
    // Classifies a line whose text stands at [text, text + size) of store_.
    Line Classify(std::size_t text, std::size_t size) const;
    // A line the program writes, appended to store_.
    Line NewLine(LineKind kind, std::string_view name, std::string_view text);
    void IndexKeys(Section& section) const;
    void IndexSections();
    const Section* FindSection(std::string_view section) const;
    Section* FindSection(std::string_view section);

    std::string store_;
    std::vector<Section> sections_;
    NameTable sectionIndex_;  // positions in sections_
    std::string lineBreak_ = "\n";
    bool byteOrderMark_ = false;
    bool changed_ = false;
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
