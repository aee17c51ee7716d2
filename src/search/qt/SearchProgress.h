#pragma once
// A search that takes long, seen through by the window: after half a
// second a progress window shows how far it got, the window system's events
// come through now and then (the program paints and answers), and "中止" or
// Esc stops the search.
#include <QElapsedTimer>
#include <QString>
#include <memory>

#include "base/qt/ProgressWindow.h"
#include "search/SearchWatch.h"

namespace quodle {

class TSearchProgress {
public:
    static constexpr int kDelayMs = 500;

    // The window (`caption`, `text`) opens over `owner` once the search
    // has taken `delayMs`, and closes with this.
    TSearchProgress(QWidget* owner, QString caption, QString text, int delayMs = kDelayMs);
    ~TSearchProgress();
    TSearchProgress(const TSearchProgress&) = delete;
    TSearchProgress& operator=(const TSearchProgress&) = delete;

    TSearchWatch* Watch() { return &watch_; }
    // The user stopped the search.
    bool Stopped() const { return watch_.Stopped(); }
    // The window, once shown.
    TProgressWindow* Window() const { return window_.get(); }

private:
    bool Step(long long done, long long total);

    QWidget* owner_;
    QString caption_;
    QString text_;
    int delayMs_;
    QElapsedTimer timer_;
    std::unique_ptr<TProgressWindow> window_;
    TSearchWatch watch_;
};

}  // namespace quodle
