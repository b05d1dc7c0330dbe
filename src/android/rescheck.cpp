#include "android/rescheck.h"

#include "android/androidiconplan.h"

#include "android/androiddensity.h"
#include "android/resfolder.h"
#include "png/pngstructure.h"
#include "support/paths.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxXmlBytes = 4 << 20;
constexpr qint64 maxImageBytes = 64 << 20;
constexpr int maxMeasuredSide = 4096;
const QString androidNamespace = QStringLiteral("http://schemas.android.com/apk/res/android");

// "@mipmap/ic_launcher" as its type and name; nothing for the framework's own (@android:…),
// attributes (?…) and whatever else is no reference into this folder.
std::optional<std::pair<QString, QString>> referenceOf(const QString& value)
{
    if (!value.startsWith(QLatin1Char('@')) || value.contains(QLatin1Char(':')) || !value.contains(QLatin1Char('/')))
        return std::nullopt;
    const QString type = value.mid(1).section(QLatin1Char('/'), 0, 0);
    const QString name = value.section(QLatin1Char('/'), 1);
    if (type.isEmpty() || name.isEmpty())
        return std::nullopt;
    return std::pair(type, name);
}

// A layer of an adaptive icon as its XML names it: "@mipmap/ic_launcher_foreground"; wrapped when
// the name is a child's, as flutter_launcher_icons wraps the foreground in an <inset>, so that the
// file's pixels are not the layer's.
struct AdaptiveLayer {
    QString drawable;
    bool wrapped = false;
};

// An adaptive icon's layers by their element: "foreground", "background", "monochrome".
std::optional<std::map<QString, AdaptiveLayer>> adaptiveLayers(const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("adaptive-icon"))
        return std::nullopt;
    std::map<QString, AdaptiveLayer> layers;
    while (reader.readNextStartElement()) {
        AdaptiveLayer& layer = layers[reader.name().toString()];
        layer.drawable = reader.attributes().value(androidNamespace, QLatin1String("drawable")).toString();
        while (reader.readNextStartElement()) {
            if (layer.drawable.isEmpty()) {
                layer.drawable = reader.attributes().value(androidNamespace, QLatin1String("drawable")).toString();
                layer.wrapped = true;
            }
            reader.skipCurrentElement();
        }
    }
    return layers;
}

// The launcher icons the manifest beside res names: the application's and its activities' icon and
// round icon.
std::optional<std::set<std::pair<QString, QString>>> manifestIcons(const fs::path& manifest)
{
    QFile file(displayPath(manifest));
    if (file.size() > maxXmlBytes || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QXmlStreamReader reader(file.readAll());
    std::set<std::pair<QString, QString>> icons;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        for (const char* attribute : {"icon", "roundIcon"})
            if (const auto icon
                = referenceOf(reader.attributes().value(androidNamespace, QLatin1String(attribute)).toString()))
                icons.insert(*icon);
    }
    return icons;
}

class Checker {
public:
    Checker(const fs::path& res, ResCheck& check) : m_res(res), m_folder(res), m_check(check) {}

    std::optional<QString> run()
    {
        if (!m_folder.isOpen())
            return QStringLiteral("%1 is no folder that can be read").arg(displayPath(m_res));
        checkPngs();
        checkNotificationIcons();
        const fs::path manifest = m_res.parent_path() / "AndroidManifest.xml";
        std::set<std::pair<QString, QString>> icons;
        if (const auto named = manifestIcons(manifest)) {
            icons = *named;
        } else {
            // Without a manifest every mipmap is an icon but the layers of adaptive ones.
            std::set<QString> layers;
            for (const QString& folder : m_folder.foldersOf(QStringLiteral("mipmap")))
                for (const QString& file : m_folder.files().at(folder))
                    if (file.endsWith(QLatin1String(".xml")))
                        if (const auto parsed = adaptiveLayers(m_folder.read(folder, file, maxXmlBytes)))
                            for (const auto& [element, layer] : *parsed)
                                if (const auto reference = referenceOf(layer.drawable))
                                    layers.insert(reference->second);
            for (const QString& folder : m_folder.foldersOf(QStringLiteral("mipmap")))
                for (const QString& file : m_folder.files().at(folder))
                    if (!layers.count(resourceName(file)))
                        icons.insert({QStringLiteral("mipmap"), resourceName(file)});
        }
        for (const auto& [type, name] : icons) {
            m_check.icons << displayPath(m_res) + QStringLiteral("/@%1/%2").arg(type, name);
            if (!m_folder.defines(type, name)) {
                reportMissing(type, name, displayPath(manifest),
                              QStringLiteral("the manifest names @%1/%2").arg(type, name));
                continue;
            }
            checkIcon(type, name);
        }
        return std::nullopt;
    }

private:
    void add(Finding::Severity severity, const QString& path, const QString& rule, const QString& message)
    {
        m_check.findings.push_back({severity, path, rule, message});
    }

