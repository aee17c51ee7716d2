#include "base/qt/KeyDigit.h"

#include <QKeyEvent>

namespace quodle {

int DigitOfScanCode(unsigned scanCode) {
#if defined(Q_OS_WIN)
    // Set 1 scan codes: 0x02..0x0B are the keys 1..9, 0.
    constexpr unsigned kFirst = 0x02;
#else
    // X11 and Wayland key codes (evdev + 8): 10..19 are the keys 1..9, 0.
    constexpr unsigned kFirst = 10;
#endif
    if (scanCode < kFirst || scanCode > kFirst + 9) return -1;
    return static_cast<int>(scanCode - kFirst + 1) % 10;
}

int DigitKeyOf(const QKeyEvent& event) {
    const int key = event.key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return key - Qt::Key_0;
    if (event.nativeScanCode() != 0) return DigitOfScanCode(event.nativeScanCode());
    static constexpr int kShifted[10] = {Qt::Key_ParenRight, Qt::Key_Exclam,      Qt::Key_At,        Qt::Key_NumberSign,
                                         Qt::Key_Dollar,     Qt::Key_Percent,     Qt::Key_AsciiCircum, Qt::Key_Ampersand,
                                         Qt::Key_Asterisk,   Qt::Key_ParenLeft};
    for (int d = 0; d < 10; ++d)
        if (key == kShifted[d]) return d;
    return -1;
}

}  // namespace quodle
