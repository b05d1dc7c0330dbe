#pragma once

#include <QByteArray>
#include <QString>

namespace quorva {

// The files of a single-size app icon set (Xcode 14 and later): one 1024 px icon from which Xcode
// makes every smaller size, and the dark and tinted appearances of iOS 18 beside it.
inline constexpr int singleSizeIconSide = 1024;
inline const QString singleSizeIconFile = QStringLiteral("AppIcon.png");
inline const QString darkIconFile = QStringLiteral("AppIcon-Dark.png");
inline const QString tintedIconFile = QStringLiteral("AppIcon-Tinted.png");

// The Contents.json of a single-size app icon set: the universal iOS 1024x1024 entry, and one
// entry per appearance asked for, each naming its file.
QByteArray singleSizeAppIconContents(bool dark, bool tinted);

// The Contents.json that a catalog folder holds of its own.
QByteArray catalogContents();

} // namespace quorva
