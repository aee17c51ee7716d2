// A stand-in for a CAD application on X11: it shows the window layout the
// load command looks for and records exactly what it is sent.
//
//   quodle_stand_in_cad DISPLAY LAYOUT LOG
//
// LAYOUT: "acad" (a main window and its text window), "acad-main" (a main
// window alone), "bcad" (a main window with the command bar docked),
// "bcad-floating" (the command bar as a window of its own), "icad" (a main
// window only), "native" (a main window of the class "lincad" that takes
// the input, and no text window). The window that takes the command line's input writes each
// character it receives to LOG in UTF-8 (Ctrl+C as 0x03, Enter as CR);
// LOG.events gets a line per focus change and per key it cannot read.
// "ready" on standard output says every window is shown.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "cad/x11/X11Open.h"

namespace {

Display* display = nullptr;
std::FILE* received = nullptr;
std::FILE* events = nullptr;
std::map<Window, std::string> names;

struct Spec {
    std::string title;
    std::string className;
    std::vector<Spec> children;  // in the order a walk by first child and next sibling meets them
    bool input = false;
};

void SetText(Window w, const char* property, const std::string& utf8) {
    XChangeProperty(display, w, XInternAtom(display, property, False), XInternAtom(display, "UTF8_STRING", False), 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(utf8.data()),
                    static_cast<int>(utf8.size()));
}

Window Create(Window parent, const Spec& spec, bool topLevel) {
    const Window w = XCreateSimpleWindow(display, parent, 0, 0, topLevel ? 200 : 20, topLevel ? 100 : 20, 0, 0, 0);
    names[w] = spec.title.empty() ? spec.className : spec.title;
    if (topLevel) {
        SetText(w, "_NET_WM_NAME", spec.title);
        const unsigned long pid = static_cast<unsigned long>(::getpid());
        XChangeProperty(display, w, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&pid), 1);
    }
    // Child windows have only WM_NAME, as a toolkit's inner windows would.
    if (!spec.title.empty()) SetText(w, "WM_NAME", spec.title);
    std::string resName = spec.className;
    XClassHint hint{resName.data(), resName.data()};
    XSetClassHint(display, w, &hint);
    XSelectInput(display, w, StructureNotifyMask | FocusChangeMask | (spec.input ? KeyPressMask : 0));
    // A new window goes on top of its siblings, and the walk starts at the
    // top: create them from the last to the first.
    for (auto it = spec.children.rbegin(); it != spec.children.rend(); ++it) Create(w, *it, false);
    XMapWindow(display, w);
    return w;
}

// The input control, and a chain of first children `depth` deep above its
// elder sibling, under a bar of that title.
Spec CommandBar(const std::string& title, int depth) {
    Spec level{"", "Pane", {{"", "Pane", {}, false}, {"", "RICHEDIT50W", {}, true}}, false};
    for (int i = 2; i < depth; ++i) level = Spec{"", "Pane", {level}, false};
    return Spec{title, "BricsCommandBar", {level}, false};
}

std::vector<Spec> Layout(const std::string& name) {
    const Spec acadMain{"AutoCAD 2009 - [Drawing1.dwg]", "Afx:00400000:8:00010011:00000000:00060C6B", {}, true};
    const Spec acadText{"AutoCAD テキスト ウィンドウ - Drawing1.dwg", "Afx:00400000:b:00010011:00000006:00000000", {}, false};
    if (name == "acad") return {acadText, acadMain};
    if (name == "acad-main") return {acadMain};
    if (name == "bcad")
        return {{"BricsCAD V20 - [Drawing1.dwg]", "BricscadMainWindow",
                 {{"Properties", "Pane", {}, false}, CommandBar("Command Bar", 3)}, false}};
    if (name == "bcad-floating")
        return {{"BricsCAD V20 - [Drawing1.dwg]", "BricscadMainWindow", {}, false}, CommandBar("コマンドバー", 4)};
    if (name == "icad") return {{"IntelliCAD", "IntelliCADApplicationWindow", {}, false}};
    // A CAD running natively: one window of a class of its own takes the input.
    if (name == "native") return {{"LinCAD 3 - [図面1.dwg]", "lincad", {}, true}};
    return {};
}

void AppendUtf8(std::FILE* f, unsigned long c) {
    char out[4];
    int n = 0;
    if (c < 0x80) {
        out[n++] = static_cast<char>(c);
    } else if (c < 0x800) {
        out[n++] = static_cast<char>(0xC0 | (c >> 6));
        out[n++] = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out[n++] = static_cast<char>(0xE0 | (c >> 12));
        out[n++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out[n++] = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out[n++] = static_cast<char>(0xF0 | (c >> 18));
        out[n++] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out[n++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out[n++] = static_cast<char>(0x80 | (c & 0x3F));
    }
    std::fwrite(out, 1, static_cast<std::size_t>(n), f);
    std::fflush(f);
}

// The character a key event stands for, from the keyboard map as it is now.
void RecordKey(XKeyEvent& key) {
    const KeySym sym = XLookupKeysym(&key, (key.state & ShiftMask) ? 1 : 0);
    unsigned long c = 0;
    if (sym == XK_Return) {
        c = '\r';
    } else if (sym == XK_Tab) {
        c = '\t';
    } else if ((key.state & ControlMask) && sym >= XK_a && sym <= XK_z) {
        c = sym - XK_a + 1;
    } else if ((sym >= 0x20 && sym <= 0x7E) || (sym >= 0xA0 && sym <= 0xFF)) {
        c = sym;
    } else if ((sym & 0xFF000000) == 0x01000000) {
        c = sym & 0x00FFFFFF;
    }
    if (c == 0) {
        std::fprintf(events, "unreadable key %u state %u\n", key.keycode, key.state);
        std::fflush(events);
        return;
    }
    AppendUtf8(received, c);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    display = quodle::x11::OpenDisplay(argv[1]);
    const std::vector<Spec> layout = Layout(argv[2]);
    received = std::fopen(argv[3], "wb");
    events = std::fopen((std::string(argv[3]) + ".events").c_str(), "wb");
    if (!display || layout.empty() || !received || !events) return 2;
    // Ends with its X server, and in any case after a while.
    ::alarm(300);
    std::vector<Window> tops;
    for (const Spec& spec : layout) tops.push_back(Create(DefaultRootWindow(display), spec, true));
    for (std::size_t mapped = 0; mapped < tops.size();) {
        XEvent event;
        XNextEvent(display, &event);
        for (const Window w : tops)
            if (event.type == MapNotify && event.xmap.window == w) ++mapped;
    }
    XSync(display, False);
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == KeyPress) {
            RecordKey(event.xkey);
        } else if (event.type == MappingNotify) {
            XRefreshKeyboardMapping(&event.xmapping);
        } else if (event.type == FocusIn) {
            std::fprintf(events, "focus %s\n", names[event.xfocus.window].c_str());
            std::fflush(events);
        }
    }
}
