#include "generation/imageloading.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QImageReader>

namespace quorva {
namespace {

LoadedImage decode(QImageReader& reader)
{
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    if (!reader.canRead())
        return {nullptr, QStringLiteral("not an image Quorva can read")};

    QImage decoded;
    if (!reader.read(&decoded) || decoded.isNull()) {
        const QString reason = reader.errorString();
        return {nullptr, reason.isEmpty() ? QStringLiteral("the image data is damaged") : reason};
    }
    if (decoded.width() < 1 || decoded.height() < 1)
        return {nullptr, QStringLiteral("the image has no pixels")};

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
        return {nullptr, QStringLiteral("not enough memory for the image")};
    return {makeImage(std::move(decoded)), {}};
}

} // namespace

LoadedImage loadImage(const std::filesystem::path& file)
{
    const QString name = QFile::decodeName(QByteArray::fromStdString(file.string()));
    QFile device(name);
    if (!device.open(QIODevice::ReadOnly))
        return {nullptr, device.errorString()};
    if (device.size() == 0)
        return {nullptr, QStringLiteral("the file is empty")};
    QImageReader reader(&device);
    return decode(reader);
}

LoadedImage loadImage(const QByteArray& encoded)
{
    if (encoded.isEmpty())
        return {nullptr, QStringLiteral("the file is empty")};
    QByteArray copy = encoded;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return decode(reader);
}

} // namespace quorva
