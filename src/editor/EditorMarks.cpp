#include "editor/EditorMarks.h"

#include "editor/RowMarks.h"

namespace quodle {

bool TEditorExMarks::Indicated() const {
    for (const TEditorMark* m : {&DBSpaceMark, &SpaceMark, &TabMark, &FindMark, &ParenMark, &CurrentLine, &DigitLine,
                                 &ImageLine, &Img0Line, &Img1Line, &Img2Line, &Img3Line, &Img4Line, &Img5Line,
                                 &EvenLine})
        if (m->Visible) return true;
    return false;
}

const TEditorMark& TEditorExMarks::ImgLine(int index) const {
    switch (index) {
        case 0: return Img0Line;
        case 1: return Img1Line;
        case 2: return Img2Line;
        case 3: return Img3Line;
        case 4: return Img4Line;
        default: return Img5Line;
    }
}

TColor RowTint(const TEditorExMarks& marks, std::uint16_t rowMarks, bool caretRow, int displayedNumber) {
    if (marks.CurrentLine.Visible && caretRow) return marks.CurrentLine.Color;
    if (marks.DigitLine.Visible && (rowMarks & kNumberedMarks)) return marks.DigitLine.Color;
    for (int i = 0; i < kRowMarkCount - kNumberedMarkCount; ++i) {
        const TEditorMark& line = marks.ImgLine(i);
        if (line.Visible && (rowMarks & MarkBit(kNumberedMarkCount + i))) return line.Color;
    }
    if (marks.ImageLine.Visible && (rowMarks & kPictureMarks)) return marks.ImageLine.Color;
    if (marks.EvenLine.Visible && displayedNumber % 2 == 0) return marks.EvenLine.Color;
    return clNone;
}

bool TVerticalLine::SetPosition(int value) {
    if (value < 0 || value > kMaxPosition || value == position_) return false;
    position_ = value;
    return true;
}

}  // namespace quodle
