#include "splash/splashcheck.h"

#include "android/androidmanifest.h"
#include "android/resfolder.h"
#include "android/stylesfile.h"
#include "png/pngstructure.h"
#include "splash/iossplash.h"
#include "support/fileio.h"
#include "support/paths.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QXmlStreamReader>

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

} // namespace

SplashCheck checkAndroidSplash(const fs::path& res, const QString& theme)
{
    SplashCheck check;
    const ResFolder folder(res);
    // What names a drawable, and the drawable: "values-v31/styles.xml", "splash_icon".
    std::vector<std::pair<QString, QString>> named;
    for (const auto& [sub, files] : folder.files()) {
        if (sub == QLatin1String("values") || sub.startsWith(QLatin1String("values-"))) {
            for (const QString& file : files) {
                if (!file.endsWith(QLatin1String(".xml")))
                    continue;
                const std::optional<StyleDefinition> style = styleIn(folder.read(sub, file, maxResXmlBytes), theme);
                if (!style)
                    continue;
                check.places << displayPath(folder.path(sub, file));
                for (const auto& item : style->items)
                    if (const std::optional<ResourceRef> ref = resourceReference(item.second);
                        ref && ref->type == QLatin1String("drawable"))
                        named.emplace_back(sub + QLatin1Char('/') + file, ref->name);
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
