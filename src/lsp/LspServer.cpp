#include "lsp/LspServer.h"

#include <array>

#include "lsp/CodeActions.h"
#include "lsp/Diagnostics.h"
#include "lsp/Framing.h"
#include "lsp/Hints.h"
#include "lsp/Navigation.h"
#include "lsp/Uri.h"
#include "syntax/ProgramFountains.h"

namespace quodle::lsp {

namespace fs = std::filesystem;

namespace {

constexpr int kSyncIncremental = 2;

// The one request the server sends: a progress token for the analysis of
// the workspace folder, which can take seconds when the folder is large.
constexpr const char* kProgressRequestId = "quodle/workspace-progress";
constexpr const char* kProgressToken = "quodle/workspace";

// The analysis as the client shows work in progress: begun with the sink,
// ended with it, each rise of the percentage reported between.
class TWorkDoneProgress final : public TProgressSink {
public:
    explicit TWorkDoneProgress(std::function<void(json)> send) : send_(std::move(send)) {
        send_({{"kind", "begin"}, {"title", "プロジェクト解析"}, {"cancellable", false}, {"percentage", 0}});
    }
    ~TWorkDoneProgress() override { send_({{"kind", "end"}}); }
    TWorkDoneProgress(const TWorkDoneProgress&) = delete;
    TWorkDoneProgress& operator=(const TWorkDoneProgress&) = delete;

