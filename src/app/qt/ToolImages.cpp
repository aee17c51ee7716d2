#include "app/qt/ToolImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

#include "lisp/FunctionTree.h"

namespace quodle {
namespace {

// Every picture is drawn on a 16 x 16 grid and rendered at 16 and 32 pixels.
const QColor kInk(40, 40, 40);
const QColor kPaper(255, 255, 255);
const QColor kFolder(230, 190, 80);
const QColor kDisk(60, 90, 170);
const QColor kMark(0, 140, 220);
const QColor kPlus(0, 150, 0);
const QColor kMinus(200, 30, 30);

void Page(QPainter& p) {
    QPainterPath path;
    path.moveTo(3, 1.5);
    path.lineTo(10, 1.5);
    path.lineTo(13, 4.5);
    path.lineTo(13, 14.5);
    path.lineTo(3, 14.5);
    path.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(10, 1.5), QPointF(10, 4.5));
    p.drawLine(QPointF(10, 4.5), QPointF(13, 4.5));
}

void Folder(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(kFolder.darker(115));
    p.drawRect(QRectF(1.5, 3.5, 5, 2));
    p.setBrush(kFolder);
    p.drawRect(QRectF(1.5, 5.5, 13, 8));
}

void Disk(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(kDisk);
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(kPaper);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(4.5, 9.5, 7, 5));
}

// A small sign in the lower right corner: +, -, x.
void Sign(QPainter& p, char sign) {
    const QColor c = sign == '+' ? kPlus : kMinus;
    p.setPen(QPen(c, 2.2, Qt::SolidLine, Qt::FlatCap));
    if (sign == '+') {
        p.drawLine(QPointF(12, 8.5), QPointF(12, 15.5));
        p.drawLine(QPointF(8.5, 12), QPointF(15.5, 12));
    } else if (sign == '-') {
        p.drawLine(QPointF(8.5, 12), QPointF(15.5, 12));
    } else {
        p.drawLine(QPointF(9, 9), QPointF(15, 15));
        p.drawLine(QPointF(15, 9), QPointF(9, 15));
    }
}

void Text(QPainter& p, const QRectF& box, const QString& text, const QColor& color, int pixelSize, bool bold = true) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    p.setFont(f);
    p.setPen(color);
    p.drawText(box, Qt::AlignCenter, text);
}

void Flag(QPainter& p) {
    p.setPen(QPen(kInk, 1.2));
    p.drawLine(QPointF(3.5, 1.5), QPointF(3.5, 14.5));
    p.setPen(Qt::NoPen);
    p.setBrush(kMark);
    QPolygonF flag;
    flag << QPointF(4, 2) << QPointF(12, 5) << QPointF(4, 8);
    p.drawPolygon(flag);
}

void Arrow(QPainter& p, bool up) {
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    QPolygonF a;
    if (up)
        a << QPointF(12, 9) << QPointF(15.5, 13) << QPointF(8.5, 13);
    else
        a << QPointF(12, 14.5) << QPointF(15.5, 10.5) << QPointF(8.5, 10.5);
    p.drawPolygon(a);
}

void Eye(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    QPainterPath path;
    path.moveTo(0.5, 6);
    path.quadTo(6, -1, 11.5, 6);
    path.quadTo(6, 13, 0.5, 6);
    p.drawPath(path);
    p.setBrush(kMark);
    p.drawEllipse(QPointF(6, 6), 2.2, 2.2);
}

void Stop(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(220, 40, 40));
    QPolygonF oct;
    for (int i = 0; i < 8; ++i) {
        const double a = (22.5 + 45.0 * i) * 3.14159265358979 / 180.0;
        oct << QPointF(6 + 5.2 * std::cos(a), 6 + 5.2 * std::sin(a));
    }
    p.drawPolygon(oct);
}

