#include "tauri/tauriconfig.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace quorva {

TauriIcons tauriIcons(const QByteArray& config)
{
    TauriIcons found;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(config, &error);
    if (!document.isObject()) {
        found.error = QStringLiteral("it is no JSON object (%1)").arg(error.errorString());
        return found;
    }
    const QJsonObject root = document.object();
    QJsonValue icon = root[QStringLiteral("bundle")][QStringLiteral("icon")];
    if (!icon.isArray())
        icon = root[QStringLiteral("tauri")][QStringLiteral("bundle")][QStringLiteral("icon")];
    if (!icon.isArray())
        return found;
    found.namesIcons = true;
    // 32x32.png, 128x128@2x.png, Square150x150Logo.png: the side in the name, times its scale.
    static const QRegularExpression sized(QStringLiteral(R"((\d+)x(\d+)(?:@(\d)x)?[^/]*\.png$)"));
    for (const QJsonValue& entry : icon.toArray()) {
        const QString path = entry.toString();
        const QString name = path.section(QLatin1Char('/'), -1);
        if (name.endsWith(QLatin1String(".ico"), Qt::CaseInsensitive)) {
            found.icons.push_back({TauriIcon::Format::Ico, path});
        } else if (name.endsWith(QLatin1String(".icns"), Qt::CaseInsensitive)) {
            found.icons.push_back({TauriIcon::Format::Icns, path});
        } else if (const QRegularExpressionMatch match = sized.match(name);
                   match.hasMatch() && match.captured(1) == match.captured(2)) {
            const int scale = match.captured(3).isEmpty() ? 1 : match.captured(3).toInt();
            found.icons.push_back({TauriIcon::Format::Png, path, match.captured(1).toInt() * scale});
        } else if (name == QLatin1String("icon.png")) {
            found.icons.push_back({TauriIcon::Format::Png, path, 512}); // as tauri icon writes it
        } else {
            found.skipped << path;
        }
    }
    for (TauriIcon& each : found.icons)
        if (each.format == TauriIcon::Format::Png && (each.side < 1 || each.side > 1024)) {
            found.skipped << each.path;
            each.path.clear();
        }
    std::erase_if(found.icons, [](const TauriIcon& each) { return each.path.isEmpty(); });
    return found;
}

const QStringList& tauriPlatformConfigNames()
{
    static const QStringList names
        = {QStringLiteral("tauri.macos.conf.json"), QStringLiteral("tauri.windows.conf.json"),
           QStringLiteral("tauri.linux.conf.json"), QStringLiteral("tauri.ios.conf.json"),
           QStringLiteral("tauri.android.conf.json")};
    return names;
}

} // namespace quorva
