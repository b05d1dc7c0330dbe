#include "ui/projectpreview.h"

#include "png/pngstructure.h"
#include "project/targetplacement.h"
#include "support/paths.h"

#include <QPainter>
#include <QPainterPath>

namespace quorva {
namespace fs = std::filesystem;
namespace {

// A PNG's pixels by its header, without decoding it; -1 for any other file.
qint64 pngArea(const QByteArray& bytes)
{
    const std::optional<QSize> size = pngHeaderSize(bytes);
    return size ? qint64(size->width()) * size->height() : -1;
}

// Layers and masks are parts of an icon, not the icon: Android's adaptive layers, a monochrome
// or notification shape.
bool isPartOfAnIcon(const QString& path)
{
    for (const char* part : {"_foreground", "_background", "_monochrome", "ic_stat_", "_notification"})
        if (path.contains(QLatin1String(part)))
            return true;
    return false;
}

void pickShown(TargetPreview& preview, const TargetPlacement& made, const fs::path& root)
{
    const PlannedFile* best = nullptr;
    fs::path bestRoot;
    qint64 bestArea = -1;
    for (const bool parts : {false, true}) {
        for (const Placement& placement : made.placements)
            for (const PlannedFile& file : placement.plan.files)
                if (const qint64 area = pngArea(file.bytes); area > bestArea && isPartOfAnIcon(file.path) == parts) {
                    best = &file;
                    bestRoot = placement.root;
                    bestArea = area;
                }
        if (best)
            break;
    }
    // No PNG: an .ico or .icns file, as Qt's image plugins read it.
    if (!best)
        for (const Placement& placement : made.placements)
            for (const PlannedFile& file : placement.plan.files)
                if (!best
                    && (file.path.endsWith(QLatin1String(".ico")) || file.path.endsWith(QLatin1String(".icns")))) {
                    best = &file;
                    bestRoot = placement.root;
                }
    if (!best)
        return;
    preview.image = QImage::fromData(best->bytes);
    preview.file = displayPath((bestRoot / toPath(best->path)).lexically_normal().lexically_relative(root));
}

} // namespace

std::vector<TargetPreview> previewTargets(const std::vector<ProjectTarget>& targets, const fs::path& root)
{
    std::vector<const ProjectTarget*> each;
    for (const ProjectTarget& target : targets)
        each.push_back(&target);
    const std::vector<TargetPlacement> made = placeTargets(each, root);
    std::vector<TargetPreview> previews;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        TargetPreview preview;
        preview.label = targets[i].label();
        preview.place = targets[i].place();
        preview.kind = targets[i].kind;
        preview.notes = made[i].notes;
        preview.failure = made[i].failure;
        if (!made[i].failure)
            pickShown(preview, made[i], root);
        previews.push_back(std::move(preview));
    }
    return previews;
}

QImage renderProjectPreview(const std::vector<TargetPreview>& targets, qreal ratio, const QPalette& palette)
{
    if (targets.empty())
        return {};
    // In two columns when there are many, so that the whole project shows at the usual size.
    const int columns = targets.size() > 4 ? 2 : 1;
    const int rows = (int(targets.size()) + columns - 1) / columns;
    const int side = qRound(48 * ratio), gap = qRound(10 * ratio), column = qRound((columns == 1 ? 520 : 340) * ratio);
    QFont name, place;
    name.setPixelSize(qRound(13 * ratio));
    name.setBold(true);
    place.setPixelSize(qRound(11 * ratio));
    QImage preview(columns * column + (columns - 1) * gap, rows * (side + gap) - gap,
                   QImage::Format_ARGB32_Premultiplied);
    preview.fill(Qt::transparent);
    QPainter painter(&preview);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (std::size_t index = 0; index < targets.size(); ++index) {
        const TargetPreview& target = targets[index];
        const int left = int(index) / rows * (column + gap), top = int(index) % rows * (side + gap);
        if (!target.image.isNull()) {
            QPainterPath mask;
            const QRectF box(left, top, side, side);
            if (target.kind == TargetKind::watchOS)
                mask.addEllipse(box);
            else if (target.kind == TargetKind::iOS || target.kind == TargetKind::IconComposer)
                mask.addRoundedRect(box, side * 0.2237, side * 0.2237);
            else
                mask.addRect(box);
            painter.save();
            painter.setClipPath(mask);
            const QImage shown = target.image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            painter.drawImage(QPointF(left + (side - shown.width()) / 2.0, top + (side - shown.height()) / 2.0), shown);
            painter.restore();
        }
        const QRect text(left + side + gap, top, column - side - gap, side);
        painter.setPen(palette.color(QPalette::WindowText));
        painter.setFont(name);
        painter.drawText(text.adjusted(0, 0, 0, -side / 2), Qt::AlignLeft | Qt::AlignBottom, target.label);
        painter.setFont(place);
        painter.drawText(text.adjusted(0, side / 2 + qRound(2 * ratio), 0, 0), Qt::AlignLeft | Qt::AlignTop,
                         QFontMetrics(place).elidedText(target.place, Qt::ElideMiddle, text.width()));
    }
    painter.end();
    preview.setDevicePixelRatio(ratio);
    return preview;
}

QString projectPreviewDescription(const std::vector<TargetPreview>& targets)
{
    QStringList lines;
    for (const TargetPreview& target : targets)
        lines << QStringLiteral("%1: %2").arg(target.label, target.place);
    return lines.join(QLatin1Char('\n'));
}

} // namespace quorva
