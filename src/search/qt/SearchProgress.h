#pragma once
// A search that takes long, seen through by the window: after half a
// second a progress window shows how far it got, the window system's events
// come through now and then (the program paints and answers), and "中止" or
// Esc stops the search.
#include <QString>

#include "base/qt/ProgressWindow.h"
#include "search/SearchWatch.h"

namespace quodle {

class TSearchProgress {
public:
    // The window (`caption`, `text`) opens over `owner` once the search
    // has taken `delayMs`, and closes with this.
    TSearchProgress(QWidget* owner, QString caption, QString text, int delayMs = TLongJobProgress::kDelayMs)
        : job_(owner, std::move(caption), std::move(text), delayMs),
          watch_([this](long long done, long long total) {
              return job_.Step(total > 0 ? static_cast<int>(done * 100 / total) : 0);
          }) {}

    TSearchWatch* Watch() { return &watch_; }
    // The user stopped the search.
    bool Stopped() const { return watch_.Stopped(); }
    // The window, once shown.
    TProgressWindow* Window() const { return job_.Window(); }

private:
    TLongJobProgress job_;
    TSearchWatch watch_;
};

}  // namespace quodle
