#pragma once
// The 設定 dialog: the editor's look and typing options shown by example on
// small sample fields, changed through the font and colour dialogs of the
// dialog seam. It edits a TSettingsValues; the main window fills it from the
// active editor and applies what comes back on OK.
#include <QDialog>
#include <QLineEdit>

#include "base/Color.h"
#include "editor/EditorOptions.h"

class QCheckBox;
class QRadioButton;
class QSpinBox;

namespace quodle {

class TDialogs;

struct TSettingsValues {
    TEditorFontProp Font;
    TColor Background = clWindow;
    TColor Comment = clGray, String = clRed, Reserve = clBlack, Reserve2 = clBlue;
    TEditorSelectColorProp Select;
    bool TabIndent = false, SoftTab = false, AutoIndent = false;
    int TabSpaceCount = 8;  // as the editor has it; the dialog offers 2, 4 and 8
    TColor BarColor = clBlack, BarBkColor = clSilver;
    TColor TitleColor = clBlue, TitleBkColor = clAqua;
    int LineSpacing = 0;

    bool operator==(const TSettingsValues&) const = default;
};

// A read-only field showing its text in a text and a background colour.
class TSampleField : public QLineEdit {
public:
    TSampleField(const QString& text, QWidget* parent);
    TColor Fore() const { return fore_; }
    TColor Back() const { return back_; }
    void SetFore(TColor color);
    void SetBack(TColor color);

private:
    void UpdatePalette();
    TColor fore_ = clWindowText;
    TColor back_ = clWindow;
};

class TSettingsDialog : public QDialog {
public:
    static constexpr int kMaxLineSpacing = 10;

    TSettingsDialog(TDialogs& dialogs, const TSettingsValues& values, QWidget* parent);
    // What the controls hold now; the tab width is 2, 4 or 8.
    TSettingsValues Values() const;

private:
    QPushButton* ColorButton(const QString& name, const QString& caption, TSampleField* sample, bool back);
    void ChooseFont();

    TDialogs& dialogs_;
    TEditorFontProp font_;
    TSampleField* fontSample_;
    TSampleField* commentSample_;
    TSampleField* stringSample_;
    TSampleField* reserveSample_;
    TSampleField* reserve2Sample_;
    TSampleField* selectSample_;
    TSampleField* barSample_;
    TSampleField* titleSample_;
    QSpinBox* lineSpacing_;
    QCheckBox* tabIndent_;
    QCheckBox* softTab_;
    QCheckBox* autoIndent_;
    QRadioButton* tab2_;
    QRadioButton* tab4_;
    QRadioButton* tab8_;
};

}  // namespace quodle
