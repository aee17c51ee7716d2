#pragma once
// The engine's progress sink on the main window's progress bar.
#include <QProgressBar>

#include "base/Progress.h"

namespace quodle {

class TProgressBarSink final : public TProgressSink {
public:
    explicit TProgressBarSink(QProgressBar* bar) : bar_(bar) {}

    int Position() const override { return bar_->value(); }
    // Painted at once: a long analysis does not return to the event loop.
    void SetPosition(int position) override {
        if (bar_->value() == position) return;
        bar_->setValue(position);
        bar_->repaint();
    }
    int Maximum() const override { return bar_->maximum(); }
    void SetMaximum(int maximum) override { bar_->setMaximum(maximum); }

private:
    QProgressBar* bar_;
};

}  // namespace quodle
