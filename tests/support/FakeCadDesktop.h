#pragma once
// An in-process desktop for the load command: windows are plain records the
// test lays out (top-level ones front-most first, children in walk order),
// and everything the command does to them is logged in order:
//   "front W"                     a window brought to the front
//   "record W ansi|wide BYTES"    a command record, its bytes with the NUL
//   "type W BYTES"                text typed into a window
//   "call PROGID IID N PATH"      an automation call (the path in UTF-8)
#include <map>
#include <string>
#include <vector>

#include "base/ShiftJis.h"
#include "cad/CadDesktop.h"

namespace quodle::testing {

class TFakeCadDesktop final : public TCadDesktop {
public:
    struct TWindow {
        std::string title, className;  // in the desktop's coding
        std::uint32_t pid = 0;
        bool visible = true, unicode = false, alive = true;
        TCadWindow parent = 0;
        std::vector<TCadWindow> children;
    };

    TPathCoding coding = TPathCoding::pcCp932;
    std::map<TCadWindow, TWindow> windows;
    std::vector<TCadWindow> topLevel;  // front-most first
    std::vector<std::string> log;
    bool automationWorks = true;
    bool answering = true;  // false: sends and typing time out

    // Titles and class names are given in UTF-8 and kept in the coding.
    TCadWindow AddTopLevel(const std::string& title, const std::string& className, std::uint32_t pid) {
        const TCadWindow w = Add(title, className, pid, 0);
        topLevel.push_back(w);
        return w;
    }
    TCadWindow AddChild(TCadWindow parent, const std::string& title, const std::string& className) {
        const TCadWindow w = Add(title, className, windows.at(parent).pid, parent);
        windows.at(parent).children.push_back(w);
        return w;
    }

    TPathCoding Coding() const override { return coding; }
    std::vector<TCadWindow> TopLevelWindows() override {
        std::vector<TCadWindow> alive;
        for (const TCadWindow w : topLevel)
            if (windows.at(w).alive) alive.push_back(w);
        return alive;
    }
    std::string Title(TCadWindow w) override { return Find(w) ? Find(w)->title : std::string(); }
    std::string ClassName(TCadWindow w) override { return Find(w) ? Find(w)->className : std::string(); }
    std::uint32_t ProcessId(TCadWindow w) override { return Find(w) ? Find(w)->pid : 0; }
    TCadWindow FirstChild(TCadWindow w) override {
        return Find(w) && !Find(w)->children.empty() ? Find(w)->children.front() : 0;
    }
    TCadWindow NextSibling(TCadWindow w) override {
        const TWindow* self = Find(w);
        const TWindow* parent = self ? Find(self->parent) : nullptr;
        if (!parent) return 0;
        for (std::size_t i = 0; i + 1 < parent->children.size(); ++i)
            if (parent->children[i] == w) return parent->children[i + 1];
        return 0;
    }
    bool IsWindow(TCadWindow w) override { return Find(w) != nullptr; }
    bool IsVisible(TCadWindow w) override { return Find(w) && Find(w)->visible; }
    bool IsUnicode(TCadWindow w) override { return Find(w) && Find(w)->unicode; }
    void BringToFront(TCadWindow w) override { log.push_back("front " + std::to_string(w)); }
    bool SendCommandRecord(TCadWindow w, const TCopyData& record) override {
        log.push_back("record " + std::to_string(w) + (record.Wide ? " wide " : " ansi ") + record.Bytes);
        return answering && record.Kind == TCopyData::kCommandKind;
    }
    bool TypeText(TCadWindow w, std::string_view text) override {
        log.push_back("type " + std::to_string(w) + " " + std::string(text));
        return answering;
    }
    bool CallLoadMethod(const TAutomationMethod& m, std::u16string_view path) override {
        log.push_back("call " + std::string(m.ProgId) + " " + std::string(m.InterfaceId) + " " +
                      std::to_string(m.MethodNumber) + " " + Utf16ToUtf8(path));
        return automationWorks;
    }

private:
    TCadWindow Add(const std::string& title, const std::string& className, std::uint32_t pid, TCadWindow parent) {
        const TCadWindow w = windows.size() + 1;
        TWindow window;
        window.title = coding == TPathCoding::pcCp932 ? Utf8ToCp932(title) : title;
        window.className = className;
        window.pid = pid;
        window.parent = parent;
        windows.emplace(w, window);
        return w;
    }
    const TWindow* Find(TCadWindow w) const {
        const auto it = windows.find(w);
        return it == windows.end() || !it->second.alive ? nullptr : &it->second;
    }
};

}  // namespace quodle::testing
