#pragma once

#include "image/image.h"

#include <QPointer>
#include <QWidget>

namespace quorva {

class DragView;

// Shows the source image, scaled to fit with its aspect kept, and holds it for the jobs. Files
// dragged onto it are handled exactly as by the drop zone it stands beside.
class ImageWell : public QWidget {
    Q_OBJECT

public:
    explicit ImageWell(QWidget* parent = nullptr);

    ImageRef image() const { return m_image; }
    // display: the image already brought near the well's size, off the main thread, so that a
    // large photograph is not scaled down again here at every resize.
    void setImage(ImageRef image, QImage display = {});
    void setDropZone(DragView* zone) { m_dropZone = zone; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    ImageRef m_image;
    QImage m_display;
    QImage m_preview; // the image at the well's size, made once per change
    QPointer<DragView> m_dropZone;
};

} // namespace quorva
