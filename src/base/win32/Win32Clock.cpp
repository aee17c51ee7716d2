// The clock and the user's date and time forms on Windows.
#include "base/Clock.h"

#include <windows.h>

#include "base/ShiftJis.h"

namespace quodle {

TLocalTime TSystemClock::Now() const {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::string ShortDateLongTime(const TLocalTime& time) {
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(time.Year);
    t.wMonth = static_cast<WORD>(time.Month);
    t.wDay = static_cast<WORD>(time.Day);
    t.wHour = static_cast<WORD>(time.Hour);
    t.wMinute = static_cast<WORD>(time.Minute);
    t.wSecond = static_cast<WORD>(time.Second);
    // The day of the week, for forms that name it.
    FILETIME asFileTime;
    if (SystemTimeToFileTime(&t, &asFileTime)) FileTimeToSystemTime(&asFileTime, &t);
    wchar_t date[128], clock[128];
    const int dateLength = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, date, 128, nullptr);
    const int clockLength = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &t, nullptr, clock, 128);
    // The lengths count the closing NUL.
    std::u16string text(reinterpret_cast<const char16_t*>(date), dateLength > 0 ? dateLength - 1 : 0);
    text += u' ';
    text.append(reinterpret_cast<const char16_t*>(clock), clockLength > 0 ? clockLength - 1 : 0);
    return Utf16ToCp932(text);
}

}  // namespace quodle
