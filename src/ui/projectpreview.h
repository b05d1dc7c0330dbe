#pragma once

#include "project/projecttarget.h"

#include <QImage>
#include <QPalette>
#include <QStringList>

#include <filesystem>
#include <optional>
#include <vector>

namespace quorva {

// A target as Sync would write it, made by its kind as Sync makes it, nothing written: the image
// that shows it best among its files (its largest), and what its kind notes or refuses.
struct TargetPreview {
    QString label; // "ios", "android (dev)"
    QString place; // where it writes, as quorva.toml names it
    TargetKind kind = TargetKind::iOS;
    QString file; // the file shown, relative to the project; empty when none
    QImage image; // that file's image, as Sync writes it
    QStringList notes;
    std::optional<QString> failure;
};

// Every target made from the project's files as they are. Off the main thread: it makes every icon.
std::vector<TargetPreview> previewTargets(const std::vector<ProjectTarget>& targets, const std::filesystem::path& root);

// Every target a row: its image as its platform shows it (under iOS's rounded square, a watch's
// circle; as the file is elsewhere), 48 points at the screen's scale, beside its name and where it
// writes.
QImage renderProjectPreview(const std::vector<TargetPreview>& targets, qreal devicePixelRatio, const QPalette& palette);

// The same as text, for those who can't see the preview: a line each.
QString projectPreviewDescription(const std::vector<TargetPreview>& targets);

} // namespace quorva
