#pragma once
// Fountains describe how text is coloured (multi-row brackets, reserved
// words, colours); their parsers cut rows into tokens and carry the row
// states that let colouring resume at any row.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/FileExtComponent.h"
#include "base/NotifyPersistent.h"
#include "base/SortedStringList.h"
#include "syntax/FountainColor.h"
#include "syntax/TokenKinds.h"
#include "text/RowParseState.h"

namespace quodle {

class TFountainParser;

// Every change of the fountain or of one of its parts (colours, brackets,
// word lists) goes to each subscriber with the changed object as sender; a
// change inside BeginUpdate/EndUpdate of the fountain is reported once, with
// the fountain as sender.
class TFountain : public TNotifyPersistent, public TFileExtComponent {
public:
    TFountain();
    ~TFountain() override;

    TFountainBracketCollection& Brackets() { return *brackets_; }
    const TFountainBracketCollection& Brackets() const { return *brackets_; }
    TFountainColor& Reserve() { return reserve_; }
    const TFountainColor& Reserve() const { return reserve_; }
    TFountainColor& Reserve2() { return reserve2_; }
    const TFountainColor& Reserve2() const { return reserve2_; }
    TSortedStringList& ReserveWordList() { return reserveWordList_; }
    const TSortedStringList& ReserveWordList() const { return reserveWordList_; }
    TSortedStringList& ReserveWordList2() { return reserveWordList2_; }
    const TSortedStringList& ReserveWordList2() const { return reserveWordList2_; }

    // A parser of this fountain's own class, for one scan.
    virtual std::unique_ptr<TFountainParser> CreateParser();
    // The parser an editor hands the row store for keeping row states
    // (TEditorClient::RowStateParser); made anew after every change.
    TFountainParser& StateParser();

    void Subscribe(const void* subscriber, TNotifyEventList::THandler handler);
    void Unsubscribe(const void* subscriber);
    const TNotifyEventList& NotifyEventList() const { return notifyEventList_; }

protected:
    explicit TFountain(std::unique_ptr<TFountainBracketCollection> brackets);
    // Routes the changes of a part to the subscribers.
    void Watch(TNotifyPersistent& part);
    // Every change of the fountain or a part: parsers made before it are stale.
    void FountainChanged(TNotifyPersistent& sender);
    void DoChange(TNotifyPersistent& sender) override { notifyEventList_.Notify(sender); }

private:
    TNotifyEventList notifyEventList_;
    std::unique_ptr<TFountainBracketCollection> brackets_;
    TFountainColor reserve_;
    TFountainColor reserve2_;
    TSortedStringList reserveWordList_;
    TSortedStringList reserveWordList2_;
    std::unique_ptr<TFountainParser> stateParser_;
};

// One token of a row as a scan reports it.
struct TTokenSpan {
    std::size_t Pos = 0;
    std::size_t Length = 0;
    TTokenKind Kind = tokEnd;
    bool Continued = false;           // continues a token cut at the end of the previous row
    std::int16_t BracketIndex = -1;  // the bracket item of a tokBracket token
    bool operator==(const TTokenSpan&) const = default;
};

// The next row as ParseRow needs it when the scanned row is soft-wrapped.
struct TNextRow {
    std::string_view Text;
    std::uint8_t RowEnding = reBreak;
};

// A short-lived tokenizer bound to its fountain. Dispatch is by tables on
// the first byte of a token (and on the kind of a token continued from the
// previous row); no scan allocates per token. Parsers copy what they need
// of the fountain when created: a fountain change needs a new parser.
class TFountainParser : public TRowStateParser {
public:
    // A null fountain raises TFountainError.
    explicit TFountainParser(TFountain* fountain);
    ~TFountainParser() override;

    TFountain& Fountain() const { return *fountain_; }

