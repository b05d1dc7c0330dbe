#pragma once

#include "web/desktopandweb.h"

#include <QImage>
#include <QPalette>

namespace quorva {

// What the desktop and web icons will look like, each at its true pixel size where it is shown:
// the .ico's sizes on a Windows taskbar, the .icns in the Mac Dock, the favicon in a browser tab,
// the touch icon on a phone's home screen; each row captioned. Made off the main thread from the
// files themselves.
QImage renderDesktopPreview(const DesktopAndWebPlan& plan, qreal devicePixelRatio, const QPalette& palette);

// The same in words, for those who can't see the preview.
QString desktopPreviewDescription(const DesktopAndWebPlan& plan);

} // namespace quorva
