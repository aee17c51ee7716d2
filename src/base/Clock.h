#pragma once
// The wall clock as a seam: header and footer texts read the date and time
// through it, so tests can fix the moment.
namespace quodle {

struct TLocalTime {
    int Year = 0;
    int Month = 0;  // 1..12
    int Day = 0;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
};

class TClock {
public:
    virtual ~TClock() = default;
    virtual TLocalTime Now() const = 0;
};

// The system's local time.
const TClock& SystemClock();

}  // namespace quodle
