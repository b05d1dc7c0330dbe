#include "project/yamlsettings.h"

#include "support/fileio.h"

namespace quorva {

std::optional<QByteArray> readYamlSettings(const std::filesystem::path& path)
{
    return readSmallFile(path, 1 << 20);
}

QString yamlScalar(const YAML::Node& node)
{
    return node && node.IsScalar() ? QString::fromStdString(node.Scalar()) : QString();
}

std::optional<bool> yamlBoolean(const YAML::Node& node)
{
    const QString text = yamlScalar(node).toLower();
    if (text == QLatin1String("true") || text == QLatin1String("yes"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("no"))
        return false;
    return std::nullopt;
}

std::optional<YAML::Node> yamlSection(const QByteArray& text, const QString& file, const QStringList& names,
                                      QStringList& errors)
{
    try {
        const YAML::Node document = YAML::Load(text.toStdString());
        for (const QString& name : names)
            if (document.IsMap() && document[name.toStdString()] && document[name.toStdString()].IsMap())
                return document[name.toStdString()];
    } catch (const YAML::Exception& error) {
        errors << QStringLiteral("%1:%2: %3").arg(file).arg(error.mark.line + 1).arg(QString::fromStdString(error.msg));
    }
    return std::nullopt;
}

} // namespace quorva
