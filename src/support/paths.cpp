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

std::filesystem::path absoluteFolder(const std::filesystem::path& folder)
{
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(folder, error).lexically_normal();
    if (error)
        absolute = folder.lexically_normal();
    while (absolute.has_relative_path() && absolute.filename().empty())
        absolute = absolute.parent_path();
    return absolute;
}

std::filesystem::path repositoryOf(const std::filesystem::path& folder)
{
    const std::filesystem::path start = absoluteFolder(folder);
    for (std::filesystem::path at = start;; at = at.parent_path()) {
        std::error_code error;
        if (std::filesystem::exists(std::filesystem::symlink_status(at / ".git", error)))
            return at;
        if (at == at.parent_path())
            return start;
    }
}

} // namespace quorva
