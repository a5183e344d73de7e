#include "programicon.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>

namespace zw
{

namespace
{

// The picture on its 64 x 64 design grid, scaled to `size` pixels.
QPixmap drawRadio(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.scale(size / 64.0, size / 64.0);

    auto roundedRect = [&painter](double x, double y, double w, double h, double r, QRgb colour) {
        painter.setBrush(QColor(colour));
        painter.drawRoundedRect(QRectF(x, y, w, h), r, r);
    };
    roundedRect(36, 2, 5, 18, 2, 0x303030);   // antenna
    roundedRect(16, 16, 32, 46, 6, 0x1f4e79); // body
    roundedRect(21, 22, 22, 12, 2, 0xb8e0a0); // display
    roundedRect(22, 17, 8, 3, 1, 0xe04030);   // transmit lamp
    painter.setBrush(QColor(0xd8d8d8));       // keypad
    for (double y : {41.0, 48.0, 55.0}) {
        for (double x : {24.0, 32.0, 40.0})
            painter.drawEllipse(QPointF(x, y), 2.4, 2.4);
    }
    if (size >= 32) { // smaller, the display's text is a smudge
        QFont font(QStringLiteral("Sans Serif"));
        font.setPixelSize(8);
        painter.setFont(font);
        painter.setPen(QColor(0x1f3f10));
        painter.drawText(QRectF(21, 22, 22, 12), Qt::AlignCenter, QStringLiteral("CH 1"));
    }
    painter.end();
    return QPixmap::fromImage(image);
}

} // namespace

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(drawRadio(size));
    return icon;
}

} // namespace zw
