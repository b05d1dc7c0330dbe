#include "ui/imagewell.h"

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
    if (!m_image || m_image->representations().empty())
        return;
    const QRect area = rect().adjusted(6, 6, -6, -6);
    const QImage& source = m_image->representations().front();
    if (m_preview.isNull()) {
        const QSize fitted = source.size().scaled(area.size() * devicePixelRatioF(), Qt::KeepAspectRatio);
        m_preview = source.scaled(fitted.expandedTo(QSize(1, 1)), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_preview.setDevicePixelRatio(devicePixelRatioF());
    }
    const QSizeF shown = m_preview.deviceIndependentSize();
    const QPointF origin(area.x() + (area.width() - shown.width()) / 2, area.y() + (area.height() - shown.height()) / 2);
    painter.drawImage(origin, m_preview);
}

} // namespace quorva
