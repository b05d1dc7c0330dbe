#pragma once

// The C interface of Quorva's SVG module, which draws with librsvg. The module is loaded with
// dlopen only when an SVG is to be drawn, so that the libraries librsvg brings (cairo, pango,
// glib…) cost nothing at the start of a PNG or JPEG job.
#include <cstddef>

extern "C" {

// What a document says of its size, in CSS pixels at 96 dpi.
struct QuorvaSvgSize {
    double width = 0, height = 0; // the width and height attributes, units converted
    int hasSize = 0;              // both are given in absolute or font-relative units
    double viewBoxWidth = 0, viewBoxHeight = 0;
    int hasViewBox = 0;
};

// Reads the document's size; 0 on success, else the reason in error.
typedef int (*QuorvaSvgMeasure)(const char* document, std::size_t length, QuorvaSvgSize* size, char* error,
                                std::size_t errorSize);

// How the drawing fills the bitmap.
enum QuorvaSvgFit {
    QuorvaSvgStretch = 0,   // the whole drawing stretched onto the whole bitmap
    QuorvaSvgOwnAspect = 1, // placed in the bitmap as its own preserveAspectRatio says (centred, whole)
};

// Draws the document onto premultiplied 32-bit pixels (cairo's ARGB32, Qt's
// Format_ARGB32_Premultiplied), which the caller has cleared. 0 on success, else the reason.
typedef int (*QuorvaSvgRender)(const char* document, std::size_t length, unsigned char* pixels, int width, int height,
                               int stride, int fit, char* error, std::size_t errorSize);

#define QUORVA_SVG_MEASURE "quorva_svg_measure"
#define QUORVA_SVG_RENDER "quorva_svg_render"
}
