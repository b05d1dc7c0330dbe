#include "ui/homecontroller.h"

#include "generation/appiconset.h"
#include "generation/assetname.h"
#include "generation/catalogwriter.h"
#include "generation/imageloading.h"
#include "generation/imageresizing.h"
#include "generation/imageset.h"
#include "png/pixelanalysis.h"
#include "ui/dragview.h"
#include "ui/imagewell.h"
#include "ui/jobsummary.h"
#include "ui/segmentedcontrol.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QMetaObject>

namespace quorva {
namespace {

std::filesystem::path toPath(const QString& localFile)
{
    return std::filesystem::path(QFile::encodeName(localFile).toStdString());
}

} // namespace

HomeController::HomeController(QWidget* parent) : QWidget(parent) {}

bool HomeController::connectOutlets()
{
    setDragView(findChild<DragView*>(QStringLiteral("dragView")));
    setImageView(findChild<ImageWell*>(QStringLiteral("imageView")));
    setSegmentedControl(findChild<SegmentedControl*>(QStringLiteral("segmentedControl")));
    setStatusLine(findChild<QLabel*>(QStringLiteral("statusLine")));
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
        m_segmentedControl->setSelectedSegment(0);
        connect(m_segmentedControl, &SegmentedControl::selectedSegmentChanged, this,
                &HomeController::showSourceDetails);
    }
    showStatus(tr("Drop a PNG or JPEG image to begin."));
}

void HomeController::dragViewDidReceiveFile(const QUrl& fileUrl)
{
    const QString path = fileUrl.toLocalFile();
    const QString fileName = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const LoadedImage loaded = loadImage(toPath(path));
    if (!loaded.image) {
        // The well and the name keep the image that was there.
        showStatus(tr("%1 is not an image Quorva can read: %2.")
                       .arg(fileName.toHtmlEscaped(), loaded.error.toHtmlEscaped()));
        return;
    }
    if (m_imageView)
        m_imageView->setImage(loaded.image);
    *m_selectedAssetName = assetNameForFile(path);
    m_sourceFileName = fileName;
    m_sourceHasTransparency = hasTransparentPixels(sampleBitmap(*loaded.image));
    showSourceDetails();
}

void HomeController::showSourceDetails()
{
    const ImageRef image = m_imageView ? m_imageView->image() : nullptr;
    if (!image || image->pixelSize().isEmpty())
        return;
    const QSize pixels = image->pixelSize();
    QString text = tr("%1: %2 × %3 pixels.")
                       .arg(m_sourceFileName.toHtmlEscaped())
                       .arg(pixels.width())
                       .arg(pixels.height());
    if (m_sourceHasTransparency && m_segmentedControl && m_segmentedControl->selectedSegment() == 0)
        text += QLatin1Char(' ')
            + tr("It has transparent pixels: App Store Connect rejects app icons with transparency.");
    showStatus(text);
}

void HomeController::openSelection()
{
    QWidget* shown = window();
    if (!shown || !shown->isVisible())
        return;
    auto* panel = new QFileDialog(shown, tr("Choose the folder for the asset catalog"));
    panel->setObjectName(QStringLiteral("folderPanel"));
    panel->setOption(QFileDialog::DontUseNativeDialog);
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
    startJob();
}

void HomeController::startJob()
{
    if (!m_segmentedControl)
        return;
    const int segment = m_segmentedControl->selectedSegment();
    if (segment != 0 && segment != 1)
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
                if (controller)
                    controller->showStatus(statusText(*summary));
            },
            Qt::QueuedConnection);
    };

    const std::optional<std::filesystem::path> folder = m_selectedFolder;
    if (segment == 0) {
        makeAppIconSet(image, [folder, show](std::optional<RenderedImages> images, std::optional<QString> message) {
            show(writeAppIconSet(images, message, folder));
        });
        return;
    }
    const std::shared_ptr<const std::optional<QString>> name = m_selectedAssetName;
    const bool rendered =
        makeImageSet(image, [folder, name, show](std::optional<RenderedImages> images, std::optional<QString> message) {
            show(writeImageSet(images, message, folder, [&name] { return *name; }));
        });
    if (!rendered) {
        summary->failures.append(tr("Couldn't get image: %1.").arg(imageSetFailureReason(*image)));
        showStatus(statusText(*summary));
    }
}

void HomeController::showStatus(const QString& richText)
{
    if (m_statusLine)
        m_statusLine->setText(richText);
}

} // namespace quorva
