// libFuzzer target for the language server: a client opens a document and
// changes it with any range (past line ends, inside characters, reversed)
// and any text (Japanese, characters without a Shift-JIS form, full-width
// slips, every kind of break), asks for hovers, completions, definitions,
// references, symbols, folds and fixes anywhere between the changes, and
// applies the fixes it is offered. Every message the server sends must be JSON, every
// request must get its one answer and never an internal error, a fix's
// edits must lie inside the document, and once the slips fix is applied no
// slip may be left.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "lsp/LspServer.h"

namespace {

using quodle::lsp::json;

// What the texts are made of (UTF-8, as a client sends them).
constexpr const char* kPieces[] = {
    "(", ")", "\"", ";", ";|", "|;", " ", "\t", "\r\n", "\r", "\n", "setq", "a", "\\", "/", "defun", "(defun f (/ a) ",
    "あ", "漢", "ｶ", "😀", "（", "）", "＋", "　", "ａ", "”", "；", "〓", "é", "helper", "1.5", "(setq x 1)",
};

std::string MakeText(FuzzedDataProvider& in, std::size_t maxPieces) {
    std::string text;
    for (std::size_t n = in.ConsumeIntegralInRange<std::size_t>(0, maxPieces); n > 0 && in.remaining_bytes() > 0; --n)
        text += kPieces[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kPieces) - 1)];
    return text;
}

json Position(FuzzedDataProvider& in) {
    return {{"line", in.ConsumeIntegralInRange<int>(0, 12)}, {"character", in.ConsumeIntegralInRange<int>(0, 40)}};
}

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "LspFuzz: %s\n", what.c_str());
    std::abort();
}

// The word lists the program ships, read once: hovers and completions
// answer from them.
quodle::lsp::TServerSetup Setup() {
    static const quodle::WordListSet lists = quodle::LoadWordListSet(quodle::TWordListFolders(QUODLE_DATA_DIR));
    quodle::lsp::TServerSetup setup;
    setup.Lists = lists;
    return setup;
}

class TClient {
public:
    TClient() : server_(Setup(), [this](std::string_view body) { Take(body); }, [](std::string_view) {}) {}

    // Sends a request and gives its answer's result.
    json Request(const std::string& method, json params) {
        const int id = ++lastId_;
        answer_.reset();
        answerId_ = id;
        Send({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", std::move(params)}});
        if (!answer_) Fail("no answer to " + method);
        if (answer_->contains("error")) {
            if ((*answer_)["error"]["code"] == -32603) Fail(method + ": " + answer_->dump());
            return nullptr;
        }
        return (*answer_)["result"];
    }
    void Notify(const std::string& method, json params) {
        Send({{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}});
    }
    // The diagnostics published last for the document.
    const json& Diagnostics() const { return diagnostics_; }

private:
    void Send(const json& message) {
        server_.Handle(message.dump(-1, ' ', false, json::error_handler_t::replace));
        server_.Flush();
    }
    void Take(std::string_view body) {
        json message = json::parse(body, nullptr, false);
        if (message.is_discarded()) Fail("a message that is no JSON");
        if (message.value("method", "") == "textDocument/publishDiagnostics") diagnostics_ = message["params"]["diagnostics"];
        if (message.contains("id") && message["id"] == answerId_) {
            if (answer_) Fail("two answers");
            answer_ = std::move(message);
        }
    }

    quodle::lsp::TLspServer server_;
    int lastId_ = 0;
    int answerId_ = 0;
    std::optional<json> answer_;
    json diagnostics_ = json::array();
};

constexpr const char* kUri = "file:///fuzz/a.lsp";

bool HasSlip(const json& diagnostics) {
    for (const json& d : diagnostics)
        if (d.value("code", "") == "full-width") return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    TClient client;
    client.Request("initialize", {{"capabilities", {{"general", {{"positionEncodings", in.ConsumeBool()
                                                                                            ? json::array({"utf-8"})
                                                                                            : json::array({"utf-16"})}}}}}});
    client.Notify("initialized", json::object());
    client.Notify("textDocument/didOpen", {{"textDocument", {{"uri", kUri}, {"version", 1}, {"text", MakeText(in, 40)}}}});
    const json document = {{"uri", kUri}};
    int version = 1;
    while (in.remaining_bytes() > 0) {
        const json at = {{"textDocument", document}, {"position", Position(in)}};
        switch (in.ConsumeIntegralInRange<int>(0, 6)) {
        case 0:
        case 1:
            client.Notify("textDocument/didChange",
                          {{"textDocument", {{"uri", kUri}, {"version", ++version}}},
                           {"contentChanges", json::array({{{"range", {{"start", Position(in)}, {"end", Position(in)}}},
                                                            {"text", MakeText(in, 6)}}})}});
            break;
        case 2:
            client.Request("textDocument/hover", at);
            client.Request("textDocument/definition", at);
            client.Request("textDocument/references", {{"textDocument", document},
                                                       {"position", at["position"]},
                                                       {"context", {{"includeDeclaration", in.ConsumeBool()}}}});
            break;
        case 3:
            client.Request("textDocument/completion", at);
            break;
        case 4:
            client.Request("textDocument/documentSymbol", {{"textDocument", document}});
            client.Request("textDocument/foldingRange", {{"textDocument", document}});
            break;
        default: {
            const json range = {{"start", Position(in)}, {"end", Position(in)}};
            const json actions = client.Request("textDocument/codeAction",
                                                 {{"textDocument", document}, {"range", range}, {"context", {{"diagnostics", json::array()}}}});
            if (!actions.is_array()) Fail("code actions that are no list");
            if (actions.empty()) break;
            const json& action = actions[in.ConsumeIntegralInRange<std::size_t>(0, actions.size() - 1)];
            json changes = json::array();
            for (const json& e : action["edit"]["changes"][kUri]) {
                const json& r = e["range"];
                if (r["start"]["line"] > r["end"]["line"] ||
                    (r["start"]["line"] == r["end"]["line"] && r["start"]["character"] > r["end"]["character"]))
                    Fail("a reversed edit: " + e.dump());
                changes.push_back({{"range", r}, {"text", e["newText"]}});
            }
            // Each edit of a fix is on a line of its own: applied together,
            // none moves another.
            client.Notify("textDocument/didChange",
                          {{"textDocument", {{"uri", kUri}, {"version", ++version}}}, {"contentChanges", changes}});
            if (action["title"] == "全角の記号・英数字を半角に修正" && HasSlip(client.Diagnostics()))
                Fail("a slip left after the slips fix: " + client.Diagnostics().dump());
        }
        }
    }
    return 0;
}
