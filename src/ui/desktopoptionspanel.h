#pragma once

#include "ui/kindpage.h"
#include "web/desktopandweb.h"

#include <QColor>

#include <optional>

class QLineEdit;
class QPushButton;
class QSpinBox;

namespace quorva {

// The Desktop & Web choices: the Linux application ID the icon theme names its files by, the
// colour behind the site's touch and maskable icons, and room around the art.
class DesktopOptionsPanel : public KindPage {
    Q_OBJECT

public:
    explicit DesktopOptionsPanel(QWidget* parent = nullptr);

    DesktopAndWebOptions options() const;
    // The controls in reading order, as Tab goes through them.
    QList<QWidget*> focusOrder() const override;
    // Why the choices can't be written as they are (an application ID that is none), if so.
    std::optional<QString> problem() const;
    void setBackgroundColour(const QColor& colour);

    QString choicesKey() const override;
    SourceCheck checkSource(const ImageRef& image, bool transparent) const override;
    QString generateTip() const override;
    QString folderPrompt() const override;
    void startPreview(const ImageRef& image, qreal ratio, const QPalette& colours, PreviewShown shown) override;
    void startJob(const KindJob& job) override;
    void chooseBackground() override { chooseBackgroundColour(); }

public slots:
    void chooseBackgroundColour();

private:
    QLineEdit* m_appId;
    QPushButton* m_colourButton;
    QSpinBox* m_padding;
    QColor m_colour = Qt::white;
};

} // namespace quorva
