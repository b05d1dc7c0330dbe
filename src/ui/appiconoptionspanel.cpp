#include "ui/appiconoptionspanel.h"

#include "target/optionschema.h"
#include "ui/colourchoice.h"

#include "apple/appiconset.h"
#include "apple/appleiconkinds.h"
#include "apple/catalogwriter.h"
#include "support/paths.h"
#include "ui/backgroundwork.h"
#include "ui/iconpreview.h"
#include "ui/kindrun.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace quorva {

AppIconOptionsPanel::AppIconOptionsPanel(QWidget* parent)
    : KindPage(parent), m_sizes(new QComboBox(this)), m_fit(new QComboBox(this)), m_padding(new QSpinBox(this)),
      m_dark(new QCheckBox(tr("&Dark"), this)), m_tinted(new QCheckBox(tr("&Tinted"), this)),
      m_background(new QCheckBox(tr("&Background:"), this)), m_colourButton(new QPushButton(this))
{
    m_sizes->setObjectName(QStringLiteral("sizesChoice"));
    m_sizes->setAccessibleName(tr("Sizes"));
    m_sizes->addItem(tr("All sizes (17 icons)"));
    m_sizes->addItem(tr("Single size (1024 px)"));
    m_sizes->addItem(tr("Icon Composer file (.icon)"));
    m_sizes->setToolTip(tr("Xcode 14 and later make every size from one 1024 px icon; Xcode 26 takes an Icon "
                           "Composer file for every platform"));
    m_dark->setObjectName(QStringLiteral("darkBox"));
    m_tinted->setObjectName(QStringLiteral("tintedBox"));
    m_background->setObjectName(QStringLiteral("backgroundBox"));
    m_background->setToolTip(tr("Lay the image onto a colour: App Store Connect rejects transparent app icons"));
    m_colourButton->setObjectName(QStringLiteral("backgroundButton"));
    m_colourButton->setToolTip(tr("Choose the background colour"));
    m_colourButton->setAccessibleName(tr("Background colour"));

    m_fit->setObjectName(QStringLiteral("fitChoice"));
    m_fit->setAccessibleName(tr("Fit"));
    m_fit->addItem(tr("Stretch to the square"));
    m_fit->addItem(tr("Keep its shape, whole"));
    m_fit->addItem(tr("Fill the square, cut the rest"));
    m_fit->setToolTip(tr("How an image that is not square comes onto the square icon"));
    m_padding->setObjectName(QStringLiteral("paddingChoice"));
    m_padding->setAccessibleName(tr("Margin"));
    m_padding->setRange(0, maxPaddingPercent);
    m_padding->setSuffix(tr(" % margin"));
    m_padding->setToolTip(tr("Room left on each side of the art"));

    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    auto* layout = new QHBoxLayout;
    rows->addLayout(layout);
    auto* shape = new QHBoxLayout;
    rows->addLayout(shape);
    shape->addWidget(m_fit);
    shape->addSpacing(8);
    shape->addWidget(m_padding);
    shape->addSpacing(16);
    for (auto& [box, name, label, tip] :
         {std::tuple{&m_ios, "iosBox", tr("i&OS"), tr("iPhone and iPad icons")},
          std::tuple{&m_mac, "macBox", tr("&macOS"), tr("The Mac icons, in the macOS shape")},
          std::tuple{&m_watch, "watchBox", tr("&watchOS"), tr("The watch app's icon, opaque")}}) {
        *box = new QCheckBox(label, this);
        (*box)->setObjectName(QLatin1String(name));
        (*box)->setToolTip(tip);
        shape->addWidget(*box);
        connect(*box, &QCheckBox::toggled, this, [this, box = *box](bool on) {
            // One platform at least: the last one stays.
            if (!on && !m_ios->isChecked() && !m_mac->isChecked() && !m_watch->isChecked())
                box->setChecked(true);
            else
                updateControls();
        });
    }
    m_ios->setChecked(true);
    shape->addStretch(1);
    layout->addWidget(m_sizes);
    layout->addSpacing(8);
    layout->addWidget(m_dark);
    layout->addWidget(m_tinted);
    layout->addSpacing(8);
    layout->addWidget(m_background);
    layout->addWidget(m_colourButton);
    layout->addStretch(1);

    connect(m_sizes, &QComboBox::currentIndexChanged, this, [this] { updateControls(); });
    connect(m_fit, &QComboBox::currentIndexChanged, this, [this] { updateControls(); });
    connect(m_padding, &QSpinBox::valueChanged, this, [this] { updateControls(); });
    for (QCheckBox* box : {m_dark, m_tinted})
        connect(box, &QCheckBox::toggled, this, [this, box](bool on) {
            (box == m_dark ? m_darkWanted : m_tintedWanted) = on; // only the user ticks an enabled box
            updateControls();
        });
    connect(m_background, &QCheckBox::toggled, this, [this] { updateControls(); });
    connect(m_colourButton, &QPushButton::clicked, this, &AppIconOptionsPanel::chooseBackgroundColour);
    setBackgroundColour(m_colour);
}

