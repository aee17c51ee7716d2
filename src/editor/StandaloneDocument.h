#pragma once
// A document without a window: its row store, owned by a client that does
// nothing but hand the row store its fountain's state parser, so row states
// are computed on demand exactly as in an editor. For the command line and
// the benchmarks, which must see the text as the program sees it.
#include <filesystem>
#include <memory>
#include <string_view>

#include "syntax/Fountain.h"
#include "text/EditorClient.h"
#include "text/EditorScreenStrings.h"

namespace quodle {

class TStandaloneDocument final : private TEditorClient {
public:
    // Without a fountain the rows carry no states (plain text work).
    explicit TStandaloneDocument(std::unique_ptr<TFountain> fountain = nullptr);
    ~TStandaloneDocument() override;
    TStandaloneDocument(const TStandaloneDocument&) = delete;
    TStandaloneDocument& operator=(const TStandaloneDocument&) = delete;

    // Throws EFileError.
    TLoadResult LoadFromFile(const std::filesystem::path& path, TReadEncoding encoding = TReadEncoding::Detect);
    void SetText(std::string_view text);

    TEditorScreenStrings& Rows() { return rows_; }
    const TEditorScreenStrings& Rows() const { return rows_; }
    // Null when made without one.
    TFountain* Fountain() { return fountain_.get(); }
    // Keeps bracket depths, as an editor showing them does.
    void SetBracketDepths(bool on) {
        depths_ = on;
        rows_.RefreshBracketDepths();
    }

private:
    int CaretRow() const override { return 0; }
    int CaretCol() const override { return 0; }
    int TopRow() const override { return 0; }
    void PlaceCaret(int, int) override {}
    void SetTopRow(int) override {}
    void Deselect() override {}
    void CaretBeginUpdate() override {}
    void CaretEndUpdate() override {}
    bool HasFocus() const override { return false; }
    void InvalidateRows(int, int) override {}
    void InvalidateAll() override {}
    void UpdateBlockBegin() override {}
    void UpdateBlockEnd() override {}
    void RowsChanged(bool) override {}
    // No screen: no look-ahead; states come when a row is asked for.
    int ScreenHeight() const override { return 0; }
    int RowHeight() const override { return 0; }
    TRowStateParser* RowStateParser() override { return fountain_ ? &fountain_->StateParser() : nullptr; }
    bool InitBracketsFull() const override { return false; }
    bool WantsBracketDepths() const override { return depths_; }

    std::unique_ptr<TFountain> fountain_;
    TEditorScreenStrings rows_;
    bool depths_ = false;
};

}  // namespace quodle
