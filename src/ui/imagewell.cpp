#include "ui/imagewell.h"

#include "image/imageresizing.h"
#include "ui/dragview.h"

#include <QDragEnterEvent>
#include <QPainter>

namespace quorva {

ImageWell::ImageWell(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(120, 120);
    setAcceptDrops(true);
    setAccessibleName(tr("Source image"));
}

void ImageWell::setImage(ImageRef image, QImage display)
{
    m_image = std::move(image);
    m_display = std::move(display);
    m_preview = {};
    update();
}

void ImageWell::resizeEvent(QResizeEvent*)
{
    m_preview = {};
}

void ImageWell::dragEnterEvent(QDragEnterEvent* event)
{
    if (m_dropZone)
        m_dropZone->handleDragEnter(event);
}

void ImageWell::dragLeaveEvent(QDragLeaveEvent* event)
{
    if (m_dropZone)
        m_dropZone->handleDragLeave(event);
}

void ImageWell::dropEvent(QDropEvent* event)
{
    if (m_dropZone)
        m_dropZone->handleDrop(event);
}

void ImageWell::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
    if (!m_image || m_image->pixelSize().isEmpty()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(rect(), Qt::AlignCenter, tr("No image yet"));
        return;
    }
    const QRect area = rect().adjusted(8, 8, -8, -8);
    if (m_preview.isNull()) {
        const QSize fitted = m_image->pixelSize()
                                 .scaled(area.size() * devicePixelRatioF(), Qt::KeepAspectRatio)
                                 .expandedTo(QSize(1, 1));
        const ImageRef shown = m_display.isNull()
            ? resizedToSize(*m_image, fitted.width(), fitted.height())
            : resizedToSize(*makeImage(m_display), fitted.width(), fitted.height());
        m_preview = shown ? shown->representations().front() : QImage();
        m_preview.setDevicePixelRatio(devicePixelRatioF());
    }
    const QSizeF shown = m_preview.deviceIndependentSize();
    painter.drawImage(QPointF(area.x() + (area.width() - shown.width()) / 2,
                              area.y() + (area.height() - shown.height()) / 2),
                      m_preview);
}

} // namespace quorva
