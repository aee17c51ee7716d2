#pragma once
// TFormStringsPrinterPreview: the rendered pages one at a time, at paper
// size, paper width or paper height, moved by dragging and the wheel.
#include <QDialog>
#include <functional>

#include "print/qt/PageRenderer.h"

class QLabel;
class QScrollArea;
class QStatusBar;
class QToolButton;

namespace quodle {

class TFormStringsPrinterPreview final : public QDialog {
    Q_OBJECT
public:
    enum TZoom { zmActual = 0, zmPaperWidth = 1, zmPaperHeight = 2 };

    // The pages stay the caller's; print is "印刷" (true: the preview closes).
    TFormStringsPrinterPreview(QWidget* owner, const TRenderedPages& pages, std::function<bool()> print);

    void ShowPage(int n);
    int CurrentPage() const { return current_; }
    TZoom Zoom() const { return zoom_; }
    void SetZoom(TZoom zoom);

    QLabel* Label1;
    QToolButton* SpeedButton1;  // first
    QToolButton* SpeedButton2;  // previous
    QToolButton* SpeedButton3;  // next
    QToolButton* SpeedButton4;  // last
    QToolButton* SpeedButton5;  // 用紙高さ
    QToolButton* SpeedButton6;  // 用紙幅
    QToolButton* SpeedButton7;  // 100%
    QToolButton* SpeedButton8;  // 閉じる
    QToolButton* SpeedButton9;  // 印刷
    QStatusBar* StatusBar1;
    QScrollArea* ScrollBox1;
    QLabel* Image1;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DrawPage();
    void UpdateCursor();

    const TRenderedPages& pages_;
    std::function<bool()> print_;
    int current_ = 0;
    TZoom zoom_ = zmActual;
    QPoint downPoint_;
    bool dragging_ = false;
    bool sized_ = false;
};

}  // namespace quodle
