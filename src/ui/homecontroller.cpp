#include "ui/homecontroller.h"

#include "generation/appiconset.h"
#include "generation/assetname.h"
#include "generation/fileio.h"
#include "generation/imageloading.h"
#include "generation/imageset.h"
#include "generation/pixelanalysis.h"
#include "ui/dragview.h"
#include "ui/imagewell.h"
#include "ui/segmentedcontrol.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMetaObject>

namespace quorva {
namespace {

QString escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

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
    window()->setWindowTitle(QStringLiteral("Quorva"));
    if (m_segmentedControl) {
        m_segmentedControl->setSelectedSegment(0);
        connect(m_segmentedControl, &SegmentedControl::selectedSegmentChanged, this,
                [this] { showSourceDetails(); });
    }
    showStatus(tr("Drop an image to begin."));
}

void HomeController::dragViewDidReceiveFile(const QUrl& fileUrl)
{
    const QString path = fileUrl.toLocalFile();
    const QString fileName = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const LoadedImage loaded = loadImage(toPath(path));
    if (!loaded.image) {
        // The well and the name keep the image that was there.
        showStatus(tr("%1 is not an image Quorva can read (%2).").arg(escaped(fileName), escaped(loaded.error)));
        return;
    }
    if (m_imageView)
        m_imageView->setImage(loaded.image);
    *m_selectedAssetName = assetNameForFile(path);
    m_sourceFileName = fileName;
    showSourceDetails();
}

void HomeController::showSourceDetails()
{
    const ImageRef image = m_imageView ? m_imageView->image() : nullptr;
    if (!image || image->representations().empty())
        return;
    const QImage& pixels = image->representations().front();
    QString text = tr("%1: %2 × %3 pixels.").arg(escaped(m_sourceFileName)).arg(pixels.width()).arg(pixels.height());
    if (m_segmentedControl && m_segmentedControl->selectedSegment() == 0 && hasTransparentPixels(pixels))
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
    connect(panel, &QDialog::finished, this, [this, panel](int result) { panelDidEnd(result, panel->selectedFiles()); });
    panel->open();
}

void HomeController::panelDidEnd(int response, const QStringList& folders)
{
    if (response != QDialog::Accepted)
        return;
    m_selectedFolder = folders.isEmpty() ? std::nullopt : std::optional(toPath(folders.first()));
    startJob();
}

GenerationCompletion HomeController::completionFor(
    std::function<WriteReport(const std::optional<RenderedImages>&, const std::optional<QString>&)> writer)
{
    QPointer<HomeController> controller(this);
    return [writer = std::move(writer), controller](std::optional<RenderedImages> images,
                                                     std::optional<QString> message) {
        WriteReport report = writer(images, message);
        // The failure form arrives on a worker thread; the status line lives on the main thread.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [controller, report = std::move(report)] {
                if (controller)
                    controller->showReport(report);
            },
            Qt::QueuedConnection);
    };
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
    const std::optional<std::filesystem::path> folder = m_selectedFolder;
    if (segment == 0) {
        makeAppIconSet(image, completionFor([folder](const auto& images, const auto& message) {
                           return writeAppIconSet(images, message, folder);
                       }));
    } else {
        std::shared_ptr<const std::optional<QString>> name = m_selectedAssetName;
        makeImageSet(image, completionFor([folder, name](const auto& images, const auto& message) {
                         return writeImageSet(images, message, folder, [name] { return *name; });
                     }));
    }
}

void HomeController::showReport(const WriteReport& report)
{
    if (report.failed()) {
        QStringList lines;
        for (const QString& failure : report.failures)
            lines << escaped(failure);
        showStatus(lines.join(QStringLiteral("<br>")));
        return;
    }
    if (report.written.empty() || !report.setFolder)
        return;
    const QString folder = displayPath(*report.setFolder);
    const QString link = QUrl::fromLocalFile(folder).toString(QUrl::FullyEncoded);
    showStatus(tr("Wrote %n file(s) to <a href=\"%1\">%2</a>.", nullptr, static_cast<int>(report.written.size()))
                   .arg(escaped(link), escaped(folder)));
}

void HomeController::showStatus(const QString& html)
{
    if (m_statusLine)
        m_statusLine->setText(html);
}

} // namespace quorva
