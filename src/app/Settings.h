#pragma once
// Every section and key of the settings file with its type and its design
// default, so that no caller spells a key name or a default twice:
//
//     IniDocument doc = ini.Read();                 // one read batch
//     int size = settings::Read(doc, settings::kFontSize);
//     ini.Update([&](IniDocument& d) {              // one write batch
//         settings::Write(d, settings::kHintShowHint, showHint);
//     });
//
// Text values are kept in the file as UTF-8, the platform's own encoding:
// the font name, the load command's caption and the reopen paths are user-
// interface strings and are used as they are. `Except`/`String3` is a name
// prefix that the variable check compares with Shift-JIS source text; the
// caller converts it with Utf8ToCp932 before handing it to the analysis.
#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/IniFile.h"
#include "cad/TargetWindows.h"
#include "base/Color.h"
#include "editor/EditorOptions.h"

namespace quodle::settings {

// Every key carries the values a reader accepts, so that a damaged or
// hand-edited file can never hand the program a value it cannot work with (a
// tab two thousand million cells wide, a font no screen holds): an integer
// outside [min, max] is brought to the nearer end, a colour that names no
// colour and a text longer than maxBytes read as the default. Every reader
// goes through Read below.
struct BoolKey {
    std::string_view section, name;
    bool def;
};
struct IntKey {
    std::string_view section, name;
    int def;
    int min, max;
};
struct ColorKey {
    std::string_view section, name;
    TColor def;
};
struct StringKey {
    std::string_view section, name;
    std::string_view def;
    std::size_t maxBytes;
};

// The limits, shared with the code that offers or applies the values.
inline constexpr int kMaxWindowCoordinate = 32767;  // beyond any desktop; see PlaceWindow
inline constexpr int kMaxMarginLine = 32;  // the settings dialog offers 0 to 10
inline constexpr int kMaxReopenEntries = 12;
// A longer reopen list is read whole, up to this many entries: beyond any
// list people keep, small enough that a damaged Count costs nothing.
inline constexpr int kMaxReadReopenEntries = 100;
inline constexpr std::size_t kMaxNameBytes = 256;   // font names, captions, prefixes
inline constexpr std::size_t kMaxPathBytes = 4096;  // reopen entries (PATH_MAX)
// The most chunks of a stored blob read back: 1 MiB, far more than the
// print settings or an editor's property set take.
inline constexpr int kMaxBlobChunks = 32768;

//                                        section   key              default        accepted
// Window position. The default centres the window: see CenteredOrigin.
inline constexpr IntKey kFormLeft{"Form", "Left", 0, -kMaxWindowCoordinate, kMaxWindowCoordinate};
inline constexpr IntKey kFormTop{"Form", "Top", 0, -kMaxWindowCoordinate, kMaxWindowCoordinate};
// Written at shutdown, never read back.
inline constexpr IntKey kFormWidth{"Form", "Width", 0, 0, kMaxWindowCoordinate};
inline constexpr IntKey kFormHeight{"Form", "Height", 0, 0, kMaxWindowCoordinate};

inline constexpr BoolKey kCadAcad{"CAD", "ACAD", true};
inline constexpr BoolKey kCadIcad{"CAD", "ICAD", false};
inline constexpr BoolKey kCadZcad{"CAD", "ZCAD", false};
inline constexpr BoolKey kCadBcad{"CAD", "BCAD", false};
inline constexpr StringKey kCadCaption{"CAD", "CAPT", "AutoCADへロード", kMaxNameBytes};
// The four target flags in the order of the ターゲットCAD menu.
inline constexpr const BoolKey* kCadTargetKeys[] = {&kCadAcad, &kCadIcad, &kCadZcad, &kCadBcad};
// The windows F9 looks for, per target: class and title patterns (the
// defaults of TTargetWindows where a key is missing). Read at every load,
// so that an edited file counts at once; never written.
inline constexpr StringKey kCadAcadClass{"CAD", "ACADClass", "", kMaxNameBytes};
inline constexpr StringKey kCadAcadTitle{"CAD", "ACADTitle", "", kMaxNameBytes};
inline constexpr StringKey kCadAcadTextClass{"CAD", "ACADTextClass", "", kMaxNameBytes};
inline constexpr StringKey kCadAcadTextTitle{"CAD", "ACADTextTitle", "", kMaxNameBytes};
inline constexpr StringKey kCadIcadClass{"CAD", "ICADClass", "", kMaxNameBytes};
inline constexpr StringKey kCadIcadTitle{"CAD", "ICADTitle", "", kMaxNameBytes};
inline constexpr StringKey kCadZcadClass{"CAD", "ZCADClass", "", kMaxNameBytes};
inline constexpr StringKey kCadZcadTitle{"CAD", "ZCADTitle", "", kMaxNameBytes};
inline constexpr StringKey kCadBcadClass{"CAD", "BCADClass", "", kMaxNameBytes};
inline constexpr StringKey kCadBcadTitle{"CAD", "BCADTitle", "", kMaxNameBytes};

inline constexpr StringKey kFontName{"Font", "Name", "ＭＳ ゴシック", kMaxNameBytes};
inline constexpr IntKey kFontSize{"Font", "Size", 10, kMinFontSize, kMaxFontSize};
inline constexpr ColorKey kFontColor{"Font", "Color", clWindowText};
inline constexpr ColorKey kFontBkColor{"Font", "BkColor", clWindow};

inline constexpr ColorKey kLeftBarColor{"LeftBar", "Color", clGray};
inline constexpr ColorKey kLeftBarBkColor{"LeftBar", "BkColor", clWhite};

inline constexpr ColorKey kColorReserve{"Color", "Reserve", clBlack};
inline constexpr ColorKey kColorReserve2{"Color", "Reserve2", clBlue};
inline constexpr ColorKey kColorComment{"Color", "Comment", clGray};
inline constexpr ColorKey kColorString{"Color", "String", clRed};
inline constexpr ColorKey kColorSelect{"Color", "Select", clWhite};
inline constexpr ColorKey kColorSelectBk{"Color", "SelectBk", 0x00FF8000};
inline constexpr ColorKey kColorTitle{"Color", "Title", clBlue};
inline constexpr ColorKey kColorTitleBk{"Color", "TitleBk", clAqua};

inline constexpr BoolKey kEditorAutoIndent{"Editor", "AutoIndent", true};
inline constexpr BoolKey kEditorTabIndent{"Editor", "TabIndent", true};
inline constexpr BoolKey kEditorSoftTab{"Editor", "SoftTab", false};
inline constexpr IntKey kEditorTabSpaceCount{"Editor", "TabSpaceCount", 4, kMinTabSpaceCount, kMaxTabSpaceCount};
inline constexpr IntKey kEditorMarginLine{"Editor", "MarginLine", 0, 0, kMaxMarginLine};

inline constexpr BoolKey kHintShowHint{"Hint", "ShowHint", true};
inline constexpr BoolKey kHintShowUser{"Hint", "ShowUser", true};
inline constexpr BoolKey kSysVarShowBold{"SysVar", "ShowBold", true};
inline constexpr BoolKey kBackupFileCheck{"BackupFile", "Check", true};

// The reopen list (OpenMenuList.h reads and writes it): Item0, Item1, …
inline constexpr std::string_view kOpenMenuItemsSection = "OpenMenuItems";
inline constexpr IntKey kOpenMenuItemsCount{"OpenMenuItems", "Count", 0, 0, kMaxReadReopenEntries};
inline constexpr StringKey kOpenMenuItem{"OpenMenuItems", "Item", "", kMaxPathBytes};  // name: the prefix

inline constexpr BoolKey kExceptCheck1{"Except", "Check1", true};
inline constexpr BoolKey kExceptCheck2{"Except", "Check2", true};
inline constexpr BoolKey kExceptCheck3{"Except", "Check3", false};
inline constexpr StringKey kExceptString3{"Except", "String3", "", kMaxNameBytes};

// Stored components' blobs (WriteBlob / ReadBlob), one section each: the
// chunks para_d0, para_d1, …, their number under para_c.
inline constexpr std::string_view kPrintSection = "Print";
inline constexpr std::string_view kEditorPropSection = "EditorProp";  // the template of new editors
inline constexpr IntKey kBlobChunkCount{"", "para_c", 0, 0, kMaxBlobChunks};
inline constexpr std::size_t kBlobChunkDigits = 64;
inline constexpr StringKey kBlobChunk{"", "para_d", "", kBlobChunkDigits};  // name: the prefix

// N of a key named prefix + N as the program writes it (decimal, no sign, no
// leading zero; the prefix in any letter case), or nothing for other keys.
std::optional<int> NumberedKeyIndex(std::string_view key, std::string_view prefix);

// A missing key or an unreadable value gives the key's default, or the
// given one (for the window position and for values whose default is the
// current state of an object); a value outside what the key accepts is
// treated as above.
inline bool Read(const IniDocument& doc, const BoolKey& k, bool def) { return doc.ReadBool(k.section, k.name, def); }
inline int Read(const IniDocument& doc, const IntKey& k, int def) {
    return std::clamp(doc.ReadInteger(k.section, k.name, def), k.min, k.max);
}
inline TColor Read(const IniDocument& doc, const ColorKey& k, TColor def) {
    const TColor color = doc.ReadColor(k.section, k.name, def);
    return IsStoredColor(color) ? color : def;
}
std::string Read(const IniDocument& doc, const StringKey& k, std::string_view def);
// A numbered key of a StringKey family (Item0, Item1, …), or nothing when
// it is missing or too long.
std::optional<std::string> ReadNumbered(const IniDocument& doc, const StringKey& k, std::size_t index);

inline bool Read(const IniDocument& doc, const BoolKey& k) { return Read(doc, k, k.def); }
inline int Read(const IniDocument& doc, const IntKey& k) { return Read(doc, k, k.def); }
inline TColor Read(const IniDocument& doc, const ColorKey& k) { return Read(doc, k, k.def); }
inline std::string Read(const IniDocument& doc, const StringKey& k) { return Read(doc, k, k.def); }

inline void Write(IniDocument& doc, const BoolKey& k, bool v) { doc.WriteBool(k.section, k.name, v); }
inline void Write(IniDocument& doc, const IntKey& k, int v) { doc.WriteInteger(k.section, k.name, v); }
inline void Write(IniDocument& doc, const ColorKey& k, TColor v) { doc.WriteColor(k.section, k.name, v); }
inline void Write(IniDocument& doc, const StringKey& k, std::string_view v) { doc.WriteString(k.section, k.name, v); }

// The windows of the load targets as the file names them.
TTargetWindows ReadTargetWindows(const IniDocument& doc);

// The default window origin along one axis: centred, integer division
// truncating towards zero (a window larger than the screen gets a negative
// origin).
constexpr int CenteredOrigin(int screenExtent, int windowExtent) { return (screenExtent - windowExtent) / 2; }

// Where the settings file lives: beside the executable, with its base name
// and ".ini", when that folder can be written to and the program is not
// installed; otherwise the same file name in $XDG_CONFIG_HOME/quodle/
// (~/.config/quodle/ by default), whose folder is created here. A settings
// file that could never be saved would lose every change silently, and an
// installed program must not write into a system folder even where it may.
std::filesystem::path SettingsFilePath(const std::filesystem::path& executablePath);

// A stored blob in its section: each byte as two upper-case hexadecimal
// digits, cut into chunks of 64 digits under para_d0, para_d1, …, their
// number under para_c. Chunk keys beyond a smaller new count are deleted; an
// empty blob deletes para_c and writes nothing.
void WriteBlob(IniDocument& doc, std::string_view section, std::string_view bytes);
// The stored blob, or an empty string. para_c that does not parse counts as
// 0, a missing chunk reads as empty and a digit pair that does not parse
// gives the byte 0; the count and the chunks are read as the keys accept
// them (at most kMaxBlobChunks chunks, a longer chunk reads as missing).
std::string ReadBlob(const IniDocument& doc, std::string_view section);

// The print settings' blob.
inline void WritePrintBlob(IniDocument& doc, std::string_view bytes) { WriteBlob(doc, kPrintSection, bytes); }
void WritePrintBlob(IniFile& ini, std::string_view bytes);  // one write batch; throws FileError
inline std::string ReadPrintBlob(const IniDocument& doc) { return ReadBlob(doc, kPrintSection); }
std::string ReadPrintBlob(const IniFile& ini);

}  // namespace quodle::settings
