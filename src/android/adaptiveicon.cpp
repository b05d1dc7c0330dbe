#include "android/adaptiveicon.h"

#include "android/androidnamespace.h"
#include <QXmlStreamReader>

namespace quorva {
namespace {

} // namespace

std::optional<std::map<QString, AdaptiveLayer>> adaptiveLayers(const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("adaptive-icon"))
        return std::nullopt;
    std::map<QString, AdaptiveLayer> layers;
    while (reader.readNextStartElement()) {
        AdaptiveLayer& layer = layers[reader.name().toString()];
        layer.drawable = reader.attributes().value(androidNamespace, QLatin1String("drawable")).toString();
        while (reader.readNextStartElement()) {
            if (layer.drawable.isEmpty()) {
                layer.drawable = reader.attributes().value(androidNamespace, QLatin1String("drawable")).toString();
                layer.wrapped = true;
            }
            reader.skipCurrentElement();
        }
    }
    return layers;
}

} // namespace quorva
