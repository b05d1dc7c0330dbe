// The module itself: librsvg's handle over a document given as bytes, with no base file or URL, so
// that nothing relative can resolve, rendered into a cairo surface over the caller's pixels.
#include "svgrender/svgrenderabi.h"

#include <librsvg/rsvg.h>

#include <cstdio>
#include <memory>

namespace {

struct HandleDeleter {
    void operator()(RsvgHandle* handle) const { g_object_unref(handle); }
};
using Handle = std::unique_ptr<RsvgHandle, HandleDeleter>;

void tell(char* error, std::size_t size, const char* what, const GError* cause)
{
    if (error && size)
        std::snprintf(error, size, "%s%s%s", what, cause ? ": " : "", cause ? cause->message : "");
}

Handle open(const char* document, std::size_t length, char* error, std::size_t errorSize)
{
    GError* failure = nullptr;
    Handle handle(rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(document), length, &failure));
    if (!handle) {
        tell(error, errorSize, "librsvg can't read it", failure);
        g_clear_error(&failure);
        return nullptr;
    }
    rsvg_handle_set_dpi(handle.get(), 96); // CSS's inch
    return handle;
}

double pixels(const RsvgLength& length, double dpi)
{
    switch (length.unit) {
    case RSVG_UNIT_PX:
        return length.length;
    case RSVG_UNIT_IN:
        return length.length * dpi;
    case RSVG_UNIT_CM:
        return length.length * dpi / 2.54;
    case RSVG_UNIT_MM:
        return length.length * dpi / 25.4;
    case RSVG_UNIT_PT:
        return length.length * dpi / 72;
    case RSVG_UNIT_PC:
        return length.length * dpi / 6;
    default:
        return 0;
    }
}

} // namespace

extern "C" __attribute__((visibility("default"))) int quorva_svg_measure(const char* document, std::size_t length,
                                                                         QuorvaSvgSize* size, char* error,
                                                                         std::size_t errorSize)
{
    const Handle handle = open(document, length, error, errorSize);
    if (!handle)
        return 1;
    gboolean hasWidth = FALSE, hasHeight = FALSE, hasViewBox = FALSE;
    RsvgLength width{}, height{};
    RsvgRectangle viewBox{};
    rsvg_handle_get_intrinsic_dimensions(handle.get(), &hasWidth, &width, &hasHeight, &height, &hasViewBox, &viewBox);
    // Absolute units and em/ex as librsvg converts them; percentages need a viewport, so they
    // count as no size.
    size->hasSize = rsvg_handle_get_intrinsic_size_in_pixels(handle.get(), &size->width, &size->height) ? 1 : 0;
    if (!size->hasSize && hasWidth && hasHeight && pixels(width, 96) > 0 && pixels(height, 96) > 0) {
        size->width = pixels(width, 96);
        size->height = pixels(height, 96);
        size->hasSize = 1;
    }
    size->hasViewBox = hasViewBox && viewBox.width > 0 && viewBox.height > 0 ? 1 : 0;
    size->viewBoxWidth = viewBox.width;
    size->viewBoxHeight = viewBox.height;
    return 0;
}

extern "C" __attribute__((visibility("default"))) int quorva_svg_render(const char* document, std::size_t length,
                                                                        unsigned char* data, int width, int height,
                                                                        int stride, int fit, char* error,
                                                                        std::size_t errorSize)
{
    const Handle handle = open(document, length, error, errorSize);
    if (!handle)
        return 1;
    cairo_surface_t* surface = cairo_image_surface_create_for_data(data, CAIRO_FORMAT_ARGB32, width, height, stride);
    cairo_t* cr = cairo_create(surface);
    RsvgRectangle viewport{0, 0, double(width), double(height)};
    if (fit == QuorvaSvgStretch) {
        // The drawing at its own aspect, then the whole stretched onto the bitmap.
        double intrinsicWidth = 0, intrinsicHeight = 0;
        gboolean hasWidth = FALSE, hasHeight = FALSE, hasViewBox = FALSE;
        RsvgLength w{}, h{};
        RsvgRectangle box{};
        rsvg_handle_get_intrinsic_dimensions(handle.get(), &hasWidth, &w, &hasHeight, &h, &hasViewBox, &box);
        if (!rsvg_handle_get_intrinsic_size_in_pixels(handle.get(), &intrinsicWidth, &intrinsicHeight) && hasViewBox) {
            intrinsicWidth = box.width;
            intrinsicHeight = box.height;
        }
        if (intrinsicWidth > 0 && intrinsicHeight > 0) {
            cairo_scale(cr, width / intrinsicWidth, height / intrinsicHeight);
            viewport = {0, 0, intrinsicWidth, intrinsicHeight};
        }
    }
    GError* failure = nullptr;
    const gboolean drawn = rsvg_handle_render_document(handle.get(), cr, &viewport, &failure);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    if (!drawn) {
        tell(error, errorSize, "librsvg can't draw it", failure);
        g_clear_error(&failure);
        return 1;
    }
    return 0;
}