namespace {

// An image of one pixel, for the plan's table of the choices alone.
const ImageRef& placeholder()
{
    static const ImageRef image = [] {
        QImage pixel(1, 1, QImage::Format_ARGB32_Premultiplied);
        pixel.fill(Qt::white);
        return makeImage(pixel);
    }();
    return image;
}

} // namespace

QList<QWidget*> AppIconOptionsPanel::focusOrder() const
{
    return {m_sizes, m_dark, m_tinted, m_background, m_colourButton, m_fit, m_padding, m_ios, m_mac, m_watch};
}

AppIconOptions AppIconOptionsPanel::options() const
{
    AppIconOptions options;
    options.singleSize = m_sizes->currentIndex() == 1;
    options.iconComposerFile = m_sizes->currentIndex() == 2;
    options.platforms.clear();
    if (m_ios->isChecked() || options.iconComposerFile)
        options.platforms.insert(ApplePlatform::iOS);
    if (m_mac->isChecked() && !options.iconComposerFile)
        options.platforms.insert(ApplePlatform::macOS);
    if (m_watch->isChecked() && !options.iconComposerFile)
        options.platforms.insert(ApplePlatform::watchOS);
    options.frame.fit = Frame::Fit(m_fit->currentIndex());
    options.frame.padding = m_padding->value() / 100.0;
    options.dark = m_dark->isEnabled() && m_dark->isChecked();
    options.tinted = m_tinted->isEnabled() && m_tinted->isChecked();

    if (m_background->isChecked())
        options.background = m_colour;
    return options;
}

void AppIconOptionsPanel::setBackgroundColour(const QColor& colour)
{
    m_colour = colour;
    m_colourButton->setIcon(colourSwatch(colour));
    m_colourButton->setText(colour.name());
    updateControls();
}

void AppIconOptionsPanel::setSourceHasTransparency(bool transparent)
{
    m_transparentSource = transparent;
    updateControls();
}

void AppIconOptionsPanel::chooseBackgroundColour()
{
    chooseOpaqueColour(this, m_colour, QStringLiteral("backgroundDialog"), [this](const QColor& colour) {
        setBackgroundColour(colour);
        m_background->setChecked(true);
    });
}

void AppIconOptionsPanel::updateControls()
{
    // An Icon Composer file serves every platform, with its appearances, from one layer.
    const bool composer = m_sizes->currentIndex() == 2;
    for (QCheckBox* platform : {m_ios, m_mac, m_watch})
        platform->setEnabled(!composer);
    const bool single = m_sizes->currentIndex() >= 1;
    const QString needsSingle = tr("Dark and tinted icons only work in a single-size set");
    // A choice that does not apply shows unticked, and comes back as it was when it applies again.
    for (auto [box, wanted] : {std::pair(m_dark, m_darkWanted), std::pair(m_tinted, m_tintedWanted)}) {
        const bool applies = single && m_transparentSource;
        const QSignalBlocker quiet(box);
        box->setEnabled(applies);
        box->setChecked(applies && wanted);
    }
    m_tinted->setToolTip(!single ? needsSingle
                             : m_transparentSource
                             ? tr("Add a greyscale icon that iOS tints with the user's colour")
                             : tr("The image has no transparent pixels, so there is no artwork to tint"));
    m_dark->setToolTip(!single ? needsSingle
                           : m_transparentSource
                           ? tr("Add the artwork on a transparent background, for iOS's dark appearance")
                           : tr("The image has no transparent pixels, so there is no artwork for a dark icon"));
    m_colourButton->setEnabled(m_background->isChecked());
    // The count the plan gives for the platforms ticked: 17 for iOS, more with the Mac's and the watch's.
    AppIconOptions all = options();
    all.singleSize = all.iconComposerFile = all.dark = all.tinted = false;
    all.macShape = MacShape::Keep; // the count is the same, and a 1 px image needs no shape
    all.background = Qt::white;
    const auto count = planAppIconSet(placeholder(), all, true).table.size();
    m_sizes->setItemText(0, tr("All sizes (%1 icons)").arg(count));
    emit changed();
}

QString AppIconOptionsPanel::choicesKey() const
{
    const AppIconOptions chosen = options();
    QStringList platforms;
    for (const ApplePlatform platform : chosen.platforms)
        platforms << QString::number(int(platform));
    return QStringList{QString::number(chosen.singleSize),
                       QString::number(chosen.iconComposerFile),
                       platforms.join(','),
                       QString::number(chosen.dark),
                       QString::number(chosen.tinted),
                       chosen.background ? chosen.background->name() : QString(),
                       QString::number(int(chosen.frame.fit)),
                       QString::number(chosen.frame.padding)}
        .join(QLatin1Char(';'));
}

