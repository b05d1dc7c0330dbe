#include "ui/homecontroller.h"

#include "ui/backgroundwork.h"

#include "android/androidinstall.h"
#include "android/launchericonname.h"
#include "apple/appiconset.h"
#include "apple/assetname.h"
#include "apple/catalogwriter.h"
#include "apple/iconcomposerplan.h"
#include "apple/imageset.h"
#include "apple/setinstaller.h"
#include "generation/encodedfirst.h"
#include "image/imageloading.h"
#include "image/imageresizing.h"
#include "support/paths.h"
#include "support/pixelanalysis.h"
#include "target/installer.h"
#include "ui/androidpreview.h"
#include "ui/appiconoptionspanel.h"
#include "ui/desktoppreview.h"
#include "ui/dragview.h"
#include "ui/iconpreview.h"
#include "ui/jobsummary.h"
#include "ui/mainwindow.h"
#include "ui/projectcontroller.h"
#include "ui/projectpanel.h"
#include "ui/sourcecheck.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QMetaObject>
#include <QPushButton>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <utility>

namespace quorva {
namespace {

// Work on the main thread that may take a moment: the image set's rescaling, at about 10 ms a
// megapixel. Below this the busy cursor would only flicker.
constexpr qint64 busyPixels = 4'000'000;

// The content column's width: the same whatever it shows, so that nothing moves under the pointer
// when the segment, the notes or the image change; narrower only when the window is.
constexpr int columnWidth = 720;

QString pixelsText(QSize size)
{
    return QStringLiteral("%1 × %2").arg(size.width()).arg(size.height());
}

} // namespace

HomeController::HomeController(QWidget* parent)
    : QWidget(parent), m_lastFolder(QDir::homePath()), m_openUrl(&QDesktopServices::openUrl)
{
}

bool HomeController::connectOutlets()
{
    setDragView(findChild<DragView*>(QStringLiteral("dragView")));
    setImageView(findChild<ImageWell*>(QStringLiteral("imageView")));
    setSegmentedControl(findChild<SegmentedControl*>(QStringLiteral("segmentedControl")));
    m_statusLine = findChild<MessageArea*>(QStringLiteral("statusArea"));
    m_appIconOptions = findChild<AppIconOptionsPanel*>(QStringLiteral("appIconOptions"));
    m_androidOptions = findChild<AndroidOptionsPanel*>(QStringLiteral("androidOptions"));
    m_desktopOptions = findChild<DesktopOptionsPanel*>(QStringLiteral("desktopOptions"));
    m_projectPanel = findChild<ProjectPanel*>(QStringLiteral("projectOptions"));
    m_optionsStack = findChild<QStackedWidget*>(QStringLiteral("optionsStack"));
    m_preview = findChild<IconPreview*>(QStringLiteral("preview"));
    m_sourceNotes = findChild<MessageArea*>(QStringLiteral("sourceNotes"));
    m_sourceLabel = findChild<QLabel*>(QStringLiteral("sourceLabel"));
    m_column = findChild<QWidget*>(QStringLiteral("content"));
    m_generateButton = findChild<QPushButton*>(QStringLiteral("generateButton"));
    m_openFolderButton = findChild<QPushButton*>(QStringLiteral("openFolderButton"));
    m_writeAnywayButton = findChild<QPushButton*>(QStringLiteral("writeAnywayButton"));
    if (window()) {
        m_generateAction = window()->findChild<QAction*>(QStringLiteral("generateAction"));
        if (auto* openProject = window()->findChild<QAction*>(QStringLiteral("openProjectAction")))
            connect(openProject, &QAction::triggered, this, &HomeController::chooseProject);
    }
    return m_dragView && m_imageView && m_segmentedControl && m_statusLine;
}

void HomeController::viewDidLoad()
{
    if (m_dragView)
        m_dragView->delegate = this;
    setWindowTitle(QStringLiteral("Quorva"));
    if (window() != this)
        window()->setWindowTitle(windowTitle());
    if (m_segmentedControl) {
        m_segmentedControl->setSelectedSegment(int(OutputChoice::AppIconSet));
        connect(m_segmentedControl, &SegmentedControl::selectedSegmentChanged, this, &HomeController::refresh);
    }
    if (m_imageView)
        m_imageView->setDropZone(m_dragView);
    if (m_appIconOptions)
        connect(m_appIconOptions, &AppIconOptionsPanel::changed, this, &HomeController::refresh);
    if (m_androidOptions)
        connect(m_androidOptions, &AndroidOptionsPanel::changed, this, &HomeController::refresh);
    if (m_desktopOptions)
        connect(m_desktopOptions, &DesktopOptionsPanel::changed, this, &HomeController::refresh);
    if (m_projectPanel) {
        m_projects = new ProjectController(m_projectPanel, this);
        connect(m_projectPanel, &ProjectPanel::closeRequested, this, &HomeController::closeProject);
        connect(m_projects, &ProjectController::targetsChanged, this, &HomeController::refresh);
        connect(m_projects, &ProjectController::sourceChanged, this, [this] {
            if (const auto source = m_projects->source())
                dragViewDidReceiveFile(QUrl::fromLocalFile(displayPath(*source)));
        });
        connect(m_projects, &ProjectController::syncDone, this,
                [this](const QString& text, MessageArea::Severity severity) { showStatus(text, severity); });
        connect(m_projects, &ProjectController::failed, this,
                [this](const QString& text) { showStatus(text, MessageArea::Severity::Error); });
    }
    if (m_openFolderButton) {
        QSizePolicy policy = m_openFolderButton->sizePolicy();
        policy.setRetainSizeWhenHidden(false);
        m_openFolderButton->setSizePolicy(policy);
        connect(m_openFolderButton, &QPushButton::clicked, this, &HomeController::openFolder);
    }
    if (m_writeAnywayButton) {
        QSizePolicy policy = m_writeAnywayButton->sizePolicy();
        policy.setRetainSizeWhenHidden(false);
        m_writeAnywayButton->setSizePolicy(policy);
        m_writeAnywayButton->setToolTip(tr("Write into the folder all the same, as the message says"));
        connect(m_writeAnywayButton, &QPushButton::clicked, this, &HomeController::writeAnyway);
    }
    if (m_sourceNotes) {
        // No room kept while there is no note: the preview below has it. Every note at once at the
        // usual width; at the smallest they scroll.
        m_sourceNotes->setLines(0, 4);
        connect(m_sourceNotes, &MessageArea::linkActivated, this, [this] {
            if (m_projects && m_projects->isOpen() && m_projectPanel)
                m_projectPanel->chooseBackground(); // the project's shared background
            else if (m_appIconOptions)
                m_appIconOptions->chooseBackgroundColour();
        });
    }
    if (m_statusLine) {
        m_statusLine->setLines(0, 5); // below everything: its room is the preview's until there is a message
        connect(m_statusLine, &MessageArea::linkActivated, this, &HomeController::openFolder);
    }
    if (m_sourceLabel)
        m_sourceLabel->setText(tr("No image yet: drop a PNG, JPEG, WebP, GIF, BMP or SVG image to begin."));
    // Tab goes as one reads: the drop zone, the kinds, the choices row by row, then Generate and
    // what answers it. Hidden pages' controls are passed over.
    QList<QWidget*> order;
    if (m_dragView)
        order << m_dragView;
    if (m_segmentedControl)
        for (QWidget* segment : m_segmentedControl->findChildren<QPushButton*>())
            order << segment;
    if (m_appIconOptions)
        order << m_appIconOptions->focusOrder();
    if (m_androidOptions)
        order << m_androidOptions->focusOrder();
    if (m_desktopOptions)
        order << m_desktopOptions->focusOrder();
    if (m_projectPanel)
        order << m_projectPanel->focusOrder();
    for (QWidget* last : {static_cast<QWidget*>(m_generateButton), static_cast<QWidget*>(m_openFolderButton),
                          static_cast<QWidget*>(m_writeAnywayButton)})
        if (last)
            order << last;
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    refresh();
    fitColumn();
}

void HomeController::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitColumn();
    // A path in the status line fits the room the new width gives it.
    if (m_lastJob && !isWorking())
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_lastJob)
                    showJob(*m_lastJob);
            },
            Qt::QueuedConnection);
}

