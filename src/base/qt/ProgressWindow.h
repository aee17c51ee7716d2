#pragma once
// The window shown while a long job runs: a text, a bar and "中止". It is
// modal for the whole program, so that while the job lets the window
// system's events through, nothing can change or close what it works on;
// "中止", Esc and the window's close box all ask the job to stop, and the
// window stays until its owner closes it.
#include <QDialog>
#include <QElapsedTimer>
#include <memory>

#include "base/Progress.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace quodle {

class TProgressWindow : public QDialog {
    Q_OBJECT
public:
    TProgressWindow(QWidget* owner, const QString& caption);

    // Shows `text` with the bar at 0, centred on the screen, painted.
    void Open(const QString& text);
    // Sets text and bar (0..100) and lets pending input through now and
    // then; false once the user asked to stop.
    bool Show(const QString& text, int percent);
    bool Cancelled() const { return cancelled_; }

    QLabel* Label1;
    QProgressBar* ProgressBar1;
    QPushButton* Button1;

protected:
    void reject() override { cancelled_ = true; }

private:
    bool cancelled_ = false;
    QElapsedTimer sinceInput_;
};

// The status text once the user stopped a long job.
inline QString StoppedText() { return QStringLiteral("中止しました．"); }

// A job that may take long, seen through by the program: once it has taken
// `delayMs` a progress window (`caption`, `text`) opens over `owner` and
// shows how far it got; a job that ends sooner shows nothing. The window
// closes with this.
class TLongJobProgress {
public:
    static constexpr int kDelayMs = 500;

    TLongJobProgress(QWidget* owner, QString caption, QString text, int delayMs = kDelayMs);
    ~TLongJobProgress();
    TLongJobProgress(const TLongJobProgress&) = delete;
    TLongJobProgress& operator=(const TLongJobProgress&) = delete;

    // How far the job got (0..100); false once the user asked to stop.
    bool Step(int percent);
    // The window, once shown.
    TProgressWindow* Window() const { return window_.get(); }

private:
    QWidget* owner_;
    QString caption_;
    QString text_;
    int delayMs_;
    QElapsedTimer timer_;
    std::unique_ptr<TProgressWindow> window_;
};

// An analysis's progress on `bar` (the window's own bar), and in a
// TLongJobProgress that lets the user stop it.
class TStoppableProgress final : public TProgressSink {
public:
    TStoppableProgress(TProgressSink& bar, QWidget* owner, QString caption, QString text,
                       int delayMs = TLongJobProgress::kDelayMs)
        : bar_(bar), job_(owner, std::move(caption), std::move(text), delayMs) {}

    int Position() const override { return bar_.Position(); }
    void SetPosition(int position) override;
    int Maximum() const override { return bar_.Maximum(); }
    void SetMaximum(int maximum) override { bar_.SetMaximum(maximum); }
    bool StopAsked() const override { return stopped_; }
    TProgressWindow* Window() const { return job_.Window(); }

private:
    TProgressSink& bar_;
    TLongJobProgress job_;
    bool stopped_ = false;
};

}  // namespace quodle
