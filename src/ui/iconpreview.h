#pragma once

#include "generation/appiconplan.h"

#include <QImage>
#include <QWidget>

namespace quorva {

// What an app icon set will look like on a device: its icons at true pixel sizes under the
// rounded-square mask iOS applies, on a light and a dark backdrop, and, when the set has them,
// its appearances side by side. Made off the main thread; devicePixelRatio is the screen's.
QImage renderIconPreview(const AppIconPlan& plan, qreal devicePixelRatio);

// Shows a rendered preview, centred and shrunk to fit when the window is small, or a text.
class IconPreview : public QWidget {
    Q_OBJECT

public:
    explicit IconPreview(QWidget* parent = nullptr);

    QImage preview() const { return m_preview; }
    QString text() const { return m_text; }
    void setPreview(const QImage& preview);
    void setText(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_preview;
    mutable QImage m_shrunk;
    QString m_text;
};

} // namespace quorva