    // Every PNG of the drawable and mipmap folders is compiled by Android's build, which stops at
    // one that is not whole.
    void checkPngs()
    {
        for (const auto& [folder, files] : m_folder.files()) {
            if (!folder.startsWith(QLatin1String("mipmap")) && !folder.startsWith(QLatin1String("drawable")))
                continue;
            for (const QString& file : files) {
                if (!file.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
                    continue;
                const PngStructure& png = m_pngs[m_folder.path(folder, file)]
                    = readPngStructure(m_folder.read(folder, file, maxImageBytes));
                if (!png.whole)
                    add(Finding::Severity::Error, displayPath(m_folder.path(folder, file)),
                        QStringLiteral("broken-png"), QStringLiteral("the PNG is not whole: %1").arg(png.problem));
            }
        }
    }

    // A PNG's size as its header, read already, gives it; another format's from its own reader.
    QSize pixelSize(const QString& folder, const QString& file) const
    {
        if (const auto png = m_pngs.find(m_folder.path(folder, file)); png != m_pngs.end())
            return png->second.width ? QSize(int(png->second.width), int(png->second.height)) : QSize();
        QByteArray bytes = m_folder.read(folder, file, maxImageBytes);
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer);
        return reader.size();
    }

    // Each density's file of a resource, at so many dp; says which densities lack one.
    QStringList checkSizes(const QString& type, const QString& name, double dp)
    {
        QStringList missing;
        for (const AndroidDensity& density : androidDensities()) {
            const auto folder = m_folder.densityFolder(type, density.qualifier());
            const auto file = folder ? m_folder.fileOf(*folder, name) : std::nullopt;
            if (!file) {
                missing << QStringLiteral("%1-%2").arg(type, density.qualifier());
                continue;
            }
            if (file->endsWith(QLatin1String(".xml")))
                continue; // a vector drawable has no pixel size
            const QSize size = pixelSize(*folder, *file);
            const int expected = density.pixels(dp);
            if (size.isValid() && (size.width() != expected || size.height() != expected))
                add(Finding::Severity::Warning, displayPath(m_folder.path(*folder, *file)),
                    QStringLiteral("wrong-size"),
                    QStringLiteral("it is %1 × %2 px; at %3 a %4 dp icon is %5 × %5 px")
                        .arg(size.width())
                        .arg(size.height())
                        .arg(density.qualifier())
                        .arg(dp)
                        .arg(expected));
        }
        return missing;
    }

