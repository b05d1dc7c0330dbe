#include "benchsources.h"

#include <QBuffer>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace quorva::bench {

QImage iconArtwork(int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = side;
    QPainterPath body;
    body.addRoundedRect(QRectF(s * 0.06, s * 0.06, s * 0.88, s * 0.88), s * 0.2, s * 0.2);
    QLinearGradient ground(0, 0, s, s);
    ground.setColorAt(0, QColor(40, 120, 230));
    ground.setColorAt(1, QColor(120, 40, 200));
    painter.fillPath(body, ground);
    QRadialGradient glow(QPointF(s * 0.35, s * 0.3), s * 0.5);
    glow.setColorAt(0, QColor(255, 255, 255, 150));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    painter.fillPath(body, glow);
    painter.setPen(QPen(QColor(255, 255, 255, 230), s * 0.035));
    for (int ring = 1; ring <= 3; ++ring)
        painter.drawEllipse(QPointF(s * 0.5, s * 0.55), s * 0.1 * ring, s * 0.1 * ring);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 200, 40));
    painter.drawEllipse(QPointF(s * 0.5, s * 0.55), s * 0.06, s * 0.06);
    return image;
}

QByteArray encodedWithQt(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace quorva::bench
