#include "support/paths.h"

#include <QFile>

namespace quorva {

QString displayPath(const std::filesystem::path& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

std::filesystem::path toPath(const QString& text)
{
    return std::filesystem::path(QFile::encodeName(text).toStdString());
}

QString pathLine(const std::filesystem::path& path, const QString& text)
{
    return QStringLiteral("%1: %2").arg(displayPath(path), text);
}

QString lastComponent(const QString& path)
{
    QString name = path;
    while (name.size() > 1 && name.endsWith(QLatin1Char('/')))
        name.chop(1);
    return name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
}

bool isSingleComponent(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

std::filesystem::path resolvedPath(const std::filesystem::path& path)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(error ? path : absolute, error);
    return (error ? absolute : resolved).lexically_normal();
}

bool isWithin(const std::filesystem::path& path, const std::filesystem::path& folder)
{
    auto inside = path.begin();
    for (auto part = folder.begin(); part != folder.end(); ++part, ++inside) {
        if (part->empty() && std::next(part) == folder.end())
            return true; // "a/b/" names the same folder as "a/b"
        if (inside == path.end() || *inside != *part)
            return false;
    }
    return true;
}

} // namespace quorva
