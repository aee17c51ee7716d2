#pragma once
// Typing text into a window of another X client: a key press and release
// per character, sent to the window itself (it needs no focus). A character
// is typed on a key the keyboard map has for it (with Shift where the
// character is the key's second symbol); a character without one gets a
// spare key code (one the map leaves empty) for the time the desktop lives,
// all of them mapped before the first event is sent, so a client that reads
// the events late still finds every key meaning its character.
#include <X11/Xlib.h>

#include <string_view>
#include <vector>

namespace quodle::x11 {

class TKeyboard {
public:
    explicit TKeyboard(Display* display) : display_(display) {}
    // Gives the borrowed key codes back to the empty state.
    ~TKeyboard();
    TKeyboard(const TKeyboard&) = delete;
    TKeyboard& operator=(const TKeyboard&) = delete;

    // False, with nothing sent, when the window is gone or a character has
    // no key and no spare key code is left; false also when a send failed.
    bool Type(Window window, std::u32string_view text);

private:
    struct TStroke {
        KeyCode code;
        unsigned int state;
    };
    bool Plan(std::u32string_view text, std::vector<TStroke>& strokes);

    Display* display_;
    std::vector<KeyCode> borrowed_;
};

}  // namespace quodle::x11
