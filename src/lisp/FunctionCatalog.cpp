#include "lisp/FunctionCatalog.h"

#include <cstdint>
#include <string>
#include <vector>

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
    // Each function's lines are made in the order the definitions were
    // found, which is the document's, so its code and comments are read
    // front to back; in sorted order every function would be a jump across
    // a large document. The sorted catalogue then gathers them. A list of
    // records fits 32-bit indices (the sort holds to that), and so do these.
    TTextLines parts;
    std::vector<std::uint32_t> firstPart(scan.Found.size() + 1);
    std::size_t functions = 0;
    std::string entry;
    TCommentBlock block;
    TLineStripper code(lines);
    for (std::size_t k = 0; k < scan.Found.size(); ++k) {
        firstPart[k] = static_cast<std::uint32_t>(parts.size());
        const auto r = ParseDefunRecord(scan.Found[k]);
        if (!r || r->Nested) continue;
        ++functions;
        // A function without arguments keeps the blank after its name.
        entry = kEntryMark;
        entry += r->Name;
        entry += ' ';
        code.Seek(static_cast<std::size_t>(r->Line), scan.LineStates.At(k));
        AppendDefunArgs(entry, code, r->Col);
        parts.push_back(entry);
        if (!ReadCommentBlock(lines, r->Line, block)) continue;
        for (const std::string_view piece : SplitCrLf(block.Text)) {
            const std::string_view comment = TrimBlanks(piece);
            if (comment.empty()) continue;
            entry = '\t';
            entry += comment;
            parts.push_back(entry);
        }
    }
    firstPart.back() = static_cast<std::uint32_t>(parts.size());
    const std::string fileLine = kFileLabel + std::string(fileName);
    const std::string stampLine = kStampLabel + std::string(stamp);
    catalog.reserve(kTitleLine.size() + fileLine.size() + stampLine.size() + kClosingLine.size() +
                        functions * kSeparator.size() + parts.TextSize(),
                    4 + functions + parts.size());
    catalog.push_back(kTitleLine);
    catalog.push_back(fileLine);
    catalog.push_back(stampLine);
    catalog.push_back(kClosingLine);
    for (const std::uint32_t k : scan.Order) {
        if (firstPart[k] == firstPart[k + 1]) continue;  // nested, or no record
        catalog.push_back(kSeparator);
        for (std::size_t j = firstPart[k]; j < firstPart[k + 1]; ++j) catalog.push_back(parts[j]);
    }
    return catalog;
}

}  // namespace quodle
