#pragma once
// TForm5: the one list window of the user-function commands. Its caption
// picks its behaviour: "func" and "system" make it a borderless pick list
// that inserts a name at the caret, any other caption a jump list with a
// memo that shows the comment block of the picked function. The window only
// shows and picks; the command that made it acts on the picked item.
#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "lisp/UserFunctions.h"

class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QToolButton;

namespace quodle {

// The list window: user-function jump lists and the name pick lists.
class TForm5 : public QDialog {
    Q_OBJECT
public:
    enum TMode { fmJump, fmFunc, fmSystem };
    static constexpr int kDesignWidth = 376;
    static constexpr int kDesignHeight = 222;
    static constexpr int kPickListWidth = 580;
    static constexpr int kPickListHeight = 160;

    explicit TForm5(QWidget* parent = nullptr);

    // The mode follows the caption.
    void SetCaption(const QString& caption);
    TMode Mode() const;
    bool IsUserFunctionList() const;

    // Items keep the order they are added in (Shift-JIS texts).
    void AddItems(const std::vector<TPickItem>& items);
    int Count() const;
    // The selected item with its text as Shift-JIS bytes.
    std::optional<TPickItem> SelectedItem() const;
    // What the memo shows for an item of a jump list.
    void SetCommentSource(std::function<std::vector<std::string>(const TPickItem&)> source) {
        commentSource_ = std::move(source);
    }
    // Borderless and wide, as the pick lists are shown.
    void MakePickList();

    QListWidget* ListBox1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QToolButton* BitBtn1 = nullptr;  // "×"

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowComment();
    void Pick();

    std::function<std::vector<std::string>(const TPickItem&)> commentSource_;
};

}  // namespace quodle
