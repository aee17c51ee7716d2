#pragma once
// The bracket tools' view of a document: the rows of its row store, each
// tokenized by the document's fountain from the state stored at its start,
// so strings and block comments that span rows are classified right.
#include <memory>
#include <optional>
#include <vector>

#include "lisp/BracketCount.h"
#include "syntax/EditorTokens.h"
#include "syntax/Fountain.h"
#include "text/EditorScreenStrings.h"

namespace quodle {

class TRowLineTokens final : public TLineTokens {
public:
    // Row states are computed on demand, so the rows are not const; both
    // must outlive this object and stay unchanged while it is used.
    TRowLineTokens(TEditorScreenStrings& rows, TFountain& fountain);
    ~TRowLineTokens() override;

    std::size_t LineCount() const override;
    std::string_view Line(std::size_t line) const override;
    void Tokens(std::size_t line, std::vector<TToken>& out) const override;
    std::uint8_t KindAt(std::size_t line, std::size_t offset) const override;

private:
    // The tokens of one row; the last row asked for is kept, since the
    // selection count asks about bracket after bracket of the same row.
    // Rows asked for in order are scanned on from the row before, carrying
    // the tokenizer state, so a count down the document scans each row once.
    const std::vector<TTokenSpan>& Cached(std::size_t row) const;

    TEditorScreenStrings& rows_;
    std::unique_ptr<TFountainParser> parser_;
    mutable std::optional<TRowScanner> scanner_;
    mutable std::size_t cachedRow_ = static_cast<std::size_t>(-1);
    mutable std::vector<TTokenSpan> cached_;
};

}  // namespace quodle
