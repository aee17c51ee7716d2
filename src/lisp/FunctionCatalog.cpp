#include "lisp/FunctionCatalog.h"

#include <string>

#include "base/ShiftJis.h"
#include "base/Text.h"
#include "lisp/LispScanner.h"

namespace quodle {

namespace {

const std::string kTitleLine = Utf8ToCp932("■ LISP関数カタログ ******************************");
const std::string kFileLabel = Utf8ToCp932(" ファイル : ");
const std::string kStampLabel = Utf8ToCp932(" 作成日時 : ");
const std::string kClosingLine = Utf8ToCp932("*********************************************** ■");
const std::string kEntryMark = Utf8ToCp932("■");
constexpr std::string_view kSeparator = "--------------------------------------------------";

}  // namespace

TTextLines BuildCatalog(TLineList lines, std::string_view fileName, std::string_view stamp, TProgressSink* progress) {
    const TProgressReset reset(progress);
    const TSortedDefuns scan = ScanSortedDefuns(lines, 80, 20, progress);
    TTextLines catalog;
    if (scan.Records().empty()) return catalog;
    catalog.push_back(kTitleLine);
    catalog.push_back(kFileLabel + std::string(fileName));
    catalog.push_back(kStampLabel + std::string(stamp));
    catalog.push_back(kClosingLine);
    std::string entry;
    for (const auto& text : scan.Records()) {
        const auto r = ParseDefunRecord(text);
        if (!r || r->Nested) continue;
        catalog.push_back(kSeparator);
        // A function without arguments keeps the blank after its name.
        entry = kEntryMark;
        entry += r->Name;
        entry += ' ';
        entry += DefunArgsText(scan.Code, r->Line, r->Col);
        catalog.push_back(entry);
        const auto block = ReadCommentBlock(lines, r->Line);
        if (!block) continue;
        for (const std::string_view piece : SplitCrLf(block->Text)) {
            const std::string_view comment = TrimBlanks(piece);
            if (comment.empty()) continue;
            entry = '\t';
            entry += comment;
            catalog.push_back(entry);
        }
    }
    return catalog;
}

}  // namespace quodle
