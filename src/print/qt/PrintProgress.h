#pragma once
// What rendering tells the one who waits: the progress window in the
// program, nothing on the command line, a script in tests.
#include <QString>

namespace quodle {

class TPrintProgress {
public:
    virtual ~TPrintProgress() = default;
    // Shown at the start of rendering with position 0.
    virtual void Start(const QString& text) = 0;
    // Sets text and position (round(position / maximum × 100), 100 for a
    // maximum of 0), lets pending input through; false once the user asked
    // to stop.
    virtual bool Update(const QString& text, int maximum, int position) = 0;
    // Closed however rendering ends.
    virtual void Finish() = 0;
};

}  // namespace quodle
