#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QString>

#include <vector>

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

// The Mac app icon: five sizes at 1x and 2x, seven distinct images from 16 to 1024 px, each in a
// file named by its pixel size; the watch app's single-size icon.
struct MacIconSlot {
    int points;
    int scale;
    int pixels() const { return points * scale; }
};
const std::vector<MacIconSlot>& macIconSlots();
QString macIconFile(int pixels);
inline const QString watchIconFile = QStringLiteral("AppIcon-watchOS.png");

// The entries of a single-size iOS set, as singleSizeAppIconContents lists them.
QJsonArray singleSizeAppIconEntries(bool dark, bool tinted);

// The Contents.json of a set for several platforms, as Xcode writes a multiplatform set: the iOS
// entries given (a template's images, or the single-size ones; none for a set without iOS), then
// the Mac slots and the watch entry when asked, in Xcode's own JSON layout.
QByteArray multiplatformAppIconContents(const QJsonArray& iosEntries, bool mac, bool watch);

// The Contents.json that a catalog folder holds of its own.
QByteArray catalogContents();

} // namespace quorva