void HomeController::fitColumn()
{
    if (!m_column)
        return;
    const int available
        = width() - (layout() ? layout()->contentsMargins().left() + layout()->contentsMargins().right() : 0);
    m_column->setFixedWidth(std::max(m_column->minimumSizeHint().width(), std::min(columnWidth, available)));
}

bool HomeController::isLoading() const
{
    return m_loadsApplied < m_loadsStarted || (m_projects && m_projects->isOpening());
}

bool HomeController::isWorking() const
{
    return m_jobsRunning > 0 || (m_projects && m_projects->isSyncing());
}

void HomeController::dragViewDidReceiveFolder(const QUrl& folderUrl)
{
    openProject(toPath(folderUrl.toLocalFile()));
}

void HomeController::openProject(const std::filesystem::path& root)
{
    if (!m_projects || isWorking())
        return;
    forgetLastJob();
    beginBusy();
    m_projects->open(root, [this](std::optional<QString> problem) {
        endBusy();
        if (problem)
            showStatus(*problem, MessageArea::Severity::Error);
        refresh();
    });
}

void HomeController::chooseProject()
{
    QWidget* shown = window();
    auto* chooser = new QFileDialog(shown, tr("Open a Project's Folder"),
                                    QFileInfo(m_lastFolder).isDir() ? m_lastFolder : QDir::homePath());
    chooser->setObjectName(QStringLiteral("projectChooser"));
    chooser->setFileMode(QFileDialog::Directory);
    chooser->setOption(QFileDialog::ShowDirsOnly);
    chooser->setWindowModality(Qt::WindowModal);
    chooser->setAttribute(Qt::WA_DeleteOnClose);
    connect(chooser, &QFileDialog::fileSelected, this, [this](const QString& folder) { openProject(toPath(folder)); });
    chooser->open();
}

