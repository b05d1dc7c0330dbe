#include "ui/dragview.h"

#include "ui/mixedcolour.h"
#include <QDir>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace quorva {
namespace {

// The text after the last dot of the last path component; empty when it has none. A folder
// dragged as "…/x.png/" is named by what comes before the slash.
QString pathExtension(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1);
}

} // namespace

DragView::DragView(QWidget* parent) : QWidget(parent), m_lastFolder(QDir::homePath())
{
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(tr("Drop zone"));
    setToolTip(tr("Drop a PNG, JPEG, WebP, GIF, BMP or SVG image here, or click to choose one; or drop a project's "
                  "folder to keep every icon it ships"));
}

QColor DragView::idleColor() const
{
    return mixedColour(palette().color(QPalette::Window), palette().color(QPalette::Mid), 0.25);
}

QColor DragView::hoverColor() const
{
    return palette().color(QPalette::Highlight);
}

std::optional<QString> DragView::draggedFilePath(const QMimeData* mimeData) const
{
    if (!mimeData || !mimeData->hasUrls())
        return std::nullopt;
    const QList<QUrl> urls = mimeData->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return std::nullopt;
    return urls.first().toLocalFile();
}

bool DragView::acceptsDraggedFile(const QMimeData* mimeData) const
{
    const std::optional<QString> path = draggedFilePath(mimeData);
    if (!path)
        return false;
    // Cameras write IMG_0001.JPG; the letter case of an extension says nothing about the file.
    const QString extension = pathExtension(*path).toLower();
    for (const QString& accepted : acceptedFileExtensions)
        if (accepted.toLower() == extension)
            return true;
    return QFileInfo(*path).isDir(); // a project's folder
}

void DragView::handleDragEnter(QDragEnterEvent* event)
{
    if (!acceptsDraggedFile(event->mimeData())) {
        event->ignore();
        return;
    }
    setHovering(true);
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DragView::handleDragLeave(QDragLeaveEvent* event)
{
    setHovering(false);
    event->accept();
}

void DragView::handleDrop(QDropEvent* event)
{
    setHovering(false); // the drag ends here either way
    const std::optional<QString> path = draggedFilePath(event->mimeData());
    if (!path) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    deliver(*path);
}

void DragView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        chooseFile();
}

void DragView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        chooseFile();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void DragView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    QPainterPath outline;
    outline.addRoundedRect(box, 10, 10);
    painter.fillPath(outline,
                     m_pointerOver && !m_hovering ? mixedColour(backgroundColor(), hoverColor(), 0.18)
                                                  : backgroundColor());
    const QColor ink = m_hovering ? palette().color(QPalette::HighlightedText) : palette().color(QPalette::WindowText);
    QPen border(hasFocus() || m_pointerOver ? palette().color(QPalette::Highlight)
                                            : mixedColour(ink, backgroundColor(), 0.55),
                hasFocus() ? 3 : 1.5, hasFocus() || m_pointerOver ? Qt::SolidLine : Qt::DashLine);
    painter.setPen(border);
    painter.drawPath(outline);

    // An image glyph above the words: what to do, in the theme's colours.
    const int side = std::min(48, std::max(16, height() / 4));
    const QRect glyph(width() / 2 - side / 2, height() / 2 - side - 4, side, side);
    const QIcon icon = QIcon::fromTheme(QStringLiteral("insert-image"));
    if (!icon.isNull()) {
        icon.paint(&painter, glyph);
    } else {
        painter.setPen(QPen(ink, 2));
        painter.drawRoundedRect(glyph.adjusted(2, 6, -2, -4), 4, 4);
        painter.drawLine(glyph.center().x(), glyph.top(), glyph.center().x(), glyph.center().y() + 4);
        painter.drawLine(glyph.center().x() - 6, glyph.center().y() - 2, glyph.center().x(), glyph.center().y() + 4);
        painter.drawLine(glyph.center().x() + 6, glyph.center().y() - 2, glyph.center().x(), glyph.center().y() + 4);
    }
    painter.setPen(ink);
    painter.drawText(rect().adjusted(8, height() / 2 + 4, -8, -6), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                     tr("Drop an image here\nor click to open one"));
}

void DragView::enterEvent(QEnterEvent*)
{
    m_pointerOver = true;
    update();
}

void DragView::leaveEvent(QEvent*)
{
    m_pointerOver = false;
    update();
}

void DragView::setHovering(bool hovering)
{
    m_hovering = hovering;
    update();
}

void DragView::chooseFile()
{
    auto* chooser = new QFileDialog(window(), tr("Open Image"),
                                    QFileInfo(m_lastFolder).isDir() ? m_lastFolder : QDir::homePath());
    chooser->setObjectName(QStringLiteral("imageChooser"));
    chooser->setFileMode(QFileDialog::ExistingFile);
    QStringList patterns;
    for (const QString& extension : acceptedFileExtensions)
        patterns << QStringLiteral("*.") + extension << QStringLiteral("*.") + extension.toUpper();
    chooser->setNameFilter(tr("Images (%1)").arg(patterns.join(QLatin1Char(' '))));
    chooser->setWindowModality(Qt::WindowModal);
    chooser->setAttribute(Qt::WA_DeleteOnClose);
    connect(chooser, &QFileDialog::fileSelected, this, [this](const QString& file) { deliver(file); });
    chooser->open();
}

void DragView::deliver(const QString& path)
{
    m_lastFolder = QFileInfo(path).absolutePath();
    if (!delegate)
        return;
    // A folder named as an image is taken as one, and said to be no image.
    const QString extension = pathExtension(path).toLower();
    const bool image = std::any_of(acceptedFileExtensions.begin(), acceptedFileExtensions.end(),
                                   [&](const QString& accepted) { return accepted.toLower() == extension; });
    if (!image && QFileInfo(path).isDir())
        delegate->dragViewDidReceiveFolder(QUrl::fromLocalFile(path));
    else
        delegate->dragViewDidReceiveFile(QUrl::fromLocalFile(path));
}

} // namespace quorva
