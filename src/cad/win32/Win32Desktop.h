#pragma once
// The load command's desktop on Windows: windows from user32 (titles and
// class names in the system code page, taken as Shift-JIS), the command
// record as WM_COPYDATA followed by WM_NULL, typing as one WM_CHAR per byte,
// and the CAD's automation object through COM.
//
// Every message that waits for the CAD is sent with a time limit, and gives
// up at once when the system already counts the CAD as hung; the automation
// call is cancelled when it does not return in time.
#include "cad/CadDesktop.h"

namespace quodle {

class TWin32Desktop final : public TCadDesktop {
public:
    TPathCoding Coding() const override { return TPathCoding::pcCp932; }
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
};

}  // namespace quodle
