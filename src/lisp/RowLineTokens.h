#pragma once
// The bracket tools' view of a document: the rows of its row store, each
// tokenized by the document's fountain from the state stored at its start,
// so strings and block comments that span rows are classified right.
#include <memory>
#include <optional>

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
    // Rows asked for in order are scanned on from the row before, carrying
    // the tokenizer state, so a count down the document scans each row once.
    void VisitTokens(std::size_t line, const TVisit& visit) const override;

private:
    TEditorScreenStrings& rows_;
    std::unique_ptr<TFountainParser> parser_;
    mutable std::optional<TRowScanner> scanner_;
};

}  // namespace quodle
