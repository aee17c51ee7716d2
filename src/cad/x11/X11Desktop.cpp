#include "cad/x11/X11Desktop.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <optional>

#include "base/ShiftJis.h"
#include "cad/x11/X11ErrorTrap.h"
#include "cad/x11/X11Keyboard.h"
#include "cad/x11/X11Open.h"

namespace quodle {

using x11::TErrorTrap;

namespace {

// Reads a window property of the given type and format and hands its items
// (bytes for format 8, longs for format 32) to `take`; false when the window
// has no such property.
template <typename Take>
bool ReadProperty(Display* d, Window w, Atom property, Atom type, int wantedFormat, Take take) {
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    TErrorTrap trap(d);
    const int rc = XGetWindowProperty(d, w, property, 0, 1L << 16, False, type, &actualType, &format, &count,
                                      &after, &data);
    const bool found = rc == Success && !trap.Failed() && actualType == type && format == wantedFormat;
    if (found) take(data, count);
    if (data) XFree(data);
    return found;
}

std::optional<std::vector<unsigned long>> ListProperty(Display* d, Window w, Atom property, Atom type) {
    std::vector<unsigned long> values;
    const bool found = ReadProperty(d, w, property, type, 32, [&](const unsigned char* data, unsigned long count) {
        const auto* longs = reinterpret_cast<const unsigned long*>(data);
        values.assign(longs, longs + count);
    });
    return found ? std::optional(std::move(values)) : std::nullopt;
}

std::optional<std::string> TextProperty(Display* d, Window w, Atom property, Atom type) {
    std::string text;
    const bool found = ReadProperty(d, w, property, type, 8, [&](const unsigned char* data, unsigned long count) {
        text.assign(reinterpret_cast<const char*>(data), count);
    });
    return found ? std::optional(std::move(text)) : std::nullopt;
}

// The children of a window, bottom-most first, and its parent.
struct TTree {
    Window parent = None;
    std::vector<Window> children;
};
std::optional<TTree> QueryTree(Display* d, Window w) {
    Window root = None, parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    TErrorTrap trap(d);
    const Status ok = XQueryTree(d, w, &root, &parent, &children, &count);
    std::optional<TTree> tree;
    if (ok && !trap.Failed()) tree.emplace(TTree{parent, std::vector<Window>(children, children + count)});
    if (children) XFree(children);
    return tree;
}

// Characters of UTF-16 text, surrogate pairs joined; nothing when a half
// of a pair stands alone.
std::optional<std::u32string> CodePoints(std::u16string_view units) {
    std::u32string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            out.push_back(0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (units[++i] - 0xDC00));
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            return std::nullopt;
        } else {
            out.push_back(u);
        }
    }
    return out;
}

}  // namespace

struct TX11Desktop::TImpl {
    std::string displayName;
    Display* display = nullptr;
    std::optional<x11::TKeyboard> keyboard;
    Atom netClientListStacking = None, netWmName = None, utf8String = None, netWmPid = None, wmState = None,
         netActiveWindow = None, netSupported = None;

    // Connects at the first use, and again at a later one when that failed.
    bool Connect() {
        if (display) return true;
        display = x11::OpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
        if (!display) return false;
        keyboard.emplace(display);
        netClientListStacking = XInternAtom(display, "_NET_CLIENT_LIST_STACKING", False);
        netWmName = XInternAtom(display, "_NET_WM_NAME", False);
        utf8String = XInternAtom(display, "UTF8_STRING", False);
        netWmPid = XInternAtom(display, "_NET_WM_PID", False);
        wmState = XInternAtom(display, "WM_STATE", False);
        netActiveWindow = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
        netSupported = XInternAtom(display, "_NET_SUPPORTED", False);
        return true;
    }

    Window Root() const { return DefaultRootWindow(display); }

    // The window that carries the client's properties: under a window
    // manager the top-level window is a frame around it.
    Window ClientOf(Window frame) const {
        if (ListProperty(display, frame, wmState, wmState)) return frame;
        if (const auto tree = QueryTree(display, frame))
            for (const Window child : tree->children)
                if (ListProperty(display, child, wmState, wmState)) return child;
        return frame;
    }

    bool Supports(Atom hint) const {
        const auto supported = ListProperty(display, Root(), netSupported, XA_ATOM);
        return supported && std::find(supported->begin(), supported->end(), hint) != supported->end();
    }

    bool Type(TCadWindow w, std::u16string_view text) {
        const std::optional<std::u32string> chars = CodePoints(text);
        return chars && Connect() && keyboard->Type(static_cast<Window>(w), *chars);
    }
};

TX11Desktop::TX11Desktop(const std::string& displayName) : impl_(std::make_unique<TImpl>()) {
    impl_->displayName = displayName;
    impl_->Connect();
}

TX11Desktop::~TX11Desktop() {
    if (!impl_->display) return;
    impl_->keyboard.reset();
    XCloseDisplay(impl_->display);
}

bool TX11Desktop::Connected() { return impl_->Connect(); }

std::vector<TCadWindow> TX11Desktop::TopLevelWindows() {
    TImpl& x = *impl_;
    std::vector<TCadWindow> windows;
    if (!x.Connect()) return windows;
    // Both lists run from the bottom of the stack to the top.
    std::vector<Window> stack;
    if (const auto managed = ListProperty(x.display, x.Root(), x.netClientListStacking, XA_WINDOW)) {
        stack.assign(managed->begin(), managed->end());
    } else if (const auto tree = QueryTree(x.display, x.Root())) {
        for (const Window frame : tree->children) stack.push_back(x.ClientOf(frame));
    }
    windows.assign(stack.rbegin(), stack.rend());
    return windows;
}

