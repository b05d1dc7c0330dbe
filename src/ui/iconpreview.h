#pragma once

#include "apple/appiconplan.h"

#include <QImage>
#include <QWidget>

namespace quorva {

// What an app icon set will look like on a device: its icons at true pixel sizes under the
// rounded-square mask iOS applies, on a light and a dark backdrop, and, when the set has them,
// its appearances side by side; each platform's under its name when there are several, in the
// palette's text colour. Made off the main thread; devicePixelRatio is the screen's.
QImage renderIconPreview(const AppIconPlan& plan, qreal devicePixelRatio, const QPalette& palette = {});

// What an image set will hold: its three scales side by side, each a thumbnail in a box as large
// as the scale is, with its file name and pixel size under it, in the palette's text colour.
QImage renderImageSetPreview(const Image& image, qreal devicePixelRatio, const QPalette& palette);

// The three scales of an image set as text, for those who can't see the preview.
QString imageSetDescription(const Image& image);

// Shows a rendered preview pixel for pixel, never shrunk: its size is the preview's, and a
// scroll area around it scrolls when the window is smaller.
class IconPreview : public QWidget {
    Q_OBJECT

public:
    explicit IconPreview(QWidget* parent = nullptr);

    QImage preview() const { return m_preview; }
    void setPreview(const QImage& preview, const QString& description = {});

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_preview;
};

} // namespace quorva
