#pragma once

#include "apple/appiconplan.h"
#include "ui/kindpage.h"

#include <QColor>

#include <memory>

class QCheckBox;
class QComboBox;
class QSpinBox;
class QPushButton;

namespace quorva {

// The app icon set's choices, as quorva-cli offers them: all sizes or one 1024 px icon, dark and
// tinted appearances, a background for transparent art, and how a source that is not square
// comes onto the square, with a margin. A choice that cannot apply stays in
// view, disabled, with a tooltip that says why. The set, or the Icon Composer file, is written as
// quorva-cli writes it.
class AppIconOptionsPanel : public KindPage {
    Q_OBJECT

public:
    explicit AppIconOptionsPanel(QWidget* parent = nullptr);

    // The choices, without artwork of their own: the dark and tinted icons come from the source.
    AppIconOptions options() const;
    // The controls in reading order, row by row, as Tab goes through them.
    QList<QWidget*> focusOrder() const override;
    QColor backgroundColour() const { return m_colour; }
    void setBackgroundColour(const QColor& colour);
    // The dark icon needs transparent art to put on its transparent background.
    void setSourceHasTransparency(bool transparent) override;

    QString choicesKey() const override;
    SourceCheck checkSource(const ImageRef& image, bool transparent) const override;
    QString generateTip() const override;
    QString folderPrompt() const override;
    void startPreview(const ImageRef& image, qreal ratio, const QPalette& colours, PreviewShown shown) override;
    void startJob(const KindJob& job) override;
    void chooseBackground() override { chooseBackgroundColour(); }

public slots:
    // Opens the platform's colour dialog for the background.
    void chooseBackgroundColour();

private:
    // Quorva/icon/iOS/AppIcon.appiconset, its icons rendered on the pool and written at once on
    // the main thread when the last has come.
    void startSetJob(const KindJob& job, const std::shared_ptr<const AppIconPlan>& plan);

    void updateControls();

    QComboBox* m_sizes;
    QComboBox* m_fit;
    QSpinBox* m_padding;
    QCheckBox* m_ios = nullptr;
    QCheckBox* m_mac = nullptr;
    QCheckBox* m_watch = nullptr;
    QCheckBox* m_dark;
    QCheckBox* m_tinted;
    QCheckBox* m_background;
    QPushButton* m_colourButton;
    QColor m_colour = Qt::white;
    bool m_darkWanted = false, m_tintedWanted = false; // as the user last ticked them
    bool m_transparentSource = false;
    // The plan the last preview shown was made from, which Generate writes when nothing has changed since.
    std::shared_ptr<const AppIconPlan> m_plan;
};

} // namespace quorva