    // Starts a scan of text from a row state.
    void NewData(std::string_view text, const TRowParseState& state);
    // Scans the next token; tokEnd once the text is exhausted.
    TTokenKind NextToken();
    TTokenKind Token() const { return token_; }
    std::size_t SourcePos() const { return tokStart_; }
    std::size_t TokenLength() const { return tokEnd_ - tokStart_; }
    std::string_view TokenString() const { return text_.substr(tokStart_, tokEnd_ - tokStart_); }
    // The region the scan is in now: -1 none, 0..13 a bracket item, -2 when
    // the scan started from a state not computed (brackets never open then).
    int BracketIndex() const { return bracketIndex_; }
    // The bracket item of the last tokBracket token.
    int TokenBracketIndex() const { return tokenBracket_; }
    // Whether the current token continues a token of the previous row.
    bool TokenContinued() const { return continued_; }
    TTokenSpan CurrentToken() const {
        return {tokStart_, tokEnd_ - tokStart_, token_, continued_,
                static_cast<std::int16_t>(token_ == tokBracket ? tokenBracket_ : -1)};
    }

    bool IsReserveWord() const;
    bool IsReserveWord2() const;
    // The colour of the current token (none: the editor's defaults).
    const TFountainColor* TokenToFountainColor() const;
    // The colour of a token of text: reserved words first (except for
    // brackets, comments and continued tokens), then by kind.
    const TFountainColor* TokenColor(const TTokenSpan& token, std::string_view text) const;
    // The colour of a kind alone; bracketIndex picks the bracket item.
    virtual const TFountainColor* KindColor(TTokenKind kind, int bracketIndex) const;

    // Scans a row from `state`, the state at the start of rowText, a batch
    // of tokens at a time, so that a scan takes the same memory however long
    // the row is. next is the following row, if any (needed only when the
    // row is soft-wrapped). BeginRow gives the first tokens that start in
    // the row and each NextTokens() the next ones, cut at its end (at most
    // kTokenBatch of them, valid until the next call); an empty span ends
    // the row, and `state`, which must outlive the scan, then holds the
    // state at the start of the next row. A caller that stops early leaves
    // `state` as it was.
    static constexpr std::size_t kTokenBatch = 1024;
    std::span<const TTokenSpan> BeginRow(std::string_view rowText, const TNextRow* next, TRowParseState& state);
    std::span<const TTokenSpan> NextTokens();
    // The whole row in one span (every batch of BeginRow/NextTokens), valid
    // until the next scan; `state` becomes the next row's.
    std::span<const TTokenSpan> ParseRow(std::string_view rowText, const TNextRow* next, TRowParseState& state);
    // The row store's view of ParseRow: no next row; the result's
    // PrevRowEnding is the scanned row's RowEnding.
    TRowParseState ScanRow(std::string_view rowText, const TRowParseState& start) override;
    TRowParseState ScanWrappedRow(std::string_view rowText, const TRowParseState& start, std::string_view nextText,
                                  std::uint8_t nextEnding) override;

private:
    // BeginRow, inlined into the parser's own scans of a row.
    std::span<const TTokenSpan> FirstBatch(std::string_view rowText, const TNextRow* next, TRowParseState& state);
    // BeginRow's set-up of a scan a batch at a time.
    void StartRow(std::string_view rowText, const TNextRow* next, TRowParseState& state);
    // Reads the row begun by BeginRow (which gave `first`) to its end,
    // counting its brackets while asked to.
    void ReadRowOut(std::string_view rowText, std::span<const TTokenSpan> first);

protected:
    // The dispatch steps of TEditorParser; the base parser has none of them.
    struct TEditorRules {
        std::string Commenter;
        int Quotation = -1;  // the quote byte, -1 for no strings
        bool ControlCode = false;
        std::string HexPrefix;  // upper-cased
        bool Mail = false;
        bool Url = false;
    };
    void SetEditorRules(TEditorRules rules);
    // 256 flags: the bytes a word may continue with.
    void SetWordChars(const bool* table) { wordChars_ = table; }

private:
    struct TBracketRule {
        std::string Left;
        std::string Right;
    };
    // A token found at a position: where it ends and its kind.
    struct TScan {
        std::size_t End;
        TTokenKind Kind;
    };

