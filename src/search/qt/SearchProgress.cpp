#include "search/qt/SearchProgress.h"

namespace quodle {

TSearchProgress::TSearchProgress(QWidget* owner, QString caption, QString text, int delayMs)
    : owner_(owner),
      caption_(std::move(caption)),
      text_(std::move(text)),
      delayMs_(delayMs),
      watch_([this](long long done, long long total) { return Step(done, total); }) {
    timer_.start();
}

TSearchProgress::~TSearchProgress() {
    if (window_) window_->hide();
}

bool TSearchProgress::Step(long long done, long long total) {
    if (!window_) {
        if (timer_.elapsed() < delayMs_) return true;
        window_ = std::make_unique<TProgressWindow>(owner_, caption_);
        window_->setObjectName(QStringLiteral("SearchProgress"));
        window_->Open(text_);
    }
    return window_->Show(text_, total > 0 ? static_cast<int>(done * 100 / total) : 0);
}

}  // namespace quodle
