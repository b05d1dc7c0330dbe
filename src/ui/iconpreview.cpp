#include "ui/iconpreview.h"

#include "apple/contentsjson.h"
#include "apple/imageset.h"
#include "image/imageresizing.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

#include <algorithm>
#include <functional>

namespace quorva {
namespace {

const int iconSides[] = {120, 60, 40, 20}; // device pixels: what the phone shows, pixel for pixel
const QColor lightBackdrop(0xf2, 0xf2, 0xf7);
const QColor darkBackdrop(0x1c, 0x1c, 0x1e);
const QColor tint(0x6f, 0xa8, 0xff);
const QColor plateEdge(0x80, 0x80, 0x88, 0x90);

// The icon at its side under iOS's mask, a rounded square whose corner is 22.37 % of the side;
// under it an appearance's plate where iOS draws one.
QImage masked(const Image& icon, int side, const QBrush& plate = Qt::NoBrush, bool tinted = false)
{
    QImage out(side, side, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    const ImageRef scaled = resizedToSide(icon, side);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::Antialiasing);
    if (plate != Qt::NoBrush)
        painter.fillRect(out.rect(), plate);
    if (scaled) {
        QImage pixels = scaled->representations().front();
        if (tinted) { // the greyscale image coloured by the user's tint
            pixels = pixels.convertToFormat(QImage::Format_ARGB32_Premultiplied);
            for (int y = 0; y < pixels.height(); ++y) {
                auto* row = reinterpret_cast<QRgb*>(pixels.scanLine(y));
                for (int x = 0; x < pixels.width(); ++x) {
                    const int grey = qGray(row[x]);
                    row[x] = qRgb(tint.red() * grey / 255, tint.green() * grey / 255, tint.blue() * grey / 255);
                }
            }
        }
        painter.drawImage(0, 0, pixels);
    }
    QPainterPath mask;
    mask.addRoundedRect(QRectF(0, 0, side, side), side * 0.2237, side * 0.2237);
    QImage alpha(side, side, QImage::Format_ARGB32_Premultiplied);
    alpha.fill(Qt::transparent);
    QPainter shape(&alpha);
    shape.setRenderHint(QPainter::Antialiasing);
    shape.fillPath(mask, Qt::black);
    shape.end();
    painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    painter.drawImage(0, 0, alpha);
    return out;
}

ImageRef sourceOf(const AppIconPlan& plan, const QString& file)
{
    for (const AppIconEntry& entry : plan.table)
        if (entry.fileName == file)
            return entry.source ? entry.source : plan.image;
    return nullptr;
}

// The iOS icons under iOS's mask, and their appearances side by side.
QImage iosSection(const AppIconPlan& plan, qreal devicePixelRatio)
{
    const int gap = qRound(12 * devicePixelRatio);
    int tileWidth = gap;
    for (const int side : iconSides)
        tileWidth += side + gap;
    const int tileHeight = iconSides[0] + 2 * gap;
    const ImageRef dark = sourceOf(plan, darkIconFile);
    const ImageRef tinted = sourceOf(plan, tintedIconFile);
    const bool appearances = dark || tinted;
    const int labelHeight = qRound(18 * devicePixelRatio);
    const int height = tileHeight + (appearances ? gap + tileHeight + labelHeight : 0);

    QImage preview(2 * tileWidth + gap, height, QImage::Format_ARGB32_Premultiplied);
    preview.fill(Qt::transparent);
    QPainter painter(&preview);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int tile = 0; tile < 2; ++tile) {
        const int left = tile * (tileWidth + gap);
        painter.setBrush(tile ? darkBackdrop : lightBackdrop);
        painter.setPen(QPen(plateEdge, 1)); // the plates stand out on a dark window as on a light one
        painter.drawRoundedRect(QRectF(left, 0, tileWidth, tileHeight).adjusted(0.5, 0.5, -0.5, -0.5), gap, gap);
        int x = left + gap;
        for (const int side : iconSides) {
            painter.drawImage(x, gap + iconSides[0] - side, masked(*plan.image, side));
            x += side + gap;
        }
    }
    if (appearances) {
        // The appearances side by side, each as iOS shows it: dark on its plate, tinted in colour.
        QLinearGradient plate(0, 0, 0, iconSides[0]);
        plate.setColorAt(0, QColor(0x3a, 0x3a, 0x3c));
        plate.setColorAt(1, darkBackdrop);
        struct Shown {
            QString label;
            QImage icon;
            QColor backdrop;
        };
        std::vector<Shown> shown = {{QObject::tr("Default"), masked(*plan.image, iconSides[0]), lightBackdrop}};
        if (dark)
            shown.push_back({QObject::tr("Dark"), masked(*dark, iconSides[0], plate), darkBackdrop});
        if (tinted)
            shown.push_back({QObject::tr("Tinted"), masked(*tinted, iconSides[0], Qt::NoBrush, true), darkBackdrop});
        const int top = tileHeight + gap;
        const int cell = iconSides[0] + 2 * gap;
        QFont font = painter.font();
        font.setPixelSize(qRound(12 * devicePixelRatio));
        painter.setFont(font);
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const int left = int(i) * (cell + gap);
            painter.setBrush(shown[i].backdrop);
            painter.setPen(QPen(plateEdge, 1));
            painter.drawRoundedRect(QRectF(left, top, cell, tileHeight).adjusted(0.5, 0.5, -0.5, -0.5), gap, gap);
            painter.drawImage(left + gap, top + gap, shown[i].icon);
            painter.setPen(QColor(0x80, 0x80, 0x88));
            painter.drawText(QRect(left, top + tileHeight, cell, labelHeight), Qt::AlignCenter, shown[i].label);
        }
    }
    painter.end();
    return preview;
}