    void checkIcon(const QString& type, const QString& name)
    {
        std::optional<std::map<QString, AdaptiveLayer>> layers;
        QString xmlPath;
        for (const QString& folder : m_folder.foldersOf(type))
            if (folder.contains(QLatin1String("-anydpi")))
                if (const auto file = m_folder.fileOf(folder, name); file && file->endsWith(QLatin1String(".xml")))
                    if ((layers = adaptiveLayers(m_folder.read(folder, *file, maxXmlBytes)))) {
                        xmlPath = displayPath(m_folder.path(folder, *file));
                        break;
                    }
        const QStringList missing = checkSizes(type, name, legacyIconDp);
        if (!missing.isEmpty())
            add(Finding::Severity::Warning, displayPath(m_res) + QStringLiteral("/@%1/%2").arg(type, name),
                QStringLiteral("missing-density"),
                QStringLiteral("no %1 icon in %2: launchers there scale another density's, or show none before "
                               "Android 8")
                    .arg(name, missing.join(QStringLiteral(", "))));
        if (!layers)
            return;
        for (const auto& [element, layer] : *layers) {
            const auto reference = referenceOf(layer.drawable);
            if (!reference)
                continue;
            if (!m_folder.defines(reference->first, reference->second)) {
                reportMissing(reference->first, reference->second, xmlPath,
                              QStringLiteral("its %1 is %2").arg(element, layer.drawable));
                continue;
            }
            if (reference->first == QLatin1String("color") || layer.wrapped)
                continue;
            checkSizes(reference->first, reference->second, adaptiveLayerDp);
            if (element == QLatin1String("foreground"))
                checkSafeZone(reference->first, reference->second);
        }
        if (!layers->count(QStringLiteral("monochrome")))
            add(Finding::Severity::Warning, xmlPath, QStringLiteral("no-monochrome"),
                QStringLiteral("it has no <monochrome> layer: with themed icons on (Android 13), launchers show it "
                               "untinted among tinted ones"));
    }

    // A resource this res folder lacks. Android's build merges the res folders of the module's
    // source sets and of the modules it depends on, so only one that no res folder of the Gradle
    // project defines is an error; without a project to look in, where it is defined can't be
    // known, and it is a warning.
    void reportMissing(const QString& type, const QString& name, const QString& path, const QString& what)
    {
        const std::optional<fs::path> project = gradleProject();
        if (project && !definedInProject(*project, type, name)) {
            add(Finding::Severity::Error, path, QStringLiteral("missing-resource"),
                QStringLiteral("%1, which no res folder of the Gradle project defines").arg(what));
        } else if (!project) {
            add(Finding::Severity::Warning, path, QStringLiteral("missing-resource"),
                QStringLiteral("%1, which this res folder does not define; it may be defined in another module or "
                               "source set")
                    .arg(what));
        }
    }

    // The nearest folder above res with a Gradle settings file.
    std::optional<fs::path> gradleProject() const
    {
        std::error_code error;
        for (fs::path folder = fs::absolute(m_res, error).parent_path(); !folder.empty();
             folder = folder.parent_path()) {
            if (fs::exists(folder / "settings.gradle", error) || fs::exists(folder / "settings.gradle.kts", error))
                return folder;
            if (folder == folder.parent_path())
                break;
        }
        return std::nullopt;
    }

    // Whether any source set's res folder in the project (src/*/res, build output aside) defines it.
    bool definedInProject(const fs::path& project, const QString& type, const QString& name)
    {
        if (!m_projectRes) {
            m_projectRes.emplace();
            std::error_code error;
            for (auto it
                 = fs::recursive_directory_iterator(project, fs::directory_options::skip_permission_denied, error);
                 !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
                const fs::path& path = it->path();
                const std::string leaf = path.filename().string();
                if (it->is_symlink(error) || leaf == "build" || leaf == "node_modules" || leaf.starts_with('.')) {
                    it.disable_recursion_pending();
                    continue;
                }
                if (leaf == "res" && path.parent_path().parent_path().filename() == "src" && it->is_directory(error)) {
                    m_projectRes->push_back(std::make_unique<ResFolder>(path));
                    it.disable_recursion_pending();
                }
            }
        }
        return std::any_of(m_projectRes->begin(), m_projectRes->end(),
                           [&](const std::unique_ptr<ResFolder>& folder) { return folder->defines(type, name); });
    }

