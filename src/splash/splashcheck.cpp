#include "splash/splashcheck.h"

#include "android/androidmanifest.h"
#include "android/resfolder.h"
#include "android/resimagechecks.h"
#include "android/stylesfile.h"
#include "png/pngstructure.h"
#include "splash/androidsplash.h"
#include "splash/iossplash.h"
#include "splash/splashsizes.h"
#include "support/fileio.h"
#include "support/paths.h"

#include <QBuffer>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>
#include <set>

namespace quorva {
namespace fs = std::filesystem;
namespace {

// The drawables a layer-list names: its items' android:drawable and its bitmaps' android:src.
QStringList drawablesOfLayerList(const QByteArray& xml)
{
    static const QRegularExpression named(QStringLiteral("@drawable/([A-Za-z0-9_]+)"));
    QStringList names;
    for (auto match = named.globalMatch(QString::fromUtf8(xml)); match.hasNext();)
        names << match.next().captured(1);
    return names;
}

// The names Quorva's launch screens give their drawables.
bool isLaunchScreenDrawable(const QString& file)
{
    const QString name = file.section(QLatin1Char('.'), 0, 0);
    for (const char* own : {splashIconName, splashImageName, splashBrandingName, launchBackgroundName})
        if (name == QLatin1String(own))
            return true;
    return false;
}

// An Android 12 icon's bitmaps, as the device shows them: square, its art inside the circle of it
// that shows (a warning each: the build takes them, the device stretches or cuts them).
void checkIcon(SplashCheck& check, const ResFolder& folder, const QString& name, bool onBackground,
               std::set<QString>& measured)
{
    const double canvas = onBackground ? splashIconOnBackgroundDp : splashIconDp;
    const double circle = onBackground ? splashIconOnBackgroundCircleDp : splashIconCircleDp;
    for (const auto& [sub, file] : folder.definitionsOf(QStringLiteral("drawable"), name)) {
        if (!file.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) || !measured.insert(sub + file).second)
            continue;
        const QString shown = displayPath(folder.path(sub, file));
        QByteArray bytes = folder.read(sub, file, maxResImageBytes);
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer, "PNG");
        const QSize size = reader.size();
        if (!size.isValid() || size.width() > 4096 || size.height() > 4096)
            continue;
        if (size.width() != size.height()) {
            check.findings.push_back({Finding::Severity::Warning, shown, QStringLiteral("splash-icon-square"),
                                      QStringLiteral("it is %1 × %2 px: Android 12 shows its launch screen icon in a "
                                                     "square, and stretches this one")
                                          .arg(size.width())
                                          .arg(size.height())});
            continue;
        }
        const QImage image = reader.read();
        if (image.isNull())
            continue;
        // Antialiasing on the circle's edge is allowed a pixel.
        const double dpPerPixel = canvas / image.width();
        const double farthest = farthestArt(image);
        if ((farthest - 1) * dpPerPixel > circle / 2)
            check.findings.push_back(
                {Finding::Severity::Warning, shown, QStringLiteral("splash-icon-circle"),
                 QStringLiteral("its art reaches %1 dp from the centre, past the %2 dp circle that Android 12 shows "
                                "of a %3 dp icon: the circle cuts it")
                     .arg(qRound(farthest * dpPerPixel))
                     .arg(circle)
                     .arg(canvas)});
    }
}

} // namespace

