#include "ui/splashpreview.h"

#include "android/resimagechecks.h"
#include "image/artplacement.h"
#include "image/imageresizing.h"
#include "splash/iossplash.h"
#include "splash/splashsizes.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>

namespace quorva {
namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("quorva::SplashPreview", text);
}

// The part of each phone's screen the preview shows, in dp (points on the iPhone): its width,
// and as much of its height as holds the centre and the branding's room below it.
constexpr int androidWidth = 360, iphoneWidth = 390, screenHeight = 560, gap = 24;

enum class Phone { Android12, OlderAndroid, IPhone };

// One phone's screen, light or dark, at true size; whether the circle cut its art.
QImage screen(Phone phone, const Image& art, const QRectF& box, const AndroidSplashOptions& options, bool dark,
              qreal ratio, bool& cut)
{
    const int width = phone == Phone::IPhone ? iphoneWidth : androidWidth;
    QImage out(qRound(width * ratio), qRound(screenHeight * ratio), QImage::Format_ARGB32_Premultiplied);
    const QColor background = dark ? options.darkBackground.value_or(options.background) : options.background;
    out.fill(background);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPointF centre(out.width() / 2.0, out.height() / 2.0);
    const double artDp = splashArtDp(options);
    if (phone != Phone::Android12) {
        // The same art at the same size, with no circle: launch_background.xml's bitmap, LaunchImage.
        IosSplashOptions ios;
        ios.padding = options.padding;
        ios.artPt = options.artDp;
        const int side = qRound((phone == Phone::IPhone ? artPoints(ios) : artDp) * ratio);
        const QImage drawn = artInSquare(art, box, side, 1);
        painter.drawImage(QPointF(centre.x() - side / 2.0, centre.y() - side / 2.0), drawn);
        return out;
    }
    const bool onBackground = options.iconBackground.has_value();
    const double canvasDp = onBackground ? splashIconOnBackgroundDp : splashIconDp;
    const double circleDp = onBackground ? splashIconOnBackgroundCircleDp : splashIconCircleDp;
    const int side = qRound(canvasDp * ratio);
    const QImage icon = artInSquare(art, box, side, artDp / canvasDp);
    const double radius = circleDp / 2 * ratio;
    const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    const QPointF corner(centre.x() - side / 2.0, centre.y() - side / 2.0);
    if (onBackground) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(*options.iconBackground);
        painter.drawEllipse(circle);
    }
    // Antialiasing on the circle's edge is allowed a pixel, as check allows it.
    cut = farthestArt(icon) - 1 > radius;
    if (cut) {
        painter.setOpacity(0.25);
        painter.drawImage(corner, icon);
        painter.setOpacity(1);
    }
    QPainterPath shown;
    shown.addEllipse(circle);
    painter.save();
    painter.setClipPath(shown);
    painter.drawImage(corner, icon);
    painter.restore();
    if (cut) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0xe0, 0x20, 0x20), 2 * ratio));
        painter.drawEllipse(circle);
    }
    return out;
}

} // namespace

SplashPreview renderSplashPreview(const ImageRef& art, const AndroidSplashOptions& options, qreal ratio,
                                  const QPalette& palette)
{
    SplashPreview preview;
    if (!art)
        return preview;
    const QRectF box = artBox(sampleBitmap(*art));
    QFont font;
    font.setPixelSize(qRound(12 * ratio));
    const int caption = QFontMetrics(font).height() + qRound(gap / 3.0 * ratio);
    const int widths[] = {androidWidth, androidWidth, iphoneWidth};
    const int totalWidth = (widths[0] + widths[1] + widths[2] + 2 * gap) * ratio;
    const int rowHeight = qRound(screenHeight * ratio) + caption;
    preview.image = QImage(totalWidth, 2 * rowHeight + qRound(gap * ratio), QImage::Format_ARGB32_Premultiplied);
    preview.image.fill(Qt::transparent);
    QPainter painter(&preview.image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font);
    const QString names[] = {tr("Android 12 and later"), tr("Android 11 and older"), tr("iPhone")};
    const QString looks[] = {tr("light"), tr("dark")};
    for (const bool dark : {false, true}) {
        const int top = dark ? rowHeight + qRound(gap * ratio) : 0;
        int x = 0;
        for (int phone = 0; phone < 3; ++phone) {
            bool cut = false;
            const QImage shown = screen(Phone(phone), *art, box, options, dark, ratio, cut);
            preview.cut = preview.cut || cut;
            const QRectF frame(x, top + caption, shown.width(), shown.height());
            QPainterPath rounded;
            rounded.addRoundedRect(frame, 18 * ratio, 18 * ratio);
            painter.save();
            painter.setClipPath(rounded);
            painter.drawImage(frame.topLeft(), shown);
            painter.restore();
            painter.setPen(QPen(palette.color(QPalette::Mid), ratio));
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(rounded);
            painter.setPen(palette.color(QPalette::WindowText));
            painter.drawText(QRect(x, top, shown.width(), caption), Qt::AlignHCenter | Qt::AlignVCenter,
                             QStringLiteral("%1, %2").arg(names[phone], looks[dark]));
            x += shown.width() + qRound(gap * ratio);
        }
    }
    painter.end();
    preview.image.setDevicePixelRatio(ratio);
    preview.description = preview.cut ? tr("The launch screen on an Android 12 phone, an older Android phone and an "
                                           "iPhone, light and dark, at true size: Android 12's circle cuts the art, "
                                           "which shows faintly past the red ring")
                                      : tr("The launch screen on an Android 12 phone, an older Android phone and an "
                                           "iPhone, light and dark, at true size");
    return preview;
}

} // namespace quorva
