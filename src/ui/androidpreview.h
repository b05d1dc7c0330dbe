#pragma once

#include "android/androidiconplan.h"

#include <QImage>
#include <QPalette>

namespace quorva {

// What an Android launcher icon will look like: its layers under the masks launchers apply
// (circle, squircle, rounded square) and as a themed icon, on a light and a dark home screen, each
// named below. Made off the main thread; devicePixelRatio is the screen's.
QImage renderAndroidPreview(const AndroidIconPlan& plan, qreal devicePixelRatio, const QPalette& palette);

// The same in words, for those who can't see the preview.
QString androidPreviewDescription(const AndroidIconPlan& plan);

} // namespace quorva
