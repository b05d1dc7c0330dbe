#include "apple/assetname.h"

#include "support/paths.h"

namespace quorva {

QString assetNameForFile(const QString& filePath)
{
    QString name = lastComponent(filePath);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        name.truncate(dot);
    return name;
}

} // namespace quorva