// Plates side by side, each with the icons drawn at these sides, as a system shows them.
QImage plates(const std::vector<QColor>& backdrops, const std::vector<int>& sides,
              const std::function<QImage(int side)>& icon, qreal devicePixelRatio)
{
    const int gap = qRound(12 * devicePixelRatio);
    int plateWidth = gap;
    for (const int side : sides)
        plateWidth += side + gap;
    const int plateHeight = sides.front() + 2 * gap;
    QImage section(int(backdrops.size()) * (plateWidth + gap) - gap, plateHeight, QImage::Format_ARGB32_Premultiplied);
    section.fill(Qt::transparent);
    QPainter painter(&section);
    painter.setRenderHint(QPainter::Antialiasing);
    std::vector<QImage> drawn;
    for (const int side : sides)
        drawn.push_back(icon(side));
    for (std::size_t plate = 0; plate < backdrops.size(); ++plate) {
        const int left = int(plate) * (plateWidth + gap);
        painter.setBrush(backdrops[plate]);
        painter.setPen(QPen(plateEdge, 1));
        painter.drawRoundedRect(QRectF(left, 0, plateWidth, plateHeight).adjusted(0.5, 0.5, -0.5, -0.5), gap, gap);
        int x = left + gap;
        for (std::size_t i = 0; i < sides.size(); ++i) {
            painter.drawImage(x, gap + sides.front() - sides[i], drawn[i]);
            x += sides[i] + gap;
        }
    }
    return section;
}

// A watch face shows its app icons in circles.
QImage circled(const Image& icon, int side)
{
    QImage out(side, side, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    const ImageRef scaled = resizedToSide(icon, side);
    if (!scaled)
        return out;
    QPainter painter(&out);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath circle;
    circle.addEllipse(QRectF(0, 0, side, side));
    painter.setClipPath(circle);
    painter.drawImage(0, 0, scaled->representations().front());
    return out;
}

} // namespace

QImage renderIconPreview(const AppIconPlan& plan, qreal devicePixelRatio, const QPalette& palette)
{
    if (!plan.image)
        return {};
    const auto scaledTo = [](const ImageRef& image) {
        return [image](int side) {
            const ImageRef scaled = resizedToSide(*image, side);
            return scaled ? scaled->representations().front() : QImage();
        };
    };
    std::vector<std::pair<QString, QImage>> sections; // each platform's, with its name
    const bool ios = std::any_of(plan.table.begin(), plan.table.end(), [](const AppIconEntry& entry) {
        return entry.fileName != watchIconFile && !entry.fileName.startsWith(QLatin1String("AppIcon-mac-"));
    });
    if (ios)
        sections.emplace_back(QObject::tr("iOS"), iosSection(plan, devicePixelRatio));
    // macOS draws the icon as it is, its own shape and shadow, on the desktop's light or dark.
    if (const ImageRef mac = sourceOf(plan, macIconFile(1024)))
        sections.emplace_back(QObject::tr("macOS"),
                              plates({QColor(0xe4, 0xe6, 0xeb), QColor(0x22, 0x24, 0x2a)},
                                     {qRound(128 * devicePixelRatio), qRound(64 * devicePixelRatio),
                                      qRound(32 * devicePixelRatio), qRound(16 * devicePixelRatio)},
                                     scaledTo(mac), devicePixelRatio));
    if (const ImageRef watch = sourceOf(plan, watchIconFile))
        sections.emplace_back(QObject::tr("watchOS"),
                              plates(
                                  {Qt::black}, {qRound(96 * devicePixelRatio), qRound(48 * devicePixelRatio)},
                                  [watch](int side) { return circled(*watch, side); }, devicePixelRatio));
    const int gap = qRound(12 * devicePixelRatio);
    QFont font;
    font.setPixelSize(qRound(11 * devicePixelRatio));
    // Several platforms' icons each under the platform's name.
    const int caption = sections.size() > 1 ? QFontMetrics(font).height() + gap / 3 : 0;
    int width = 0, height = -gap;
    for (const auto& [name, section] : sections) {
        width = std::max(width, section.width());
        height += caption + section.height() + gap;
    }
    if (sections.empty())
        return {};
    QImage preview(width, height, QImage::Format_ARGB32_Premultiplied);
    preview.fill(Qt::transparent);
    QPainter painter(&preview);
    painter.setFont(font);
    painter.setPen(palette.color(QPalette::WindowText));
    int top = 0;
    for (const auto& [name, section] : sections) {
        if (caption)
            painter.drawText(QRect(0, top, width, caption), Qt::AlignLeft | Qt::AlignBottom, name);
        top += caption;
        painter.drawImage(0, top, section);
        top += section.height() + gap;
    }
    painter.end();
    preview.setDevicePixelRatio(devicePixelRatio);
    return preview;
}

