#pragma once

#include <QByteArray>
#include <QString>

#include <map>
#include <optional>

namespace quorva {

// A layer of an adaptive icon as its XML names it: "@mipmap/ic_launcher_foreground"; wrapped when
// the name is a child's, as flutter_launcher_icons wraps the foreground in an <inset>, so that the
// file's pixels are not the layer's.
struct AdaptiveLayer {
    QString drawable;
    bool wrapped = false;
};

// An adaptive icon's layers by their element: "foreground", "background", "monochrome".
std::optional<std::map<QString, AdaptiveLayer>> adaptiveLayers(const QByteArray& xml);

} // namespace quorva
