// A window file that slips: qt-posix.sh must refuse it (ctest
// win32.qt-no-posix-catches). Not compiled.
#include <sys/file.h>

void Lock(int fd) {
    // flock() in a comment is no call.
    ::flock(fd, 2);
}