SourceCheck AppIconOptionsPanel::checkSource(const ImageRef& image, bool transparent) const
{
    return checkAppIconSource(image, options(), transparent);
}

QString AppIconOptionsPanel::generateTip() const
{
    return tr("Choose a folder and write the set into it");
}

QString AppIconOptionsPanel::folderPrompt() const
{
    return tr("Choose the folder for the asset catalog");
}

void AppIconOptionsPanel::startPreview(const ImageRef& image, qreal ratio, const QPalette& colours, PreviewShown shown)
{
    m_plan.reset();
    AppIconOptions chosen = options();
    if (chosen.iconComposerFile) {
        // An Icon Composer file shown as iOS shows its icon: the art over the fill, under the mask.
        chosen.iconComposerFile = false;
        chosen.singleSize = true;
        chosen.background = chosen.background.value_or(QColor(0xf2, 0xf2, 0xf7));
    }
    inBackground(
        this,
        [image, chosen, ratio, colours] {
            auto plan = std::make_shared<const AppIconPlan>(planAppIconSet(image, chosen));
            // A refused set is still shown as it would look, beside the note that says why.
            const AppIconPlan drawn
                = plan->refusal == AppIconRefusal::None ? *plan : planAppIconSet(image, chosen, true);
            return std::pair(plan, renderIconPreview(drawn, ratio, colours));
        },
        [this, shown](std::pair<std::shared_ptr<const AppIconPlan>, QImage> made) {
            if (shown(made.second, QString()))
                m_plan = made.first;
        });
}

void AppIconOptionsPanel::startJob(const KindJob& job)
{
    const AppIconOptions chosen = options();
    if (chosen.iconComposerFile) {
        // FOLDER/AppIcon.icon, put in whole off the main thread, as quorva-cli --icon-composer does.
        job.expect(1);
        ConfigTable table;
        if (job.folder)
            table[QStringLiteral("folder")] = textValue(displayPath(*job.folder));
        if (chosen.background)
            table[QStringLiteral("background")] = textValue(chosen.background->name());
        table[QStringLiteral("padding")] = ConfigValue{chosen.frame.padding * 100, 0};
        table[QStringLiteral("dark")] = ConfigValue{chosen.dark, 0};
        table[QStringLiteral("tinted")] = ConfigValue{chosen.tinted, 0};
        inBackground(
            this,
            [table, written = job.folder.has_value(), image = job.image, path = job.sourcePath] {
                return written ? makeAndInstall(iconComposerKind, table, image, path) : WriteReport();
            },
            [told = job.told](WriteReport report) { told(report); });
        return;
    }
    // The preview's plan when no change has come since it was made (every change starts a new
    // preview); else made now.
    const std::shared_ptr<const AppIconPlan> plan = m_plan && job.previewIsCurrent
        ? m_plan
        : std::make_shared<const AppIconPlan>(planAppIconSet(job.image, chosen));
    job.expect(1);
    if (plan->refusal != AppIconRefusal::None) {
        WriteReport refused;
        refused.failures << tr("Couldn't make the app icon set: %1").arg(describe(plan->refusal));
        job.told(refused);
        return;
    }
    startSetJob(job, plan);
}

void AppIconOptionsPanel::startSetJob(const KindJob& job, const std::shared_ptr<const AppIconPlan>& plan)
{
    // One completion call for each icon, whether it was rendered or failed. The set is written
    // once, with the last map, when every icon has come, and not at all when one failed: a set
    // half written would be no set.
    struct Gathered {
        std::optional<RenderedImages> images;
        WriteReport failures;
        int calls = 0;
    };
    auto gathered = std::make_shared<Gathered>();
    const int calls = int(plan->table.size());
    const std::optional<std::filesystem::path> folder = job.folder;
    makeAppIconSet(
        plan->image, plan->table,
        [folder, told = job.told, plan, gathered, calls](std::optional<RenderedImages> images,
                                                         std::optional<QString> message) {
            // A failure comes from a worker thread; it is printed there.
            std::optional<WriteReport> failure;
            if (message)
                failure = writeAppIconSet(std::nullopt, message, folder, plan->layout);
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [=, images = std::move(images)]() mutable {
                    if (failure)
                        gathered->failures.add(*failure);
                    else
                        gathered->images = std::move(images);
                    if (++gathered->calls < calls)
                        return;
                    told(gathered->failures.failed()
                             ? gathered->failures
                             : writeAppIconSet(gathered->images, std::nullopt, folder, plan->layout));
                },
                Qt::QueuedConnection);
        },
        defaultTaskQueues());
}

} // namespace quorva
