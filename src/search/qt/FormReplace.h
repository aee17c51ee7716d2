#pragma once
// TFormReplace, the replace dialog "置換": the find dialog's controls plus
// the replace string with its history, "すべて置換(&A)" and the choice to
// confirm each replacement (always offered checked).
#include "search/qt/FormSearch.h"

namespace quodle {

class TFormReplace : public TFormSearch {
    Q_OBJECT
public:
    TFormReplace(const TSearchDialogStore& store, QWidget* parent = nullptr);

    // Accepted also needs a replace string.
    bool Accepted() const { return TFormSearch::Accepted() && !replaceText_.isEmpty(); }
    const QString& ReplaceText() const { return replaceText_; }

    QComboBox* ComboBox2 = nullptr;
    QCheckBox* chkReplaceConfirm = nullptr;
    QPushButton* btnAll = nullptr;

protected:
    void Accept(TSearchOptions closedBy) override;

private:
    QString replaceText_;
};

}  // namespace quodle