void HomeController::closeProject()
{
    if (!m_projects || !m_projects->isOpen() || isWorking())
        return;
    m_projects->close();
    forgetLastJob();
    refresh();
}

void HomeController::dragViewDidReceiveFile(const QUrl& fileUrl)
{
    // Decoded off the main thread; the well and the name change, in that order, once it has
    // loaded, and a later file's image is never replaced by an earlier one's. Generate waits
    // until then: it must write what the window shows.
    const QString path = fileUrl.toLocalFile();
    const quint64 ticket = ++m_loadsStarted;
    beginBusy();
    refresh();
    inBackground(
        this,
        [path] {
            Loaded result;
            result.image = loadImage(toPath(path));
            if (result.image.image) {
                result.transparent = hasTransparentPixels(sampleBitmap(*result.image.image));
                const QSize fitted = result.image.image->pixelSize().scaled(1024, 1024, Qt::KeepAspectRatio);
                if (const ImageRef display = resizedToSize(*result.image.image, fitted.width(), fitted.height()))
                    result.display = display->representations().front();
            }
            return result;
        },
        [this, path, ticket](Loaded result) {
            endBusy();
            loaded(ticket, path, result);
        });
}

void HomeController::loaded(quint64 ticket, const QString& path, const Loaded& result)
{
    const LoadedImage& image = result.image;
    if (ticket < m_loadsApplied)
        return;
    m_loadsApplied = ticket;
    const QString name = lastComponent(path);
    if (!image.image) {
        // The well and the name keep the image that was there; the source line still names it.
        showStatus(tr("%1 is not an image Quorva can read: %2.").arg(name.toHtmlEscaped(), image.error.toHtmlEscaped()),
                   MessageArea::Severity::Error);
        refresh();
        return;
    }
    if (m_imageView)
        m_imageView->setImage(image.image, result.display);
    *m_selectedAssetName = assetNameForFile(path);
    m_sourceFileName = name;
    m_sourceHasTransparency = result.transparent;
    if (m_selectedFolder == std::nullopt)
        m_lastFolder = QFileInfo(path).absolutePath();
    const QSize pixels = image.image->pixelSize();
    if (m_sourceLabel) {
        m_sourceLabel->setText((image.image->drawing() ? tr("%1 — a drawing of %2 pixels, drawn anew at every size")
                                                       : tr("%1 — %2 pixels"))
                                   .arg(name, pixelsText(pixels)));
        m_sourceLabel->setToolTip(path);
    }
    if (window())
        window()->setWindowTitle(tr("%1 — Quorva").arg(name));
    // What the status told was of the image before; a job still running tells of its own again.
    forgetLastJob();
    refresh();
    if (std::exchange(m_generateWhenLoaded, false) && !isLoading())
        openSelection(); // asked for while it loaded: now it writes what the window shows
}

std::optional<OutputChoice> HomeController::kind() const
{
    return m_segmentedControl ? outputChoiceOf(m_segmentedControl->selectedSegment()) : std::nullopt;
}

AppIconOptions HomeController::chosenOptions() const
{
    return m_appIconOptions ? m_appIconOptions->options() : AppIconOptions{};
}

void HomeController::forgetLastJob()
{
    m_lastJob.reset();
    m_writtenFolder.reset();
    if (m_openFolderButton)
        m_openFolderButton->setVisible(false);
    if (m_writeAnywayButton)
        m_writeAnywayButton->setVisible(false);
    showStatus({});
}

QString HomeController::choicesKey() const
{
    QStringList key{QString::number(kind() ? int(*kind()) : -1)};
    switch (kind().value_or(OutputChoice::ImageSet)) {
    case OutputChoice::AppIconSet: {
        const AppIconOptions options = chosenOptions();
        QStringList platforms;
        for (const ApplePlatform platform : options.platforms)
            platforms << QString::number(int(platform));
        key << QString::number(options.singleSize) << QString::number(options.iconComposerFile) << platforms.join(',')
            << QString::number(options.dark) << QString::number(options.tinted)
            << (options.background ? options.background->name() : QString()) << QString::number(int(options.frame.fit))
            << QString::number(options.frame.padding);
        break;
    }
    case OutputChoice::AndroidIcon:
        if (m_androidOptions) {
            const AndroidIconOptions options = m_androidOptions->options();
            key << options.backgroundColour.name() << QString::number(options.monochrome)
                << QString::number(options.padding)
                << displayPath(m_androidOptions->backgroundFile().value_or(std::filesystem::path()));
        }
        break;
    case OutputChoice::DesktopWeb:
        if (m_desktopOptions) {
            const DesktopAndWebOptions options = m_desktopOptions->options();
            key << options.appId << options.background.name() << QString::number(options.padding);
        }
        break;
    case OutputChoice::ImageSet:
        break;
    }
    return key.join(QLatin1Char(';'));
}

