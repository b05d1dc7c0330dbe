#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace quorva {

// The string an XML Info.plist gives one of its top-level keys ("UILaunchStoryboardName");
// nothing where it gives none, or the file is no XML property list.
std::optional<QString> plistString(const QByteArray& plist, const QString& key);

// An XML Info.plist with strings set in one of its top-level dictionaries (UILaunchScreen's
// UIImageName and UIColorName), in place: each string's text replaced where the dictionary has
// the key, the others added before its </dict>, the dictionary added where the file lacks it,
// every other byte as it was. Nothing when the file is no XML property list with a <dict> at its
// root, or the key holds no dictionary.
std::optional<QByteArray> withPlistStrings(const QByteArray& plist, const QString& dictionary,
                                           const std::vector<std::pair<QString, QString>>& strings);

} // namespace quorva
