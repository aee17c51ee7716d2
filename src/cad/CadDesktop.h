#pragma once
// The window system and automation services the load command needs from the
// desktop it runs on. The engine decides everything from what these calls
// return; a backend only translates them (cad/x11 for X11, cad/win32 for
// Windows) and tests use an in-process fake.
//
// No call may wait for a CAD application without a time limit: a CAD that
// has stopped answering must make the call fail, not freeze the editor.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cad/LoadExpression.h"

namespace quodle {

// A window of the desktop; 0 is no window.
using TCadWindow = std::uint64_t;

// The automation object of a CAD application and the method that loads a
// LISP file: its programmatic identifier, the interface to ask it for, and
// the method's place among that interface's own methods (1 = the first after
// the seven of IUnknown and IDispatch).
struct TAutomationMethod {
    std::string_view ProgId;
    std::string_view InterfaceId;  // "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}"
    int MethodNumber = 0;
};

class TCadDesktop {
public:
    virtual ~TCadDesktop() = default;

    // The byte form of titles, class names and the texts sent.
    virtual TPathCoding Coding() const = 0;

    // Every top-level window, the front-most first.
    virtual std::vector<TCadWindow> TopLevelWindows() = 0;
    virtual std::string Title(TCadWindow w) = 0;
    virtual std::string ClassName(TCadWindow w) = 0;
    // The process that owns the window; 0 when the desktop cannot tell.
    virtual std::uint32_t ProcessId(TCadWindow w) = 0;
    // The front-most child window, and the sibling behind a window; 0 for none.
    virtual TCadWindow FirstChild(TCadWindow w) = 0;
    virtual TCadWindow NextSibling(TCadWindow w) = 0;

    virtual bool IsWindow(TCadWindow w) = 0;
    virtual bool IsVisible(TCadWindow w) = 0;
    // Whether the window takes text as UTF-16 rather than in the desktop's bytes.
    virtual bool IsUnicode(TCadWindow w) = 0;
    virtual void BringToFront(TCadWindow w) = 0;

    // Hands the record to the window as command-line input and then wakes
    // it; false when the window is gone or did not take it in time.
    virtual bool SendCommandRecord(TCadWindow w, const TCopyData& record) = 0;
    // Types the text (in the desktop's coding) into the window, character
    // by character; false when the window is gone or stopped taking them.
    virtual bool TypeText(TCadWindow w, std::string_view text) = 0;

    // Calls the load method of the running application's automation object
    // with the path; false when there is no such object, it lacks the
    // interface, the call fails or does not return in time.
    virtual bool CallLoadMethod(const TAutomationMethod& method, std::u16string_view path) = 0;
};

// The desktop of the system the program runs on; the backend linked in
// (cad/x11 or cad/win32) defines it.
std::unique_ptr<TCadDesktop> CreateSystemDesktop();

}  // namespace quodle
