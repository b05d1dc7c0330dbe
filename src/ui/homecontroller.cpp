#include "ui/homecontroller.h"

#include "catalog/catalogwriter.h"
#include "generation/appiconset.h"
#include "generation/assetname.h"
#include "generation/imageset.h"
#include "image/imageloading.h"
#include "image/imageresizing.h"
#include "support/paths.h"
#include "support/pixelanalysis.h"
#include "ui/appiconoptionspanel.h"
#include "ui/dragview.h"
#include "ui/iconpreview.h"
#include "ui/jobsummary.h"
#include "ui/sourcecheck.h"
#include "ui/statusline.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QMetaObject>
#include <QPushButton>
#include <QThreadPool>
#include <QTimer>

namespace quorva {
namespace {

// Runs work on the pool and then done on the main thread, unless the controller is gone by then.
template<typename Work, typename Done>
void inBackground(HomeController* controller, Work work, Done done)
{
    QPointer<HomeController> alive(controller);
    QThreadPool::globalInstance()->start([alive, work = std::move(work), done = std::move(done)]() mutable {
        auto result = work();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [alive, done = std::move(done), result = std::move(result)]() mutable {
                if (alive)
                    done(std::move(result));
            },
            Qt::QueuedConnection);
    });
}

// Work on the main thread that may take a moment: the image set's rescaling, at about 10 ms a
// megapixel. Below this the busy cursor would only flicker.
constexpr qint64 busyPixels = 4'000'000;

} // namespace

HomeController::HomeController(QWidget* parent) : QWidget(parent), m_lastFolder(QDir::homePath())
{
}

bool HomeController::connectOutlets()
{
    setDragView(findChild<DragView*>(QStringLiteral("dragView")));
    setImageView(findChild<ImageWell*>(QStringLiteral("imageView")));
    setSegmentedControl(findChild<SegmentedControl*>(QStringLiteral("segmentedControl")));
    m_statusLine = findChild<StatusLine*>(QStringLiteral("statusArea"));
    m_appIconOptions = findChild<AppIconOptionsPanel*>(QStringLiteral("appIconOptions"));
    m_preview = findChild<IconPreview*>(QStringLiteral("preview"));
    m_sourceNotes = findChild<StatusLine*>(QStringLiteral("sourceNotes"));
    m_generateButton = findChild<QPushButton*>(QStringLiteral("generateButton"));
    m_openFolderButton = findChild<QPushButton*>(QStringLiteral("openFolderButton"));
    if (window())
        m_generateAction = window()->findChild<QAction*>(QStringLiteral("generateAction"));
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
        m_segmentedControl->setSelectedSegment(int(OutputKind::AppIconSet));
        connect(m_segmentedControl, &SegmentedControl::selectedSegmentChanged, this, &HomeController::refresh);
    }
    if (m_imageView)
        m_imageView->setDropZone(m_dragView);
    if (m_appIconOptions)
        connect(m_appIconOptions, &AppIconOptionsPanel::changed, this, &HomeController::refresh);
    if (m_openFolderButton)
        connect(m_openFolderButton, &QPushButton::clicked, this, &HomeController::openFolder);
    if (m_sourceNotes) {
        m_sourceNotes->setVisibleLines(4); // every note at once fits, at the smallest width too
        connect(m_sourceNotes, &StatusLine::linkActivated, this, [this] {
            if (m_appIconOptions)
                m_appIconOptions->chooseBackgroundColour();
        });
    }
    if (m_statusLine)
        connect(m_statusLine, &StatusLine::linkActivated, this, &HomeController::openFolder);
    showStatus(tr("Drop a PNG, JPEG, WebP or SVG image to begin."));
    refresh();
}

void HomeController::dragViewDidReceiveFile(const QUrl& fileUrl)
{
    // Decoded off the main thread; the well and the name change, in that order, once it has
    // loaded, and a later file's image is never replaced by an earlier one's.
    const QString path = fileUrl.toLocalFile();
    const quint64 ticket = ++m_loadsStarted;
    beginBusy();
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
        // The well and the name keep the image that was there.
        showStatus(
            tr("%1 is not an image Quorva can read: %2.").arg(name.toHtmlEscaped(), image.error.toHtmlEscaped()));
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
    showStatus((image.image->drawing() ? tr("%1: a drawing of %2 × %3 pixels, drawn anew at every size.")
                                       : tr("%1: %2 × %3 pixels."))
                   .arg(name.toHtmlEscaped(), QString::number(pixels.width()), QString::number(pixels.height())));
    refresh();
}

std::optional<OutputKind> HomeController::kind() const
{
    return m_segmentedControl ? outputKindOf(m_segmentedControl->selectedSegment()) : std::nullopt;
}

AppIconOptions HomeController::chosenOptions() const
{
    return m_appIconOptions ? m_appIconOptions->options() : AppIconOptions{};
}

void HomeController::refresh()
{
    const ImageRef image = m_imageView ? m_imageView->image() : nullptr;
    if (m_appIconOptions) {
        m_appIconOptions->setVisible(kind() == OutputKind::AppIconSet);
        m_appIconOptions->blockSignals(true);
        m_appIconOptions->setSourceHasTransparency(m_sourceHasTransparency);
        m_appIconOptions->blockSignals(false);
    }
    const AppIconOptions options = chosenOptions();
    const SourceCheck check = checkSource(image, kind(), options, m_sourceHasTransparency);
    if (m_generateButton) {
        m_generateButton->setEnabled(check.canGenerate);
        m_generateButton->setToolTip(check.canGenerate ? tr("Choose a folder and write the set into it")
                                                       : check.blocked);
    }
    if (m_generateAction)
        m_generateAction->setEnabled(check.canGenerate);
    if (m_sourceNotes) {
        m_sourceNotes->setText(check.notes.join(QStringLiteral("<br>")));
        m_sourceNotes->setVisible(!check.notes.isEmpty());
    }
    updatePreview();
}

