#pragma once
// The wall clock behind an interface, so that what writes the current date
// and time into a document can be tested with a fixed one.
#include <string>

namespace quodle {

// A local date and time: months and days count from 1.
struct TLocalTime {
    int Year = 1970;
    int Month = 1;
    int Day = 1;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
};

class TClock {
public:
    virtual ~TClock() = default;
    virtual TLocalTime Now() const = 0;
};

// The machine's clock in its local time zone.
class TSystemClock : public TClock {
public:
    TLocalTime Now() const override;
};

// The date in the user's short form and the time in the user's long form,
// one blank between, as Shift-JIS text: the forms of the time locale the
// process runs in (its LC_TIME), e.g. "12/09/26 02:08:21" in the C locale;
// on Windows those of the user's regional settings, e.g. "2026/12/09
// 2:08:21" in Japanese.
std::string ShortDateLongTime(const TLocalTime& time);
// The machine's clock, for callers given none.
const TClock& SystemClock();

}  // namespace quodle
