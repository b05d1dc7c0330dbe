#include "image/vectordrawing.h"

#include "image/svgrenderer.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace quorva {

VectorDrawing::VectorDrawing(QByteArray svg, QSize intrinsicSize)
    : m_svg(std::move(svg)), m_size(intrinsicSize), m_artSize(intrinsicSize)
{
}

QImage VectorDrawing::drawn(int width, int height) const
{
    if (m_frame.isIdentity())
        return renderSvg(m_svg, width, height, SvgFit::Stretch);
    // The art in the square less its margins, as its frame fits it there.
    const int marginX = int(std::lround(width * m_frame.padding)), marginY = int(std::lround(height * m_frame.padding));
    const QSize inner(std::max(1, width - 2 * marginX), std::max(1, height - 2 * marginY));
    QImage art;
    switch (m_frame.fit) {
    case Frame::Fit::Stretch:
        art = renderSvg(m_svg, inner.width(), inner.height(), SvgFit::Stretch);
        break;
    case Frame::Fit::Contain: // the document's own preserveAspectRatio places it
        art = renderSvg(m_svg, inner.width(), inner.height(), SvgFit::OwnAspect);
        break;
    case Frame::Fit::Cover: {
        const QSize covering = m_artSize.scaled(inner, Qt::KeepAspectRatioByExpanding).expandedTo(inner);
        const QImage whole = renderSvg(m_svg, covering.width(), covering.height(), SvgFit::Stretch);
        if (!whole.isNull())
            art = whole.copy((covering.width() - inner.width()) / 2, (covering.height() - inner.height()) / 2,
                             inner.width(), inner.height());
        break;
    }
    }
    if (art.isNull())
        return {};
    QImage bitmap(width, height, QImage::Format_ARGB32_Premultiplied);
    if (bitmap.isNull())
        return {};
    bitmap.fill(Qt::transparent);
    QPainter(&bitmap).drawImage(marginX, marginY, art);
    return bitmap;
}

QImage VectorDrawing::render(int width, int height) const
{
    QImage bitmap = drawn(width, height);
    if (bitmap.isNull())
        return {};
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

std::shared_ptr<const VectorDrawing> VectorDrawing::withFrame(Frame frame) const
{
    auto drawing = std::make_shared<VectorDrawing>(*this);
    drawing->m_frame = frame;
    const int side = std::max(m_artSize.width(), m_artSize.height());
    drawing->m_size = QSize(side, side);
    return drawing;
}

} // namespace quorva