void Draw(QPainter& p, int index) {
    switch (index) {
    case imgNew:
        Page(p);
        break;
    case imgOpen:
        Folder(p);
        break;
    case imgSave:
        Disk(p);
        break;
    case imgSaveAs:
        Disk(p);
        p.setPen(QPen(QColor(200, 120, 0), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9, 14), QPointF(15, 8));
        break;
    case imgCommentAdd:
        Text(p, QRectF(0, 0, 10, 12), QStringLiteral(";"), kInk, 13);
        Sign(p, '+');
        break;
    case imgCommentDelete:
        Text(p, QRectF(0, 0, 10, 12), QStringLiteral(";"), kInk, 13);
        Sign(p, '-');
        break;
    case imgMarkToggle:
        Flag(p);
        break;
    case imgMarkPrevious:
        Flag(p);
        Arrow(p, true);
        break;
    case imgMarkNext:
        Flag(p);
        Arrow(p, false);
        break;
    case imgMarkClear:
        Flag(p);
        Sign(p, 'x');
        break;
    case imgFind:
        p.setPen(QPen(kInk, 2));
        p.setBrush(kPaper);
        p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
        p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
        break;
    case imgWatchAdd:
        Eye(p);
        Sign(p, '+');
        break;
    case imgWatchDelete:
        Eye(p);
        Sign(p, '-');
        break;
    case imgBreakAdd:
        Stop(p);
        Sign(p, '+');
        break;
    case imgBreakDelete:
        Stop(p);
        Sign(p, '-');
        break;
    case imgSelectBracket:
        p.fillRect(QRectF(3, 3, 10, 10), QColor(160, 200, 255));
        Text(p, QRectF(0, 0, 16, 16), QStringLiteral("( )"), kInk, 12);
        break;
    case imgCountBrackets:
        Text(p, QRectF(0, -2, 16, 10), QStringLiteral("()"), kInk, 10);
        Text(p, QRectF(0, 6, 16, 10), QStringLiteral("123"), kDisk, 7);
        break;
    case imgVariableCheck:
        Text(p, QRectF(0, 0, 10, 12), QStringLiteral("x"), kInk, 12, false);
        p.setPen(QPen(kPlus, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 11), QPointF(10.5, 14));
        p.drawLine(QPointF(10.5, 14), QPointF(15, 7));
        break;
    case imgUserFunctionJump:
        Text(p, QRectF(0, 0, 9, 14), QStringLiteral("f"), kInk, 13, false);
        p.setPen(QPen(kMark, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 9), QPointF(14.5, 9));
        p.drawLine(QPointF(11.5, 6), QPointF(14.5, 9));
        p.drawLine(QPointF(11.5, 12), QPointF(14.5, 9));
        break;
    case imgReference:
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(120, 60, 30));
        p.drawRect(QRectF(2.5, 1.5, 11, 13));
        Text(p, QRectF(2, 1, 12, 14), QStringLiteral("?"), kPaper, 10);
        break;
    case imgLoadAutoCad:
    case imgLoadIntelliCad:
    case imgLoadZwCad:
    case imgLoadBricsCad: {
        const QColor colors[] = {QColor(200, 30, 30), QColor(0, 120, 60), QColor(30, 80, 200), QColor(220, 120, 0)};
        const char* letters[] = {"A", "I", "Z", "B"};
        const int k = index == imgLoadAutoCad ? 0 : index == imgLoadIntelliCad ? 1 : index == imgLoadZwCad ? 2 : 3;
        p.setPen(QPen(kInk, 1));
        p.setBrush(colors[k]);
        p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 2, 2);
        Text(p, QRectF(1, 0, 14, 12), QString::fromLatin1(letters[k]), kPaper, 11);
        p.setPen(QPen(kPaper, 1.5));
        p.drawLine(QPointF(4, 13), QPointF(12, 13));
        break;
    }
    default:
        break;
    }
}

bool HasPicture(int index) {
    return (index >= imgNew && index <= imgReference) || index == imgLoadAutoCad || index == imgLoadIntelliCad ||
           index == imgLoadZwCad || index == imgLoadBricsCad;
}

// A function: "f" on a block, full size for a top-level one, smaller and
// lighter for a nested one.
void DrawTreeImage(QPainter& p, int index) {
    const bool nested = index == kTreeImageNested;
    const QRectF box = nested ? QRectF(4.5, 4.5, 10, 10) : QRectF(1.5, 1.5, 13, 13);
    p.setPen(QPen(kInk, 1));
    p.setBrush(nested ? QColor(120, 180, 230) : QColor(40, 110, 190));
    p.drawRoundedRect(box, 2, 2);
    Text(p, box.adjusted(-1, -1, 1, 0), QStringLiteral("f"), kPaper, nested ? 9 : 12);
}

QIcon Rendered(void (*draw)(QPainter&, int), int index) {
    QIcon icon;
    for (int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(size / 16.0, size / 16.0);
        draw(p, index);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

QIcon ToolImage(int index) { return HasPicture(index) ? Rendered(Draw, index) : QIcon(); }

QIcon TreeImage(int index) { return index == kTreeImageFunction || index == kTreeImageNested ? Rendered(DrawTreeImage, index) : QIcon(); }

}  // namespace quodle
