#pragma once

#include <QByteArray>
#include <QString>

namespace quorva {

// An SVG or SVGZ file made safe to hand to QtSvg. An SVG is a document from anywhere: nothing in
// it may make Quorva read another file or expand without bound. So external references (images
// that are not data: URIs, style sheets, processing instructions) are cut out, and a document that
// declares entities, nests deeper or holds more elements than any artwork does is refused.
struct SvgDocument {
    QByteArray document;  // UTF-8, empty when refused
    bool hasText = false; // drawing it needs the fonts of a QGuiApplication
    QString error;        // why it was refused, as a phrase that completes "… is not an image Quorva can read: "
};

// Whether these first bytes of a file are those of an SVG or SVGZ document.
bool looksLikeSvg(const QByteArray& head);

SvgDocument readSvg(const QByteArray& file);

} // namespace quorva
