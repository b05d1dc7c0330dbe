#pragma once

#include "ui/dragviewdelegate.h"

#include <QColor>
#include <QStringList>
#include <QWidget>

#include <optional>

class QMimeData;

namespace quorva {

// The drop zone: takes a dragged file whose name ends in an image extension, judged by the name
// alone, turns blue while it would take it, and hands a dropped file to its delegate. Clicking
// it, or Enter or Space while it has focus, opens an image chooser whose file goes the same way.
// Only the window's interface description creates it, always inside a parent.
class DragView : public QWidget {
    Q_OBJECT

public:
    explicit DragView(QWidget* parent);

    // Not owned: the controller and the drop zone both belong to the window.
    DragViewDelegate* delegate = nullptr;
    QStringList acceptedFileExtensions = {QStringLiteral("jpg"),  QStringLiteral("png"),  QStringLiteral("jpeg"),
                                          QStringLiteral("webp"), QStringLiteral("svg"),  QStringLiteral("svgz")};

    std::optional<QString> draggedFilePath(const QMimeData* mimeData) const;
    bool acceptsDraggedFile(const QMimeData* mimeData) const;

    QColor backgroundColor() const { return m_background; }

    static QColor idleColor();
    static QColor hoverColor();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void setBackground(const QColor& colour);
    void chooseFile();
    void deliver(const QString& path);

    QColor m_background = idleColor();
};

} // namespace quorva
