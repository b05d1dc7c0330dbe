#pragma once

#include "image/image.h"
#include "project/projecttarget.h"

#include <QImage>
#include <QPalette>

#include <functional>
#include <vector>

namespace quorva {

// Every target a project writes, a row each: its icon as its platform shows it (under iOS's
// rounded square, Android's circle, a watch's circle; as it is on the desktops and the web),
// 48 points at the screen's scale, beside its name and where it writes. sourceOf gives a target's
// source image. Made off the main thread.
QImage renderProjectPreview(const std::vector<ProjectTarget>& targets,
                            const std::function<ImageRef(const ProjectTarget&)>& sourceOf, qreal devicePixelRatio,
                            const QPalette& palette);

// The same as text, for those who can't see the preview: a line each.
QString projectPreviewDescription(const std::vector<ProjectTarget>& targets);

} // namespace quorva
