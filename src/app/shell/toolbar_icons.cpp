#include "app/shell/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace kv820 {

namespace {

constexpr int Size = 40;
const QColor Ink(0x2b, 0x4c, 0x7e);
const QColor Accent(0xd9, 0x48, 0x3b);

QIcon Draw(const std::function<void(QPainter&)>& paint) {
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    return QIcon(pixmap);
}

void Person(QPainter& p, QPointF at) {
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.drawEllipse(QPointF(at.x(), at.y() - 8), 7, 7);
    QPainterPath body;
    body.moveTo(at.x() - 12, at.y() + 14);
    body.cubicTo(at.x() - 12, at.y() - 2, at.x() + 12, at.y() - 2, at.x() + 12, at.y() + 14);
    body.closeSubpath();
    p.drawPath(body);
}

}  // namespace

QIcon UserInformationIcon() {
    return Draw([](QPainter& p) {
        Person(p, {16, 20});
        p.setBrush(QColor(0x3a, 0x8d, 0xde));
        p.drawEllipse(QPointF(30, 28), 8, 8);
        p.setPen(QPen(Qt::white, 2.5));
        p.drawLine(QPointF(30, 26), QPointF(30, 32));
        p.drawPoint(QPointF(30, 23));
    });
}

QIcon MapMarkIcon() {
    return Draw([](QPainter& p) {
        p.setPen(QPen(QColor(0x6a, 0x9a, 0x5b), 2));
        p.setBrush(QColor(0xdf, 0xee, 0xd6));
        p.drawPolygon(QPolygonF(
            {{4, 12}, {14, 8}, {26, 12}, {36, 8}, {36, 34}, {26, 38}, {14, 34}, {4, 38}}));
        QPainterPath pin;
        pin.moveTo(20, 32);
        pin.cubicTo(10, 20, 12, 6, 20, 6);
        pin.cubicTo(28, 6, 30, 20, 20, 32);
        p.setPen(Qt::NoPen);
        p.setBrush(Accent);
        p.drawPath(pin);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(20, 15), 3.5, 3.5);
    });
}

QIcon ExportKmlIcon() {
    return Draw([](QPainter& p) {
        p.setPen(QPen(Ink, 2));
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({{8, 4}, {26, 4}, {32, 10}, {32, 36}, {8, 36}}));
        p.setPen(QPen(Accent, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({{12, 30}, {17, 20}, {22, 25}, {28, 14}}));
        p.setFont(QFont(QStringLiteral("Sans"), 6, QFont::Bold));
        p.setPen(Ink);
        p.drawText(QRectF(8, 5, 20, 9), Qt::AlignCenter, QStringLiteral("KML"));
    });
}

QIcon SetupIcon() {
    return Draw([](QPainter& p) {
        p.setPen(QPen(Ink, 2));
        p.setBrush(QColor(0xe8, 0xec, 0xf2));
        p.drawRoundedRect(QRectF(10, 4, 20, 32), 4, 4);
        p.setBrush(QColor(0x9c, 0xc8, 0xf0));
        p.drawRect(QRectF(14, 9, 12, 10));
        p.setPen(QPen(Ink, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(20, 36), QPointF(20, 39));
        p.setPen(Qt::NoPen);
        p.setBrush(Accent);
        p.drawEllipse(QPointF(20, 28), 3, 3);
    });
}

QIcon DeleteUserIcon() {
    return Draw([](QPainter& p) {
        Person(p, {16, 20});
        p.setPen(QPen(Accent, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(26, 22), QPointF(36, 32));
        p.drawLine(QPointF(36, 22), QPointF(26, 32));
    });
}

}  // namespace kv820