    // Notification icons, by the names Android Studio and Quorva give them (ic_stat_…,
    // ic_notification): their size at each density, and colours that Android drops, drawing the
    // alpha alone in the status bar's colour (lint's IconColors).
    void checkNotificationIcons()
    {
        for (const AndroidDensity& density : androidDensities()) {
            const QString folder = QStringLiteral("drawable-") + density.qualifier();
            const auto files = m_folder.files().find(folder);
            if (files == m_folder.files().end())
                continue;
            for (const QString& file : files->second) {
                const QString resource = resourceName(file);
                if (!file.endsWith(QLatin1String(".png"))
                    || (resource != QLatin1String("ic_notification")
                        && !resource.startsWith(QLatin1String("ic_stat_"))))
                    continue;
                const QString shown = displayPath(m_folder.path(folder, file));
                const QSize size = pixelSize(folder, file);
                const int expected = density.pixels(notificationIconDp);
                if (size.isValid() && (size.width() != expected || size.height() != expected))
                    add(Finding::Severity::Warning, shown, QStringLiteral("wrong-size"),
                        QStringLiteral("it is %1 × %2 px; at %3 a notification icon is %4 × %4 px")
                            .arg(size.width())
                            .arg(size.height())
                            .arg(density.qualifier())
                            .arg(expected));
                const QImage image = QImage::fromData(m_folder.read(folder, file, maxImageBytes), "PNG")
                                         .convertToFormat(QImage::Format_ARGB32);
                bool coloured = false;
                for (int y = 0; y < image.height() && !coloured; ++y) {
                    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
                    for (int x = 0; x < image.width() && !coloured; ++x)
                        coloured = qAlpha(row[x]) > 0 && std::min({qRed(row[x]), qGreen(row[x]), qBlue(row[x])}) < 240;
                }
                if (coloured)
                    add(Finding::Severity::Warning, shown, QStringLiteral("notification-colours"),
                        QStringLiteral("it is not white on transparent: Android 5 and later draw only its alpha, so "
                                       "its colours are lost and an opaque square shows as a white one"));
            }
        }
    }

    // The foreground's art, measured on its alpha at the largest density it has, against the 66 dp
    // circle in the middle of the 108 dp layer.
    void checkSafeZone(const QString& type, const QString& name)
    {
        for (auto density = androidDensities().rbegin(); density != androidDensities().rend(); ++density) {
            const auto folder = m_folder.densityFolder(type, density->qualifier());
            const auto file = folder ? m_folder.fileOf(*folder, name) : std::nullopt;
            if (!file || file->endsWith(QLatin1String(".xml")))
                continue;
            QByteArray bytes = m_folder.read(*folder, *file, maxImageBytes);
            QBuffer buffer(&bytes);
            QImageReader reader(&buffer);
            const QSize size = reader.size();
            if (!size.isValid() || size.width() > maxMeasuredSide || size.height() > maxMeasuredSide)
                return;
            const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
            if (image.isNull())
                return;
            // A pixel of art is one at least half opaque; antialiasing on the circle's edge is
            // allowed a pixel.
            const double dpPerPixel = adaptiveLayerDp / image.width();
            const QPointF centre(image.width() / 2.0, image.height() / 2.0);
            double farthest = 0;
            for (int y = 0; y < image.height(); ++y) {
                const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
                for (int x = 0; x < image.width(); ++x)
                    if (qAlpha(row[x]) >= 128)
                        farthest = std::max(farthest, std::hypot(x + 0.5 - centre.x(), y + 0.5 - centre.y()));
            }
            const double radius = safeZoneDp / 2;
            if ((farthest - 1) * dpPerPixel > radius)
                add(Finding::Severity::Warning, displayPath(m_folder.path(*folder, *file)),
                    QStringLiteral("outside-safe-zone"),
                    QStringLiteral("its art reaches %1 dp from the centre, outside the %2 dp circle that no launcher "
                                   "masks (%3 dp from the centre): a round mask may cut it")
                        .arg(qRound(farthest * dpPerPixel))
                        .arg(safeZoneDp)
                        .arg(safeZoneDp / 2));
            return;
        }
    }

    fs::path m_res;
    ResFolder m_folder;
    ResCheck& m_check;
    std::map<fs::path, PngStructure> m_pngs;                             // every PNG of the mipmap and drawable folders
    std::optional<std::vector<std::unique_ptr<ResFolder>>> m_projectRes; // read once, when first needed
};

} // namespace

std::optional<QString> checkAndroidRes(const fs::path& res, ResCheck& check)
{
    return Checker(res, check).run();
}

} // namespace quorva
