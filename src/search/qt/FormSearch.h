#pragma once
// TFormSearch, the find dialog "検索": the find string with its history,
// the direction and the options. It reads the stored state when it opens
// and writes it back when it is accepted. TFormReplace builds on it.
#include <QDialog>
#include <QString>

#include "search/SearchOptions.h"
#include "search/qt/SearchDialogStore.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace quodle {

class TFormSearch : public QDialog {
    Q_OBJECT
public:
    TFormSearch(const TSearchDialogStore& store, QWidget* parent = nullptr);

    // After the dialog has closed: whether it was accepted with a find
    // string, that string and the options chosen.
    bool Accepted() const { return accepted_ && !find_.isEmpty(); }
    const QString& FindText() const { return find_; }
    TSearchOptions Options() const { return options_; }

    // The controls, by their design names (tests drive them).
    QComboBox* ComboBox1 = nullptr;
    QRadioButton* Backward = nullptr;  // RadioGroup1 index 0
    QRadioButton* Forward = nullptr;   // RadioGroup1 index 1
    QCheckBox* chkMatchCase = nullptr;
    QCheckBox* chkWholeWord = nullptr;
    QCheckBox* chkNoMatchZenkaku = nullptr;
    QCheckBox* chkIncludeCRLF = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnHelp = nullptr;

protected:
    // `replace`: the replace dialog's frame, which adds its own controls.
    TFormSearch(const TSearchDialogStore& store, bool replace, QWidget* parent);
    void showEvent(QShowEvent* event) override;
    // Takes the strings and options, updates the histories and stores them.
    virtual void Accept(TSearchOptions closedBy);
    TSearchOptions OptionsOfControls() const;

    const TSearchDialogStore& store_;
    TSearchDialogState state_;
    QGridLayout* grid_ = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QVBoxLayout* buttons_ = nullptr;  // OK, Cancel, Help
    QString find_;
    TSearchOptions options_ = 0;
    bool accepted_ = false;
    bool replace_;  // the replace dialog

private:
    void Build(bool replace);
};

}  // namespace quodle
