#pragma once
// The language server: the lifecycle, the documents a client opens, and
// the requests it answers from the program's own analyses. Messages come in
// as bodies (Framing.h takes them out of the byte stream) and go out
// through a sink the caller gives, framed; notes for the log go to another.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/WordLists.h"
#include "lisp/BracketCount.h"
#include "lsp/LspDocument.h"
#include "lsp/Protocol.h"
#include "lsp/Workspace.h"

namespace quodle::lsp {

// What the server is started with: the word lists as the window loads them
// and the variable check's prefixes.
struct TServerSetup {
    WordListSet Lists;
    TExclusionSettings Settings;
    std::string Version;  // told to the client
};

// What the features read: the agreed position encoding, the lists, the
// workspace and the open documents.
class TServerContext {
public:
    explicit TServerContext(TServerSetup setup)
        : setup_(std::move(setup)), workspace_(setup_.Lists, setup_.Settings) {}
    virtual ~TServerContext() = default;
    TPositionEncoding Encoding() const { return encoding_; }
    const WordListSet& Lists() const { return setup_.Lists; }
    TWorkspace& Workspace() { return workspace_; }
    // An open document, and all of them.
    virtual TLspDocument* Document(std::string_view uri) = 0;
    virtual std::vector<const TLspDocument*> OpenDocuments() const = 0;
    // The URI a client knows a file by: that of its open document, else the
    // file's own.
    virtual std::string UriOf(const std::filesystem::path& path) = 0;

protected:
    TServerSetup setup_;
    TWorkspace workspace_;
    TPositionEncoding encoding_ = TPositionEncoding::peUtf16;
};

class TLspServer final : private TServerContext {
public:
    using TSink = std::function<void(std::string_view)>;
    // `send` takes each outgoing message's body; `log` a line for the log.
    TLspServer(TServerSetup setup, TSink send, TSink log);
    ~TLspServer() override;

    void Handle(std::string_view body);
    // Brings the workspace up to date with the changed documents and
    // publishes the diagnostics that changed.
    void Flush();
    // After "exit": the process's exit status (0 when "shutdown" came first).
    std::optional<int> ExitCode() const { return exitCode_; }
    // The status for an input that ended without "exit".
    int EndOfInputCode() const { return shutdown_ ? 0 : 1; }

private:
    struct TOpen {
        std::unique_ptr<TLspDocument> Document;
        bool Changed = true;  // not yet in the workspace
        std::uint64_t BracketsAt = ~std::uint64_t{0};  // revision of Brackets
        TBracketReport Brackets;
        std::string Published;  // the diagnostics sent last
    };
    using TRequest = json (TLspServer::*)(const json& params);
    using TNotification = void (TLspServer::*)(const json& params);

    TLspDocument* Document(std::string_view uri) override;
    std::vector<const TLspDocument*> OpenDocuments() const override;
    std::string UriOf(const std::filesystem::path& path) override;
    TLspDocument& DocumentOf(const json& params);
    TClientPosition PositionIn(const json& params);

    void Send(const json& message);
    void Reply(const json& id, json result);
    void ReplyError(const json& id, int code, const std::string& message);
    void Dispatch(const json& message);
    // The workspace analysed once it is known, and the changed documents in it.
    void UpdateWorkspace();
    // Sends the diagnostics that differ from those sent last.
    void Publish();

    json Initialize(const json& params);
    json Shutdown(const json& params);
    json Hover(const json& params);
    json Completion(const json& params);
    json Definition(const json& params);
    json References(const json& params);
    json DocumentSymbols(const json& params);
    json WorkspaceSymbols(const json& params);
    json FoldingRanges(const json& params);
    json CodeActions(const json& params);
    void Initialized(const json& params);
    // The client's answer to the request for a progress token.
    void ProgressTokenAnswered(bool granted);
    void DidOpen(const json& params);
    void DidChange(const json& params);
    void DidClose(const json& params);
    void DidSave(const json& params);
    void DidChangeWatchedFiles(const json& params);

    TSink send_, log_;
    std::map<std::string, TOpen, std::less<>> open_;
    std::optional<std::filesystem::path> root_;
    bool initialized_ = false;
    bool analysed_ = false;
    bool shutdown_ = false;
    bool pending_ = false;  // something changed since the last Flush
    // The client's work-done progress for the analysis of the workspace
    // folder: offered in its capabilities, the token asked for, granted.
    enum class TProgressToken : std::uint8_t { ptNone, ptAsked, ptGranted };
    bool progressOffered_ = false;
    TProgressToken progressToken_ = TProgressToken::ptNone;
    std::optional<int> exitCode_;
};

// Runs a server over a byte stream until "exit" or the end of the input:
// `read` waits for bytes and gives how many it put in the buffer (0 at the
// end), `write` sends bytes (false when the output is gone). Returns the
// process's exit status.
using TReadBytes = std::function<std::size_t(char* buffer, std::size_t size)>;
using TWriteBytes = std::function<bool(std::string_view bytes)>;
int RunServer(TServerSetup setup, const TReadBytes& read, const TWriteBytes& write, const TLspServer::TSink& log);

}  // namespace quodle::lsp
