#pragma once

#include <QString>

namespace quorva {

// The namespace of android: attributes, in the manifest and in every resource's XML.
inline const QString androidNamespace = QStringLiteral("http://schemas.android.com/apk/res/android");

} // namespace quorva
