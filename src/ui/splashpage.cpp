#include "ui/splashpage.h"

#include "project/kindplaces.h"
#include "splash/splashkind.h"
#include "splash/splashsizes.h"
#include "support/paths.h"
#include "target/optionschema.h"
#include "ui/backgroundwork.h"
#include "ui/colourchoice.h"
#include "ui/kindrun.h"
#include "ui/splashpreview.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace quorva {

SplashPage::SplashPage(QWidget* parent)
    : KindPage(parent), m_background(new QPushButton(this)), m_dark(new QCheckBox(tr("Dar&k:"), this)),
      m_darkColour(new QPushButton(this)), m_iconBackground(new QCheckBox(tr("I&con circle:"), this)),
      m_iconColour(new QPushButton(this)), m_padding(new QSpinBox(this)), m_size(new QSpinBox(this))
{
    m_background->setObjectName(QStringLiteral("splashColourButton"));
    m_background->setAccessibleName(tr("Screen colour"));
    m_background->setToolTip(tr("The launch screen's colour"));
    m_dark->setObjectName(QStringLiteral("splashDarkBox"));
    m_dark->setToolTip(tr("A colour of its own for the dark launch screen"));
    m_darkColour->setObjectName(QStringLiteral("splashDarkButton"));
    m_darkColour->setAccessibleName(tr("Dark screen colour"));
    m_iconBackground->setObjectName(QStringLiteral("splashIconBox"));
    m_iconBackground->setToolTip(tr("Android 12's circle behind the icon: the icon is then 240 dp, 160 dp of it "
                                    "showing"));
    m_iconColour->setObjectName(QStringLiteral("splashIconButton"));
    m_iconColour->setAccessibleName(tr("Icon circle colour"));
    m_padding->setObjectName(QStringLiteral("splashPaddingChoice"));
    m_padding->setAccessibleName(tr("Margin"));
    m_padding->setRange(0, maxPaddingPercent);
    m_padding->setSuffix(tr(" % margin"));
    m_padding->setToolTip(tr("Room left inside the square that Android 12's circle never cuts"));
    m_size->setObjectName(QStringLiteral("splashSizeChoice"));
    m_size->setAccessibleName(tr("Art size"));
    m_size->setRange(0, int(splashIconCircleDp));
    m_size->setSuffix(tr(" dp"));
    m_size->setSpecialValueText(tr("Safe size"));
    m_size->setToolTip(tr("The art's side in dp; at the safe size it fills the square that Android 12's circle "
                          "never cuts. The preview marks art the circle cuts"));

    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    auto* layout = new QHBoxLayout;
    rows->addLayout(layout);
    rows->addStretch(1);
    layout->addWidget(m_background);
    layout->addSpacing(8);
    layout->addWidget(m_dark);
    layout->addWidget(m_darkColour);
    layout->addSpacing(8);
    layout->addWidget(m_iconBackground);
    layout->addWidget(m_iconColour);
    layout->addSpacing(8);
    layout->addWidget(m_padding);
    layout->addWidget(m_size);
    layout->addStretch(1);

    const auto pick = [this](QPushButton* button, QColor* value, const char* name) {
        connect(button, &QPushButton::clicked, this, [this, value, name] {
            chooseOpaqueColour(this, *value, QLatin1String(name), [this, value](const QColor& colour) {
                *value = QColor(colour.rgb());
                updateControls();
            });
        });
    };
    pick(m_background, &m_colour, "splashColourDialog");
    pick(m_darkColour, &m_darkValue, "splashDarkDialog");
    pick(m_iconColour, &m_iconValue, "splashIconDialog");
    for (QCheckBox* box : {m_dark, m_iconBackground})
        connect(box, &QCheckBox::toggled, this, [this] { updateControls(); });
    for (QSpinBox* box : {m_padding, m_size})
        connect(box, &QSpinBox::valueChanged, this, [this] { updateControls(); });
    updateControls();
}

