// The clock and the locale's date and time forms on POSIX systems.
#include "base/Clock.h"

#include <langinfo.h>

#include <ctime>

#include "base/ShiftJis.h"

namespace quodle {

TLocalTime TSystemClock::Now() const {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

std::string ShortDateLongTime(const TLocalTime& time) {
    std::tm fields{};
    fields.tm_year = time.Year - 1900;
    fields.tm_mon = time.Month - 1;
    fields.tm_mday = time.Day;
    fields.tm_hour = time.Hour;
    fields.tm_min = time.Minute;
    fields.tm_sec = time.Second;
    fields.tm_isdst = -1;
    // The day of the week, for locales whose date names it.
    std::tm normalised = fields;
    if (std::mktime(&normalised) != static_cast<std::time_t>(-1)) fields.tm_wday = normalised.tm_wday;
    char text[256];
    const std::size_t length = std::strftime(text, sizeof text, "%x %X", &fields);
    const std::string_view formatted(text, length);
    // A Japanese locale writes its date and time with kanji in the locale's
    // encoding, which on this platform is UTF-8.
    const std::string_view codeset = nl_langinfo(CODESET);
    return codeset == "UTF-8" ? Utf8ToCp932(formatted) : std::string(formatted);
}

}  // namespace quodle
