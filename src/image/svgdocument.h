#pragma once

#include <QByteArray>
#include <QString>

namespace quorva {

// An SVG or SVGZ file made safe to hand to librsvg. An SVG is a document from anywhere: nothing in
// it may make Quorva read another file, expand without bound or take long to draw. So external
// references (images that are not data: URIs, style sheets, processing instructions) are cut out,
// internal entities (Illustrator's namespaces) expanded within a bound and external ones refused,
// and a document that nests deeper, holds more elements, path coordinates, gradient stops or
// filter steps than any artwork does is refused before anything is drawn.
struct SvgDocument {
    QByteArray document; // UTF-8, empty when refused
    QString error;       // why it was refused, as a phrase that completes "… is not an image Quorva can read: "
};

// Whether these first bytes of a file are those of an SVG or SVGZ document.
bool looksLikeSvg(const QByteArray& head);

SvgDocument readSvg(const QByteArray& file);

} // namespace quorva