void HomeController::refresh()
{
    // A message tells of the kind and the choices that made it: it goes once they change.
    if (m_lastJob && !isWorking() && choicesKey() != m_jobChoices)
        forgetLastJob();
    const ImageRef image = m_imageView ? m_imageView->image() : nullptr;
    // A project's choices take the place of a kind's, and Sync that of the kinds and Generate.
    const bool project = m_projects && m_projects->isOpen();
    if (m_segmentedControl)
        m_segmentedControl->setVisible(!project);
    if (m_generateButton)
        m_generateButton->setVisible(!project);
    const int page = project && m_projectPanel ? m_optionsStack->indexOf(m_projectPanel) : kind() ? int(*kind()) : -1;
    if (m_optionsStack && page >= 0) {
        // The choices take the room of their own rows, not of the kind with the most; what they
        // leave goes to the preview below, and nothing above moves.
        m_optionsStack->setCurrentIndex(page);
        for (int each = 0; each < m_optionsStack->count(); ++each) {
            const QSizePolicy::Policy vertical = each == page ? QSizePolicy::Preferred : QSizePolicy::Ignored;
            if (m_optionsStack->widget(each)->sizePolicy().verticalPolicy() != vertical)
                m_optionsStack->widget(each)->setSizePolicy(QSizePolicy::Preferred, vertical);
        }
    }
    if (m_appIconOptions) {
        m_appIconOptions->blockSignals(true);
        m_appIconOptions->setSourceHasTransparency(m_sourceHasTransparency);
        m_appIconOptions->blockSignals(false);
    }
    if (m_androidOptions) {
        m_androidOptions->blockSignals(true);
        m_androidOptions->setSourceHasTransparency(m_sourceHasTransparency);
        m_androidOptions->blockSignals(false);
    }
    const AppIconOptions options = chosenOptions();
    const SourceCheck check = kind() == OutputChoice::AndroidIcon ? checkAndroidSource(image, m_sourceHasTransparency)
        : kind() == OutputChoice::DesktopWeb
        ? checkDesktopSource(image, m_desktopOptions ? m_desktopOptions->problem() : std::nullopt)
        : checkSource(image, kind(), options, m_sourceHasTransparency);
    const bool canGenerate = check.canGenerate && !isLoading();
    if (m_generateButton) {
        m_generateButton->setEnabled(canGenerate);
        m_generateButton->setToolTip(canGenerate
                                         ? (kind() == OutputChoice::AndroidIcon
                                                ? tr("Choose the app's res folder and write the icon into it")
                                                : kind() == OutputChoice::DesktopWeb
                                                ? tr("Choose a folder and write the desktop and web icons into it")
                                                : tr("Choose a folder and write the set into it"))
                                         : isLoading() ? tr("Wait until the image has loaded")
                                                       : check.blocked);
    }
    if (m_generateAction)
        m_generateAction->setEnabled(canGenerate);
    if (m_sourceNotes)
        m_sourceNotes->setMessage(check.notes.join(QStringLiteral("<br>")),
                                  check.canGenerate ? MessageArea::Severity::Warning : MessageArea::Severity::Error);
    updatePreview();
}

