#include "ui/imagesetpage.h"

#include "apple/catalogwriter.h"
#include "apple/imageset.h"
#include "generation/encodedfirst.h"
#include "ui/backgroundwork.h"
#include "ui/iconpreview.h"

#include <QApplication>
#include <QMetaObject>

namespace quorva {
namespace {

// Work on the main thread that may take a moment: the rescaling, at about 10 ms a megapixel. Below
// this the busy cursor would only flicker.
constexpr qint64 busyPixels = 4'000'000;

} // namespace

SourceCheck ImageSetPage::checkSource(const ImageRef& image, bool) const
{
    return checkImageSetSource(image);
}

QString ImageSetPage::generateTip() const
{
    return tr("Choose a folder and write the set into it");
}

QString ImageSetPage::folderPrompt() const
{
    return tr("Choose the folder for the asset catalog");
}

void ImageSetPage::startPreview(const ImageRef& image, qreal ratio, const QPalette& colours, PreviewShown shown)
{
    inBackground(
        this, [image, ratio, colours] { return renderImageSetPreview(*image, ratio, colours); },
        [image, shown](QImage made) { shown(made, imageSetDescription(*image)); });
}

void ImageSetPage::startJob(const KindJob& job)
{
    // A large image shows that it is working first. The writer calls wait for their encodings on
    // the pool, so that the window answers meanwhile.
    const QSize pixels = job.image->pixelSize();
    const bool large = qint64(pixels.width()) * pixels.height() > busyPixels;
    if (large) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (window())
            window()->repaint();
    }
    const std::shared_ptr<const std::optional<QString>> name = job.assetName;
    const std::optional<std::filesystem::path> folder = job.folder;
    const auto show = [told = job.told](WriteReport report) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [told, report = std::move(report)] { told(report); }, Qt::QueuedConnection);
    };
    auto delivered = std::make_shared<int>(0);
    const bool rendered
        = makeImageSet(job.image,
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
    std::optional<WriteReport> failure;
    if (!rendered) {
        failure = WriteReport();
        failure->failures << tr("Couldn't get image: %1.").arg(imageSetFailureReason(*job.image));
    }
    // Runs after the delivery steps the job queued: then their number is known.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [expect = job.expect, told = job.told, delivered, failure] {
            expect(*delivered + 1);
            told(failure);
        },
        Qt::QueuedConnection);
}

} // namespace quorva
