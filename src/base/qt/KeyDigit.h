#pragma once
// Which digit key of the main keyboard a key event comes from. With Shift the
// keyboard layout turns the key into a symbol of its own ("(" is Shift+8 on
// a JIS keyboard and Shift+9 on a US one), so the key's place decides.
class QKeyEvent;

namespace quodle {

// 0..9, or -1 for any other key. Qt's digit keys are taken as they are;
// otherwise the native scan code says where the key is; only when that is
// unknown (0, e.g. a synthesized event) do the US layout's shifted symbols
// stand for their digits.
int DigitKeyOf(const QKeyEvent& event);

// The digit of a native scan code of this platform, or -1.
int DigitOfScanCode(unsigned scanCode);

}  // namespace quodle
