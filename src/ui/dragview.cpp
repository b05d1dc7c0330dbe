#include "ui/dragview.h"

#include <QDragEnterEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>

namespace quorva {
namespace {

// The text after the last dot of the last path component; empty when it has none.
QString pathExtension(const QString& path)
{
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1);
}

} // namespace

DragView::DragView(QWidget* parent) : QWidget(parent)
{
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(tr("Drop zone"));
    setToolTip(tr("Drop a PNG or JPEG image here, or click to choose one"));
}

QColor DragView::idleColor()
{
    return QColor::fromRgbF(0.5f, 0.5f, 0.5f);
}

QColor DragView::hoverColor()
{
    return QColor(0, 0, 255);
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
    return false;
}

void DragView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!acceptsDraggedFile(event->mimeData())) {
        event->ignore();
        return;
    }
    setBackground(hoverColor());
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DragView::dragLeaveEvent(QDragLeaveEvent* event)
{
    setBackground(idleColor());
    event->accept();
}

void DragView::dropEvent(QDropEvent* event)
{
    // The drag ends here either way.
    setBackground(idleColor());
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
    painter.fillRect(rect(), m_background);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
    painter.setPen(Qt::white);
    painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap,
                     tr("Drop a PNG or JPEG image here\nor click to choose one"));
}

void DragView::setBackground(const QColor& colour)
{
    m_background = colour;
    update();
}

void DragView::chooseFile()
{
    auto* chooser = new QFileDialog(window(), tr("Choose an image"));
    chooser->setObjectName(QStringLiteral("imageChooser"));
    chooser->setOption(QFileDialog::DontUseNativeDialog);
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
    if (delegate)
        delegate->dragViewDidReceiveFile(QUrl::fromLocalFile(path));
}

} // namespace quorva
