#include "android/rescheck.h"

#include "android/androiddensity.h"
#include "png/pngstructure.h"
#include "support/filedescriptor.h"
#include "support/fileio.h"
#include "support/paths.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QXmlStreamReader>

#include <cmath>
#include <map>
#include <set>

#include <fcntl.h>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxXmlBytes = 4 << 20;
constexpr qint64 maxImageBytes = 64 << 20;
constexpr int maxMeasuredSide = 4096;
const QString androidNamespace = QStringLiteral("http://schemas.android.com/apk/res/android");

// A resource's name is its file's name up to the first dot: ic_launcher.png, ic_launcher.9.png.
QString resourceName(const QString& file)
{
    return file.section(QLatin1Char('.'), 0, 0);
}

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

// The folders of res and their files, read once; links lead nowhere outside it.
class ResFolder {
public:
    explicit ResFolder(const fs::path& res) : m_res(res), m_fd(::open(res.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (!m_fd.isOpen())
            return;
        for (const std::string& entry : namesIn(m_fd)) {
            const QString name = QString::fromStdString(entry);
            FileDescriptor sub;
            if (name.startsWith(QLatin1Char('.')) || openFolderIn(m_fd, res, entry, res, false, sub))
                continue;
            std::set<QString>& files = m_files[name];
            for (const std::string& file : namesIn(sub))
                if (!file.starts_with('.'))
                    files.insert(QString::fromStdString(file));
            m_folders[name] = std::move(sub);
        }
        for (const auto& [name, files] : m_files)
            if (name == QLatin1String("values") || name.startsWith(QLatin1String("values-")))
                for (const QString& file : files)
                    if (file.endsWith(QLatin1String(".xml")))
                        readColours(read(name, file, maxXmlBytes));
    }

    bool isOpen() const { return m_fd.isOpen(); }
    fs::path path(const QString& folder, const QString& file) const { return m_res / toPath(folder) / toPath(file); }

    // The folders of a resource type, qualified or not: mipmap, mipmap-hdpi, mipmap-anydpi-v26.
    std::vector<QString> foldersOf(const QString& type) const
    {
        std::vector<QString> found;
        for (const auto& [name, folder] : m_files)
            if (name == type || name.startsWith(type + QLatin1Char('-')))
                found.push_back(name);
        return found;
    }

    // The folder of a type for one density: mipmap-hdpi, or mipmap-hdpi-v4.
    std::optional<QString> densityFolder(const QString& type, const QString& qualifier) const
    {
        const QString base = type + QLatin1Char('-') + qualifier;
        for (const auto& [name, folder] : m_files)
            if (name == base || name.startsWith(base + QLatin1Char('-')))
                return name;
        return std::nullopt;
    }

    // The file of a folder that holds the resource, if any.
    std::optional<QString> fileOf(const QString& folder, const QString& resource) const
    {
        const auto found = m_files.find(folder);
        if (found == m_files.end())
            return std::nullopt;
        for (const QString& file : found->second)
            if (resourceName(file) == resource)
                return file;
        return std::nullopt;
    }

    bool defines(const QString& type, const QString& name) const
    {
        if (type == QLatin1String("color") && m_colours.count(name))
            return true;
        for (const QString& folder : foldersOf(type))
            if (fileOf(folder, name))
                return true;
        return false;
    }

    QByteArray read(const QString& folder, const QString& file, qint64 maxBytes) const
    {
        QByteArray bytes;
        const auto found = m_folders.find(folder);
        if (found == m_folders.end() || readFileIn(found->second, toPath(file), maxBytes, bytes) != 0)
            return {};
        return bytes;
    }

    // Each folder's files.
    const std::map<QString, std::set<QString>>& files() const { return m_files; }

private:
    void readColours(const QByteArray& xml)
    {
        QXmlStreamReader reader(xml);
        while (!reader.atEnd()) {
            if (reader.readNext() != QXmlStreamReader::StartElement)
                continue;
            const QStringView type = reader.attributes().value(QLatin1String("type"));
            if (reader.name() == QLatin1String("color")
                || (reader.name() == QLatin1String("item") && type == QLatin1String("color")))
                m_colours.insert(reader.attributes().value(QLatin1String("name")).toString());
        }
    }

    fs::path m_res;
    FileDescriptor m_fd;
    std::map<QString, FileDescriptor> m_folders;
    std::map<QString, std::set<QString>> m_files;
    std::set<QString> m_colours;
};

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
                add(Finding::Severity::Error, displayPath(manifest), QStringLiteral("missing-resource"),
                    QStringLiteral("the manifest names @%1/%2, which no file of res defines").arg(type, name));
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
                const QByteArray bytes = m_folder.read(folder, file, maxImageBytes);
                const PngStructure png = readPngStructure(bytes);
                if (!png.whole)
                    add(Finding::Severity::Error, displayPath(m_folder.path(folder, file)),
                        QStringLiteral("broken-png"), QStringLiteral("the PNG is not whole: %1").arg(png.problem));
            }
        }
    }

    QSize pixelSize(const QString& folder, const QString& file) const
    {
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
                add(Finding::Severity::Error, xmlPath, QStringLiteral("missing-resource"),
                    QStringLiteral("its %1 is %2, which no file of res defines").arg(element, layer.drawable));
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
};

} // namespace

std::optional<QString> checkAndroidRes(const fs::path& res, ResCheck& check)
{
    return Checker(res, check).run();
}

} // namespace quorva
