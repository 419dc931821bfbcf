#include "platform/qt/icon.h"

#include <QPainter>
#include <QPainterPath>

namespace velmora::platform::qt {

// Keep in step with packaging/velmora.svg, which draws the same on a 64 grid.
QImage drawProgramIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    QPainterPath page;
    page.addRoundedRect(QRectF(10, 4, 44, 56), 4, 4);
    p.fillPath(page, QColor(0xFA, 0xFA, 0xF7));
    p.setPen(QPen(QColor(0x44, 0x44, 0x44), 2));
    p.drawPath(page);

    p.setPen(QPen(QColor(0x55, 0x55, 0x55), 3, Qt::SolidLine, Qt::RoundCap));
    for (int y = 14; y <= 50; y += 6) p.drawLine(QPointF(17, y), QPointF(y % 12 == 2 ? 40 : 47, y));

    // The tint: the default colour at the program's alpha.
    p.setPen(QPen(QColor(0x2E, 0x6E, 0x82), 2));
    p.setBrush(QColor(144, 195, 212, 150));
    p.drawRoundedRect(QRectF(4, 22, 56, 22), 3, 3);
    return image;
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128}) icon.addPixmap(QPixmap::fromImage(drawProgramIcon(size)));
    return icon;
}

}  // namespace velmora::platform::qt
