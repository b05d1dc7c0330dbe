#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <functional>
#include <memory>
#include <vector>

namespace quorva {

// A drawing that is rendered at whatever size is asked: an SVG document made safe by readSvg.
// Immutable and shared between threads; each rendering parses the document anew on the calling
// thread, so that concurrent renderings share no renderer.
class VectorDrawing {
public:
    // A pixel operation applied to every rendering, such as laying it onto a background.
    using Effect = std::function<QImage(const QImage&)>;

    VectorDrawing(QByteArray svg, QSize intrinsicSize);

    // The size the document declares: its width and height, else its viewBox.
    QSize intrinsicSize() const { return m_size; }

    // The whole drawing stretched onto a width × height premultiplied bitmap, antialiased, with
    // the effects applied in order. A null image when no such bitmap can be made.
    QImage render(int width, int height) const;

    std::shared_ptr<const VectorDrawing> withEffect(Effect effect) const;

private:
    QByteArray m_svg;
    QSize m_size;
    std::vector<Effect> m_effects;
};

} // namespace quorva
