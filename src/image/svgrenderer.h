#pragma once

#include <QByteArray>
#include <QImage>
#include <QSizeF>
#include <QString>

#include <optional>

namespace quorva {

// SVG documents drawn by librsvg, through Quorva's SVG module, which is opened the first time a
// document is measured or drawn. Documents must have been made safe by readSvg first.

// What a document says of its size: its width and height in CSS pixels at 96 dpi (mm, cm, in,
// pt, pc and em, ex converted as librsvg converts them), and its viewBox.
struct SvgSize {
    std::optional<QSizeF> size;
    std::optional<QSizeF> viewBox;
    QString error; // when the module can't be loaded, or librsvg can't read the document
};
SvgSize measureSvg(const QByteArray& document);

// How a drawing fills the bitmap it is drawn onto.
enum class SvgFit {
    Stretch,   // the whole drawing stretched onto the whole bitmap
    OwnAspect, // placed as the document's preserveAspectRatio says: whole and centred by default
};

// The drawing on a cleared premultiplied bitmap of that size; null, with the reason, when it
// can't be drawn.
QImage renderSvg(const QByteArray& document, int width, int height, SvgFit fit, QString* error = nullptr);

} // namespace quorva