void HomeController::updatePreview()
{
    if (!m_preview)
        return;
    const ImageRef image = m_imageView ? m_imageView->image() : nullptr;
    const quint64 ticket = ++m_previewsStarted;
    const qreal ratio = devicePixelRatioF();
    const QPalette colours = palette();
    if (m_projects && m_projects->isOpen()) {
        m_plan.reset();
        m_projects->makePreview(ratio, colours, [this, ticket](QImage made, QString description) {
            if (ticket != m_previewsStarted)
                return;
            m_previewsShown = ticket;
            m_preview->setPreview(made, description);
        });
        return;
    }
    if (!image || !kind()) {
        m_previewsShown = ticket;
        m_plan.reset();
        m_preview->setPreview({});
        return;
    }
    if (kind() == OutputChoice::ImageSet) {
        m_plan.reset();
        inBackground(
            this, [image, ratio, colours] { return renderImageSetPreview(*image, ratio, colours); },
            [this, ticket, image](QImage made) {
                if (ticket != m_previewsStarted)
                    return;
                m_previewsShown = ticket;
                m_preview->setPreview(made, imageSetDescription(*image));
            });
        return;
    }
    // A preview and its words, shown unless the choices changed meanwhile and a newer one is coming.
    const auto showWhenCurrent = [this, ticket](std::pair<QImage, QString> made) {
        if (ticket != m_previewsStarted)
            return;
        m_previewsShown = ticket;
        m_preview->setPreview(made.first, made.second);
    };
    if (kind() == OutputChoice::AndroidIcon) {
        m_plan.reset();
        const AndroidIconOptions options = m_androidOptions ? m_androidOptions->options() : AndroidIconOptions{};
        const auto file = m_androidOptions ? m_androidOptions->backgroundFile() : std::nullopt;
        inBackground(
            this,
            [image, options, file, ratio, colours] {
                AndroidIconOptions chosen = options;
                (void)loadAndroidArtwork(chosen, file, std::nullopt); // the colour until it can be read
                const AndroidIconPlan plan = planAndroidIcons(image, chosen);
                return std::pair(renderAndroidPreview(plan, ratio, colours), androidPreviewDescription(plan));
            },
            showWhenCurrent);
        return;
    }
    if (kind() == OutputChoice::DesktopWeb) {
        m_plan.reset();
        const DesktopAndWebOptions options = m_desktopOptions ? m_desktopOptions->options() : DesktopAndWebOptions{};
        inBackground(
            this,
            [image, options, ratio, colours] {
                DesktopAndWebOptions shown = options;
                if (appIdProblem(shown.appId))
                    shown.appId = QStringLiteral("org.example.App"); // shown all the same, beside the note
                shown.packageImages = false;
                const DesktopAndWebPlan plan = planDesktopAndWeb(image, shown, {});
                return std::pair(renderDesktopPreview(plan, ratio, colours), desktopPreviewDescription(plan));
            },
            showWhenCurrent);
        return;
    }
    AppIconOptions options = chosenOptions();
    if (options.iconComposerFile) {
        // An Icon Composer file shown as iOS shows its icon: the art over the fill, under the mask.
        options.iconComposerFile = false;
        options.singleSize = true;
        options.background = options.background.value_or(QColor(0xf2, 0xf2, 0xf7));
    }
    inBackground(
        this,
        [image, options, ratio, palette = palette()] {
            auto plan = std::make_shared<const AppIconPlan>(planAppIconSet(image, options));
            // A refused set is still shown as it would look, beside the note that says why.
            const AppIconPlan shown
                = plan->refusal == AppIconRefusal::None ? *plan : planAppIconSet(image, options, true);
            return std::pair(plan, renderIconPreview(shown, ratio, palette));
        },
        [this, ticket](std::pair<std::shared_ptr<const AppIconPlan>, QImage> made) {
            if (ticket != m_previewsStarted)
                return; // the choices changed meanwhile; a newer preview is on its way
            m_previewsShown = ticket;
            m_plan = made.first;
            m_preview->setPreview(made.second);
        });
}

void HomeController::openSelection()
{
    QWidget* shown = window();
    if (!shown || !shown->isVisible())
        return;
    if (m_projects && m_projects->isOpen()) { // Ctrl+G in a project: every target
        m_projects->sync();
        return;
    }
    if (isLoading()) { // Ctrl+G while an image loads: Generate acts on what the window will show
        m_generateWhenLoaded = true;
        showStatus(tr("Generate asks for the folder once the image has loaded."));
        return;
    }
    // In the folder last used in this run, unless it has gone since.
    const QString start = QFileInfo(m_lastFolder).isDir() ? m_lastFolder : QDir::homePath();
    auto* panel = new QFileDialog(shown,
                                  kind() == OutputChoice::AndroidIcon
                                      ? tr("Choose the app's res folder (android/app/src/main/res)")
                                      : kind() == OutputChoice::DesktopWeb
                                      ? tr("Choose the folder for the desktop and web icons")
                                      : tr("Choose the folder for the asset catalog"),
                                  start);
    panel->setObjectName(QStringLiteral("folderPanel"));
    panel->setFileMode(QFileDialog::Directory);
    panel->setOption(QFileDialog::ShowDirsOnly);
    panel->setWindowModality(Qt::WindowModal);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    connect(panel, &QDialog::finished, this,
            [this, panel](int result) { panelDidEnd(result, panel->selectedFiles()); });
    panel->open();
}

void HomeController::panelDidEnd(int response, const QStringList& folders)
{
    if (response != QDialog::Accepted)
        return;
    // Kept even when no job can start.
    m_selectedFolder = folders.isEmpty() ? std::nullopt : std::optional(toPath(folders.first()));
    if (!folders.isEmpty())
        m_lastFolder = folders.first();
    startJob();
}

void HomeController::writeAnyway()
{
    if (m_writeAnywayButton)
        m_writeAnywayButton->setVisible(false);
    startJob(true);
}