    int Position() const override { return position_; }
    void SetPosition(int position) override {
        position_ = position;
        // The percentage only rises; the analysis sets it back at its end.
        if (position <= reported_) return;
        reported_ = position;
        send_({{"kind", "report"}, {"percentage", position}});
    }

private:
    std::function<void(json)> send_;
    int position_ = 0;
    int reported_ = 0;
};

// Requests and notifications by method, with what the server does for them.
template <class T>
struct TMethod {
    std::string_view Name;
    T Handler;
};

}  // namespace

TLspServer::TLspServer(TServerSetup setup, TSink send, TSink log)
    : TServerContext(std::move(setup)), send_(std::move(send)), log_(std::move(log)) {}

TLspServer::~TLspServer() = default;

TLspDocument* TLspServer::Document(std::string_view uri) {
    const auto it = open_.find(uri);
    return it == open_.end() ? nullptr : it->second.Document.get();
}

std::vector<const TLspDocument*> TLspServer::OpenDocuments() const {
    std::vector<const TLspDocument*> documents;
    for (const auto& [uri, open] : open_) documents.push_back(open.Document.get());
    return documents;
}

std::string TLspServer::UriOf(const fs::path& path) {
    for (const auto& [uri, open] : open_)
        if (!open.Document->Path().empty() && open.Document->Path() == path) return uri;
    return UriOfPath(path);
}

TLspDocument& TLspServer::DocumentOf(const json& params) {
    const std::string uri = StringMember(Member(params, "textDocument"), "uri");
    TLspDocument* document = Document(uri);
    if (!document) throw TParamsError("no open document " + uri);
    return *document;
}

TClientPosition TLspServer::PositionIn(const json& params) { return PositionOf(Member(params, "position")); }

void TLspServer::Send(const json& message) { send_(Serialise(message)); }

void TLspServer::Reply(const json& id, json result) {
    Send({{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}});
}

void TLspServer::ReplyError(const json& id, int code, const std::string& message) {
    Send({{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}});
}

void TLspServer::Handle(std::string_view body) {
    json message = json::parse(body, nullptr, false);
    if (message.is_discarded()) {
        ReplyError(nullptr, ecParseError, "the message is no JSON");
        return;
    }
    Dispatch(message);
}

void TLspServer::Dispatch(const json& message) {
    static constexpr std::array<TMethod<TRequest>, 10> kRequests{{
        {"initialize", &TLspServer::Initialize},
        {"shutdown", &TLspServer::Shutdown},
        {"textDocument/hover", &TLspServer::Hover},
        {"textDocument/completion", &TLspServer::Completion},
        {"textDocument/definition", &TLspServer::Definition},
        {"textDocument/references", &TLspServer::References},
        {"textDocument/documentSymbol", &TLspServer::DocumentSymbols},
        {"workspace/symbol", &TLspServer::WorkspaceSymbols},
        {"textDocument/foldingRange", &TLspServer::FoldingRanges},
        {"textDocument/codeAction", &TLspServer::CodeActions},
    }};
    static constexpr std::array<TMethod<TNotification>, 6> kNotifications{{
        {"initialized", &TLspServer::Initialized},
        {"textDocument/didOpen", &TLspServer::DidOpen},
        {"textDocument/didChange", &TLspServer::DidChange},
        {"textDocument/didClose", &TLspServer::DidClose},
        {"textDocument/didSave", &TLspServer::DidSave},
        {"workspace/didChangeWatchedFiles", &TLspServer::DidChangeWatchedFiles},
    }};

    if (!message.is_object()) {
        ReplyError(nullptr, ecInvalidRequest, "a message must be an object");
        return;
    }
    const auto idIt = message.find("id");
    const bool hasId = idIt != message.end();
    const json id = hasId ? *idIt : json();
    if (hasId && !id.is_null() && !id.is_string() && !id.is_number_integer()) {
        ReplyError(nullptr, ecInvalidRequest, "an id is a number or a string");
        return;
    }
    const auto methodIt = message.find("method");
    if (methodIt == message.end()) {
        if (!hasId) ReplyError(nullptr, ecInvalidRequest, "a message without a method");
        else if (id == kProgressRequestId) ProgressTokenAnswered(!message.contains("error"));
        return;
    }
    const auto version = message.find("jsonrpc");
    if (!methodIt->is_string() || version == message.end() || *version != "2.0") {
        if (hasId) ReplyError(id, ecInvalidRequest, "not a JSON-RPC 2.0 request");
        else log_("dropped a notification that is not JSON-RPC 2.0");
        return;
    }
    const std::string method = methodIt->get<std::string>();
    const auto paramsIt = message.find("params");
    const json params = paramsIt == message.end() ? json::object() : *paramsIt;

    if (!hasId) {
        if (method == "exit") {
            exitCode_ = shutdown_ ? 0 : 1;
            return;
        }
        // Before initialize and after shutdown notifications are dropped;
        // "$/" ones (cancel, trace) need nothing of this server.
        if (!initialized_ || shutdown_) return;
        for (const auto& m : kNotifications) {
            if (m.Name != method) continue;
            try {
                (this->*m.Handler)(params);
            } catch (const std::exception& e) {
                log_(method + ": " + e.what());
            }
            return;
        }
        if (!method.starts_with("$/")) log_("no such notification: " + method);
        return;
    }

    if (method == "initialize" && initialized_) {
        ReplyError(id, ecInvalidRequest, "initialize came twice");
        return;
    }
    if (method != "initialize" && !initialized_) {
        ReplyError(id, ecServerNotInitialized, "the server is not initialized");
        return;
    }
    if (shutdown_) {
        ReplyError(id, ecInvalidRequest, "the server is shutting down");
        return;
    }
    for (const auto& m : kRequests) {
        if (m.Name != method) continue;
        try {
            Reply(id, (this->*m.Handler)(params));
        } catch (const TParamsError& e) {
            ReplyError(id, ecInvalidParams, e.what());
        } catch (const json::exception& e) {
            ReplyError(id, ecInvalidParams, e.what());
        } catch (const std::exception& e) {
            log_(method + ": " + e.what());
            ReplyError(id, ecInternalError, e.what());
        }
        return;
    }
    ReplyError(id, ecMethodNotFound, "no such method: " + method);
}

// ---------------------------------------------------------------- lifecycle

json TLspServer::Initialize(const json& params) {
    if (!params.is_object()) throw TParamsError("params must be an object");
    const json capabilitiesOffered = params.value("capabilities", json::object());
    if (const json* window = OptionalMember(capabilitiesOffered, "window"))
        progressOffered_ = window->value("workDoneProgress", false) == true;
    if (const json* general = OptionalMember(capabilitiesOffered, "general"))
        if (const json* encodings = OptionalMember(*general, "positionEncodings"); encodings && encodings->is_array())
            for (const json& e : *encodings)
                if (e == "utf-8") encoding_ = TPositionEncoding::peUtf8;
    // The first workspace folder, else the root the client names.
    std::optional<std::string> rootUri;
    if (const json* folders = OptionalMember(params, "workspaceFolders"); folders && folders->is_array())
        for (const json& f : *folders)
            if (const json* uri = OptionalMember(f, "uri"); uri && uri->is_string() && !rootUri) rootUri = *uri;
    if (const json* uri = OptionalMember(params, "rootUri"); !rootUri && uri && uri->is_string()) rootUri = *uri;
    if (rootUri) root_ = PathOfUri(*rootUri);
    else if (const json* path = OptionalMember(params, "rootPath"); path && path->is_string())
        root_ = fs::path(path->get<std::string>());
    initialized_ = true;

    const json sync = {{"openClose", true}, {"change", kSyncIncremental}, {"save", {{"includeText", false}}}};
    const json capabilities = {
        {"positionEncoding", encoding_ == TPositionEncoding::peUtf8 ? "utf-8" : "utf-16"},
        {"textDocumentSync", sync},
        {"hoverProvider", true},
        {"completionProvider", {{"triggerCharacters", {"(", "\""}}, {"resolveProvider", false}}},
        {"definitionProvider", true},
        {"referencesProvider", true},
        {"documentSymbolProvider", true},
        {"workspaceSymbolProvider", true},
        {"foldingRangeProvider", true},
        {"codeActionProvider", {{"codeActionKinds", {"quickfix"}}}},
    };
    return {{"capabilities", capabilities}, {"serverInfo", {{"name", "quodle"}, {"version", setup_.Version}}}};
}

void TLspServer::Initialized(const json&) {
    pending_ = true;
    if (!root_ || !progressOffered_) {
        UpdateWorkspace();
        return;
    }
    // The analysis waits for the token (Flush), so that the client can
    // show it from its start.
    progressToken_ = TProgressToken::ptAsked;
    Send({{"jsonrpc", "2.0"},
          {"id", kProgressRequestId},
          {"method", "window/workDoneProgress/create"},
          {"params", {{"token", kProgressToken}}}});
}

void TLspServer::ProgressTokenAnswered(bool granted) {
    if (progressToken_ != TProgressToken::ptAsked) return;  // analysed without it meanwhile
    progressToken_ = granted ? TProgressToken::ptGranted : TProgressToken::ptNone;
    pending_ = true;
}

json TLspServer::Shutdown(const json&) {
    shutdown_ = true;
    return nullptr;
}

void TLspServer::UpdateWorkspace() {
    if (!analysed_) {
        analysed_ = true;
        if (root_) {
            const std::vector<const TLspDocument*> documents = OpenDocuments();
            try {
                std::optional<TWorkDoneProgress> progress;
                if (progressToken_ == TProgressToken::ptGranted)
                    progress.emplace([this](json value) {
                        Send({{"jsonrpc", "2.0"},
                              {"method", "$/progress"},
                              {"params", {{"token", kProgressToken}, {"value", std::move(value)}}}});
                    });
                workspace_.Analyse(*root_, documents, progress ? &*progress : nullptr);
            } catch (const std::exception& e) {
                log_(std::string("the workspace folder cannot be read: ") + e.what());
            }
        }
        // A token serves one analysis; one still asked for comes too late.
        progressToken_ = TProgressToken::ptNone;
    }
    for (auto& [uri, open] : open_) {
        if (!open.Changed) continue;
        workspace_.Put(*open.Document);
        open.Changed = false;
    }
}

void TLspServer::Flush() {
    // Nothing is published before the workspace is analysed: diagnostics
    // without the other files would name their functions undefined.
    if (!initialized_ || shutdown_ || !pending_ || progressToken_ == TProgressToken::ptAsked) return;
    pending_ = false;
    try {
        UpdateWorkspace();
        Publish();
    } catch (const std::exception& e) {
        log_(std::string("diagnostics: ") + e.what());
    }
}

void TLspServer::Publish() {
    for (auto& [uri, open] : open_) {
        TLspDocument& document = *open.Document;
        if (open.BracketsAt != document.Revision()) {
            open.Brackets = CountBrackets(document);
            open.BracketsAt = document.Revision();
        }
        json diagnostics = DocumentDiagnostics(*this, document, open.Brackets);
        std::string text = Serialise(diagnostics);
        if (text == open.Published) continue;
        open.Published = std::move(text);
        Send({{"jsonrpc", "2.0"},
              {"method", "textDocument/publishDiagnostics"},
              {"params", {{"uri", uri}, {"version", document.Version()}, {"diagnostics", std::move(diagnostics)}}}});
    }
}

// ---------------------------------------------------------------- documents

void TLspServer::DidOpen(const json& params) {
    const json& item = Member(params, "textDocument");
    const std::string uri = StringMember(item, "uri");
    const std::string text = StringMember(item, "text");
    const std::int64_t version = IntegerMember(item, "version");
    auto fountain = CreateHyphenFountain1();
    ReplaceReserveWordLists(*fountain, setup_.Lists.reservedWords, setup_.Lists.reservedWords2);
    auto document = std::make_unique<TLspDocument>(uri, PathOfUri(uri).value_or(fs::path()), std::move(fountain));
    document->SetText(text);
    document->SetVersion(static_cast<int>(version));
    TOpen& open = open_[uri];
    open = TOpen{};
    open.Document = std::move(document);
    pending_ = true;
}

void TLspServer::DidChange(const json& params) {
    TLspDocument& document = DocumentOf(params);
    const json& changes = Member(params, "contentChanges");
    if (!changes.is_array()) throw TParamsError("contentChanges must be an array");
    for (const json& change : changes) {
        const std::string text = StringMember(change, "text");
        if (const json* range = OptionalMember(change, "range")) document.Replace(RangeOf(*range), text, encoding_);
        else document.SetText(text);
    }
    if (const json* version = OptionalMember(Member(params, "textDocument"), "version"); version && version->is_number_integer())
        document.SetVersion(version->get<int>());
    open_.find(document.Uri())->second.Changed = true;
    pending_ = true;
}

void TLspServer::DidClose(const json& params) {
    TLspDocument& document = DocumentOf(params);
    const std::string uri = document.Uri();
    workspace_.Close(document);
    open_.erase(uri);
    pending_ = true;
    // The client forgets what it showed for a closed document.
    Send({{"jsonrpc", "2.0"},
          {"method", "textDocument/publishDiagnostics"},
          {"params", {{"uri", uri}, {"diagnostics", json::array()}}}});
}

void TLspServer::DidSave(const json& params) { DocumentOf(params); }

void TLspServer::DidChangeWatchedFiles(const json& params) {
    const json& changes = Member(params, "changes");
    if (!changes.is_array()) throw TParamsError("changes must be an array");
    for (const json& change : changes) {
        const std::string uri = StringMember(change, "uri");
        if (Document(uri)) continue;  // the client's text counts
        if (const std::optional<fs::path> path = PathOfUri(uri)) workspace_.FileChanged(*path);
    }
    pending_ = true;
}

// ---------------------------------------------------------------- requests

json TLspServer::Hover(const json& params) {
    TLspDocument& document = DocumentOf(params);
    const TClientPosition position = PositionIn(params);
    UpdateWorkspace();
    return HoverAt(*this, document, position);
}

json TLspServer::Completion(const json& params) {
    TLspDocument& document = DocumentOf(params);
    const TClientPosition position = PositionIn(params);
    UpdateWorkspace();
    return CompletionAt(*this, document, position);
}

json TLspServer::Definition(const json& params) {
    TLspDocument& document = DocumentOf(params);
    const TClientPosition position = PositionIn(params);
    UpdateWorkspace();
    return DefinitionAt(*this, document, position);
}

json TLspServer::References(const json& params) {
    TLspDocument& document = DocumentOf(params);
    const TClientPosition position = PositionIn(params);
    const json* context = OptionalMember(params, "context");
    const json* declarations = context ? OptionalMember(*context, "includeDeclaration") : nullptr;
    UpdateWorkspace();
    return lsp::References(*this, document, position, declarations && *declarations == true);
}

json TLspServer::DocumentSymbols(const json& params) {
    return lsp::DocumentSymbols(*this, DocumentOf(params));
}

json TLspServer::WorkspaceSymbols(const json& params) {
    const std::string query = StringMember(params, "query");
    UpdateWorkspace();
    return lsp::WorkspaceSymbols(*this, query);
}

json TLspServer::FoldingRanges(const json& params) { return lsp::FoldingRanges(DocumentOf(params)); }

json TLspServer::CodeActions(const json& params) {
    TLspDocument& document = DocumentOf(params);
    const json& range = Member(params, "range");
    UpdateWorkspace();
    return lsp::CodeActions(*this, document, {PositionOf(Member(range, "start")), PositionOf(Member(range, "end"))},
                            params);
}

// ---------------------------------------------------------------- the stream

int RunServer(TServerSetup setup, const TReadBytes& read, const TWriteBytes& write, const TLspServer::TSink& log) {
    bool outputGone = false;
    TLspServer server(
        std::move(setup),
        [&](std::string_view body) {
            if (outputGone) return;
            const std::string header = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
            outputGone = !write(header) || !write(body);
        },
        log);
    TMessageFramer framer;
    std::vector<char> buffer(std::size_t{1} << 16);
    for (;;) {
        while (framer.Ready()) {
            TMessageFramer::TNext next = framer.Next();
            if (next.Kind == TMessageFramer::TNext::nkBadHeader) {
                log("skipped " + next.Problem);
                continue;
            }
            server.Handle(next.Body);
            if (const std::optional<int> code = server.ExitCode()) return *code;
        }
        // Nothing more has arrived: what the changes left is published
        // before waiting, and only then.
        server.Flush();
        if (outputGone) {
            log("the output is gone");
            return 1;
        }
        const std::size_t got = read(buffer.data(), buffer.size());
        if (got == 0) {
            if (framer.Pending() > 0) log("the input ended inside a message");
            return server.EndOfInputCode();
        }
        framer.Feed(std::string_view(buffer.data(), got));
    }
}

}  // namespace quodle::lsp
