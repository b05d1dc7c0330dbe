#include "android/androidmanifest.h"

#include "android/androidnamespace.h"
#include "support/paths.h"

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace quorva {
namespace {

constexpr qint64 maxManifestBytes = 4 << 20;

} // namespace

std::optional<ResourceRef> resourceReference(const QString& value)
{
    static const QRegularExpression reference(QStringLiteral(R"(^@\+?([a-z]+)/([A-Za-z0-9_.]+)$)"));
    const QRegularExpressionMatch match = reference.match(value.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    return ResourceRef{match.captured(1), match.captured(2)};
}

std::optional<QString> placeholderName(const QString& value)
{
    static const QRegularExpression placeholder(QStringLiteral(R"(^\$\{(\w+)\}$)"));
    const QRegularExpressionMatch match = placeholder.match(value.trimmed());
    return match.hasMatch() ? std::optional(match.captured(1)) : std::nullopt;
}

std::optional<QString> AndroidManifest::launchTheme() const
{
    const std::optional<ResourceRef> theme
        = resourceReference(launcherTheme.isEmpty() ? applicationTheme : launcherTheme);
    if (!theme || theme->type != QLatin1String("style"))
        return std::nullopt;
    return theme->name;
}

std::optional<AndroidManifest> readAndroidManifest(const std::filesystem::path& manifest)
{
    QFile file(displayPath(manifest));
    if (file.size() > maxManifestBytes || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Its size, not the bound: a read of the bound would take (and touch) that much memory first.
    QXmlStreamReader reader(file.read(file.size()));
    AndroidManifest read;
    std::vector<AndroidManifestIcon>& icons = read.icons;
    // An activity's icons, until its intent filters have said whether the launcher lists it.
    struct Open {
        QString element;
        std::size_t firstIcon;
        QString theme;
    };
    std::vector<Open> open;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (!open.empty())
                open.pop_back();
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QString element = reader.name().toString();
        const std::size_t first = icons.size();
        const QString theme = reader.attributes().value(androidNamespace, QLatin1String("theme")).toString();
        if (element == QLatin1String("application"))
            read.applicationTheme = theme;
        for (const char* attribute : {"icon", "roundIcon"}) {
            const QString value = reader.attributes().value(androidNamespace, QLatin1String(attribute)).toString();
            if (!value.isEmpty())
                icons.push_back(
                    {element, QLatin1String(attribute), value,
                     element == QLatin1String("application") || element == QLatin1String("activity-alias")});
        }
        if (element == QLatin1String("uses-feature")
            && reader.attributes().value(androidNamespace, QLatin1String("name"))
                == QLatin1String("android.hardware.type.watch"))
            read.watch = true;
        if (element == QLatin1String("category")
            && reader.attributes().value(androidNamespace, QLatin1String("name"))
                == QLatin1String("android.intent.category.LAUNCHER"))
            for (auto outer = open.rbegin(); outer != open.rend(); ++outer)
                if (outer->element == QLatin1String("activity")) {
                    if (read.launcherTheme.isEmpty())
                        read.launcherTheme = outer->theme;
                    for (std::size_t i = outer->firstIcon; i < icons.size(); ++i)
                        if (icons[i].element == QLatin1String("activity"))
                            icons[i].launcher = true;
                    break;
                }
        open.push_back({element, first, theme});
    }
    if (reader.hasError())
        return std::nullopt;
    return read;
}

} // namespace quorva
