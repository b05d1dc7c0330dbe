#include "ui/homecontroller.h"

#include "ui/backgroundwork.h"

#include "apple/assetname.h"
#include "image/imageloading.h"
#include "image/imageresizing.h"
#include "support/paths.h"
#include "support/pixelanalysis.h"
#include "ui/dragview.h"
#include "ui/iconpreview.h"
#include "ui/jobsummary.h"
#include "ui/mainwindow.h"
#include "ui/outputchoice.h"
#include "ui/projectcontroller.h"
#include "ui/projectpanel.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QMetaObject>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

#include <utility>

namespace quorva {
namespace {

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
    for (KindPage* each : pages())
        connect(each, &KindPage::changed, this, &HomeController::refresh);
    if (m_projectPanel) {
        m_projects = new ProjectController(m_projectPanel, this);
        connect(m_projectPanel, &ProjectPanel::closeRequested, this, &HomeController::closeProject);
        // A report tells of the choices that made it: a change leaves it behind.
        connect(m_projects, &ProjectController::targetsChanged, this, [this] {
            if (!m_projects->isSyncing())
                showStatus({});
            refresh();
        });
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
            else if (KindPage* shown = page())
                shown->chooseBackground();
        });
    }
    if (m_statusLine) {
        m_statusLine->setLines(0, 5); // below everything: its room is the preview's until there is a message
        connect(m_statusLine, &MessageArea::linkActivated, this, [this](const QString& link) {
            // A file the message names (a quorva.toml it can't read), else the folder written.
            if (link.startsWith(QLatin1String("file:")))
                m_openUrl(QUrl(link));
            else
                openFolder();
        });
    }
    if (window() && window() != this)
        window()->installEventFilter(this);
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
    for (const KindPage* each : pages())
        order << each->focusOrder();
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

void HomeController::openPath(const QString& path)
{
    // As a drop of it does: a folder is a project, a file an image.
    if (QFileInfo(path).isDir())
        openProject(toPath(QFileInfo(path).absoluteFilePath()));
    else
        dragViewDidReceiveFile(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
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
    whenChoicesKept([this, root] {
        beginBusy();
        m_projects->open(root, [this](std::optional<QString> problem) {
            endBusy();
            if (problem)
                showStatus(*problem, MessageArea::Severity::Error);
            showTitle();
            refresh();
        });
    });
}

void HomeController::showTitle()
{
    if (!window())
        return;
    const QString shown = m_projects && m_projects->isOpen() ? m_projects->name() : m_sourceFileName;
    window()->setWindowTitle(shown.isEmpty() ? QStringLiteral("Quorva") : tr("%1 — Quorva").arg(shown));
}

void HomeController::whenChoicesKept(const std::function<void()>& then)
{
    if (!m_projects || !m_projects->hasUnsavedEdits()) {
        then();
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Warning, tr("Save the Project's Choices?"),
                                tr("The source or background of %1 differs from its quorva.toml.")
                                    .arg(m_projects->name().toHtmlEscaped()),
                                QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, window());
    box->setObjectName(QStringLiteral("unsavedProjectBox"));
    box->setInformativeText(tr("Unsaved, they are lost, and quorva-cli sync keeps making the icons as before."));
    box->setDefaultButton(QMessageBox::Save);
    box->setWindowModality(Qt::WindowModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this, [this, box, then](int) {
        const QMessageBox::StandardButton answer = box->standardButton(box->clickedButton());
        if (answer == QMessageBox::Save && !m_projects->save())
            return; // it says why; nothing is lost
        if (answer == QMessageBox::Save || answer == QMessageBox::Discard)
            then();
    });
    box->open();
}

bool HomeController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window() && event->type() == QEvent::Close && m_projects && m_projects->hasUnsavedEdits()) {
        event->ignore();
        whenChoicesKept([this] {
            if (m_projects)
                m_projects->close(); // its choices saved or let go: the window may close
            if (window())
                window()->close();
        });
        return true;
    }
    return QWidget::eventFilter(watched, event);
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
    whenChoicesKept([this] {
        m_projects->close();
        forgetLastJob();
        showTitle();
        refresh();
    });
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
    m_sourcePath = path;
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
    showTitle();
    // What the status told was of the image before; a job still running tells of its own again.
    forgetLastJob();
    refresh();
    if (std::exchange(m_generateWhenLoaded, false) && !isLoading())
        openSelection(); // asked for while it loaded: now it writes what the window shows
}

QList<KindPage*> HomeController::pages() const
{
    QList<KindPage*> out;
    if (m_optionsStack)
        for (int each = 0; each < m_optionsStack->count(); ++each)
            if (auto* kind = qobject_cast<KindPage*>(m_optionsStack->widget(each)))
                out << kind;
    return out;
}

