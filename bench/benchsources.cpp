#include "benchsources.h"

#include <QBuffer>
#include <QFile>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <random>

namespace quorva::bench {
namespace {

QByteArray encoded(const QImage& image, const char* format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("Couldn't read the benchmark source %s", qPrintable(path));
    return file.readAll();
}

Sources* loaded = nullptr;

} // namespace

QImage photoStandIn(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 random(1);
    std::normal_distribution<float> noise(0.f, 6.f);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const float base = 128.f + 60.f * std::sin(x * 0.004f) * std::cos(y * 0.006f);
            auto channel
                = [&](float offset) { return std::clamp(static_cast<int>(base + offset + noise(random)), 0, 255); };
            row[x] = qRgb(channel(20.f), channel(0.f), channel(-30.f));
        }
    }
    return image;
}

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

const Sources& sources(int& argc, char** argv)
{
    static Sources s;
    static QTemporaryDir drawn;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        auto take = [&](const char* option, QString& path) {
            const QString prefix = QString::fromLatin1(option) + QLatin1Char('=');
            if (!argument.startsWith(prefix))
                return false;
            path = argument.mid(prefix.size());
            return true;
        };
        if (!take("--icon-rgba", s.iconRgbaPath) && !take("--icon-rgb", s.iconRgbPath) && !take("--photo", s.photoPath))
            argv[kept++] = argv[i];
    }
    argc = kept;

    auto provide = [&](QString& path, QByteArray& bytes, const char* name, auto draw) {
        if (path.isEmpty()) {
            path = drawn.filePath(QString::fromLatin1(name));
            QFile file(path);
            file.open(QIODevice::WriteOnly);
            file.write(draw());
        }
        bytes = readFile(path);
    };
    provide(s.iconRgbaPath, s.iconRgba, "icon-rgba.png", [] { return encoded(iconArtwork(1024), "PNG"); });
    provide(s.iconRgbPath, s.iconRgb, "icon-rgb.png", [] {
        QImage opaque(1024, 1024, QImage::Format_RGB32);
        opaque.fill(Qt::white);
        QPainter(&opaque).drawImage(0, 0, iconArtwork(1024));
        return encoded(opaque, "PNG");
    });
    provide(s.photoPath, s.photo, "photo.jpg", [] { return encoded(photoStandIn(4000, 3000), "JPG", 92); });
    loaded = &s;
    return s;
}

const Sources& sources()
{
    return *loaded;
}

} // namespace quorva::bench
