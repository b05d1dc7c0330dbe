#include "ui/projectpreview.h"

#include "image/csscolour.h"
#include "image/imageresizing.h"

#include <QPainter>
#include <QPainterPath>

namespace quorva {

QImage renderProjectPreview(const std::vector<ProjectTarget>& targets,
                            const std::function<ImageRef(const ProjectTarget&)>& sourceOf, qreal ratio,
                            const QPalette& palette)
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
    for (std::size_t index = 0; index < targets.size(); ++index) {
        const ProjectTarget& target = targets[index];
        const int left = int(index) / rows * (column + gap), top = int(index) % rows * (side + gap);
        QImage icon(side, side, QImage::Format_ARGB32_Premultiplied);
        icon.fill(Qt::transparent);
        if (const ImageRef source = sourceOf(target))
            if (const ImageRef scaled = resizedToSide(*source, side)) {
                QPainter drawn(&icon);
                drawn.setRenderHint(QPainter::Antialiasing);
                QPainterPath mask;
                const QRectF box(0, 0, side, side);
                if (target.kind == TargetKind::Android || target.kind == TargetKind::watchOS)
                    mask.addEllipse(box);
                else if (target.kind == TargetKind::iOS || target.kind == TargetKind::IconComposer)
                    mask.addRoundedRect(box, side * 0.2237, side * 0.2237);
                else
                    mask.addRect(box);
                drawn.setClipPath(mask);
                const QColor background = parseCssColour(target.text(QStringLiteral("background")));
                if (background.isValid())
                    drawn.fillRect(box, background);
                drawn.drawImage(0, 0, scaled->representations().front());
            }
        painter.drawImage(left, top, icon);
        const QRect text(left + side + gap, top, column - side - gap, side);
        painter.setPen(palette.color(QPalette::WindowText));
        painter.setFont(name);
        painter.drawText(text.adjusted(0, 0, 0, -side / 2), Qt::AlignLeft | Qt::AlignBottom, target.label());
        painter.setFont(place);
        painter.drawText(text.adjusted(0, side / 2 + qRound(2 * ratio), 0, 0), Qt::AlignLeft | Qt::AlignTop,
                         QFontMetrics(place).elidedText(target.place(), Qt::ElideMiddle, text.width()));
    }
    painter.end();
    preview.setDevicePixelRatio(ratio);
    return preview;
}

QString projectPreviewDescription(const std::vector<ProjectTarget>& targets)
{
    QStringList lines;
    for (const ProjectTarget& target : targets)
        lines << QStringLiteral("%1: %2").arg(target.label(), target.place());
    return lines.join(QLatin1Char('\n'));
}

} // namespace quorva
