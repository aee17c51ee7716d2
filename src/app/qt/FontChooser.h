#pragma once
// The font dialog of the program. The editor and the printer put every
// character in a cell of one width (two for a double-byte one), so only
// faces that draw their ASCII in one width are offered; the current face
// stays in the list whatever it is. It opens on the face a name stands for
// (a design name such as "ＭＳ ゴシック" is mapped to an installed face),
// and gives the name back unchanged when the face was kept, so that a
// change of size alone changes the size alone.
#include <QDialog>
#include <QFont>

class QCheckBox;
class QListWidget;
class QLineEdit;
class QSpinBox;

namespace quodle {

// Whether the family draws the ASCII letters, digits and signs in one width.
bool IsCellFace(const QString& family);

class TFontChooser : public QDialog {
public:
    TFontChooser(const QFont& initial, QWidget* parent);
    // The chosen font: the initial one with the face, size and style chosen.
    QFont ChosenFont() const;

    QListWidget* Faces;
    QSpinBox* Size;
    QCheckBox* Bold;
    QCheckBox* Italic;
    QLineEdit* Sample;

private:
    void ShowSample();

    QFont initial_;
    QString initialFace_;  // the installed face the initial name stands for
};

}  // namespace quodle