void HomeController::startJob(bool force)
{
    const std::optional<OutputChoice> kind = this->kind();
    if (!kind)
        return;
    const ImageRef image = m_imageView ? m_imageView->image() : nullptr;
    if (!image) {
        showStatus(tr("Drop an image first."), MessageArea::Severity::Error);
        return;
    }
    if (isLoading()) // an image chosen after the folder panel opened: it is not what was shown
        return;

    // Every writer call of the job reports here, on the main thread; the job's failure form
    // arrives on a worker thread and is passed over. The job has ended once as many writer calls
    // as it delivers have been told.
    auto summary = std::make_shared<JobSummary>();
    struct Progress {
        int expected = -1; // writer calls to come, once known
        int told = 0;
    };
    auto progress = std::make_shared<Progress>();
    QPointer<HomeController> controller(this);
    const auto told = [summary, controller, progress](std::optional<WriteReport> report) {
        if (report)
            summary->add(*report);
        ++progress->told;
        if (!controller)
            return;
        if (report)
            controller->showJob(*summary);
        if (progress->told == progress->expected)
            controller->jobEnded();
    };
    const auto show = [told](WriteReport report) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [told, report = std::move(report)] { told(report); }, Qt::QueuedConnection);
    };
    ++m_jobsRunning;
    m_lastJob = summary;
    m_jobChoices = choicesKey();
    if (m_writeAnywayButton)
        m_writeAnywayButton->setVisible(false);
    m_openFolderFailed = false;
    if (m_openFolderButton)
        m_openFolderButton->setVisible(false);
    showStatus(tr("Writing…"));

    const std::optional<std::filesystem::path> folder = m_selectedFolder;
    if (kind == OutputChoice::AndroidIcon) {
        progress->expected = 1;
        startAndroidJob(image, told, force);
        return;
    }
    if (kind == OutputChoice::DesktopWeb) {
        progress->expected = 1;
        startDesktopJob(image, told);
        return;
    }
    if (kind == OutputChoice::AppIconSet && chosenOptions().iconComposerFile) {
        // FOLDER/AppIcon.icon, put in whole off the main thread, as quorva-cli --icon-composer does.
        progress->expected = 1;
        const IconComposerPlan plan = planIconComposerFile(image, chosenOptions());
        inBackground(
            this,
            [plan, folder] {
                WriteReport report;
                if (!plan.file)
                    report.failures << tr("Couldn't make the Icon Composer file: %1").arg(describe(plan.refusal));
                else if (folder)
                    report = installWholeFolder(*folder, QStringLiteral("AppIcon.icon"), plan.file->files());
                return report;
            },
            [told](WriteReport report) { told(report); });
        return;
    }
    if (kind == OutputChoice::AppIconSet) {
        const AppIconOptions options = chosenOptions();
        // The preview's plan when no change has come since it was made (every change starts a
        // new preview); else made now.
        const std::shared_ptr<const AppIconPlan> plan = m_plan && m_previewsShown == m_previewsStarted
            ? m_plan
            : std::make_shared<const AppIconPlan>(planAppIconSet(image, options));
        if (plan->refusal != AppIconRefusal::None) {
            summary->failures << tr("Couldn't make the app icon set: %1").arg(describe(plan->refusal));
            progress->expected = 1;
            told(std::nullopt);
            showJob(*summary);
            return;
        }
        // One completion call for each icon, whether it was rendered or failed. The set is written
        // once, with the last map, when every icon has come, and not at all when one failed: a set
        // half written would be no set.
        progress->expected = 1;
        struct Gathered {
            std::optional<RenderedImages> images;
            WriteReport failures;
            int calls = 0;
        };
        auto gathered = std::make_shared<Gathered>();
        const int calls = int(plan->table.size());
        makeAppIconSet(
            plan->image, plan->table,
            [folder, told, plan, gathered, calls](std::optional<RenderedImages> images,
                                                  std::optional<QString> message) {
                // A failure comes from a worker thread; the writer prints it there.
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
        return;
    }
    // The image set renders on this thread; a large one shows that it is working first. Its
    // writer calls wait for their encodings on the pool, so that the window answers meanwhile.
    const QSize pixels = image->pixelSize();
    const bool large = qint64(pixels.width()) * pixels.height() > busyPixels;
    if (large) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (m_statusLine)
            m_statusLine->repaint();
    }
    const std::shared_ptr<const std::optional<QString>> name = m_selectedAssetName;
    auto delivered = std::make_shared<int>(0);
    const bool rendered
        = makeImageSet(image,
                       [delivered,
                        writeAll = encodedFirst(
                            [folder, name, show](std::optional<RenderedImages> images, std::optional<QString> message) {
                                show(writeImageSet(images, message, folder, [&name] { return *name; }));
                            })](std::optional<RenderedImages> images, std::optional<QString> message) {
                           ++*delivered;
                           writeAll(std::move(images), std::move(message));
                       });
    if (large)
        QApplication::restoreOverrideCursor();
    if (!rendered)
        summary->failures.append(tr("Couldn't get image: %1.").arg(imageSetFailureReason(*image)));
    // Runs after the delivery steps the job queued: then their number is known.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [progress, delivered, told, summary, controller] {
            progress->expected = *delivered + 1;
            told(std::nullopt);
            if (controller && *delivered == 0)
                controller->showJob(*summary);
        },
        Qt::QueuedConnection);
}

