#pragma once
// PageControl1: one page per document under a band of tabs that wraps onto
// several rows when the tabs do not fit; the program draws the tabs itself
// (the selected one filled with the active-tab colours). The band never
// makes the control, or the window, taller: it takes the rows it needs at
// the control's real width up to half of the control's height, and scrolls
// through the rows beyond that.
#include <QColor>
#include <QStringList>
#include <QWidget>
#include <vector>

class QScrollBar;
class QStackedWidget;

namespace quodle {

class TTabBand;

class TPageControl : public QWidget {
    Q_OBJECT
public:
    explicit TPageControl(QWidget* parent = nullptr);

    // Appends a page (the control takes ownership) and returns its index.
    int AddPage(QWidget* page, const QString& caption);
    // Removes the page and gives it back to the caller.
    QWidget* TakePage(int index);
    int PageCount() const;
    QWidget* Page(int index) const;
    int IndexOf(const QWidget* page) const;

    QString Caption(int index) const;
    void SetCaption(int index, const QString& caption);

    int ActivePageIndex() const { return active_; }
    QWidget* ActivePage() const { return Page(active_); }
    // Selects a page without raising Changed (as the program selecting).
    void SetActivePageIndex(int index);

    void SetActiveTabColors(const QColor& text, const QColor& fill);
    QColor ActiveTabTextColor() const { return activeText_; }
    QColor ActiveTabFillColor() const { return activeFill_; }

    // The tab rectangles in band coordinates (after scrolling), for drawing
    // and hit tests.
    QRect TabRect(int index) const;
    QWidget* TabBand() const;
    // Scrolls the band's rows; shown only while they do not all fit.
    QScrollBar* TabScrollBar() const { return scrollBar_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The user selected another tab.
    void Changed();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class TTabBand;
    void UserSelect(int index);
    // Lays the tabs out for the current width and places band, scroll bar
    // and pages; the row of the selected tab, next to the pages, is shown.
    void Arrange();

    TTabBand* band_;
    QScrollBar* scrollBar_;
    QStackedWidget* stack_;
    QStringList captions_;
    int active_ = -1;
    QColor activeText_;
    QColor activeFill_;
};

}  // namespace quodle
