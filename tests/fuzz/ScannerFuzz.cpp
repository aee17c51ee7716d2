// libFuzzer target for the LISP scanner: any bytes, split into lines, must
// go through every pass without touching memory it does not own, and keep
// the shape the analyses rely on.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzLines.h"
#include "lisp/LispScanner.h"
#include "lisp/UserFunctions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> lines = quodle::fuzz::SplitAtLineFeeds(data, size);
    const quodle::TCodeLines code = quodle::StripLispSource(lines, 7, nullptr);
    if (code.size() != lines.size()) std::abort();
    for (std::size_t i = 0; i < code.size(); ++i)
        if (code[i].size() > lines[i].size()) std::abort();
    for (const bool padded : {false, true}) {
        for (const auto& record : quodle::CollectDefuns(code, 3, nullptr, padded)) {
            const auto r = quodle::ParseDefunRecord(record);
            if (!r) continue;  // a name with blanks or commas in it
            if (r->Line < 0 || static_cast<std::size_t>(r->Line) >= code.size()) std::abort();
            if (code[static_cast<std::size_t>(r->Line)].substr(static_cast<std::size_t>(r->Col), 1) != "(") std::abort();
            quodle::ExtractDefunArgs(code, r->Line, r->Col);
            quodle::ExtractDefunLocals(code, r->Line, r->Col);
            quodle::ReadCommentBlock(lines, r->Line);
        }
    }
    // The scan that strips a block at a time finds what the whole code gives.
    if (quodle::ScanSortedDefuns(lines, 3, 5, nullptr).Found.ToVector() !=
        quodle::CollectDefuns(code, 0, nullptr, true).ToVector())
        std::abort();
    quodle::BuildUseCounts(lines, nullptr);
    quodle::BuildSearchList(lines, "a", nullptr);
    return 0;
}
