#include "cad/x11/X11Keyboard.h"

#include <X11/keysym.h>

#include <memory>
#include <optional>

#include "cad/x11/X11ErrorTrap.h"

namespace quodle::x11 {

namespace {

struct TSymbol {
    KeySym sym;
    unsigned int state;  // modifiers beyond the key's own column
};

// The key symbol that types a character: Latin-1 symbols are the code
// points themselves, every other character has its Unicode symbol; a
// control character is its letter with Ctrl (0x03 is Ctrl+C).
std::optional<TSymbol> SymbolFor(char32_t c) {
    if (c == U'\r') return TSymbol{XK_Return, 0};
    if (c == U'\t') return TSymbol{XK_Tab, 0};
    if (c >= 1 && c <= 26) return TSymbol{XK_a + (c - 1), ControlMask};
    if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || c > 0x10FFFF) return std::nullopt;
    if (c < 0x100) return TSymbol{c, 0};
    return TSymbol{0x01000000 | c, 0};
}

// The keyboard map as the server has it now.
class TKeyMap {
public:
    explicit TKeyMap(Display* display) {
        XDisplayKeycodes(display, &min_, &max_);
        syms_.reset(XGetKeyboardMapping(display, static_cast<KeyCode>(min_), max_ - min_ + 1, &perCode_));
    }
    KeySym At(int code, int column) const {
        if (!syms_ || column >= perCode_) return NoSymbol;
        return syms_.get()[(code - min_) * perCode_ + column];
    }
    // The key and Shift state whose first or second symbol is `sym`.
    std::optional<std::pair<KeyCode, unsigned int>> Find(KeySym sym) const {
        for (int code = min_; code <= max_; ++code) {
            if (At(code, 0) == sym) return std::pair{static_cast<KeyCode>(code), 0u};
            if (At(code, 1) == sym) return std::pair{static_cast<KeyCode>(code), static_cast<unsigned int>(ShiftMask)};
        }
        return std::nullopt;
    }
    bool IsEmpty(int code) const {
        for (int column = 0; column < perCode_; ++column)
            if (At(code, column) != NoSymbol) return false;
        return true;
    }
    int Min() const { return min_; }
    int Max() const { return max_; }

private:
    struct TFree {
        void operator()(KeySym* p) const { XFree(p); }
    };
    int min_ = 8, max_ = 8, perCode_ = 0;
    std::unique_ptr<KeySym, TFree> syms_;
};

void SetKeySymbol(Display* display, KeyCode code, KeySym sym) {
    KeySym syms[2] = {sym, sym};
    XChangeKeyboardMapping(display, code, 2, syms, 1);
}

}  // namespace

TKeyboard::~TKeyboard() {
    for (const KeyCode code : borrowed_) SetKeySymbol(display_, code, NoSymbol);
    if (!borrowed_.empty()) XSync(display_, False);
}

bool TKeyboard::Plan(std::u32string_view text, std::vector<TStroke>& strokes) {
    const TKeyMap map(display_);
    std::vector<std::pair<KeyCode, KeySym>> lent;
    int nextSpare = map.Min();
    for (const char32_t c : text) {
        const std::optional<TSymbol> symbol = SymbolFor(c);
        if (!symbol) return false;
        std::optional<std::pair<KeyCode, unsigned int>> key = map.Find(symbol->sym);
        for (const auto& [code, sym] : lent)
            if (!key && sym == symbol->sym) key = std::pair{code, 0u};
        if (!key) {
            while (nextSpare <= map.Max() && !map.IsEmpty(nextSpare)) ++nextSpare;
            if (nextSpare > map.Max()) return false;
            const auto code = static_cast<KeyCode>(nextSpare++);
            lent.emplace_back(code, symbol->sym);
            key = std::pair{code, 0u};
        }
        strokes.push_back({key->first, key->second | symbol->state});
    }
    for (const auto& [code, sym] : lent) {
        SetKeySymbol(display_, code, sym);
        borrowed_.push_back(code);
    }
    return true;
}

bool TKeyboard::Type(Window window, std::u32string_view text) {
    TErrorTrap trap(display_);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display_, window, &attributes) || trap.Failed()) return false;
    std::vector<TStroke> strokes;
    if (!Plan(text, strokes)) return false;
    // Every borrowed key means its character before the first event leaves.
    XSync(display_, False);
    XKeyEvent event{};
    event.display = display_;
    event.window = window;
    event.root = attributes.root;
    event.subwindow = None;
    event.time = CurrentTime;
    event.x = event.y = event.x_root = event.y_root = 1;
    event.same_screen = True;
    for (const TStroke& stroke : strokes) {
        event.keycode = stroke.code;
        event.state = stroke.state;
        event.type = KeyPress;
        if (!XSendEvent(display_, window, False, KeyPressMask, reinterpret_cast<XEvent*>(&event))) return false;
        event.type = KeyRelease;
        if (!XSendEvent(display_, window, False, KeyReleaseMask, reinterpret_cast<XEvent*>(&event))) return false;
    }
    return !trap.Failed();
}

}  // namespace quodle::x11
