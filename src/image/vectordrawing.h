#pragma once

#include "image/frame.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <functional>
#include <memory>
#include <vector>

namespace quorva {

// A drawing that is rendered at whatever size is asked: an SVG document made safe by readSvg,
// drawn by librsvg. Immutable and shared between threads; each rendering reads the document anew
// on the calling thread, so that concurrent renderings share nothing.
class VectorDrawing {
public:
    // A pixel operation applied to every rendering, such as laying it onto a background.
    using Effect = std::function<QImage(const QImage&)>;

    VectorDrawing(QByteArray svg, QSize intrinsicSize);

    // The size the document declares: its width and height, else its viewBox; in a frame, the
    // square of its larger side.
    QSize intrinsicSize() const { return m_size; }
    const QByteArray& document() const { return m_svg; }

    // The drawing on a width × height premultiplied bitmap, placed as its frame says (by default
    // the whole drawing stretched onto it), with the effects applied in order. A null image when
    // no such bitmap can be made.
    QImage render(int width, int height) const;

    std::shared_ptr<const VectorDrawing> withEffect(Effect effect) const;
    std::shared_ptr<const VectorDrawing> withFrame(Frame frame) const;

private:
    QImage drawn(int width, int height) const;

    QByteArray m_svg;
    QSize m_size;
    QSize m_artSize; // the document's own size, which a frame keeps in proportion
    Frame m_frame;
    std::vector<Effect> m_effects;
};

} // namespace quorva
