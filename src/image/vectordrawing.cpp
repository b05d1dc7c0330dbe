#include "image/vectordrawing.h"

#include <QPainter>
#include <QSvgRenderer>

namespace quorva {

VectorDrawing::VectorDrawing(QByteArray svg, QSize intrinsicSize) : m_svg(std::move(svg)), m_size(intrinsicSize)
{
}

QImage VectorDrawing::render(int width, int height) const
{
    QImage bitmap(width, height, QImage::Format_ARGB32_Premultiplied);
    if (bitmap.isNull())
        return {};
    bitmap.fill(Qt::transparent);
    QSvgRenderer renderer(m_svg);
    renderer.setAspectRatioMode(Qt::IgnoreAspectRatio);
    {
        QPainter painter(&bitmap);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        renderer.render(&painter, QRectF(0, 0, width, height));
    }
    for (const Effect& effect : m_effects)
        bitmap = effect(bitmap);
    return bitmap;
}

std::shared_ptr<const VectorDrawing> VectorDrawing::withEffect(Effect effect) const
{
    auto drawing = std::make_shared<VectorDrawing>(*this);
    drawing->m_effects.push_back(std::move(effect));
    return drawing;
}

} // namespace quorva
