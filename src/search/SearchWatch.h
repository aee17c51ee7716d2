#pragma once
// What a long search over rows tells the one who waits, and how it is
// stopped: now and then it reports how far it got, and a false answer stops
// it. A stopped search finds nothing, and a stopped replace-all changes
// nothing.
#include <functional>
#include <utility>

namespace quodle {

class TSearchWatch {
public:
    // `step(done, total)`: `done` of `total` units of the search passed.
    explicit TSearchWatch(std::function<bool(long long done, long long total)> step) : step_(std::move(step)) {}

    // False once the search is to stop (and from then on).
    bool Step(long long done, long long total) {
        if (!stopped_ && !step_(done, total)) stopped_ = true;
        return !stopped_;
    }
    bool Stopped() const { return stopped_; }

private:
    std::function<bool(long long, long long)> step_;
    bool stopped_ = false;
};

}  // namespace quodle
