#pragma once
// Progress of long analyses. The engine steps an abstract sink; the window
// connects it to its progress bar, the command line leaves it out. A pass
// that can stop halfway asks the sink whether the user wants it to.
#include <cstddef>

namespace quodle {

class TProgressSink {
public:
    static constexpr int kMax = 100;

    virtual ~TProgressSink() = default;
    virtual int Position() const = 0;
    // 0..Maximum(); the bar is set back to 0 by the command that started a
    // pass.
    virtual void SetPosition(int position) = 0;
    // The maximum is kMax except while a short selection is counted.
    virtual int Maximum() const { return kMax; }
    virtual void SetMaximum(int) {}
    // Asked by a pass that can stop, after each position it set.
    virtual bool StopAsked() const { return false; }

    // One step forward; stops at the maximum like the bar does.
    void StepIt() {
        if (Position() < Maximum()) SetPosition(Position() + 1);
    }
};

// Steps a sink through one pass of `steps` steps over `count` lines: one step
// before every line whose index is a multiple of count / steps (1 when that
// quotient is 0). A null sink or no steps makes it silent.
class TProgressPass {
public:
    TProgressPass(TProgressSink* sink, std::size_t count, int steps)
        : sink_(steps > 0 ? sink : nullptr),
          interval_(steps > 0 && count / static_cast<std::size_t>(steps) > 0 ? count / static_cast<std::size_t>(steps)
                                                                              : 1) {}

    // Called before processing line `index`, with indices that never go
    // back; a pass that skips lines catches up on their steps.
    void AtLine(std::size_t index) {
        if (!sink_) return;
        for (; next_ <= index; next_ += interval_) sink_->StepIt();
    }

private:
    TProgressSink* sink_;
    std::size_t interval_;
    std::size_t next_ = 0;  // no division per line: a pass may have millions
};

// Sets the bar back to 0 when a command is done, whichever way it ends.
class TProgressReset {
public:
    explicit TProgressReset(TProgressSink* sink) : sink_(sink) {}
    ~TProgressReset() {
        if (sink_) sink_->SetPosition(0);
    }
    TProgressReset(const TProgressReset&) = delete;
    TProgressReset& operator=(const TProgressReset&) = delete;

private:
    TProgressSink* sink_;
};

}  // namespace quodle