void HomeController::updatePreview()
{
    if (!m_preview)
        return;
    const ImageRef image = m_imageView ? m_imageView->image() : nullptr;
    const quint64 ticket = ++m_previewsStarted;
    if (!image || kind() != OutputKind::AppIconSet) {
        m_previewsShown = ticket;
        m_plan.reset();
        if (!image || kind() != OutputKind::ImageSet) {
            m_preview->setText({});
            return;
        }
        const QSize pixels = image->pixelSize();
        QStringList scales;
        for (const ImageSetEntry& entry :
             image->drawing() ? vectorImageSetSizes(pixels) : imageSetSizes(pixels.width(), pixels.height()))
            scales << tr("%1.png %2 × %3 px")
                          .arg(entry.key, QString::number(std::int64_t(entry.size.width())),
                               QString::number(std::int64_t(entry.size.height())));
        m_preview->setText(scales.join(QStringLiteral("    ")));
        return;
    }
    const AppIconOptions options = chosenOptions();
    const qreal ratio = devicePixelRatioF();
    inBackground(
        this,
        [image, options, ratio] {
            auto plan = std::make_shared<const AppIconPlan>(planAppIconSet(image, options));
            return std::pair(plan, renderIconPreview(*plan, ratio));
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
    // In the folder last used in this run, unless it has gone since.
    const QString start = QFileInfo(m_lastFolder).isDir() ? m_lastFolder : QDir::homePath();
    auto* panel = new QFileDialog(shown, tr("Choose the folder for the asset catalog"), start);
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

void HomeController::startJob()
{
    const std::optional<OutputKind> kind = this->kind();
    if (!kind)
        return;
    const ImageRef image = m_imageView ? m_imageView->image() : nullptr;
    if (!image) {
        showStatus(tr("Drop an image first."));
        return;
    }

    // Every writer call of the job reports here, on the main thread; the job's failure form
    // arrives on a worker thread and is passed over.
    auto summary = std::make_shared<JobSummary>();
    QPointer<HomeController> controller(this);
    auto show = [summary, controller](WriteReport report) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [summary, controller, report = std::move(report)] {
                summary->add(report);
                if (!controller)
                    return;
                controller->showStatus(statusText(*summary));
                controller->m_writtenFolder = summary->setFolder;
                if (controller->m_openFolderButton)
                    controller->m_openFolderButton->setVisible(summary->filesInSet > 0);
            },
            Qt::QueuedConnection);
    };

    const std::optional<std::filesystem::path> folder = m_selectedFolder;
    if (kind == OutputKind::AppIconSet) {
        const AppIconOptions options = chosenOptions();
        // The preview's plan when no change has come since it was made (every change starts a
        // new preview); else made now.
        const std::shared_ptr<const AppIconPlan> plan = m_plan && m_previewsShown == m_previewsStarted
            ? m_plan
            : std::make_shared<const AppIconPlan>(planAppIconSet(image, options));
        if (plan->refusal != AppIconRefusal::None) {
            showStatus(tr("Couldn't make the app icon set: %1.").arg(describe(plan->refusal).toHtmlEscaped()));
            return;
        }
        makeAppIconSet(
            plan->image, plan->table,
            [folder, show, plan](std::optional<RenderedImages> images, std::optional<QString> message) {
                show(writeAppIconSet(images, message, folder, plan->layout));
            },
            defaultTaskQueues());
        return;
    }
    // The image set renders on this thread; a large one shows that it is working first.
    const QSize pixels = image->pixelSize();
    const bool large = qint64(pixels.width()) * pixels.height() > busyPixels;
    if (large) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        showStatus(tr("Working…"));
        if (m_statusLine)
            m_statusLine->repaint();
    }
    const std::shared_ptr<const std::optional<QString>> name = m_selectedAssetName;
    const bool rendered
        = makeImageSet(image,
                       [folder, name, show](std::optional<RenderedImages> images, std::optional<QString> message) {
                           show(writeImageSet(images, message, folder, [&name] { return *name; }));
                       });
    if (large)
        QApplication::restoreOverrideCursor();
    if (!rendered) {
        summary->failures.append(tr("Couldn't get image: %1.").arg(imageSetFailureReason(*image)));
        showStatus(statusText(*summary));
    }
}

void HomeController::openFolder()
{
    if (!m_writtenFolder)
        return;
    const QString folder = displayPath(*m_writtenFolder);
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        showStatus(m_statusLine->text() + QStringLiteral("<br>")
                   + tr("Couldn't open the folder: no file manager is set up to open it. It is %1.")
                         .arg(folder.toHtmlEscaped()));
}

void HomeController::showAbout()
{
    QString version = QCoreApplication::applicationVersion();
    if (version.isEmpty())
        version = QStringLiteral(QUORVA_VERSION);
    auto* box
        = new QMessageBox(QMessageBox::Information, tr("About Quorva"),
                          tr("<b>Quorva %1</b><p>Turns one image into the files of an iOS asset catalog: app icon "
                             "sets, single-size icons with dark and tinted appearances, and image sets.</p>")
                              .arg(version),
                          QMessageBox::Ok, window());
    box->setObjectName(QStringLiteral("aboutBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->open();
}

void HomeController::showStatus(const QString& richText)
{
    if (m_statusLine)
        m_statusLine->setText(richText);
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
        showStatus(tr("Working…"));
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
