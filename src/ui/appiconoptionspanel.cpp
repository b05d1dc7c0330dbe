#include "ui/appiconoptionspanel.h"

#include "ui/colourchoice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace quorva {

AppIconOptionsPanel::AppIconOptionsPanel(QWidget* parent)
    : QWidget(parent), m_sizes(new QComboBox(this)), m_fit(new QComboBox(this)), m_padding(new QSpinBox(this)),
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
    m_padding->setRange(0, 40);
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

} // namespace quorva
