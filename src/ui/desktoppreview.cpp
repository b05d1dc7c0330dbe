#include "ui/desktoppreview.h"

#include "desktop/icnsfile.h"
#include "desktop/icofile.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>

#include <vector>

namespace quorva {
namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("quorva::DesktopPreview", text);
}

const QByteArray* fileOf(const DesktopAndWebPlan& plan, const QString& path)
{
    const PlannedFile* file = plan.plan.find(path);
    return file ? &file->bytes : nullptr;
}

// The .ico's image of this side, as Windows would take it from the file.
QImage icoImage(const QByteArray* ico, int side)
{
    if (!ico)
        return {};
    for (const IcoEntry& entry : readIco(*ico).entries)
        if (entry.width == side)
            return entry.png ? QImage::fromData(entry.data, "PNG").convertToFormat(QImage::Format_ARGB32_Premultiplied)
                             : decodeIcoDib(entry);
    return {};
}

QImage icnsImage(const QByteArray* icns, const char* type)
{
    if (!icns)
        return {};
    for (const IcnsElement& element : readIcns(*icns).elements)
        if (element.type == type)
            return QImage::fromData(element.data, "PNG").convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return {};
}

struct Row {
    QString caption;
    QColor ground;
    std::vector<QImage> icons;
    bool tab = false;       // a browser tab drawn around the icon
    bool roundMask = false; // iOS's rounded square over the icon
};

} // namespace

QImage renderDesktopPreview(const DesktopAndWebPlan& plan, qreal ratio, const QPalette& palette)
{
    if (plan.plan.files.empty())
        return {};
    const QByteArray* ico = fileOf(plan, QStringLiteral("icon.ico"));
    const QByteArray* icns = fileOf(plan, QStringLiteral("icon.icns"));
    const QByteArray* favicon = fileOf(plan, QStringLiteral("web/favicon.ico"));
    const QByteArray* faviconPng = fileOf(plan, QStringLiteral("web/favicon.png"));
    const QByteArray* touch = fileOf(plan, QStringLiteral("web/apple-touch-icon.png"));
    // At twice the scale, a tab shows the 32 px favicon and the Dock the 256 px icon, each 1:1.
    const bool retina = ratio >= 1.5;
    std::vector<Row> rows;
    rows.push_back({tr("Windows taskbar and Explorer: 16, 24, 32 and 48 px"),
                    QColor(0x20, 0x20, 0x20),
                    {icoImage(ico, 16), icoImage(ico, 24), icoImage(ico, 32), icoImage(ico, 48)}});
    rows.push_back({tr("macOS Dock"), QColor(0xc8, 0xcd, 0xd6), {icnsImage(icns, retina ? "ic13" : "ic07")}});
    QImage tabIcon = favicon ? icoImage(favicon, retina ? 32 : 16)
                             : (faviconPng ? QImage::fromData(*faviconPng, "PNG") : QImage());
    rows.push_back({tr("Browser tab"), QColor(0xde, 0xe1, 0xe6), {tabIcon}, true});
    if (touch)
        rows.push_back({tr("Phone home screen (touch icon)"),
                        QColor(0x3a, 0x5f, 0x8a),
                        {QImage::fromData(*touch, "PNG").convertToFormat(QImage::Format_ARGB32_Premultiplied)},
                        false,
                        true});

    const int gap = qRound(12 * ratio);
    QFont font;
    font.setPixelSize(qRound(11 * ratio));
    const int captionHeight = QFontMetrics(font).height() + gap / 3;
    // Two columns, the desktops' on the left and the web's on the right, so that the whole preview
    // shows at the window's usual size.
    const auto heightOf = [&](const Row& row) {
        int rowHeight = 0;
        for (const QImage& icon : row.icons)
            rowHeight = std::max(rowHeight, icon.height());
        return rowHeight;
    };
    int column = qRound(320 * ratio);
    for (const Row& row : rows) {
        int rowWidth = gap;
        for (const QImage& icon : row.icons)
            rowWidth += icon.width() + gap;
        column = std::max(column, rowWidth + (row.tab ? qRound(140 * ratio) : 0));
    }
    std::vector<int> columnHeights(2, 0);
    std::vector<int> columnOf;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int side = i < 2 ? 0 : 1;
        columnOf.push_back(side);
        columnHeights[side] += captionHeight + heightOf(rows[i]) + 2 * gap + gap / 2;
    }
    const int width = 2 * column + gap;
    QImage preview(width, std::max(columnHeights[0], columnHeights[1]), QImage::Format_ARGB32_Premultiplied);
    preview.fill(Qt::transparent);
    QPainter painter(&preview);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font);
    std::vector<int> tops(2, 0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        const int left = columnOf[i] * (column + gap);
        int& top = tops[std::size_t(columnOf[i])];
        painter.setPen(palette.color(QPalette::WindowText));
        painter.drawText(QRect(left, top, column, captionHeight), Qt::AlignLeft | Qt::AlignBottom, row.caption);
        top += captionHeight;
        const int rowHeight = heightOf(row);
        const int stripHeight = rowHeight + 2 * gap;
        painter.setPen(Qt::NoPen);
        painter.setBrush(row.ground);
        painter.drawRoundedRect(QRectF(left, top, column, stripHeight), gap / 2.0, gap / 2.0);
        int x = left + gap;
        for (const QImage& icon : row.icons) {
            const int y = top + gap + (rowHeight - icon.height()) / 2;
            if (row.tab) { // the tab, white, with the page's title beside the favicon
                painter.setBrush(Qt::white);
                painter.drawRoundedRect(QRectF(x - gap / 2.0, top + gap / 2.0, icon.width() + qRound(140 * ratio),
                                               stripHeight - gap),
                                        gap / 2.0, gap / 2.0);
            }
            if (row.roundMask) {
                QPainterPath mask;
                mask.addRoundedRect(QRectF(x, y, icon.width(), icon.height()), icon.width() * 0.2237,
                                    icon.width() * 0.2237);
                painter.save();
                painter.setClipPath(mask);
                painter.drawImage(x, y, icon);
                painter.restore();
            } else if (!icon.isNull()) {
                painter.drawImage(x, y, icon);
            }
            if (row.tab) {
                painter.setPen(QColor(0x30, 0x30, 0x30));
                painter.drawText(QRect(x + icon.width() + gap / 2, top, qRound(120 * ratio), stripHeight),
                                 Qt::AlignLeft | Qt::AlignVCenter, tr("Your site"));
                painter.setPen(Qt::NoPen);
            }
            x += icon.width() + gap;
        }
        top += stripHeight + gap / 2;
    }
    painter.end();
    preview.setDevicePixelRatio(ratio);
    return preview;
}

QString desktopPreviewDescription(const DesktopAndWebPlan& plan)
{
    return plan.plan.find(QStringLiteral("web/apple-touch-icon.png"))
        ? tr("The Windows icon on a taskbar, the Mac icon in the Dock, the favicon in a browser tab and the touch "
             "icon on a home screen, each at its true size")
        : tr("The Windows icon on a taskbar, the Mac icon in the Dock and the favicon in a browser tab, each at its "
             "true size");
}

} // namespace quorva