KindPage* HomeController::page() const
{
    const QList<KindPage*> all = pages();
    const int segment = m_segmentedControl ? m_segmentedControl->selectedSegment() : -1;
    return segment >= 0 && segment < all.size() ? all[segment] : nullptr;
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
    const KindPage* shown = page();
    return shown ? QString::number(m_segmentedControl->selectedSegment()) + QLatin1Char(';') + shown->choicesKey()
                 : QStringLiteral("-1");
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
    KindPage* kind = page();
    const int page = !m_optionsStack ? -1
        : project && m_projectPanel  ? m_optionsStack->indexOf(m_projectPanel)
        : kind                       ? m_optionsStack->indexOf(kind)
                                     : -1;
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
    for (KindPage* each : pages()) {
        const QSignalBlocker quiet(each);
        each->setSourceHasTransparency(m_sourceHasTransparency);
    }
    const SourceCheck check = kind ? kind->checkSource(image, m_sourceHasTransparency) : SourceCheck{};
    // One job at a time: a second would write beside the first, and its result hide the first's.
    const bool canGenerate = check.canGenerate && !isLoading() && !isWorking();
    if (m_generateButton) {
        m_generateButton->setEnabled(canGenerate);
        m_generateButton->setToolTip(canGenerate       ? kind->generateTip()
                                         : isLoading() ? tr("Wait until the image has loaded")
                                         : isWorking() ? tr("Wait until the files are written")
                                                       : check.blocked);
    }
    if (m_generateAction)
        m_generateAction->setEnabled(canGenerate);
    // A project's notes are its targets' own, once they are made (updatePreview).
    if (m_sourceNotes && !project)
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
        m_projects->makePreview(ratio, colours,
                                [this, ticket](QImage made, QString description, QString notes, bool refused) {
                                    if (ticket != m_previewsStarted)
                                        return false;
                                    m_previewsShown = ticket;
                                    m_preview->setPreview(made, description);
                                    if (m_sourceNotes)
                                        m_sourceNotes->setMessage(notes,
                                                                  refused ? MessageArea::Severity::Error
                                                                          : MessageArea::Severity::Warning);
                                    return true;
                                });
        return;
    }
    KindPage* kind = page();
    if (!image || !kind) {
        m_previewsShown = ticket;
        m_preview->setPreview({});
        return;
    }
    // Shown unless the choices changed meanwhile and a newer preview is coming.
    QPointer<HomeController> controller(this);
    kind->startPreview(image, ratio, colours, [controller, ticket](QImage made, QString description) {
        if (!controller || ticket != controller->m_previewsStarted)
            return false;
        controller->m_previewsShown = ticket;
        controller->m_preview->setPreview(made, description);
        return true;
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
    const KindPage* kind = page();
    auto* panel = new QFileDialog(shown, kind ? kind->folderPrompt() : tr("Choose a folder"), start);
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
    KindPage* kind = page();
    if (!kind)
        return;
    const ImageRef image = m_imageView ? m_imageView->image() : nullptr;
    if (!image) {
        showStatus(tr("Drop an image first."), MessageArea::Severity::Error);
        return;
    }
    if (isLoading()) // an image chosen after the folder panel opened: it is not what was shown
        return;

    // Every writer call of the job reports here, on the main thread; the job has ended once as
    // many writer calls as it said have been told.
    auto summary = std::make_shared<JobSummary>();
    struct Progress {
        int expected = -1; // writer calls to come, once known
        int told = 0;
    };
    auto progress = std::make_shared<Progress>();
    QPointer<HomeController> controller(this);
    KindJob job;
    job.image = image;
    job.sourcePath = m_sourcePath;
    job.folder = m_selectedFolder;
    job.force = force;
    job.assetName = m_selectedAssetName;
    job.previewIsCurrent = m_previewsShown == m_previewsStarted;
    job.told = [summary, controller, progress](std::optional<WriteReport> report) {
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
    job.expect = [controller, progress](int calls) {
        progress->expected = calls;
        if (controller && progress->told == calls)
            controller->jobEnded();
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
    kind->startJob(job);
    refresh(); // no second job while this one writes
}

void HomeController::jobEnded()
{
    --m_jobsRunning;
    refresh(); // Generate again
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
                                   "<p>Licence: proprietary; see the package's copyright file.<br>"
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
           "<li>Choose <b>App Icon Set</b> (an <i>.appiconset</i>, or an Icon Composer <i>.icon</i>), "
           "<b>Image Set</b>, <b>Android Icon</b>, "
           "<b>Desktop &amp; Web</b> or <b>Launch Screen</b>, and its choices. The notes say what the "
           "stores would reject, and the preview shows the icons at their true pixel sizes, and the launch "
           "screen on the phones.</li>"
           "<li>Press <b>Generate</b> (Ctrl+G) and choose a folder: Quorva writes "
           "<i>Quorva/icon/iOS/AppIcon.appiconset</i> or <i>Quorva/asset/iOS/NAME.imageset</i> "
           "below it; the Android icon goes into the app's <i>res</i> folder you choose; the "
           "desktop and web icons into the folder you choose, as <i>icon.ico</i>, "
           "<i>icon.icns</i>, <i>hicolor/</i>, <i>appx/</i> (the Windows package's images) and <i>web/</i>; "
           "the launch screen into the project's folder, its <i>res</i> folder or its asset catalog.</li></ol>"
           "<h3>Keeping a project's icons</h3>"
           "<p>Drop a Flutter, React Native, Capacitor, Tauri, Electron, Xcode or Gradle "
           "project's folder onto the drop zone, or press Ctrl+Shift+O: Quorva shows every "
           "target its <i>quorva.toml</i> names (or those it finds, when there is none yet) "
           "with the icon Sync writes for it, and what each target's platform would refuse. <b>Sync</b> writes "
           "them all; a changed source or background is saved into <i>quorva.toml</i> first (or, on Close, "
           "offered to be), so that <tt>quorva-cli&nbsp;sync</tt> and <tt>quorva-cli&nbsp;sync&nbsp;--check</tt> "
           "in CI make the same files.</p>"
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

} // namespace quorva