AndroidSplashOptions SplashPage::look() const
{
    AndroidSplashOptions look;
    look.background = m_colour;
    if (m_dark->isChecked())
        look.darkBackground = m_darkValue;
    if (m_iconBackground->isChecked())
        look.iconBackground = m_iconValue;
    look.padding = m_padding->value() / 100.0;
    if (m_size->value() > 0)
        look.artDp = m_size->value();
    return look;
}

void SplashPage::setBackgroundColour(const QColor& colour)
{
    m_colour = QColor(colour.rgb());
    updateControls();
}

void SplashPage::setDarkColour(const std::optional<QColor>& colour)
{
    if (colour)
        m_darkValue = QColor(colour->rgb());
    m_dark->setChecked(colour.has_value());
    updateControls();
}

void SplashPage::setIconBackground(const std::optional<QColor>& colour)
{
    if (colour)
        m_iconValue = QColor(colour->rgb());
    m_iconBackground->setChecked(colour.has_value());
    updateControls();
}

void SplashPage::updateControls()
{
    for (const auto& [button, colour] : {std::pair(m_background, m_colour), std::pair(m_darkColour, m_darkValue),
                                         std::pair(m_iconColour, m_iconValue)}) {
        button->setIcon(colourSwatch(colour));
        button->setText(colour.name());
    }
    m_darkColour->setEnabled(m_dark->isChecked());
    m_iconColour->setEnabled(m_iconBackground->isChecked());
    m_padding->setEnabled(m_size->value() == 0); // a size of its own is the art's whole side
    emit changed();
}

QList<QWidget*> SplashPage::focusOrder() const
{
    return {m_background, m_dark, m_darkColour, m_iconBackground, m_iconColour, m_padding, m_size};
}

void SplashPage::chooseBackground()
{
    m_background->click();
}

QString SplashPage::choicesKey() const
{
    const AndroidSplashOptions chosen = look();
    return QStringList{chosen.background.name(), chosen.darkBackground ? chosen.darkBackground->name() : QString(),
                       chosen.iconBackground ? chosen.iconBackground->name() : QString(),
                       QString::number(chosen.padding), QString::number(chosen.artDp.value_or(0))}
        .join(QLatin1Char(';'));
}

SourceCheck SplashPage::checkSource(const ImageRef& image, bool transparent) const
{
    return checkSplashSource(image, transparent);
}

QString SplashPage::generateTip() const
{
    return tr("Choose the project's folder, its res folder or its asset catalog, and write the launch screen into it");
}

QString SplashPage::folderPrompt() const
{
    return tr("Choose the project's folder, or its res folder or asset catalog");
}

void SplashPage::startPreview(const ImageRef& image, qreal ratio, const QPalette& colours, PreviewShown shown)
{
    const AndroidSplashOptions chosen = look();
    inBackground(
        this, [image, chosen, ratio, colours] { return renderSplashPreview(image, chosen, ratio, colours); },
        [shown](SplashPreview made) { shown(made.image, made.description); });
}

void SplashPage::startJob(const KindJob& job)
{
    job.expect(1);
    if (!job.folder) {
        job.told(WriteReport());
        return;
    }
    const AndroidSplashOptions chosen = look();
    const std::filesystem::path folder = *job.folder;
    inBackground(
        this,
        [folder, chosen, image = job.image, path = job.sourcePath] {
            // The places the folder holds, as quorva-cli splash takes it: found off the main
            // thread, as a project's are read from its files.
            ConfigTable table = placesAt(splashKind, folder);
            table[QStringLiteral("background")] = textValue(chosen.background.name());
            if (chosen.darkBackground)
                table[QStringLiteral("dark-background")] = textValue(chosen.darkBackground->name());
            if (chosen.iconBackground)
                table[QStringLiteral("icon-background")] = textValue(chosen.iconBackground->name());
            if (chosen.artDp)
                table[QStringLiteral("size")] = ConfigValue{*chosen.artDp, 0};
            else
                table[QStringLiteral("padding")] = ConfigValue{chosen.padding * 100, 0};
            return makeAndInstall(splashKind, table, image, path);
        },
        [told = job.told](WriteReport report) { told(report); });
}

} // namespace quorva
