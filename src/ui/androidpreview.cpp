#include "ui/androidpreview.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <vector>

namespace quorva {
namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("quorva::AndroidPreview", text);
}

enum class Mask { Circle, Squircle, RoundedSquare };

QPainterPath maskPath(Mask mask, int side)
{
    QPainterPath path;
    const QRectF box(0, 0, side, side);
    switch (mask) {
    case Mask::Circle:
        path.addEllipse(box);
        break;
    case Mask::RoundedSquare:
        path.addRoundedRect(box, side * 0.18, side * 0.18);
        break;
    case Mask::Squircle: { // |x|⁴ + |y|⁴ = 1, as Pixel launchers drew it
        const double r = side / 2.0;
        for (int step = 0; step <= 360; ++step) {
            const double t = step * M_PI / 180;
            const double c = std::cos(t), s = std::sin(t);
            const QPointF point(r + r * std::copysign(std::sqrt(std::abs(c)), c),
                                r + r * std::copysign(std::sqrt(std::abs(s)), s));
            step == 0 ? path.moveTo(point) : path.lineTo(point);
        }
        path.closeSubpath();
        break;
    }
    }
    return path;
}

QImage maskedTo(const QImage& shown, Mask mask)
{
    QImage out(shown.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipPath(maskPath(mask, shown.width()));
    painter.drawImage(0, 0, shown);
    return out;
}

// Android 13's themed icon: the monochrome layer's alpha in the theme's dark tone on its light one
// (the reverse on a dark home screen), in a circle.
QImage themed(const QImage& alpha, bool dark)
{
    const QColor ground = dark ? QColor(0x4a, 0x44, 0x58) : QColor(0xe8, 0xde, 0xf8);
    const QColor ink = dark ? QColor(0xe8, 0xde, 0xf8) : QColor(0x21, 0x1f, 0x26);
    QImage inked(alpha.size(), QImage::Format_ARGB32_Premultiplied);
    inked.fill(ground);
    QImage tone(alpha.size(), QImage::Format_ARGB32_Premultiplied);
    tone.fill(ink);
    {
        QPainter shape(&tone);
        shape.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        shape.drawImage(0, 0, alpha);
    }
    QPainter(&inked).drawImage(0, 0, tone);
    return maskedTo(inked, Mask::Circle);
}

} // namespace

QImage renderAndroidPreview(const AndroidIconPlan& plan, qreal devicePixelRatio, const QPalette& palette)
{
    if (!plan.launcherView)
        return {};
    const int side = qRound(72 * devicePixelRatio), gap = qRound(16 * devicePixelRatio);
    const QImage shown = plan.launcherView(side);
    const QImage monochrome = plan.themedView ? plan.themedView(side) : QImage();
    const QStringList captions = {tr("Circle"), tr("Squircle"), tr("Rounded square"),
                                  monochrome.isNull() ? tr("Themed: not themed") : tr("Themed")};
    QFont font;
    font.setPixelSize(qRound(11 * devicePixelRatio));
    const int captionHeight = QFontMetrics(font).height() + gap / 2;
    const int plateWidth = 4 * side + 5 * gap, plateHeight = side + 2 * gap;
    QImage preview(plateWidth, 2 * plateHeight + gap + captionHeight, QImage::Format_ARGB32_Premultiplied);
    preview.fill(Qt::transparent);
    QPainter painter(&preview);
    painter.setRenderHint(QPainter::Antialiasing);
    std::vector<QImage> masked; // the same on either home screen
    for (const Mask mask : {Mask::Circle, Mask::Squircle, Mask::RoundedSquare})
        masked.push_back(maskedTo(shown, mask));
    for (const bool dark : {false, true}) {
        const int top = dark ? plateHeight + gap : 0;
        painter.setPen(QPen(QColor(0x80, 0x80, 0x88, 0x90), 1));
        painter.setBrush(dark ? QColor(0x20, 0x24, 0x2b) : QColor(0xdd, 0xe3, 0xea));
        painter.drawRoundedRect(QRectF(0, top, plateWidth, plateHeight).adjusted(0.5, 0.5, -0.5, -0.5), gap, gap);
        int x = gap;
        for (const QImage& icon : masked) {
            painter.drawImage(x, top + gap, icon);
            x += side + gap;
        }
        // Without a themed layer, Android shows the icon as it is among the tinted ones.
        painter.drawImage(x, top + gap, monochrome.isNull() ? masked.front() : themed(monochrome, dark));
    }
    painter.setFont(font);
    painter.setPen(palette.color(QPalette::WindowText));
    for (int i = 0; i < 4; ++i)
        painter.drawText(QRect(gap / 2 + i * (side + gap), 2 * plateHeight + gap, side + gap, captionHeight),
                         Qt::AlignHCenter | Qt::AlignBottom, captions[i]);
    painter.end();
    preview.setDevicePixelRatio(devicePixelRatio);
    return preview;
}

QString androidPreviewDescription(const AndroidIconPlan& plan)
{
    return plan.themedView ? tr("The launcher icon under a circle, a squircle and a rounded square, and themed")
                           : tr("The launcher icon under a circle, a squircle and a rounded square; not themed");
}

} // namespace quorva
