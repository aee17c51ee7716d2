#pragma once
// ヘルプ → バージョン情報: the product, its version and where its author is
// reached; the mail and web fields open through the shell seam.
#include <QDialog>

namespace quodle {

class TShell;

inline constexpr const char* kAboutProduct = "Quodle";
inline constexpr const char* kAboutVersion = "Ver.0.58b";
inline constexpr const char* kAboutAuthor = "作者: Quodle 開発チーム";
inline constexpr const char* kAboutMail = "quodle@quodle.example";
inline constexpr const char* kAboutUrl = "https://quodle.example/";

class TAboutBox : public QDialog {
public:
    TAboutBox(TShell& shell, QWidget* parent);
};

}  // namespace quodle
