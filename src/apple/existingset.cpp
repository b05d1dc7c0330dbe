#include "apple/existingset.h"

#include "image/imageloading.h"
#include "image/imageresizing.h"
#include "support/fileio.h"
#include "support/paths.h"
#include "support/pixelanalysis.h"

#include <QRegularExpression>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxContentsBytes = 1 << 20;

} // namespace

QString slotKind(const SetEntry& entry)
{
    const std::optional<ApplePlatform> platform = platformOfEntry(entry.idiom, entry.platform);
    if (!platform)
        return entry.idiom;
    switch (*platform) {
    case ApplePlatform::iOS:
        return QStringLiteral("ios");
    case ApplePlatform::macOS:
        return QStringLiteral("mac");
    case ApplePlatform::watchOS:
        return QStringLiteral("watch");
    }
    return entry.idiom;
}

std::optional<QString> toolThatWrote(const QString& file)
{
    // flutter create's template and flutter_launcher_icons, with the sizes older versions wrote;
    // tauri icon (its duplicates end in -1); the Capacitor assets tool.
    static const QRegularExpression flutter(QStringLiteral(R"(^Icon-App-\d+(\.\d+)?x\d+(\.\d+)?@[123]x\.png$)"));
    static const QRegularExpression tauri(QStringLiteral(R"(^AppIcon-\d+(\.\d+)?x\d+(\.\d+)?@[123]x(-1)?\.png$)"));
    static const QRegularExpression capacitor(QStringLiteral(R"(^AppIcon-\d+@[123]x\.png$)"));
    if (flutter.match(file).hasMatch())
        return QStringLiteral("flutter_launcher_icons");
    if (tauri.match(file).hasMatch())
        return QStringLiteral("tauri icon");
    if (capacitor.match(file).hasMatch())
        return QStringLiteral("the Capacitor assets tool");
    return std::nullopt;
}

ExistingSet readExistingSet(const fs::path& folder)
{
    ExistingSet set;
    const std::optional<QByteArray> text = readSmallFile(folder / "Contents.json", maxContentsBytes);
    if (!text)
        return set;
    set.present = true;
    for (const SetEntry& entry : parseSetContents(*text).entries) {
        if (entry.filename.isEmpty())
            continue;
        const fs::path file = folder / toPath(entry.filename);
        const std::optional<ApplePlatform> platform = platformOfEntry(entry.idiom, entry.platform);
        if (!platform) {
            if (!set.otherSlots.contains(slotKind(entry)))
                set.otherSlots << slotKind(entry);
            continue;
        }
        set.platforms.insert(*platform);
        const bool universal = entry.idiom == QLatin1String("universal");
        if (*platform == ApplePlatform::iOS) {
            if (entry.luminosity == QLatin1String("dark"))
                set.dark = file;
            else if (entry.luminosity == QLatin1String("tinted"))
                set.tinted = file;
            else if (universal || entry.idiom == QLatin1String("ios-marketing"))
                set.storeIcon = file;
            set.singleSize = set.singleSize || universal;
        } else if (*platform == ApplePlatform::watchOS && !entry.hasAppearances
                   && (universal || entry.idiom == QLatin1String("watch-marketing"))) {
            set.watchIcon = file;
        }
    }
    return set;
}

std::optional<QColor> backgroundOfIcon(const fs::path& file)
{
    const LoadedImage loaded = loadImage(file);
    if (!loaded.image)
        return std::nullopt;
    return edgeColour(sampleBitmap(*loaded.image));
}

} // namespace quorva
