#include "apple/setcontents.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace quorva {

bool SetEntry::expectedPixels(int& width, int& height) const
{
    const QStringList points = size.split(QLatin1Char('x'));
    bool wide = false, high = false, scaled = true;
    const double w = points.size() == 2 ? points[0].toDouble(&wide) : 0;
    const double h = points.size() == 2 ? points[1].toDouble(&high) : 0;
    const double factor
        = scale.isEmpty() ? 1.0 : scale.chopped(scale.endsWith(QLatin1Char('x')) ? 1 : 0).toDouble(&scaled);
    if (!wide || !high || !scaled || w <= 0 || h <= 0 || factor <= 0 || w * factor > 1e9 || h * factor > 1e9)
        return false;
    width = static_cast<int>(std::lround(w * factor));
    height = static_cast<int>(std::lround(h * factor));
    return true;
}

double SetEntry::scaleFactor() const
{
    if (scale.isEmpty())
        return 1;
    bool ok = false;
    const double factor = scale.chopped(scale.endsWith(QLatin1Char('x')) ? 1 : 0).toDouble(&ok);
    return ok && factor > 0 && factor < 100 ? factor : 0;
}

SetContents parseSetContents(const QByteArray& json)
{
    SetContents contents;
    QJsonParseError parsed;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parsed);
    if (parsed.error != QJsonParseError::NoError) {
        contents.error
            = QStringLiteral("it is not valid JSON (%1 at byte %2)").arg(parsed.errorString()).arg(parsed.offset);
        return contents;
    }
    const QJsonValue images = document.object().value(QLatin1String("images"));
    if (!document.isObject() || !images.isArray()) {
        contents.error = QStringLiteral("it has no \"images\" list");
        return contents;
    }
    for (const QJsonValue& value : images.toArray()) {
        if (!value.isObject()) {
            contents.error = QStringLiteral("an entry of \"images\" is not an object");
            return contents;
        }
        const QJsonObject object = value.toObject();
        SetEntry entry;
        entry.idiom = object.value(QLatin1String("idiom")).toString();
        entry.platform = object.value(QLatin1String("platform")).toString();
        entry.size = object.value(QLatin1String("size")).toString();
        entry.scale = object.value(QLatin1String("scale")).toString();
        entry.filename = object.value(QLatin1String("filename")).toString();
        entry.role = object.value(QLatin1String("role")).toString();
        const QJsonArray appearances = object.value(QLatin1String("appearances")).toArray();
        entry.hasAppearances = !appearances.isEmpty();
        QStringList kinds;
        for (const QJsonValue& appearance : appearances) {
            const QString kind = appearance.toObject().value(QLatin1String("appearance")).toString();
            const QString value = appearance.toObject().value(QLatin1String("value")).toString();
            if (kind == QLatin1String("luminosity"))
                entry.luminosity = value;
            kinds << kind + QLatin1Char(':') + value;
        }
        kinds.sort();
        entry.appearances = kinds.join(QLatin1Char(','));
        QStringList keys;
        for (auto key = object.begin(); key != object.end(); ++key)
            if (key.key() != QLatin1String("filename") && key.key() != QLatin1String("scale"))
                keys << key.key() + QLatin1Char('=')
                        + QString::fromUtf8(QJsonDocument(QJsonArray{key.value()}).toJson(QJsonDocument::Compact));
        entry.variant = keys.join(QLatin1Char(';')); // a QJsonObject's keys are sorted
        contents.entries.push_back(std::move(entry));
    }
    return contents;
}

QStringList filesNamedIn(const SetContents& contents)
{
    QStringList files;
    for (const SetEntry& entry : contents.entries)
        if (!entry.filename.isEmpty() && !files.contains(entry.filename))
            files << entry.filename;
    return files;
}

} // namespace quorva
