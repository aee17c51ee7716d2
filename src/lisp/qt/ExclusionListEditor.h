#pragma once
// TForm9 ("変数名除外リスト"): edits the lines of the exclusion list.
#include <QDialog>
#include <string>
#include <vector>

class QPlainTextEdit;
class QPushButton;

namespace quodle {

// The editor of the variable-name exclusion list.
class TForm9 : public QDialog {
    Q_OBJECT
public:
    explicit TForm9(QWidget* parent = nullptr);

    // Shift-JIS lines in and out; a break after the last line adds no
    // empty line.
    void SetLines(const std::vector<std::string>& lines);
    std::vector<std::string> Lines() const;

    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* Button1 = nullptr;  // 更新
    QPushButton* Button2 = nullptr;  // 取り消し
};

}  // namespace quodle
