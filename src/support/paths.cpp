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

} // namespace quorva
