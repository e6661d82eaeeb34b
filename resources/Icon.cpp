// Draws the program icon: a green battery with a terminal cap and a charge bolt.
#include "Icon.h"

#include <QPainter>
#include <QPixmap>

namespace {

QPixmap batteryPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal u = size / 32.0;
    p.setPen(QPen(QColor(30, 60, 30), 1.5 * u));
    p.setBrush(QColor(80, 80, 80));
    p.drawRoundedRect(QRectF(12 * u, 2 * u, 8 * u, 4 * u), u, u);  // terminal cap
    p.setBrush(QColor(60, 170, 70));
    p.drawRoundedRect(QRectF(7 * u, 5 * u, 18 * u, 25 * u), 2.5 * u, 2.5 * u);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 230, 80));
    const QPointF bolt[] = {{17 * u, 8 * u},  {11 * u, 18 * u}, {15.5 * u, 18 * u},
                            {14 * u, 27 * u}, {21 * u, 15 * u}, {16.5 * u, 15 * u}};
    p.drawPolygon(bolt, 6);
    return pixmap;
}

}  // namespace

QIcon korvalIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        icon.addPixmap(batteryPixmap(size));
    }
    return icon;
}
