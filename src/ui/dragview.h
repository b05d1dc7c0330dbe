#pragma once

#include "ui/dragviewdelegate.h"

#include <QColor>
#include <QStringList>
#include <QWidget>

#include <optional>

class QMimeData;

namespace quorva {

// The drop zone: takes a dragged file whose name ends in an image extension, judged by the name
// alone, turns the palette's highlight colour while it would take it, and hands a dropped file to
// its delegate. Clicking it, or Enter or Space while it has focus, opens an image chooser whose
// file goes the same way. Only the window's interface description creates it, inside a parent.
class DragView : public QWidget {
    Q_OBJECT

public:
    explicit DragView(QWidget* parent);

    // Not owned: the controller and the drop zone both belong to the window.
    DragViewDelegate* delegate = nullptr;
    // Every format the loader takes; the content decides in the end.
    QStringList acceptedFileExtensions
        = {QStringLiteral("jpg"), QStringLiteral("png"), QStringLiteral("jpeg"), QStringLiteral("webp"),
           QStringLiteral("gif"), QStringLiteral("bmp"), QStringLiteral("svg"),  QStringLiteral("svgz")};

    std::optional<QString> draggedFilePath(const QMimeData* mimeData) const;
    bool acceptsDraggedFile(const QMimeData* mimeData) const;

    QColor backgroundColor() const { return m_hovering ? hoverColor() : idleColor(); }
    // A muted neutral while idle, the highlight while an acceptable file hovers; both from the
    // palette, so that the zone follows the desktop's theme.
    QColor idleColor() const;
    QColor hoverColor() const;

    // The drag callbacks, also taken from other widgets that stand for the zone (the image well).
    void handleDragEnter(QDragEnterEvent* event);
    void handleDragLeave(QDragLeaveEvent* event);
    void handleDrop(QDropEvent* event);

public slots:
    // Opens the image chooser in the folder the last image came from.
    void chooseFile();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override { handleDragEnter(event); }
    void dragLeaveEvent(QDragLeaveEvent* event) override { handleDragLeave(event); }
    void dropEvent(QDropEvent* event) override { handleDrop(event); }
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void setHovering(bool hovering);
    void deliver(const QString& path);

    bool m_hovering = false;
    bool m_pointerOver = false; // the pointer rests on it: it is clickable, and shows it
    QString m_lastFolder;       // of the last image chosen or dropped in this run
};

} // namespace quorva
