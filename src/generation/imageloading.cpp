#include "generation/imageloading.h"

#include "generation/imagelimits.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

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

// wholeFile: the file's bytes when they are at hand, as they always are for a JPEG.
LoadedImage decode(QIODevice& device, const QByteArray& wholeFile)
{
    static std::once_flag limitSet;
    std::call_once(limitSet, [] { QImageReader::setAllocationLimit(static_cast<int>(maxImageBytes >> 20)); });

    QImageReader reader(&device);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    if (!reader.canRead())
        return {nullptr, QStringLiteral("its content is not a known image format")};
    // Refused before decoding where the header tells the size, and after it where it does not
    // (a GIF's first frame may be larger than its screen).
    const QSize size = reader.size();
    if (size.isValid() && !fitsImageLimits(size.width(), size.height()))
        return {nullptr, tooLarge(size)};
    if (isCutOffJpeg(wholeFile))
        return {nullptr, damaged()};

    QImage decoded;
    if (!reader.read(&decoded) || decoded.isNull() || decoded.width() < 1 || decoded.height() < 1)
        return {nullptr, damaged()};
    if (!fitsImageLimits(decoded.width(), decoded.height()))
        return {nullptr, tooLarge(decoded.size())};

    // Convert while still in a straight-alpha format, then premultiply once: the rescaling and
    // the PNG encoder both work on premultiplied pixels.
    const QColorSpace space = decoded.colorSpace();
    if (space.isValid() && space != QColorSpace(QColorSpace::SRgb)) {
        if (decoded.depth() < 32 || decoded.format() == QImage::Format_ARGB32_Premultiplied)
            decoded = decoded.convertToFormat(decoded.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                        : QImage::Format_RGB32);
        decoded.convertToColorSpace(QColorSpace(QColorSpace::SRgb));
    }
    decoded.setColorSpace(QColorSpace());
    // In place where the layout allows (32-bit sources), so that no second buffer is filled.
    decoded.convertTo(QImage::Format_ARGB32_Premultiplied);
    if (decoded.isNull() || decoded.format() != QImage::Format_ARGB32_Premultiplied)
        return {nullptr, QStringLiteral("there is not enough memory for it")};
    return {makeImage(std::move(decoded)), {}};
}

} // namespace

LoadedImage loadImage(const std::filesystem::path& file)
{
    const QString name = QFile::decodeName(QByteArray::fromStdString(file.string()));
    if (QFileInfo(name).isDir())
        return {nullptr, QStringLiteral("it is a folder")};
    QFile device(name);
    if (!device.open(QIODevice::ReadOnly))
        return {nullptr, QStringLiteral("it can't be opened (%1)").arg(device.errorString())};
    if (device.size() == 0)
        return {nullptr, QStringLiteral("the file is empty")};
    // A JPEG is checked for its end as a whole; reading it costs less than decoding it.
    QByteArray whole;
    if (device.peek(2) == QByteArrayLiteral("\xff\xd8")) {
        whole = device.readAll();
        QBuffer buffer(&whole);
        buffer.open(QIODevice::ReadOnly);
        return decode(buffer, whole);
    }
    return decode(device, {});
}

LoadedImage loadImage(const QByteArray& encoded)
{
    if (encoded.isEmpty())
        return {nullptr, QStringLiteral("the file is empty")};
    QByteArray copy = encoded;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return decode(buffer, encoded);
}

} // namespace quorva