void HomeController::jobEnded()
{
    --m_jobsRunning;
}

void HomeController::showJob(const JobSummary& summary)
{
    if (m_lastJob.get() != &summary)
        return; // an earlier job, or one before the image changed
    const QLabel* text = m_statusLine ? m_statusLine->label() : nullptr;
    JobMessage message = statusMessage(summary, text ? text->fontMetrics() : fontMetrics(),
                                       text && text->width() > 1 ? text->width() : width() / 2);
    if (m_openFolderFailed && summary.setFolder)
        message.richText += QStringLiteral("<br>")
            + tr("Couldn't open the folder: no file manager is set up to open it.").toHtmlEscaped();
    if (message.richText.isEmpty())
        message.richText = tr("Writing…");
    showStatus(message.richText, message.severity);
    if (m_statusLine)
        m_statusLine->setToolTip(message.toolTip);
    m_writtenFolder = summary.setFolder;
    if (m_openFolderButton)
        m_openFolderButton->setVisible(summary.filesInSet > 0);
    if (m_writeAnywayButton)
        m_writeAnywayButton->setVisible(summary.forcing.has_value() && summary.filesInSet == 0);
}

void HomeController::openFolder()
{
    if (!m_writtenFolder)
        return;
    if (m_openUrl(QUrl::fromLocalFile(displayPath(*m_writtenFolder))) || m_openFolderFailed || !m_lastJob)
        return;
    m_openFolderFailed = true; // said once, however often it is pressed
    showJob(*m_lastJob);
}

