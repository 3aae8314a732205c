#include "app/ImageList.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace {

using Drawing = std::function<void(QPainter&)>;

const QColor kOutline(60, 60, 70);
const QColor kFolder(235, 190, 70);
const QColor kPaper(252, 252, 248);
const QColor kBlue(50, 110, 200);

// Renders a drawing made on a 16 x 16 grid at the usual icon sizes.
QIcon Render(const Drawing& draw) {
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void DrawFolder(QPainter& p) {
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(kFolder.darker(115));
    p.drawRect(QRectF(1.5, 3.5, 5, 2));
    p.setBrush(kFolder);
    p.drawRect(QRectF(1.5, 5.0, 13, 8.5));
}

void DrawPage(QPainter& p) {
    QPainterPath page;
    page.moveTo(3.5, 1.5);
    page.lineTo(10.0, 1.5);
    page.lineTo(12.5, 4.0);
    page.lineTo(12.5, 14.5);
    page.lineTo(3.5, 14.5);
    page.closeSubpath();
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(kPaper);
    p.drawPath(page);
    p.drawPolyline(QPolygonF({QPointF(10.0, 1.5), QPointF(10.0, 4.0), QPointF(12.5, 4.0)}));
}

void DrawMagnifier(QPainter& p, const QPointF& centre, double radius) {
    p.setPen(QPen(kOutline, 2.0, Qt::SolidLine, Qt::RoundCap));
    const QPointF handle = centre + QPointF(radius * 0.75, radius * 0.75);
    p.drawLine(handle, handle + QPointF(radius * 0.85, radius * 0.85));
    p.setPen(QPen(kOutline, 1.2));
    p.setBrush(QColor(200, 225, 250));
    p.drawEllipse(centre, radius, radius);
}

void DrawOpen(QPainter& p) {
    DrawFolder(p);
    p.setPen(QPen(kBlue, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(8, 12), QPointF(8, 7.5));
    p.drawPolyline(QPolygonF({QPointF(5.8, 9.5), QPointF(8, 7.2), QPointF(10.2, 9.5)}));
}

void DrawSearchStart(QPainter& p) {
    DrawMagnifier(p, QPointF(6.5, 6.5), 4.5);
}

void DrawNew(QPainter& p) {
    DrawPage(p);
    p.setPen(QPen(QColor(230, 170, 0), 1.2));
    p.drawLine(QPointF(12.5, 9), QPointF(12.5, 15));
    p.drawLine(QPointF(9.5, 12), QPointF(15.5, 12));
}

void DrawSearchConditions(QPainter& p) {
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(kPaper);
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.setPen(QPen(kBlue, 1.4));
    for (double y : {4.5, 8.0, 11.5}) {
        p.drawLine(QPointF(4, y), QPointF(12, y));
    }
}

void DrawSave(QPainter& p) {
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1, 1);
    p.setBrush(kPaper);
    p.drawRect(QRectF(4, 1.5, 8, 5));
    p.setBrush(QColor(210, 210, 215));
    p.drawRect(QRectF(4.5, 9.5, 7, 5));
}

void DrawResultColumns(QPainter& p) {
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(kPaper);
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.setBrush(QColor(190, 210, 235));
    p.drawRect(QRectF(1.5, 2.5, 13, 3));
    for (double x : {5.8, 10.2}) {
        p.drawLine(QPointF(x, 2.5), QPointF(x, 13.5));
    }
}

void DrawStayOnTop(QPainter& p) {
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(QColor(200, 200, 205));
    p.drawRect(QRectF(1.5, 6.5, 9, 8));
    p.setBrush(kPaper);
    p.drawRect(QRectF(5.5, 1.5, 9, 8));
    p.setBrush(kBlue);
    p.drawRect(QRectF(5.5, 1.5, 9, 2));
}

void DrawBrowseFolder(QPainter& p) {
    DrawFolder(p);
    DrawMagnifier(p, QPointF(9.5, 9.5), 2.8);
}

void DrawCancel(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(205, 45, 45));
    p.drawEllipse(QRectF(1, 1, 14, 14));
    p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 5), QPointF(11, 11));
    p.drawLine(QPointF(11, 5), QPointF(5, 11));
}

void DrawProgram(QPainter& p) {
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(QColor(225, 245, 225));
    p.drawRect(QRectF(0.5, 0.5, 12, 12));
    p.setPen(QPen(QColor(60, 140, 60), 0.6));
    for (double v : {4.5, 8.5}) {
        p.drawLine(QPointF(0.5, v), QPointF(12.5, v));
        p.drawLine(QPointF(v, 0.5), QPointF(v, 12.5));
    }
    DrawMagnifier(p, QPointF(9.5, 9.5), 3.2);
}

}  // namespace

QIcon ImageList::Icon(int index) {
    switch (index) {
        case Open:
            return Render(DrawOpen);
        case SearchStart:
            return Render(DrawSearchStart);
        case New:
            return Render(DrawNew);
        case SearchConditions:
            return Render(DrawSearchConditions);
        case Save:
            return Render(DrawSave);
        case ResultColumns:
            return Render(DrawResultColumns);
        case StayOnTop:
            return Render(DrawStayOnTop);
        case BrowseFolder:
            return Render(DrawBrowseFolder);
        case Cancel:
            return Render(DrawCancel);
        default:
            return QIcon();
    }
}

QIcon ImageList::ProgramIcon() {
    return Render(DrawProgram);
}
