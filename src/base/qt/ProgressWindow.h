#pragma once
// The window shown while a long job runs: a text, a bar and "中止". It is
// modal for the whole program, so that while the job lets the window
// system's events through, nothing can change or close what it works on;
// "中止", Esc and the window's close box all ask the job to stop, and the
// window stays until its owner closes it.
#include <QDialog>
#include <QElapsedTimer>

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

}  // namespace quodle
