#pragma once

#include "android/androidiconplan.h"

#include <QColor>
#include <QWidget>

#include <filesystem>
#include <optional>

class QCheckBox;
class QComboBox;
class QSpinBox;
class QPushButton;

namespace quorva {

// The Android launcher icon's choices, as quorva-cli android offers them: its background layer, a
// colour or an image; a themed layer; and room inside the safe circle.
class AndroidOptionsPanel : public QWidget {
    Q_OBJECT

public:
    explicit AndroidOptionsPanel(QWidget* parent = nullptr);

    // The choices, without the background image itself, which the job loads from backgroundFile.
    AndroidIconOptions options() const;
    // The controls in reading order, as Tab goes through them.
    QList<QWidget*> focusOrder() const;
    std::optional<std::filesystem::path> backgroundFile() const;
    void setBackgroundColour(const QColor& colour);
    void setBackgroundFile(const std::filesystem::path& file);
    // A themed icon takes the art's shape: a source without transparent pixels has none.
    void setSourceHasTransparency(bool transparent);

public slots:
    void chooseBackgroundColour();
    void chooseBackgroundImage();

signals:
    void changed();

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
