#pragma once

#include "generation/image.h"

#include <QWidget>

namespace quorva {

// Shows the source image, scaled to fit with its aspect kept, and holds it for the jobs.
class ImageWell : public QWidget {
    Q_OBJECT

public:
    explicit ImageWell(QWidget* parent = nullptr);

    ImageRef image() const { return m_image; }
    void setImage(ImageRef image);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    ImageRef m_image;
    QImage m_preview; // the image at the well's size, made once per change
};

} // namespace quorva