void HomeController::showAbout()
{
    QString version = QCoreApplication::applicationVersion();
    if (version.isEmpty())
        version = QStringLiteral(QUORVA_VERSION);
    auto* box = new QMessageBox(QMessageBox::NoIcon, tr("About Quorva"),
                                tr("<h3>Quorva %1</h3>"
                                   "<p>Turns one image into the icons and images that Xcode, App Store Connect, "
                                   "Android's build, Google Play, Windows, macOS, Linux desktops and browsers take "
                                   "as they are: app icon sets, single-size icons with dark and tinted appearances, "
                                   "image sets, Android launcher icons, .ico and .icns files, the hicolor theme and "
                                   "a site's icons; and keeps every icon a project ships, by its quorva.toml.</p>"
                                   "<p>Website: <a href=\"https://quorva.invalid\">quorva.invalid</a><br>"
                                   "Licence: proprietary; see the package's copyright file.<br>"
                                   "Copyright © 2026 The Quorva developers</p>")
                                    .arg(version),
                                QMessageBox::Ok, window());
    box->setObjectName(QStringLiteral("aboutBox"));
    box->setIconPixmap(applicationIcon().pixmap(64, 64));
    box->setTextFormat(Qt::RichText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->open();
}

void HomeController::showHelp()
{
    auto* box = new QMessageBox(
        QMessageBox::NoIcon, tr("Quorva Help"),
        tr("<h3>Making a set</h3><ol>"
           "<li>Drop a PNG, JPEG, WebP, GIF, BMP or SVG image onto the drop zone, or press "
           "Ctrl+O to choose one.</li>"
           "<li>Choose <b>App Icon Set</b>, <b>Image Set</b>, <b>Android Icon</b> or "
           "<b>Desktop &amp; Web</b>, and its choices. The notes say what the stores would "
           "reject, and the preview shows the icons at their true pixel sizes.</li>"
           "<li>Press <b>Generate</b> (Ctrl+G) and choose a folder: Quorva writes "
           "<i>Quorva/icon/iOS/AppIcon.appiconset</i> or <i>Quorva/asset/iOS/NAME.imageset</i> "
           "below it; the Android icon goes into the app's <i>res</i> folder you choose; the "
           "desktop and web icons into the folder you choose, as <i>icon.ico</i>, "
           "<i>icon.icns</i>, <i>hicolor/</i>, <i>appx/</i> (the Windows package's images) and <i>web/</i>.</li></ol>"
           "<h3>Keeping a project's icons</h3>"
           "<p>Drop a Flutter, React Native, Capacitor, Tauri, Electron, Xcode or Gradle "
           "project's folder onto the drop zone, or press Ctrl+Shift+O: Quorva shows every "
           "target its <i>quorva.toml</i> names (or those it finds, when there is none yet) "
           "with its icon. <b>Sync</b> writes them all; a changed source or background is "
           "offered to be saved into <i>quorva.toml</i>, for <tt>quorva-cli sync</tt> and "
           "<tt>sync --check</tt> in CI.</p>"
           "<p>Every file goes in whole, or, should anything fail, nothing changes.</p>"
           "<p>The same jobs, and writing straight into a project's catalog, run from the "
           "command line: <tt>quorva-cli --help</tt>.</p>"),
        QMessageBox::Ok, window());
    box->setObjectName(QStringLiteral("helpBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->open();
}

void HomeController::showShortcuts()
{
    // Read off the window's own actions, so that the list is never out of step with them.
    QStringList rows;
    if (window())
        for (const QAction* action : window()->findChildren<QAction*>())
            if (!action->shortcut().isEmpty())
                rows << QStringLiteral("<tr><td>%1</td><td>&nbsp;&nbsp;%2</td></tr>")
                            .arg(action->text().remove(QLatin1Char('&')).remove(QStringLiteral("…")).toHtmlEscaped(),
                                 action->shortcut().toString(QKeySequence::NativeText).toHtmlEscaped());
    rows << tr("<tr><td>Move between the segments</td><td>&nbsp;&nbsp;Left, Right</td></tr>");
    auto* box
        = new QMessageBox(QMessageBox::NoIcon, tr("Keyboard Shortcuts"),
                          QStringLiteral("<table>%1</table>").arg(rows.join(QString())), QMessageBox::Ok, window());
    box->setObjectName(QStringLiteral("shortcutsBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->open();
}

void HomeController::showStatus(const QString& richText, MessageArea::Severity severity)
{
    if (m_statusLine) {
        m_statusLine->setMessage(richText, severity);
        m_statusLine->setToolTip({});
    }
}

void HomeController::beginBusy()
{
    if (m_busy++ > 0)
        return;
    // Shown only when the work takes longer than a glance: a quick load would only flicker.
    QTimer::singleShot(100, this, [this] {
        if (m_busy == 0 || m_busyShown)
            return;
        m_busyShown = true;
        QApplication::setOverrideCursor(Qt::BusyCursor);
    });
}

void HomeController::endBusy()
{
    if (--m_busy > 0 || !m_busyShown)
        return;
    m_busyShown = false;
    QApplication::restoreOverrideCursor();
}

// The icon written into the res folder off the main thread, as quorva-cli android writes it.
void HomeController::startAndroidJob(const ImageRef& image, const std::function<void(std::optional<WriteReport>)>& told,
                                     bool force)
{
    const AndroidIconOptions options = m_androidOptions ? m_androidOptions->options() : AndroidIconOptions{};
    const auto file = m_androidOptions ? m_androidOptions->backgroundFile() : std::nullopt;
    const std::optional<std::filesystem::path> res = m_selectedFolder;
    inBackground(
        this,
        [image, options, file, res, force] {
            WriteReport report;
            AndroidIconOptions chosen = options;
            if (const auto failure = loadAndroidArtwork(chosen, file, std::nullopt)) {
                report.failures << *failure;
                return report;
            }
            // The names the app's manifest gives its icon; when it names several, the
            // application's own is written once the user says so.
            if (res) {
                const LauncherIconName names = launcherIconName(*res, std::nullopt, force);
                if (names.undecided) {
                    report.failures << pathLine(*res, *names.undecided);
                    if (!names.applications.isEmpty())
                        report.forcing = tr("writes the application's icon, %1").arg(names.applications);
                    return report;
                }
                chosen.name = names.name;
                chosen.roundName = names.roundName;
            }
            const AndroidIconPlan plan = planAndroidIcons(image, chosen);
            if (plan.refusal != AndroidRefusal::None) {
                report.failures << tr("Couldn't make the Android icon: %1").arg(describe(plan.refusal));
                return report;
            }
            if (!res)
                return report;
            const AndroidWrite write = installAndroidIcon(*res, plan, chosen.name, force);
            report.failures = write.failures;
            report.forcing = write.forcing;
            report.removed = write.removed;
            if (!write.written.isEmpty())
                report.setFolder = *res;
            for (const QString& written : write.written)
                report.written.push_back(*res / toPath(written));
            return report;
        },
        [told](WriteReport report) { told(report); });
}

// The desktop and web icons written into the folder off the main thread, all of them or none.
void HomeController::startDesktopJob(const ImageRef& image, const std::function<void(std::optional<WriteReport>)>& told)
{
    const DesktopAndWebOptions options = m_desktopOptions ? m_desktopOptions->options() : DesktopAndWebOptions{};
    const std::optional<std::filesystem::path> folder = m_selectedFolder;
    inBackground(
        this,
        [image, options, folder] {
            WriteReport report;
            if (!folder)
                return report;
            SiteFolder site;
            if (const auto error = readSiteFolder(*folder / siteFolderName, std::nullopt, site)) {
                report.failures << *error;
                return report;
            }
            const DesktopAndWebPlan plan = planDesktopAndWeb(image, options, site);
            if (plan.plan.refusal) {
                report.failures << tr("Couldn't make the desktop and web icons: %1").arg(*plan.plan.refusal);
                return report;
            }
            report = install(*folder, plan.plan);
            if (!report.failed())
                report.setFolder = *folder;
            return report;
        },
        [told](WriteReport report) { told(report); });
}

} // namespace quorva
