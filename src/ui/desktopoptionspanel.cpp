#include "ui/desktopoptionspanel.h"

#include "target/optionschema.h"
#include "ui/colourchoice.h"

#include "target/installer.h"
#include "ui/backgroundwork.h"
#include "ui/desktoppreview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace quorva {

DesktopOptionsPanel::DesktopOptionsPanel(QWidget* parent)
    : KindPage(parent), m_appId(new QLineEdit(QStringLiteral("org.example.App"), this)),
      m_colourButton(new QPushButton(this)), m_padding(new QSpinBox(this))
{
    auto* label = new QLabel(tr("&Linux app ID:"), this);
    label->setBuddy(m_appId);
    m_appId->setObjectName(QStringLiteral("appIdEdit"));
    m_appId->setAccessibleName(tr("Linux app ID"));
    m_appId->setToolTip(tr("The application's reverse DNS name, as its .desktop file is named: the icon theme's "
                           "files are named by it"));
    m_appId->setMinimumWidth(180);
    m_colourButton->setObjectName(QStringLiteral("webColourButton"));
    m_colourButton->setAccessibleName(tr("Web background colour"));
    m_colourButton->setToolTip(tr("The colour behind the touch icon and the maskable icons of the site"));
    m_padding->setObjectName(QStringLiteral("desktopPaddingChoice"));
    m_padding->setAccessibleName(tr("Margin"));
    m_padding->setRange(0, maxPaddingPercent);
    m_padding->setSuffix(tr(" % margin"));
    m_padding->setToolTip(tr("Room left around the art in every icon"));

    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    auto* layout = new QHBoxLayout;
    rows->addLayout(layout);
    rows->addStretch(1);
    layout->addWidget(label);
    layout->addWidget(m_appId);
    layout->addSpacing(8);
    layout->addWidget(m_colourButton);
    layout->addSpacing(8);
    layout->addWidget(m_padding);
    layout->addStretch(1);

    connect(m_appId, &QLineEdit::textChanged, this, &DesktopOptionsPanel::changed);
    connect(m_padding, &QSpinBox::valueChanged, this, &DesktopOptionsPanel::changed);
    connect(m_colourButton, &QPushButton::clicked, this, &DesktopOptionsPanel::chooseBackgroundColour);
    setBackgroundColour(m_colour);
}

QList<QWidget*> DesktopOptionsPanel::focusOrder() const
{
    return {m_appId, m_colourButton, m_padding};
}

DesktopAndWebOptions DesktopOptionsPanel::options() const
{
    DesktopAndWebOptions options;
    options.appId = m_appId->text().trimmed();
    options.background = m_colour;
    options.padding = m_padding->value() / 100.0;
    return options;
}

std::optional<QString> DesktopOptionsPanel::problem() const
{
    if (const auto problem = appIdProblem(options().appId))
        return tr("The Linux app ID: %1.").arg(*problem);
    return std::nullopt;
}

void DesktopOptionsPanel::setBackgroundColour(const QColor& colour)
{
    m_colour = QColor(colour.rgb()); // opaque: iOS shows a transparent touch icon black
    m_colourButton->setIcon(colourSwatch(m_colour));
    m_colourButton->setText(m_colour.name());
    emit changed();
}

void DesktopOptionsPanel::chooseBackgroundColour()
{
    chooseOpaqueColour(this, m_colour, QStringLiteral("webColourDialog"),
                       [this](const QColor& colour) { setBackgroundColour(colour); });
}

QString DesktopOptionsPanel::choicesKey() const
{
    const DesktopAndWebOptions chosen = options();
    return QStringList{chosen.appId, chosen.background.name(), QString::number(chosen.padding)}.join(QLatin1Char(';'));
}

SourceCheck DesktopOptionsPanel::checkSource(const ImageRef& image, bool) const
{
    return checkDesktopSource(image, problem());
}

QString DesktopOptionsPanel::generateTip() const
{
    return tr("Choose a folder and write the desktop and web icons into it");
}

QString DesktopOptionsPanel::folderPrompt() const
{
    return tr("Choose the folder for the desktop and web icons");
}

void DesktopOptionsPanel::startPreview(const ImageRef& image, qreal ratio, const QPalette& colours, PreviewShown shown)
{
    DesktopAndWebOptions drawn = options();
    if (appIdProblem(drawn.appId))
        drawn.appId = QStringLiteral("org.example.App"); // shown all the same, beside the note
    drawn.packageImages = false;
    inBackground(
        this,
        [image, drawn, ratio, colours] {
            const DesktopAndWebPlan plan = planDesktopAndWeb(image, drawn, {});
            return std::pair(renderDesktopPreview(plan, ratio, colours), desktopPreviewDescription(plan));
        },
        [shown](std::pair<QImage, QString> made) { shown(made.first, made.second); });
}

// The desktop and web icons written into the folder off the main thread, all of them or none.
void DesktopOptionsPanel::startJob(const KindJob& job)
{
    job.expect(1);
    const DesktopAndWebOptions chosen = options();
    inBackground(
        this,
        [chosen, image = job.image, folder = job.folder] {
            WriteReport report;
            if (!folder)
                return report;
            SiteFolder site;
            if (const auto error = readSiteFolder(*folder / siteFolderName, std::nullopt, site)) {
                report.failures << *error;
                return report;
            }
            const DesktopAndWebPlan plan = planDesktopAndWeb(image, chosen, site);
            if (plan.plan.refusal) {
                report.failures << tr("Couldn't make the desktop and web icons: %1").arg(*plan.plan.refusal);
                return report;
            }
            report = install(*folder, plan.plan);
            if (!report.failed())
                report.setFolder = *folder;
            return report;
        },
        [told = job.told](WriteReport report) { told(report); });
}

} // namespace quorva
