// Draws the curve tree's bitmap: a small voltage curve on a page, plain and highlighted.
#include "TreeBitmap.h"

#include <QBitmap>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr int kImageSize = 15;
constexpr int kBitmapSize = 48;

void drawCurveImage(QPainter& p, int left, QColor page, QColor curve) {
    p.fillRect(left + 1, 1, kImageSize - 2, kImageSize - 2, page);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(left + 1, 1, kImageSize - 3, kImageSize - 3);
    p.setPen(curve);
    const QPoint points[] = {{left + 3, 10}, {left + 5, 7},  {left + 7, 9},
                             {left + 9, 4},  {left + 11, 6}, {left + 12, 5}};
    p.drawPolyline(points, 6);
}

}  // namespace

QImage treeBitmap() {
    QImage bitmap(kBitmapSize, kBitmapSize, QImage::Format_RGB32);
    bitmap.fill(Qt::black);
    QPainter p(&bitmap);
    drawCurveImage(p, 0, QColor(0, 0, 128), QColor(255, 255, 0));  // chosen
    drawCurveImage(p, kImageSize, QColor(255, 255, 255), QColor(255, 0, 0));
    drawCurveImage(p, 2 * kImageSize, QColor(192, 192, 192), QColor(0, 0, 255));
    return bitmap;
}

QPixmap treeImage(int index) {
    static const QImage bitmap = treeBitmap();
    const int slices = kBitmapSize / kImageSize;
    const QImage slice = bitmap.copy((index % slices) * kImageSize, 0, kImageSize, kImageSize);
    QPixmap pixmap = QPixmap::fromImage(slice);
    pixmap.setMask(pixmap.createMaskFromColor(Qt::black));
    return pixmap;
}

QIcon treeItemIcon() {
    QIcon icon;
    icon.addPixmap(treeImage(1), QIcon::Normal);
    icon.addPixmap(treeImage(0), QIcon::Selected);
    return icon;
}