SplashCheck checkAndroidSplash(const fs::path& res, const QString& theme)
{
    SplashCheck check;
    const ResFolder folder(res);
    // What names a drawable, and the drawable: "values-v31/styles.xml", "splash_icon".
    std::vector<std::pair<QString, QString>> named;
    std::vector<std::pair<QString, bool>> icons; // Android 12's icons, and whether on a background of their own
    for (const auto& [sub, files] : folder.files()) {
        if (sub == QLatin1String("values") || sub.startsWith(QLatin1String("values-"))) {
            for (const QString& file : files) {
                if (!file.endsWith(QLatin1String(".xml")))
                    continue;
                const std::optional<StyleDefinition> style = styleIn(folder.read(sub, file, maxResXmlBytes), theme);
                if (!style)
                    continue;
                check.places << displayPath(folder.path(sub, file));
                const bool onBackground = std::any_of(style->items.begin(), style->items.end(), [](const auto& item) {
                    return item.first.endsWith(QLatin1String("windowSplashScreenIconBackgroundColor"));
                });
                for (const auto& item : style->items)
                    if (const std::optional<ResourceRef> ref = resourceReference(item.second);
                        ref && ref->type == QLatin1String("drawable")) {
                        named.emplace_back(sub + QLatin1Char('/') + file, ref->name);
                        if (item.first.endsWith(QLatin1String("windowSplashScreenAnimatedIcon")))
                            icons.emplace_back(ref->name, onBackground);
                    } else if (ref && ref->type == QLatin1String("color")
                               && item.first.contains(QLatin1String("windowSplashScreen"))
                               && !folder.defines(QStringLiteral("color"), ref->name)) {
                        check.findings.push_back(
                            {Finding::Severity::Error, displayPath(folder.path(sub, file)),
                             QStringLiteral("missing-resource"),
                             QStringLiteral("its %1 theme names @color/%2, which this res folder does not define: "
                                            "Android's build stops at it")
                                 .arg(theme, ref->name)});
                    }
            }
        } else if (sub.startsWith(QLatin1String("drawable")) && files.count(QStringLiteral("launch_background.xml"))) {
            const QString file = QStringLiteral("launch_background.xml");
            check.places << displayPath(folder.path(sub, file));
            for (const QString& name : drawablesOfLayerList(folder.read(sub, file, maxResXmlBytes)))
                named.emplace_back(sub + QLatin1Char('/') + file, name);
        }
    }
    std::set<QString> reported, read;
    for (const auto& [where, name] : named) {
        const QString shown = displayPath(res / toPath(where));
        if (!folder.defines(QStringLiteral("drawable"), name)) {
            if (reported.insert(shown + name).second)
                check.findings.push_back({Finding::Severity::Error, shown, QStringLiteral("missing-resource"),
                                          QStringLiteral("it names @drawable/%1, which this res folder does not "
                                                         "define: Android's build stops at it")
                                              .arg(name)});
            continue;
        }
        for (const auto& [sub, file] : folder.definitionsOf(QStringLiteral("drawable"), name)) {
            if (!file.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) || !read.insert(sub + file).second)
                continue;
            const PngStructure png = readPngStructure(folder.read(sub, file, maxResImageBytes));
            if (!png.whole)
                check.findings.push_back({Finding::Severity::Error, displayPath(folder.path(sub, file)),
                                          QStringLiteral("broken-png"),
                                          QStringLiteral("the PNG is not whole: %1").arg(png.problem)});
        }
    }
    std::set<QString> measured;
    for (const auto& [name, onBackground] : icons)
        if (folder.defines(QStringLiteral("drawable"), name))
            checkIcon(check, folder, name, onBackground, measured);
    // A dark screen's drawable that no theme or layer list names: the dark screen is not shown.
    std::set<QString> names;
    for (const auto& each : named)
        names.insert(each.second);
    for (const auto& [sub, files] : folder.files()) {
        if (!sub.startsWith(QLatin1String("drawable")) || !sub.split(QLatin1Char('-')).contains(QLatin1String("night")))
            continue;
        for (const QString& file : files)
            if (isLaunchScreenDrawable(file) && !names.count(file.section(QLatin1Char('.'), 0, 0)))
                check.findings.push_back({Finding::Severity::Warning, displayPath(folder.path(sub, file)),
                                          QStringLiteral("unused-dark-variant"),
                                          QStringLiteral("no launch theme here names @drawable/%1: the dark launch "
                                                         "screen never shows it")
                                              .arg(file.section(QLatin1Char('.'), 0, 0))});
    }
    return check;
}

SplashCheck checkIosSplash(const fs::path& catalog)
{
    SplashCheck check;
    const fs::path set = catalog / (QLatin1String(launchImageName) + QStringLiteral(".imageset")).toStdString();
    const std::optional<QByteArray> contents = readSmallFile(set / "Contents.json", 1 << 20);
    if (!contents)
        return check;
    check.places << displayPath(set);
    bool threeTimes = false;
    for (const QJsonValue& image : QJsonDocument::fromJson(*contents)[QLatin1String("images")].toArray()) {
        const QJsonObject entry = image.toObject();
        const QString file = entry[QLatin1String("filename")].toString();
        threeTimes = threeTimes
            || (entry[QLatin1String("scale")].toString() == QLatin1String("3x") && !file.isEmpty()
                && isFile(set / toPath(file)));
    }
    if (!threeTimes)
        check.findings.push_back({Finding::Severity::Warning, displayPath(set), QStringLiteral("launch-image-3x"),
                                  QStringLiteral("it has no @3x image: iPhones of three times the density show the "
                                                 "@2x one scaled up, blurred")});
    return check;
}

} // namespace quorva
