#pragma once

#include "android/androidiconplan.h"
#include "ui/kindpage.h"

#include <QColor>

#include <filesystem>
#include <optional>

class QCheckBox;
class QComboBox;
class QSpinBox;
class QPushButton;

namespace quorva {

// The Android launcher icon's choices, as quorva-cli android offers them: its background layer, a
// colour or an image; a themed layer; and room inside the safe circle. The icon goes into the res
// folder chosen as quorva-cli android writes it.
class AndroidOptionsPanel : public KindPage {
    Q_OBJECT

public:
    explicit AndroidOptionsPanel(QWidget* parent = nullptr);

    // The choices, without the background image itself, which the job loads from backgroundFile.
    AndroidIconOptions options() const;
    // The controls in reading order, as Tab goes through them.
    QList<QWidget*> focusOrder() const override;
    std::optional<std::filesystem::path> backgroundFile() const;
    void setBackgroundColour(const QColor& colour);
    void setBackgroundFile(const std::filesystem::path& file);
    // A themed icon takes the art's shape: a source without transparent pixels has none.
    void setSourceHasTransparency(bool transparent) override;

    QString choicesKey() const override;
    SourceCheck checkSource(const ImageRef& image, bool transparent) const override;
    QString generateTip() const override;
    QString folderPrompt() const override;
    void startPreview(const ImageRef& image, qreal ratio, const QPalette& colours, PreviewShown shown) override;
    void startJob(const KindJob& job) override;

public slots:
    void chooseBackgroundColour();
    void chooseBackgroundImage();

private:
    void updateControls();

    QComboBox* m_background;
    QPushButton* m_colourButton;
    QPushButton* m_imageButton;
    QCheckBox* m_monochrome;
    QSpinBox* m_padding;
    QColor m_colour = Qt::white;
    std::optional<std::filesystem::path> m_file;
    bool m_transparentSource = true;
    bool m_monochromeWanted = false; // as the user last ticked it
};

} // namespace quorva
