#pragma once

#include "splash/androidsplash.h"
#include "ui/kindpage.h"

#include <QColor>

#include <optional>

class QCheckBox;
class QPushButton;
class QSpinBox;

namespace quorva {

// The launch screen's choices, as quorva-cli splash offers them: the screen's colour, the dark
// screen's, Android 12's circle behind the icon, and room inside the square its circle never
// cuts, or the art's size in dp. Generate writes it into the folder chosen: a res folder, an asset catalog, or a project's
// folder for both.
class SplashPage : public KindPage {
    Q_OBJECT

public:
    explicit SplashPage(QWidget* parent = nullptr);

    // The look the choices give, as the preview draws it.
    AndroidSplashOptions look() const;
    void setBackgroundColour(const QColor& colour);
    void setDarkColour(const std::optional<QColor>& colour);
    void setIconBackground(const std::optional<QColor>& colour);

    QString choicesKey() const override;
    SourceCheck checkSource(const ImageRef& image, bool transparent) const override;
    QString generateTip() const override;
    QString folderPrompt() const override;
    void startPreview(const ImageRef& image, qreal ratio, const QPalette& colours, PreviewShown shown) override;
    void startJob(const KindJob& job) override;
    QList<QWidget*> focusOrder() const override;
    void chooseBackground() override;

private:
    void updateControls();

    QPushButton* m_background;
    QCheckBox* m_dark;
    QPushButton* m_darkColour;
    QCheckBox* m_iconBackground;
    QPushButton* m_iconColour;
    QSpinBox* m_padding;
    QSpinBox* m_size; // 0 for the square the circle never cuts
    QColor m_colour = Qt::white;
    QColor m_darkValue = QColor(0x12, 0x12, 0x12);
    QColor m_iconValue = Qt::white;
};

} // namespace quorva
