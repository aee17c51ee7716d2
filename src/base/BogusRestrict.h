#pragma once
// GCC 12 warns -Wrestrict inside std::string's own _M_replace when an
// insert, a short assignment or operator+ on a C string is inlined at -O2
// and above (GCC bugs 105329 and 105651, mended in GCC 13): it counts with a
// length of "9223372036854775810 or more bytes", which no string can have,
// and the two ranges lie in different buffers. These silence it around one
// statement that draws it, and nowhere else.
#if defined(__GNUC__) && !defined(__clang__)
#define QUODLE_BOGUS_RESTRICT_BEGIN _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Wrestrict\"")
#define QUODLE_BOGUS_RESTRICT_END _Pragma("GCC diagnostic pop")
#else
#define QUODLE_BOGUS_RESTRICT_BEGIN
#define QUODLE_BOGUS_RESTRICT_END
#endif