QImage renderImageSetPreview(const Image& image, qreal devicePixelRatio, const QPalette& palette)
{
    const QSize pixels = image.pixelSize();
    if (pixels.isEmpty())
        return {};
    const std::vector<ImageSetEntry> scales
        = image.drawing() ? vectorImageSetSizes(pixels) : imageSetSizes(pixels.width(), pixels.height());
    const int gap = qRound(12 * devicePixelRatio);
    const int line = qRound(16 * devicePixelRatio);
    QFont font;
    font.setPixelSize(qRound(12 * devicePixelRatio));
    // Boxes of 40, 80 and 120 points: the scales as large as each other as they are on a device.
    std::vector<int> boxes;
    int width = gap;
    for (std::size_t i = 0; i < scales.size(); ++i) {
        boxes.push_back(qRound(40 * devicePixelRatio * double(i + 1)));
        width
            += std::max(boxes.back(), QFontMetrics(font).horizontalAdvance(QStringLiteral("asset@3x.png")) + gap) + gap;
    }
    const int height = gap + boxes.back() + gap / 2 + 2 * line + gap;
    QImage preview(width, height, QImage::Format_ARGB32_Premultiplied);
    preview.fill(Qt::transparent);
    QPainter painter(&preview);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font);
    const QImage sample = sampleBitmap(image, boxes.back());
    int left = gap;
    for (std::size_t i = 0; i < scales.size(); ++i) {
        const int cell = std::max(boxes[i], QFontMetrics(font).horizontalAdvance(QStringLiteral("asset@3x.png")) + gap);
        const QRect box(left + (cell - boxes[i]) / 2, gap + boxes.back() - boxes[i], boxes[i], boxes[i]);
        painter.setPen(QPen(palette.color(QPalette::Mid), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
        const QSize fitted = pixels.scaled(box.size() - QSize(4, 4), Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
        const ImageRef thumbnail = resizedToSize(*makeImage(sample), fitted.width(), fitted.height());
        if (thumbnail)
            painter.drawImage(box.x() + (box.width() - fitted.width()) / 2,
                              box.y() + (box.height() - fitted.height()) / 2, thumbnail->representations().front());
        painter.setPen(palette.color(QPalette::WindowText));
        const int captionTop = gap + boxes.back() + gap / 2;
        painter.drawText(QRect(left, captionTop, cell, line), Qt::AlignCenter, scales[i].key + QStringLiteral(".png"));
        painter.setPen(palette.color(QPalette::PlaceholderText));
        painter.drawText(QRect(left, captionTop + line, cell, line), Qt::AlignCenter,
                         QStringLiteral("%1 × %2 px")
                             .arg(std::int64_t(scales[i].size.width()))
                             .arg(std::int64_t(scales[i].size.height())));
        left += cell + gap;
    }
    painter.end();
    preview.setDevicePixelRatio(devicePixelRatio);
    return preview;
}

QString imageSetDescription(const Image& image)
{
    const QSize pixels = image.pixelSize();
    QStringList scales;
    for (const ImageSetEntry& entry :
         image.drawing() ? vectorImageSetSizes(pixels) : imageSetSizes(pixels.width(), pixels.height()))
        scales << QStringLiteral("%1.png %2 × %3 px")
                      .arg(entry.key, QString::number(std::int64_t(entry.size.width())),
                           QString::number(std::int64_t(entry.size.height())));
    return scales.join(QStringLiteral(", "));
}

IconPreview::IconPreview(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(tr("Preview"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void IconPreview::setPreview(const QImage& preview, const QString& description)
{
    m_preview = preview;
    setAccessibleDescription(description);
    setFixedSize(preview.isNull() ? QSize(0, 0) : preview.deviceIndependentSize().toSize());
    update();
}

QSize IconPreview::sizeHint() const
{
    return m_preview.isNull() ? QSize(0, 0) : m_preview.deviceIndependentSize().toSize();
}

void IconPreview::paintEvent(QPaintEvent*)
{
    // Pixel for pixel: a phone shows its 120 px icon in 120 of its pixels, and so does this.
    if (!m_preview.isNull())
        QPainter(this).drawImage(QPointF(0, 0), m_preview);
}

} // namespace quorva