std::string TX11Desktop::Title(TCadWindow w) {
    TImpl& x = *impl_;
    if (!x.Connect()) return {};
    const auto window = static_cast<Window>(w);
    if (auto name = TextProperty(x.display, window, x.netWmName, x.utf8String)) return *name;
    XTextProperty property{};
    TErrorTrap trap(x.display);
    std::string title;
    if (XGetWMName(x.display, window, &property) && !trap.Failed() && property.value) {
        char** list = nullptr;
        int count = 0;
        if (Xutf8TextPropertyToTextList(x.display, &property, &list, &count) == Success && count > 0 && list)
            title = list[0];
        if (list) XFreeStringList(list);
        XFree(property.value);
    }
    return title;
}

std::string TX11Desktop::ClassName(TCadWindow w) {
    TImpl& x = *impl_;
    if (!x.Connect()) return {};
    XClassHint hint{};
    TErrorTrap trap(x.display);
    std::string name;
    if (XGetClassHint(x.display, static_cast<Window>(w), &hint) && !trap.Failed() && hint.res_class)
        name = hint.res_class;
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
    return name;
}

std::uint32_t TX11Desktop::ProcessId(TCadWindow w) {
    TImpl& x = *impl_;
    if (!x.Connect()) return 0;
    const auto pid = ListProperty(x.display, static_cast<Window>(w), x.netWmPid, XA_CARDINAL);
    return pid && !pid->empty() ? static_cast<std::uint32_t>(pid->front()) : 0;
}

TCadWindow TX11Desktop::FirstChild(TCadWindow w) {
    TImpl& x = *impl_;
    if (!x.Connect()) return 0;
    const auto tree = QueryTree(x.display, static_cast<Window>(w));
    return tree && !tree->children.empty() ? tree->children.back() : 0;
}

TCadWindow TX11Desktop::NextSibling(TCadWindow w) {
    TImpl& x = *impl_;
    if (!x.Connect()) return 0;
    const auto self = QueryTree(x.display, static_cast<Window>(w));
    if (!self || self->parent == None) return 0;
    const auto siblings = QueryTree(x.display, self->parent);
    if (!siblings) return 0;
    const auto it = std::find(siblings->children.begin(), siblings->children.end(), static_cast<Window>(w));
    // The sibling behind is the one before it in the bottom-first list.
    return it == siblings->children.end() || it == siblings->children.begin() ? 0 : *(it - 1);
}

bool TX11Desktop::IsWindow(TCadWindow w) {
    TImpl& x = *impl_;
    if (w == 0 || !x.Connect()) return false;
    XWindowAttributes attributes;
    TErrorTrap trap(x.display);
    return XGetWindowAttributes(x.display, static_cast<Window>(w), &attributes) && !trap.Failed();
}

bool TX11Desktop::IsVisible(TCadWindow w) {
    TImpl& x = *impl_;
    if (w == 0 || !x.Connect()) return false;
    XWindowAttributes attributes;
    TErrorTrap trap(x.display);
    if (!XGetWindowAttributes(x.display, static_cast<Window>(w), &attributes) || trap.Failed()) return false;
    if (attributes.map_state == IsViewable) return true;
    // A minimised window is unmapped but still shown in the task bar.
    constexpr unsigned long kIconicState = 3;
    const auto state = ListProperty(x.display, static_cast<Window>(w), x.wmState, x.wmState);
    return state && !state->empty() && state->front() == kIconicState;
}

bool TX11Desktop::IsUnicode(TCadWindow) { return true; }

void TX11Desktop::BringToFront(TCadWindow w) {
    TImpl& x = *impl_;
    if (w == 0 || !x.Connect()) return;
    const auto window = static_cast<Window>(w);
    const bool managed = x.Supports(x.netActiveWindow);
    TErrorTrap trap(x.display);
    if (managed) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = x.netActiveWindow;
        event.xclient.format = 32;
        event.xclient.data.l[0] = 2;  // asked for by the user, as a task bar would
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(x.display, x.Root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
        return;
    }
    XRaiseWindow(x.display, window);
    XWindowAttributes attributes;
    if (XGetWindowAttributes(x.display, window, &attributes) && attributes.map_state == IsViewable)
        XSetInputFocus(x.display, window, RevertToPointerRoot, CurrentTime);
}

bool TX11Desktop::SendCommandRecord(TCadWindow w, const TCopyData& record) {
    std::u16string text;
    if (record.Wide) {
        for (std::size_t i = 0; i + 1 < record.Bytes.size(); i += 2)
            text.push_back(static_cast<char16_t>(static_cast<unsigned char>(record.Bytes[i]) |
                                                 (static_cast<unsigned char>(record.Bytes[i + 1]) << 8)));
    } else {
        text = Utf8ToUtf16(record.Bytes);
    }
    // The record ends with its NUL, which is no character to type.
    if (!text.empty() && text.back() == u'\0') text.pop_back();
    return impl_->Type(w, text);
}

bool TX11Desktop::TypeText(TCadWindow w, std::string_view text) {
    if (!IsWholeText(text, TPathCoding::pcUtf8)) return false;
    return impl_->Type(w, Utf8ToUtf16(text));
}

bool TX11Desktop::CallLoadMethod(const TAutomationMethod&, std::u16string_view) { return false; }

std::unique_ptr<TCadDesktop> CreateSystemDesktop() { return std::make_unique<TX11Desktop>(); }

}  // namespace quodle
