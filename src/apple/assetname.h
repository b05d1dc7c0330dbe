#pragma once

#include <QString>

namespace quorva {

// The name of an image set made from a file: its last path component without the last
// extension ("app.icon.jpeg" gives "app.icon"). A name whose only dot leads it (".logo") has no
// extension and stays whole.
QString assetNameForFile(const QString& filePath);

} // namespace quorva
