#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/ShiftJis.h"
#include "lsp/LspServer.h"
#include "lsp/Uri.h"
#include "support/TempDir.h"

namespace quodle::lsp {
namespace {

using testing::TempDir;

TServerSetup Setup() {
    TServerSetup setup;
    setup.Lists = LoadWordListSet(std::filesystem::path(QUODLE_BIN_DIR));
    setup.Version = "test";
    return setup;
}

// A server driven message by message, as the stream loop drives it: each
// message handled, then what the changes left published.
class Session {
public:
    Session()
        : server_(
              Setup(), [this](std::string_view body) { out_.push_back(json::parse(body)); },
              [this](std::string_view line) { log_.emplace_back(line); }) {}

    std::vector<json> Raw(std::string_view body) {
        server_.Handle(body);
        server_.Flush();
        return std::exchange(out_, {});
    }
    std::vector<json> Notify(const std::string& method, json params = json::object()) {
        return Raw(json{{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}}.dump());
    }
    // The response to a request (the notifications sent with it are kept in
    // Published).
    json Request(const std::string& method, json params = json::object()) {
        const int id = ++lastId_;
        json response;
        for (json& m : Raw(json{{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", std::move(params)}}.dump())) {
            if (m.contains("id") && m["id"] == id) response = std::move(m);
            else published_.push_back(std::move(m));
        }
        return response;
    }
    void Start(const std::string& rootUri = {}, json capabilities = json::object()) {
        json params = {{"capabilities", std::move(capabilities)}};
        if (!rootUri.empty()) params["rootUri"] = rootUri;
        ASSERT_TRUE(Request("initialize", params).contains("result"));
        Notify("initialized");
    }
    // The diagnostics last published for `uri` among `messages`.
    static std::optional<json> DiagnosticsFor(const std::vector<json>& messages, const std::string& uri) {
        std::optional<json> found;
        for (const json& m : messages)
            if (m.value("method", "") == "textDocument/publishDiagnostics" && m["params"]["uri"] == uri)
                found = m["params"]["diagnostics"];
        return found;
    }
    TLspServer& Server() { return server_; }
    const std::vector<std::string>& Log() const { return log_; }

private:
    std::vector<json> out_, published_;
    std::vector<std::string> log_;
    int lastId_ = 0;
    TLspServer server_;
};

json Pos(int line, int character) { return {{"line", line}, {"character", character}}; }

TEST(LspServer, AnswersBrokenAndUnknownMessagesWithTheirErrorCodes) {
    enum TState { sFresh, sInitialized, sShutDown };
    struct Case {
        const char* what;
        TState state;
        std::string body;
        std::optional<int> code;  // none: no answer at all
        json id = nullptr;
    } cases[] = {
        {"no JSON", sInitialized, "{\"jsonrpc\":", ecParseError},
        {"not an object", sInitialized, "[1,2]", ecInvalidRequest},
        {"an id of the wrong type", sInitialized, R"({"jsonrpc":"2.0","id":[1],"method":"shutdown"})", ecInvalidRequest},
        {"no version", sInitialized, R"({"id":3,"method":"shutdown"})", ecInvalidRequest, 3},
        {"a method that is no string", sInitialized, R"({"jsonrpc":"2.0","id":4,"method":7})", ecInvalidRequest, 4},
        {"an unknown request", sInitialized, R"({"jsonrpc":"2.0","id":"x","method":"nope/nope"})", ecMethodNotFound,
         "x"},
        {"an unknown notification", sInitialized, R"({"jsonrpc":"2.0","method":"nope/nope"})", std::nullopt},
        {"a cancellation", sInitialized, R"({"jsonrpc":"2.0","method":"$/cancelRequest","params":{"id":1}})",
         std::nullopt},
        {"a response from the client", sInitialized, R"({"jsonrpc":"2.0","id":5,"result":null})", std::nullopt},
        {"a request before initialize", sFresh,
         R"({"jsonrpc":"2.0","id":6,"method":"textDocument/hover","params":{}})", ecServerNotInitialized, 6},
        {"initialize twice", sInitialized, R"({"jsonrpc":"2.0","id":7,"method":"initialize","params":{}})",
         ecInvalidRequest, 7},
        {"a request after shutdown", sShutDown, R"({"jsonrpc":"2.0","id":8,"method":"workspace/symbol","params":{"query":""}})",
         ecInvalidRequest, 8},
        {"hover without a position", sInitialized,
         R"({"jsonrpc":"2.0","id":9,"method":"textDocument/hover","params":{"textDocument":{"uri":"file:///a.lsp"}}})",
         ecInvalidParams, 9},
        {"a document never opened", sInitialized,
         R"({"jsonrpc":"2.0","id":10,"method":"textDocument/definition","params":{"textDocument":{"uri":"file:///no.lsp"},"position":{"line":0,"character":0}}})",
         ecInvalidParams, 10},
        {"a negative position", sInitialized,
         R"({"jsonrpc":"2.0","id":11,"method":"textDocument/hover","params":{"textDocument":{"uri":"file:///a.lsp"},"position":{"line":-1,"character":0}}})",
         ecInvalidParams, 11},
        {"a query of the wrong type", sInitialized,
         R"({"jsonrpc":"2.0","id":12,"method":"workspace/symbol","params":{"query":5}})", ecInvalidParams, 12},
        {"a change of a document never opened", sInitialized,
         R"({"jsonrpc":"2.0","method":"textDocument/didChange","params":{"textDocument":{"uri":"file:///no.lsp"},"contentChanges":[]}})",
         std::nullopt},
    };
    for (const Case& c : cases) {
        Session s;
        if (c.state != sFresh) {
            s.Start();
            s.Notify("textDocument/didOpen", {{"textDocument",
                                               {{"uri", "file:///a.lsp"}, {"version", 1}, {"text", "(princ)"}}}});
        }
        if (c.state == sShutDown) s.Request("shutdown");
        const std::vector<json> out = s.Raw(c.body);
        if (!c.code) {
            EXPECT_TRUE(out.empty()) << c.what << ": " << (out.empty() ? "" : out[0].dump());
            continue;
        }
        ASSERT_EQ(out.size(), 1u) << c.what;
        EXPECT_EQ(out[0]["id"], c.id) << c.what;
        EXPECT_EQ(out[0]["error"]["code"], *c.code) << c.what << ": " << out[0].dump();
        // The server goes on answering after the fault.
        if (c.state == sInitialized) {
            EXPECT_TRUE(s.Request("workspace/symbol", {{"query", ""}}).contains("result")) << c.what;
        }
    }
}

TEST(LspServer, ExitStatusFollowsShutdown) {
    Session a;
    a.Start();
    a.Request("shutdown");
    a.Notify("exit");
    EXPECT_EQ(a.Server().ExitCode(), 0);
    Session b;
    b.Start();
    b.Notify("exit");
    EXPECT_EQ(b.Server().ExitCode(), 1);
}

TEST(LspServer, AgreesOnUtf8PositionsOnlyWhenOffered) {
    // "setq" after a string holding あ: UTF-16 units 12-16, UTF-8 bytes 14-18.
    struct Case {
        json encodings;
        const char* agreed;
        int at, start, end;
    } cases[] = {
        {json::array({"utf-8", "utf-16"}), "utf-8", 15, 14, 18},
        {json::array({"utf-16"}), "utf-16", 13, 12, 16},
        {nullptr, "utf-16", 13, 12, 16},
    };
    for (const Case& c : cases) {
        Session s;
        json capabilities = json::object();
        if (!c.encodings.is_null()) capabilities["general"]["positionEncodings"] = c.encodings;
        const json init = s.Request("initialize", {{"capabilities", capabilities}});
        EXPECT_EQ(init["result"]["capabilities"]["positionEncoding"], c.agreed);
        s.Notify("initialized");
        s.Notify("textDocument/didOpen",
                 {{"textDocument", {{"uri", "file:///e.lsp"}, {"version", 1}, {"text", "(princ \"あ\")(setq a 1)"}}}});
        const json hover =
            s.Request("textDocument/hover", {{"textDocument", {{"uri", "file:///e.lsp"}}}, {"position", Pos(0, c.at)}});
        EXPECT_EQ(hover["result"]["range"], (json{{"start", Pos(0, c.start)}, {"end", Pos(0, c.end)}})) << c.agreed;
        EXPECT_NE(hover["result"]["contents"]["value"].get<std::string>().find("(setq"), std::string::npos);
    }
}

TEST(LspServer, ShowsTheWorkspaceAnalysisAsWorkDoneProgress) {
    const TempDir dir;
    testing::WriteBytes(dir / "b.lsp", "(defun helper (n) (* n 2))\r\n");
    const std::string uri = UriOfPath(dir / "a.lsp");
    const json open = {{"textDocument", {{"uri", uri}, {"version", 1}, {"text", "(defun c:a () (helper 1))\n"}}}};
    // The messages' methods, the kinds of progress with them; the reports
    // (as many as the workers' timing gives) as one, once their percentages
    // were seen to rise to 100.
    const auto methods = [](const std::vector<json>& messages) {
        std::vector<std::string> found;
        int percentage = 0;
        for (const json& m : messages) {
            std::string method = m.value("method", "");
            if (method == "$/progress") {
                const json& value = m["params"]["value"];
                method += " " + value["kind"].get<std::string>();
                if (value["kind"] == "report") {
                    EXPECT_GT(value["percentage"].get<int>(), percentage);
                    percentage = value["percentage"].get<int>();
                    if (!found.empty() && found.back() == method) continue;
                }
                if (value["kind"] == "end") {
                    EXPECT_EQ(percentage, 100);
                }
            }
            found.push_back(method);
        }
        return found;
    };
    const json offered = {{"window", {{"workDoneProgress", true}}}};
    for (const bool granted : {true, false}) {
        Session s;
        ASSERT_TRUE(s.Request("initialize", {{"rootUri", UriOfPath(dir.path())}, {"capabilities", offered}}).contains("result"));
        const std::vector<json> asked = s.Notify("initialized");
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0]["method"], "window/workDoneProgress/create");
        const json token = asked[0]["params"]["token"];
        // Until the client answers, nothing is published: without the other
        // files, helper would be undefined.
        EXPECT_TRUE(s.Notify("textDocument/didOpen", open).empty());
        const json answer = granted ? json{{"jsonrpc", "2.0"}, {"id", asked[0]["id"]}, {"result", nullptr}}
                                    : json{{"jsonrpc", "2.0"}, {"id", asked[0]["id"]}, {"error", {{"code", -32603}, {"message", "no"}}}};
        const std::vector<json> after = s.Raw(answer.dump());
        const std::vector<std::string> expected =
            granted ? std::vector<std::string>{"$/progress begin", "$/progress report", "$/progress end",
                                               "textDocument/publishDiagnostics"}
                    : std::vector<std::string>{"textDocument/publishDiagnostics"};
        EXPECT_EQ(methods(after), expected) << granted;
        for (const json& m : after)
            if (m["method"] == "$/progress") {
                EXPECT_EQ(m["params"]["token"], token);
            }
        const std::optional<json> diagnostics = Session::DiagnosticsFor(after, uri);
        ASSERT_TRUE(diagnostics);
        EXPECT_EQ(*diagnostics, json::array()) << granted;
    }
    // Without the capability, or without a folder, the analysis runs at once.
    Session plain;
    plain.Start(UriOfPath(dir.path()));
    EXPECT_EQ(methods(plain.Notify("textDocument/didOpen", open)), std::vector<std::string>{"textDocument/publishDiagnostics"});
}

}  // namespace
}  // namespace quodle::lsp
