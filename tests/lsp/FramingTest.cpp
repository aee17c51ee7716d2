#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lsp/Framing.h"

namespace quodle::lsp {
namespace {

std::string Frame(const std::string& body) { return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body; }

// What comes out of the framer for `pieces` fed one after the other, each
// piece's messages taken before the next is fed: "M:body" or "B:problem".
std::vector<std::string> Frames(const std::vector<std::string>& pieces) {
    TMessageFramer framer;
    std::vector<std::string> out;
    for (const std::string& piece : pieces) {
        framer.Feed(piece);
        while (framer.Ready()) {
            const TMessageFramer::TNext next = framer.Next();
            out.push_back(next.Kind == TMessageFramer::TNext::nkMessage ? "M:" + next.Body : "B:" + next.Problem);
        }
        // Ready and Next agree: nothing is left that Next would give.
        EXPECT_EQ(framer.Next().Kind, TMessageFramer::TNext::nkNone);
    }
    return out;
}

TEST(Framing, CutsMessagesOutOfTheStream) {
    const std::string a = Frame(R"({"a":1})"), b = Frame(R"({"b":"日本"})");
    struct Case {
        const char* what;
        std::vector<std::string> pieces;
        std::vector<std::string> out;
    } cases[] = {
        {"one whole message", {a}, {R"(M:{"a":1})"}},
        {"two joined in one read", {a + b}, {R"(M:{"a":1})", R"(M:{"b":"日本"})"}},
        {"split inside the header", {a.substr(0, 9), a.substr(9)}, {R"(M:{"a":1})"}},
        {"split between CR and LF of the empty line", {a.substr(0, 19), a.substr(19)}, {R"(M:{"a":1})"}},
        {"split inside the body, the next joined to the rest",
         {a.substr(0, a.size() - 2), a.substr(a.size() - 2) + b},
         {R"(M:{"a":1})", R"(M:{"b":"日本"})"}},
        {"split inside a UTF-8 character of the body", {b.substr(0, b.size() - 4), b.substr(b.size() - 4)},
         {R"(M:{"b":"日本"})"}},
        {"one byte at a time", {}, {R"(M:{"a":1})"}},
        {"a header without a body waits", {"Content-Length: 5\r\n\r\n"}, {}},
        {"a body shorter than announced waits", {"Content-Length: 10\r\n\r\n{\"a\":1}"}, {}},
        {"a body larger than announced: the surplus starts the next header",
         {"Content-Length: 3\r\n\r\n{}}xyz" + a},
         {"M:{}}", "B:a header without Content-Length", R"(M:{"a":1})"}},
        {"other header fields and any case of the name",
         {"Content-Type: application/vscode-jsonrpc; charset=utf-8\r\ncontent-length: 2\r\n\r\n{}"},
         {"M:{}"}},
        {"an empty body", {"Content-Length: 0\r\n\r\n" + a}, {"M:", R"(M:{"a":1})"}},
        {"no Content-Length: skipped up to the next message",
         {"Content-Type: x\r\n\r\n{}" + a},
         {"B:a header without Content-Length", R"(M:{"a":1})"}},
        {"a length that is no number", {"Content-Length: 1e3\r\n\r\n" + a},
         {"B:a Content-Length that is no size: 1e3", R"(M:{"a":1})"}},
        {"a negative length", {"Content-Length: -4\r\n\r\n" + b},
         {"B:a Content-Length that is no size: -4", R"(M:{"b":"日本"})"}},
        {"a length beyond any body", {"Content-Length: 99999999999\r\n\r\n" + a},
         {"B:a Content-Length that is no size: 99999999999", R"(M:{"a":1})"}},
        {"a header that never ends", {std::string(9000, 'x')}, {"B:a header without its end"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> pieces = c.pieces;
        if (pieces.empty())
            for (const char ch : a) pieces.emplace_back(1, ch);
        EXPECT_EQ(Frames(pieces), c.out) << c.what;
    }
}

TEST(Framing, PendingCountsWhatAMessageCutOffLeaves) {
    TMessageFramer framer;
    framer.Feed(Frame("{}") + "Content-Length: 9\r\n\r\n{");
    ASSERT_TRUE(framer.Ready());
    EXPECT_EQ(framer.Next().Body, "{}");
    EXPECT_FALSE(framer.Ready());
    EXPECT_EQ(framer.Pending(), std::string("Content-Length: 9\r\n\r\n{").size());
}

TEST(Framing, ManyMessagesKeepTheBufferSmall) {
    TMessageFramer framer;
    const std::string m = Frame(std::string(1000, ' ') + "{}");
    std::size_t taken = 0;
    // Each read brings one message and a half: the buffer never holds the
    // taken ones for long.
    for (int i = 0; i < 2000; ++i) {
        framer.Feed(m.substr(0, m.size() / 2));
        while (framer.Ready()) taken += framer.Next().Kind == TMessageFramer::TNext::nkMessage;
        framer.Feed(m.substr(m.size() / 2));
        while (framer.Ready()) taken += framer.Next().Kind == TMessageFramer::TNext::nkMessage;
        ASSERT_LE(framer.Pending(), m.size());
    }
    EXPECT_EQ(taken, 2000u);
}

}  // namespace
}  // namespace quodle::lsp
