#include "ui/Pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace zelvarion::pictures {
namespace {

constexpr int kButtonSize = 20;

QPixmap blank(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A triangle pointing left or right, optionally with a bar at its tip (first / last page).
QPixmap arrow(bool right, bool withBar, const QColor &colour)
{
    QPixmap pixmap = blank(kButtonSize);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    const qreal tip = right ? 15 : 5;
    const qreal base = right ? 6 : 14;
    p.drawPolygon(QPolygonF({QPointF(base, 4), QPointF(tip, 10), QPointF(base, 16)}));
    if (withBar)
        p.drawRect(QRectF(right ? 15 : 3, 4, 2, 12));
    return pixmap;
}

QIcon twoStateIcon(const QPixmap &enabled, const QPixmap &disabled)
{
    QIcon icon;
    icon.addPixmap(enabled, QIcon::Normal);
    icon.addPixmap(disabled, QIcon::Disabled);
    return icon;
}

} // namespace

QIcon navigationIcon(Navigation which)
{
    const bool right = which == Navigation::Forward || which == Navigation::End;
    const bool bar = which == Navigation::Begin || which == Navigation::End;
    return twoStateIcon(arrow(right, bar, QColor(0, 0, 160)), arrow(right, bar, QColor(170, 170, 170)));
}

QIcon eraseIcon()
{
    auto draw = [](const QColor &colour) {
        QPixmap pixmap = blank(kButtonSize);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 5), QPointF(15, 15));
        p.drawLine(QPointF(15, 5), QPointF(5, 15));
        return pixmap;
    };
    return twoStateIcon(draw(QColor(190, 0, 0)), draw(QColor(170, 170, 170)));
}

QPixmap checkMark(int index)
{
    QPixmap pixmap(10, 10);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setPen(QColor(0, 0, 255));
    p.setBrush(index == 1 ? QBrush(QColor(0, 0, 255)) : QBrush(Qt::white));
    p.drawRect(0, 0, 9, 9);
    return pixmap;
}

QPixmap noImage()
{
    QPixmap pixmap(120, 80);
    pixmap.fill(QColor(235, 235, 235));
    QPainter p(&pixmap);
    p.setPen(QPen(QColor(160, 160, 160), 2));
    p.drawRect(1, 1, 117, 77);
    p.drawLine(30, 20, 90, 60);
    p.drawLine(90, 20, 30, 60);
    return pixmap;
}

QIcon applicationIcon()
{
    QPixmap pixmap = blank(64);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(24, 70, 140));
    p.drawRoundedRect(QRectF(4, 8, 56, 48), 8, 8);
    p.setBrush(QColor(250, 200, 60));
    p.drawEllipse(QRectF(38, 16, 12, 12));
    p.setBrush(QColor(240, 240, 240));
    p.drawPolygon(QPolygonF({QPointF(10, 50), QPointF(26, 26), QPointF(38, 42), QPointF(44, 34), QPointF(54, 50)}));
    return QIcon(pixmap);
}

QIcon spellCheckIcon()
{
    auto draw = [](const QColor &text, const QColor &tick) {
        QPixmap pixmap = blank(kButtonSize);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        QFont font = p.font();
        font.setPixelSize(9);
        font.setBold(true);
        p.setFont(font);
        p.setPen(text);
        p.drawText(QRectF(0, 0, 20, 11), Qt::AlignCenter, QStringLiteral("abc"));
        p.setPen(QPen(tick, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawPolyline(QPolygonF({QPointF(5, 14), QPointF(9, 18), QPointF(16, 11)}));
        return pixmap;
    };
    return twoStateIcon(draw(QColor(0, 0, 160), QColor(0, 140, 0)), draw(QColor(170, 170, 170), QColor(190, 190, 190)));
}

QIcon calendarIcon()
{
    QPixmap pixmap = blank(kButtonSize);
    QPainter p(&pixmap);
    p.setPen(QColor(60, 60, 60));
    p.setBrush(Qt::white);
    p.drawRect(3, 4, 14, 13);
    p.fillRect(3, 4, 15, 4, QColor(190, 0, 0));
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 3; ++column)
            p.fillRect(5 + 4 * column, 10 + 3 * row, 2, 2, QColor(60, 60, 60));
    return QIcon(pixmap);
}

QPixmap iptcLogo()
{
    QPixmap pixmap(72, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 70, 140));
    p.drawRoundedRect(QRectF(0, 0, 72, 32), 6, 6);
    QFont font = p.font();
    font.setPixelSize(18);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 72, 32), Qt::AlignCenter, QStringLiteral("IPTC"));
    return pixmap;
}

} // namespace zelvarion::pictures