    void BuildStartTables();
    // NewData; lacksKey: the caller vouches the text holds no KeyByte().
    void StartScan(std::string_view text, const TRowParseState& state, bool lacksKey);
    // Scans tokens from p on into [out, outEnd); p is left where the next
    // call goes on. `done` once the row's tokens are all out.
    template <bool kMayCut>
    TTokenSpan* ScanTokens(std::size_t& p, std::size_t rowEnd, TTokenSpan* out, TTokenSpan* outEnd,
                           int& bracketAfter, bool& done);
    // The state at the start of the next row, once the row is scanned;
    // `last` is the last token given out (a cut token it may recolour).
    void FinishRow(TTokenSpan* last);
    TScan ScanAt(std::size_t p);
    TScan ScanCarried(std::size_t p);
    TScan ScanContinued(std::size_t p, TTokenKind kind, int bytes);
    bool TryRules(std::size_t p, std::uint8_t rules, TScan& out);
    bool TryBracket(std::size_t p, TScan& out);
    // proc: a procedure of the first-byte tables.
    TScan ScanByProc(std::size_t p, std::uint8_t proc);
    TScan ScanBracketBody(std::size_t p);
    std::size_t QuotedEnd(std::size_t p) const;
    std::size_t NumberEnd(std::size_t p, TTokenKind& kind) const;
    bool MailEndAt(std::size_t p, std::size_t& end);
    std::size_t UrlPrefixAt(std::size_t p) const;
    std::size_t WideRunEnd(std::size_t p, TTokenKind kind) const;
    std::size_t KanjiRunEnd(std::size_t p) const;
    std::size_t RunEnd(std::size_t p, const bool* table) const;
    std::size_t CharLength(std::size_t p) const;
    bool StartsWith(std::size_t p, std::string_view s) const;

    TFountain* fountain_;
    std::vector<TBracketRule> brackets_;
    TEditorRules rules_;
    const bool* wordChars_;
    // Per byte, which dispatch steps may match there, and the procedure to
    // run; the second tables leave out mail addresses, for rows without '@'.
    std::array<std::uint8_t, 256> startTable_{};
    std::array<std::uint8_t, 256> startTableNoMail_{};
    std::array<std::uint8_t, 256> dispatchTable_{};
    std::array<std::uint8_t, 256> dispatchTableNoMail_{};
    const std::uint8_t* start_ = nullptr;
    const std::uint8_t* dispatch_ = nullptr;

    std::string_view text_;
    const unsigned char* bytes_ = nullptr;
    std::size_t pos_ = 0;
    std::size_t tokStart_ = 0;
    std::size_t tokEnd_ = 0;
    std::size_t mailFailEnd_ = 0;  // no mail address starts before this
    TTokenKind token_ = tokEnd;
    int bracketIndex_ = -1;
    int tokenBracket_ = -1;
    std::uint8_t wrappedToken_ = 0;
    int wrappedBytes_ = 0;
    bool continued_ = false;
    std::string scratch_;  // a wrapped row with its next row appended
    // The row being scanned by BeginRow/NextTokens.
    enum class TRowPhase : std::uint8_t { rpDone, rpComment, rpTokens };
    TRowPhase rowPhase_ = TRowPhase::rpDone;
    TRowParseState* rowState_ = nullptr;
    std::size_t rowEnd_ = 0;
    std::size_t rowPos_ = 0;
    int rowBracketAfter_ = -1;
    std::uint8_t nextEnding_ = reBreak;
    std::unique_ptr<TTokenSpan[]> batch_;
    std::vector<TTokenSpan> rowTokens_;  // ParseRow's
};

}  // namespace quodle
