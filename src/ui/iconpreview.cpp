#include "ui/iconpreview.h"

#include "catalog/contentsjson.h"
#include "image/imageresizing.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace quorva {
namespace {

const int iconSides[] = {120, 60, 40, 20}; // device pixels: what the phone shows, pixel for pixel
const QColor lightBackdrop(0xf2, 0xf2, 0xf7);
const QColor darkBackdrop(0x1c, 0x1c, 0x1e);
const QColor tint(0x6f, 0xa8, 0xff);

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

} // namespace

QImage renderIconPreview(const AppIconPlan& plan, qreal devicePixelRatio)
{
    if (!plan.image)
        return {};
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
        painter.setPen(Qt::NoPen);
        painter.drawRoundedRect(QRect(left, 0, tileWidth, tileHeight), gap, gap);
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
            painter.setPen(Qt::NoPen);
            painter.drawRoundedRect(QRect(left, top, cell, tileHeight), gap, gap);
            painter.drawImage(left + gap, top + gap, shown[i].icon);
            painter.setPen(QColor(0x80, 0x80, 0x88));
            painter.drawText(QRect(left, top + tileHeight, cell, labelHeight), Qt::AlignCenter, shown[i].label);
        }
    }
    painter.end();
    preview.setDevicePixelRatio(devicePixelRatio);
    return preview;
}

IconPreview::IconPreview(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(tr("Preview"));
}

void IconPreview::setPreview(const QImage& preview)
{
    m_preview = preview;
    m_shrunk = {};
    m_text.clear();
    updateGeometry();
    update();
}

void IconPreview::setText(const QString& text)
{
    m_text = text;
    m_preview = {};
    updateGeometry();
    update();
}

QSize IconPreview::sizeHint() const
{
    return m_preview.isNull() ? QSize(400, 60) : m_preview.deviceIndependentSize().toSize();
}

QSize IconPreview::minimumSizeHint() const
{
    return QSize(100, fontMetrics().lineSpacing() * 2);
}

void IconPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!m_text.isEmpty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, m_text);
        return;
    }
    if (m_preview.isNull())
        return;
    // Pixel for pixel where it fits; shrunk whole where the window is too small for it.
    const QSizeF natural = m_preview.deviceIndependentSize();
    const QSizeF shown = natural.width() <= width() && natural.height() <= height()
        ? natural
        : natural.scaled(size(), Qt::KeepAspectRatio);
    QImage image = m_preview;
    if (shown != natural) { // shrunk by area averaging: a painter's sampling would alias the small icons
        const QSize pixels = (shown * m_preview.devicePixelRatio()).toSize().expandedTo(QSize(1, 1));
        if (m_shrunk.size() != pixels)
            m_shrunk = m_preview.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        image = m_shrunk;
        image.setDevicePixelRatio(m_preview.devicePixelRatio());
    }
    painter.drawImage(QPointF((width() - shown.width()) / 2, (height() - shown.height()) / 2), image);
}

} // namespace quorva
