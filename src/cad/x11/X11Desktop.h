#pragma once
// The load command's desktop on X11, over Xlib and the EWMH hints: windows
// are named by their title (_NET_WM_NAME, else WM_NAME) and their class (the
// class part of WM_CLASS), belong to the process in _NET_WM_PID, come to the
// front through _NET_ACTIVE_WINDOW (raised and focused where no window
// manager takes that request), and are handed text as key events, one press
// and release per character.
//
// Nothing here waits for the CAD application: key events are queued by the
// X server, so a CAD that has stopped answering gets them when it wakes up.
// Characters the keyboard map has no key for are typed on spare key codes
// borrowed for them; they are given back when the desktop is destroyed.
// X11 has no automation objects: the automation call always fails.
#include <memory>
#include <string>

#include "cad/CadDesktop.h"

namespace quodle {

class TX11Desktop final : public TCadDesktop {
public:
    // Connects to the display named (empty: $DISPLAY). Without a display the
    // desktop has no windows; the connection is tried again at each use.
    explicit TX11Desktop(const std::string& displayName = {});
    ~TX11Desktop() override;
    TX11Desktop(const TX11Desktop&) = delete;
    TX11Desktop& operator=(const TX11Desktop&) = delete;

    bool Connected();

    TPathCoding Coding() const override { return TPathCoding::pcUtf8; }
    std::vector<TCadWindow> TopLevelWindows() override;
    std::string Title(TCadWindow w) override;
    std::string ClassName(TCadWindow w) override;
    std::uint32_t ProcessId(TCadWindow w) override;
    TCadWindow FirstChild(TCadWindow w) override;
    TCadWindow NextSibling(TCadWindow w) override;
    bool IsWindow(TCadWindow w) override;
    bool IsVisible(TCadWindow w) override;
    bool IsUnicode(TCadWindow w) override;
    void BringToFront(TCadWindow w) override;
    bool SendCommandRecord(TCadWindow w, const TCopyData& record) override;
    bool TypeText(TCadWindow w, std::string_view text) override;
    bool CallLoadMethod(const TAutomationMethod& method, std::u16string_view path) override;

private:
    struct TImpl;
    std::unique_ptr<TImpl> impl_;
};

}  // namespace quodle
