#include "lisp/RowLineTokens.h"

namespace quodle {

TRowLineTokens::TRowLineTokens(TEditorScreenStrings& rows, TFountain& fountain)
    : rows_(rows), parser_(fountain.CreateParser()) {}

TRowLineTokens::~TRowLineTokens() = default;

std::size_t TRowLineTokens::LineCount() const { return static_cast<std::size_t>(rows_.Count()); }

std::string_view TRowLineTokens::Line(std::size_t line) const { return rows_.View(static_cast<int>(line)); }

void TRowLineTokens::VisitTokens(std::size_t line, const TVisit& visit) const {
    const int row = static_cast<int>(line);
    if (!scanner_ || scanner_->Row() != row) scanner_.emplace(rows_, *parser_, row);
    scanner_->Visit(visit);
}

}  // namespace quodle
