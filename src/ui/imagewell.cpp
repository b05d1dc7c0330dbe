#include "ui/imagewell.h"

#include "generation/imageresizing.h"

#include <QPainter>

namespace quorva {

ImageWell::ImageWell(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(120, 120);
    setAccessibleName(tr("Source image"));
}

void ImageWell::setImage(ImageRef image)
{
    m_image = std::move(image);
    m_preview = {};
    update();
}

void ImageWell::resizeEvent(QResizeEvent*)
{
    m_preview = {};
}

void ImageWell::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (!m_image || m_image->pixelSize().isEmpty())
        return;
    const QRect area = rect().adjusted(6, 6, -6, -6);
    if (m_preview.isNull()) {
        const QSize fitted = m_image->pixelSize()
                                 .scaled(area.size() * devicePixelRatioF(), Qt::KeepAspectRatio)
                                 .expandedTo(QSize(1, 1));
        const ImageRef shown = resizedToSize(*m_image, fitted.width(), fitted.height());
        m_preview = shown ? shown->representations().front() : QImage();
        m_preview.setDevicePixelRatio(devicePixelRatioF());
    }
    const QSizeF shown = m_preview.deviceIndependentSize();
    const QPointF origin(area.x() + (area.width() - shown.width()) / 2, area.y() + (area.height() - shown.height()) / 2);
    painter.drawImage(origin, m_preview);
}

} // namespace quorva
