#pragma once
// The X display, reached before the toolkit tries it. The toolkit tries
// once and ends the program with an abort when that fails; but an X server
// refuses connections for a moment whenever it resets (as it does when its
// last client has gone), and a program started in that moment died. The
// wait keeps trying for a while and then holds its connection until the
// toolkit has its own, so that the server cannot reset in between.
#include <string>

namespace quodle {

class TDisplayWait {
public:
    // Tries the display the toolkit will use (-display NAME, else $DISPLAY)
    // for up to `patienceMs`; does nothing when the program is to run on
    // another platform (-platform, QT_QPA_PLATFORM, a Wayland session).
    explicit TDisplayWait(int argc, char** argv, int patienceMs = 3000);
    ~TDisplayWait();
    TDisplayWait(const TDisplayWait&) = delete;
    TDisplayWait& operator=(const TDisplayWait&) = delete;

    // Why the display could not be reached; empty when it could, or when
    // none was needed.
    const std::string& Error() const { return error_; }
    // Closes the connection, once the toolkit holds its own.
    void Release();

private:
    void* display_ = nullptr;
    std::string error_;
};

}  // namespace quodle
