#include "apple/iconcomposerdesign.h"

#include "apple/appiconplan.h"
#include "apple/contentsjson.h"
#include "image/imageresizing.h"
#include "image/vectordrawing.h"
#include "support/fileio.h"
#include "support/paths.h"
#include "support/pixelanalysis.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxFileBytes = 64 << 20;
constexpr std::size_t maxFiles = 256;

void layerImagesOf(const QJsonValue& value, QStringList& names)
{
    const QJsonObject object = value.toObject();
    for (const QJsonValue& group : object.value(QLatin1String("groups")).toArray())
        layerImagesOf(group, names);
    for (const QJsonValue& layer : object.value(QLatin1String("layers")).toArray()) {
        const QJsonObject each = layer.toObject();
        QStringList own;
        if (each.value(QLatin1String("image-name")).isString())
            own << each.value(QLatin1String("image-name")).toString();
        for (const QJsonValue& special : each.value(QLatin1String("image-name-specializations")).toArray())
            if (!special.toObject().contains(QLatin1String("appearance")))
                own << special.toObject().value(QLatin1String("value")).toString();
        for (const QString& name : own)
            if (!name.isEmpty() && !names.contains(name))
                names << name;
    }
}

} // namespace

std::optional<IconComposerDesign> readIconComposerDesign(const fs::path& icon)
{
    const std::optional<QByteArray> json = readSmallFile(icon / "icon.json", maxFileBytes, false);
    if (!json)
        return std::nullopt;
    IconComposerDesign design;
    design.files[QStringLiteral("icon.json")] = *json;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(icon, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error)) {
        if (it->is_symlink(error) || !it->is_regular_file(error))
            continue;
        const QString path = displayPath(it->path().lexically_relative(icon));
        if (path == QLatin1String("icon.json") || lastComponent(path).startsWith(QLatin1Char('.')))
            continue;
        const std::optional<QByteArray> bytes = readSmallFile(it->path(), maxFileBytes, false);
        if (!bytes || design.files.size() > maxFiles)
            return std::nullopt;
        design.files[path] = *bytes;
    }
    if (error)
        return std::nullopt;
    layerImagesOf(QJsonDocument::fromJson(*json).object(), design.layerImages);
    return design;
}

DesignWithArt withLayerArt(const IconComposerDesign& design, const QString& layer, const Image& art)
{
    DesignWithArt out;
    if (!design.layerImages.contains(layer) || !isSingleComponent(layer)) {
        out.failure = QStringLiteral("its icon.json has no layer whose image is %1 (its layers' images: %2)")
                          .arg(layer, design.layerImages.join(QStringLiteral(", ")));
        return out;
    }
    // A layer is art over the design's fills and glass: opaque art would hide them.
    if (!hasTransparentPixels(sampleBitmap(art))) {
        out.failure = describe(AppIconRefusal::OpaqueLayer);
        return out;
    }
    out.files = design.files;
    const bool vector = art.drawing() != nullptr;
    const QString stem
        = layer.left(layer.lastIndexOf(QLatin1Char('.')) < 0 ? layer.size() : layer.lastIndexOf(QLatin1Char('.')));
    const QString name = stem + (vector ? QStringLiteral(".svg") : QStringLiteral(".png"));
    QByteArray bytes;
    if (vector) {
        bytes = art.drawing()->document();
    } else {
        const ImageRef icon = resizedToSide(art, singleSizeIconSide);
        const std::optional<QByteArray> png = icon ? pngData(*icon).bytes : std::nullopt;
        if (!png) {
            out.failure = QStringLiteral("Couldn't make the layer's image");
            return out;
        }
        bytes = *png;
    }
    out.files.erase(QStringLiteral("Assets/") + layer);
    out.files[QStringLiteral("Assets/") + name] = bytes;
    if (name != layer) {
        // The layer's name in icon.json, and nothing else of it.
        QString json = QString::fromUtf8(out.files.at(QStringLiteral("icon.json")));
        const QString quoted = QRegularExpression::escape(QLatin1Char('"') + layer + QLatin1Char('"'));
        json.replace(QRegularExpression(QStringLiteral(R"(("image-name"\s*:\s*)%1)").arg(quoted)),
                     QStringLiteral("\\1\"%1\"").arg(name));
        json.replace(QRegularExpression(QStringLiteral(R"(("value"\s*:\s*)%1)").arg(quoted)),
                     QStringLiteral("\\1\"%1\"").arg(name));
        out.files[QStringLiteral("icon.json")] = json.toUtf8();
    }
    return out;
}

} // namespace quorva
