#include "ui/androidoptionspanel.h"

#include "support/paths.h"
#include "target/optionschema.h"
#include "ui/colourchoice.h"

#include "android/androidkind.h"
#include "ui/androidpreview.h"
#include "ui/backgroundwork.h"
#include "ui/kindrun.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace quorva {

AndroidOptionsPanel::AndroidOptionsPanel(QWidget* parent)
    : KindPage(parent), m_background(new QComboBox(this)), m_colourButton(new QPushButton(this)),
      m_imageButton(new QPushButton(tr("Choose I&mage…"), this)), m_monochrome(new QCheckBox(tr("T&hemed icon"), this)),
      m_padding(new QSpinBox(this))
{
    m_background->setObjectName(QStringLiteral("androidBackgroundChoice"));
    m_background->setAccessibleName(tr("Background layer"));
    m_background->addItem(tr("Colour background"));
    m_background->addItem(tr("Image background"));
    m_background->setToolTip(tr("The adaptive icon's background layer, behind the art"));
    m_colourButton->setObjectName(QStringLiteral("androidColourButton"));
    m_colourButton->setToolTip(tr("Choose the background colour"));
    m_colourButton->setAccessibleName(tr("Background colour"));
    m_imageButton->setObjectName(QStringLiteral("androidImageButton"));
    m_imageButton->setToolTip(tr("Choose the background layer's image"));
    m_monochrome->setObjectName(QStringLiteral("monochromeBox"));
    m_padding->setObjectName(QStringLiteral("androidPaddingChoice"));
    m_padding->setAccessibleName(tr("Margin"));
    m_padding->setRange(0, maxPaddingPercent);
    m_padding->setSuffix(tr(" % margin"));
    m_padding->setToolTip(tr("Room left inside the 66 dp circle that no launcher masks"));

    // One row, at the top of the room the app icon set's two rows take.
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    auto* layout = new QHBoxLayout;
    rows->addLayout(layout);
    rows->addStretch(1);
    layout->addWidget(m_background);
    layout->addWidget(m_colourButton);
    layout->addWidget(m_imageButton);
    layout->addSpacing(8);
    layout->addWidget(m_monochrome);
    layout->addSpacing(8);
    layout->addWidget(m_padding);
    layout->addStretch(1);

    connect(m_background, &QComboBox::currentIndexChanged, this, [this] { updateControls(); });
    connect(m_monochrome, &QCheckBox::toggled, this, [this](bool on) {
        m_monochromeWanted = on; // only the user ticks an enabled box
        updateControls();
    });
    connect(m_padding, &QSpinBox::valueChanged, this, [this] { updateControls(); });
    connect(m_colourButton, &QPushButton::clicked, this, &AndroidOptionsPanel::chooseBackgroundColour);
    connect(m_imageButton, &QPushButton::clicked, this, &AndroidOptionsPanel::chooseBackgroundImage);
    setBackgroundColour(m_colour);
}

QList<QWidget*> AndroidOptionsPanel::focusOrder() const
{
    return {m_background, m_colourButton, m_imageButton, m_monochrome, m_padding};
}

AndroidIconOptions AndroidOptionsPanel::options() const
{
    AndroidIconOptions options;
    options.backgroundColour = m_colour;
    options.monochrome = m_monochrome->isEnabled() && m_monochrome->isChecked();
    options.padding = m_padding->value() / 100.0;
    return options;
}

std::optional<std::filesystem::path> AndroidOptionsPanel::backgroundFile() const
{
    return m_background->currentIndex() == 1 ? m_file : std::nullopt;
}

void AndroidOptionsPanel::setBackgroundColour(const QColor& colour)
{
    m_colour = QColor(colour.rgb()); // opaque: a launcher shows whatever lies behind
    m_colourButton->setIcon(colourSwatch(m_colour));
    m_colourButton->setText(m_colour.name());
    updateControls();
}

void AndroidOptionsPanel::setBackgroundFile(const std::filesystem::path& file)
{
    m_file = file;
    m_imageButton->setText(lastComponent(displayPath(file)));
    m_imageButton->setToolTip(displayPath(file));
    m_background->setCurrentIndex(1);
    updateControls();
}

