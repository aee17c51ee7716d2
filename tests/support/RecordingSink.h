#pragma once
// A progress bar for tests: keeps every position and maximum it is set to.
#include <algorithm>
#include <vector>

#include "base/Progress.h"

namespace quodle::testing {

class TRecordingSink : public TProgressSink {
public:
    int Position() const override { return position_; }
    void SetPosition(int position) override {
        position_ = position;
        seen.push_back(position);
    }
    int Maximum() const override { return max_; }
    // Asks to stop once it has been set `stopAfter` times (never when < 0).
    bool StopAsked() const override { return stopAfter >= 0 && seen.size() >= static_cast<std::size_t>(stopAfter); }
    void SetMaximum(int max) override {
        max_ = max;
        maxima.push_back(max);
    }
    // The highest position it was set to (0 before any).
    int Highest() const {
        int top = 0;
        for (int p : seen) top = std::max(top, p);
        return top;
    }

    std::vector<int> seen;
    std::vector<int> maxima;
    int stopAfter = -1;

private:
    int position_ = 0;
    int max_ = kMax;
};

}  // namespace quodle::testing
