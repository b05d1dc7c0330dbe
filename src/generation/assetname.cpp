#include "generation/assetname.h"

namespace quorva {

QString assetNameForFile(const QString& filePath)
{
    QString name = filePath;
    while (name.size() > 1 && name.endsWith(QLatin1Char('/')))
        name.chop(1);
    name = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        name.truncate(dot);
    return name;
}

} // namespace quorva
