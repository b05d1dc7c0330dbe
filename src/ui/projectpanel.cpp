#include "ui/projectpanel.h"

#include "ui/colourchoice.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorva {

ProjectPanel::ProjectPanel(QWidget* parent)
    : QWidget(parent), m_title(new QLabel(this)), m_source(new QLabel(this)),
      m_sourceButton(new QPushButton(tr("Change &Source…"), this)), m_colourButton(new QPushButton(this)),
      m_sync(new QPushButton(tr("S&ync"), this)), m_save(new QPushButton(tr("&Save quorva.toml"), this)),
      m_close(new QPushButton(tr("Close &Project"), this))
{
    m_title->setObjectName(QStringLiteral("projectTitle"));
    m_title->setTextFormat(Qt::PlainText);
    m_source->setObjectName(QStringLiteral("projectSource"));
    m_source->setTextFormat(Qt::PlainText);
    m_sourceButton->setObjectName(QStringLiteral("projectSourceButton"));
    m_sourceButton->setToolTip(tr("The image every icon of the project is made from"));
    m_colourButton->setObjectName(QStringLiteral("projectColourButton"));
    m_colourButton->setAccessibleName(tr("Background colour"));
    m_colourButton->setToolTip(tr("The colour every target lays transparent art onto, unless its own table says"));
    m_sync->setObjectName(QStringLiteral("syncButton"));
    m_save->setObjectName(QStringLiteral("saveProjectButton"));
    m_save->setToolTip(tr("Keep these choices in the project's quorva.toml, for quorva-cli sync"));
    m_close->setObjectName(QStringLiteral("closeProjectButton"));

    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    top->addWidget(m_title, 1);
    top->addWidget(m_close);
    auto* choices = new QHBoxLayout;
    choices->addWidget(m_source, 1);
    choices->addWidget(m_sourceButton);
    choices->addWidget(m_colourButton);
    choices->addSpacing(8);
    choices->addWidget(m_save);
    choices->addWidget(m_sync);
    rows->addLayout(top);
    rows->addLayout(choices);

    connect(m_sourceButton, &QPushButton::clicked, this, &ProjectPanel::chooseSource);
    connect(m_colourButton, &QPushButton::clicked, this, &ProjectPanel::chooseBackground);
    connect(m_sync, &QPushButton::clicked, this, &ProjectPanel::syncRequested);
    connect(m_save, &QPushButton::clicked, this, &ProjectPanel::saveRequested);
    connect(m_close, &QPushButton::clicked, this, &ProjectPanel::closeRequested);
    setBackground(std::nullopt);
    setUnsaved(false, true);
}

void ProjectPanel::setProject(const QString& title)
{
    m_title->setText(title);
}

void ProjectPanel::setSource(const QString& path)
{
    m_sourcePath = path;
    m_source->setText(tr("Source: %1").arg(path));
}

void ProjectPanel::setBackground(const std::optional<QColor>& colour)
{
    m_colour = colour;
    m_colourButton->setIcon(colourSwatch(colour.value_or(QColor(Qt::transparent))));
    m_colourButton->setText(colour ? colour->name() : tr("No background"));
}

void ProjectPanel::setUnsaved(bool unsaved, bool fileThere)
{
    m_save->setVisible(unsaved || !fileThere);
    m_save->setText(fileThere ? tr("&Save quorva.toml") : tr("&Save quorva.toml (none yet)"));
    // Sync writes what quorva.toml says: with the choices changed, it saves them first, and says so.
    const bool savesFirst = unsaved && fileThere;
    m_sync->setText(savesFirst ? tr("Save and S&ync") : tr("S&ync"));
    m_sync->setToolTip(savesFirst ? tr("Save these choices into quorva.toml, then write every icon the project keeps")
                                  : tr("Write every icon the project keeps, each target whole or not at all"));
}

void ProjectPanel::setBusy(bool busy)
{
    for (QPushButton* button : {m_sourceButton, m_colourButton, m_sync, m_save, m_close})
        button->setEnabled(!busy);
}

QList<QWidget*> ProjectPanel::focusOrder() const
{
    return {m_close, m_sourceButton, m_colourButton, m_save, m_sync};
}

void ProjectPanel::chooseBackground()
{
    chooseOpaqueColour(this, m_colour.value_or(QColor(Qt::white)), QStringLiteral("projectColourDialog"),
                       [this](const QColor& colour) {
                           setBackground(colour);
                           emit backgroundChosen(colour);
                       });
}

void ProjectPanel::chooseSource()
{
    auto* chooser = new QFileDialog(window(), tr("Choose the Source Image"), QFileInfo(m_sourcePath).absolutePath());
    chooser->setObjectName(QStringLiteral("projectSourceChooser"));
    chooser->setFileMode(QFileDialog::ExistingFile);
    chooser->setNameFilter(tr("Images (*.png *.jpg *.jpeg *.webp *.gif *.bmp *.svg *.svgz)"));
    chooser->setWindowModality(Qt::WindowModal);
    chooser->setAttribute(Qt::WA_DeleteOnClose);
    connect(chooser, &QFileDialog::fileSelected, this, &ProjectPanel::sourceChosen);
    chooser->open();
}

} // namespace quorva