void AndroidOptionsPanel::setSourceHasTransparency(bool transparent)
{
    m_transparentSource = transparent;
    updateControls();
}

void AndroidOptionsPanel::chooseBackgroundColour()
{
    chooseOpaqueColour(this, m_colour, QStringLiteral("androidColourDialog"),
                       [this](const QColor& colour) { setBackgroundColour(colour); });
}

void AndroidOptionsPanel::chooseBackgroundImage()
{
    auto* panel = new QFileDialog(window(), tr("Choose the background image"));
    panel->setObjectName(QStringLiteral("androidImagePanel"));
    panel->setFileMode(QFileDialog::ExistingFile);
    panel->setWindowModality(Qt::WindowModal);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    connect(panel, &QFileDialog::fileSelected, this, [this](const QString& file) { setBackgroundFile(toPath(file)); });
    panel->open();
}

void AndroidOptionsPanel::updateControls()
{
    const bool image = m_background->currentIndex() == 1;
    m_colourButton->setVisible(!image);
    m_imageButton->setVisible(image);
    {
        // Unticked while it does not apply; as the user left it once it does again.
        const QSignalBlocker quiet(m_monochrome);
        m_monochrome->setEnabled(m_transparentSource);
        m_monochrome->setChecked(m_transparentSource && m_monochromeWanted);
    }
    m_monochrome->setToolTip(m_transparentSource
                                 ? tr("Add the layer Android 13 tints with the user's colours: the art's shape")
                                 : tr("The image has no transparent pixels, so there is no art whose shape a themed "
                                      "icon could take"));
    emit changed();
}

QString AndroidOptionsPanel::choicesKey() const
{
    const AndroidIconOptions chosen = options();
    return QStringList{chosen.backgroundColour.name(), QString::number(chosen.monochrome),
                       QString::number(chosen.padding), displayPath(backgroundFile().value_or(std::filesystem::path()))}
        .join(QLatin1Char(';'));
}

SourceCheck AndroidOptionsPanel::checkSource(const ImageRef& image, bool transparent) const
{
    return checkAndroidSource(image, transparent);
}

QString AndroidOptionsPanel::generateTip() const
{
    return tr("Choose the app's res folder and write the icon into it");
}

QString AndroidOptionsPanel::folderPrompt() const
{
    return tr("Choose the app's res folder (android/app/src/main/res)");
}

void AndroidOptionsPanel::startPreview(const ImageRef& image, qreal ratio, const QPalette& colours, PreviewShown shown)
{
    const AndroidIconOptions chosen = options();
    const auto file = backgroundFile();
    inBackground(
        this,
        [image, chosen, file, ratio, colours] {
            AndroidIconOptions drawn = chosen;
            (void)loadAndroidArtwork(drawn, file, std::nullopt); // the colour until it can be read
            const AndroidIconPlan plan = planAndroidIcons(image, drawn);
            return std::pair(renderAndroidPreview(plan, ratio, colours), androidPreviewDescription(plan));
        },
        [shown](std::pair<QImage, QString> made) { shown(made.first, made.second); });
}

void AndroidOptionsPanel::startJob(const KindJob& job)
{
    job.expect(1);
    if (!job.folder) {
        job.told(WriteReport());
        return;
    }
    const AndroidIconOptions chosen = options();
    ConfigTable table;
    table[QStringLiteral("res")] = textValue(displayPath(*job.folder));
    const std::optional<std::filesystem::path> file = backgroundFile();
    table[QStringLiteral("background")] = textValue(file ? displayPath(*file) : chosen.backgroundColour.name());
    table[QStringLiteral("monochrome")] = ConfigValue{chosen.monochrome, 0};
    table[QStringLiteral("padding")] = ConfigValue{chosen.padding * 100, 0};
    table[QStringLiteral("force")] = ConfigValue{job.force, 0};
    inBackground(
        this,
        [table, image = job.image, path = job.sourcePath] { return makeAndInstall(androidKind, table, image, path); },
        [told = job.told](WriteReport report) { told(report); });
}

} // namespace quorva
