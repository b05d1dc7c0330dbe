#include "image/imageloading.h"

#include "image/imagelimits.h"
#include "image/svgdocument.h"
#include "image/svgrenderer.h"
#include "image/vectordrawing.h"
#include "png/pngdecoder.h"
#include "png/pngstructure.h"
#include "support/paths.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

namespace quorva {
namespace {

QString damaged()
{
    return QStringLiteral("its image data is damaged or incomplete");
}

QString tooLarge(QSize size)
{
    return QStringLiteral("at %1 × %2 pixels it is larger than the %3 megapixels Quorva takes")
        .arg(size.width())
        .arg(size.height())
        .arg(maxImageBytes / 4 / 1000000);
}

// libjpeg fills a cut-off JPEG with grey and calls it a success; a file whose last end-of-image
// marker does not follow its last start-of-scan marker is cut off. (Inside scan data a 0xFF byte
// is always followed by 0x00 or a restart marker, so neither marker can occur there by chance;
// an EXIF thumbnail's own markers come before the main image's scan.)
bool isCutOffJpeg(const QByteArray& bytes)
{
    if (!bytes.startsWith("\xff\xd8"))
        return false;
    const qsizetype lastScan = bytes.lastIndexOf(QByteArrayView("\xff\xda", 2));
    const qsizetype lastEnd = bytes.lastIndexOf(QByteArrayView("\xff\xd9", 2));
    return lastScan < 0 || lastEnd < lastScan;
}

// The formats Quorva names. Each is decoded by the one handler of its name, so that what a
// crafted file can reach does not depend on which image plugins the machine happens to have.
struct Sniffed {
    const char* qtFormat = nullptr; // for QImageReader; null for SVG and for what Quorva doesn't take
    bool svg = false;
    const char* foreign = nullptr; // a format Quorva knows by name and doesn't take
};

Sniffed sniff(const QByteArray& head)
{
    const auto at = [&head](qsizetype offset, const char* magic) {
        return head.mid(offset, qsizetype(std::strlen(magic))) == magic;
    };
    if (at(0, "\x89PNG\r\n\x1a\n"))
        return {"png"};
    if (at(0, "\xff\xd8"))
        return {"jpeg"};
    if (at(0, "RIFF") && at(8, "WEBP"))
        return {"webp"};
    if (at(0, "GIF87a") || at(0, "GIF89a"))
        return {"gif"};
    if (at(0, "BM") && head.size() > 14 && QByteArrayView("\x0c\x28\x34\x38\x40\x6c\x7c").contains(head[14]))
        return {"bmp"};
    if (looksLikeSvg(head))
        return {nullptr, true};
    if (at(0, "II*") || at(0, "MM\x00*"))
        return {nullptr, false, "TIFF"};
    if (at(0, "icns"))
        return {nullptr, false, "ICNS"};
    if (head.startsWith(QByteArrayView("\x00\x00\x01\x00", 4)))
        return {nullptr, false, "ICO"};
    if (at(0, "8BPS"))
        return {nullptr, false, "Photoshop"};
    if (at(4, "ftypheic") || at(4, "ftypheix") || at(4, "ftypmif1"))
        return {nullptr, false, "HEIF"};
    if (at(4, "ftypavif"))
        return {nullptr, false, "AVIF"};
    return {};
}

QString notTaken(const Sniffed& format)
{
    if (!format.foreign)
        return QStringLiteral("its content is not a known image format");
    return QStringLiteral("it is a %1 image, and Quorva takes PNG, JPEG, WebP, GIF, BMP and SVG")
        .arg(QLatin1String(format.foreign));
}

LoadedImage loadSvg(const QByteArray& file)
{
    const SvgDocument svg = readSvg(file);
    if (!svg.error.isEmpty())
        return {nullptr, svg.error};
    const SvgSize measured = measureSvg(svg.document);
    if (!measured.error.isEmpty())
        return {nullptr, QStringLiteral("it is not an SVG document Quorva can draw (%1)").arg(measured.error)};
    // Its width and height, else its viewBox; rounded up, so that no fraction of a pixel is cut.
    const std::optional<QSizeF> declared = measured.size ? measured.size : measured.viewBox;
    if (!declared || declared->width() <= 0 || declared->height() <= 0)
        return {nullptr, QStringLiteral("it declares no size")};
    // An app icon is drawn from the vector at every size, whatever size the document declares;
    // an image set, which needs the size, says so when it is too large (imageSetRefusal).
    const auto side
        = [](double length) { return int(std::clamp(std::ceil(length - 1e-6), 1.0, double(maxImageSide))); };
    const QSize size(side(declared->width()), side(declared->height()));
    return {std::make_shared<const Image>(QSizeF(size), std::make_shared<const VectorDrawing>(svg.document, size)), {}};
}

// Convert while still in a straight-alpha format, then premultiply once: the rescaling and the PNG
// encoder both work on premultiplied pixels.
LoadedImage fromDecoded(QImage decoded)
{
    const QColorSpace space = decoded.colorSpace();
    if (space.isValid() && space != QColorSpace(QColorSpace::SRgb)) {
        if (decoded.depth() < 32 || decoded.format() == QImage::Format_ARGB32_Premultiplied)
            decoded = decoded.convertToFormat(decoded.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        decoded.convertToColorSpace(QColorSpace(QColorSpace::SRgb));
    }
    decoded.setColorSpace(QColorSpace());
    // In place where the layout allows (32-bit sources), so that no second buffer is filled.
    decoded.convertTo(QImage::Format_ARGB32_Premultiplied);
    if (decoded.isNull() || decoded.format() != QImage::Format_ARGB32_Premultiplied)
        return {nullptr, QStringLiteral("there is not enough memory for it")};
    return {makeImage(std::move(decoded)), {}};
}

// wholeFile: the file's bytes when they are at hand, as they always are for a JPEG.
LoadedImage decode(QIODevice& device, const QByteArray& wholeFile, const char* format)
{
    // Most sources: decoded without Qt's reader, whose inflater is zlib's.
    if (qstrcmp(format, "png") == 0)
        if (std::optional<QImage> plain = decodePlainPng(wholeFile, maxImageBytes / 4))
            return fromDecoded(std::move(*plain));

    static std::once_flag limitSet;
    std::call_once(limitSet, [] { QImageReader::setAllocationLimit(static_cast<int>(maxImageBytes >> 20)); });

    // The format is known from the content already: only its own handler is asked, never every
    // plugin in turn, which would load them all.
    QImageReader reader(&device, format);
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(true);
    if (!reader.canRead()) {
        // Asked only now: listing the formats loads every one of Qt's image plugins, which the
        // usual run, a PNG that Qt reads itself, never needs.
        if (!QImageReader::supportedImageFormats().contains(format))
            return {nullptr,
                    QStringLiteral("it is a %1 image, and Qt's image format plugins that decode it are not "
                                   "installed (qt6-image-formats-plugins)")
                        .arg(QString::fromLatin1(format).toUpper())};
        return {nullptr, damaged()};
    }
    // Refused before decoding where the header tells the size, and after it where it does not
    // (a GIF's first frame may be larger than its screen).
    const QSize size = reader.size();
    if (size.isValid() && !fitsImageLimits(size.width(), size.height()))
        return {nullptr, tooLarge(size)};
    // libpng would say so itself on standard error, past any message handler, before failing.
    if (isCutOffJpeg(wholeFile) || (qstrcmp(format, "png") == 0 && !hasWholeChunks(wholeFile)))
        return {nullptr, damaged()};

    QImage decoded;
    if (!reader.read(&decoded) || decoded.isNull() || decoded.width() < 1 || decoded.height() < 1)
        return {nullptr, damaged()};
    if (!fitsImageLimits(decoded.width(), decoded.height()))
        return {nullptr, tooLarge(decoded.size())};

    return fromDecoded(std::move(decoded));
}

} // namespace

LoadedImage loadImage(const std::filesystem::path& file)
{
    const QString name = displayPath(file);
    if (QFileInfo(name).isDir())
        return {nullptr, QStringLiteral("it is a folder")};
    QFile device(name);
    if (!device.open(QIODevice::ReadOnly))
        return {nullptr, QStringLiteral("it can't be opened (%1)").arg(device.errorString())};
    if (device.size() == 0)
        return {nullptr, QStringLiteral("the file is empty")};
    // Decoded from memory: Qt's PNG reader asks a file for its size at every small read, which
    // costs more system time than reading the whole file does.
    return loadImage(device.readAll());
}

LoadedImage loadImage(const QByteArray& encoded)
{
    if (encoded.isEmpty())
        return {nullptr, QStringLiteral("the file is empty")};
    const Sniffed format = sniff(encoded.left(4096));
    if (format.svg)
        return loadSvg(encoded);
    if (!format.qtFormat)
        return {nullptr, notTaken(format)};
    QByteArray copy = encoded;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return decode(buffer, encoded, format.qtFormat);
}

} // namespace quorva
