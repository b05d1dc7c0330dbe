#include "image/svgrenderer.h"

#include "svgrender/svgrenderabi.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <mutex>

#include <dlfcn.h>

namespace quorva {
namespace {

// The module's entry points, found once for the whole process; the module stays loaded.
struct Module {
    QuorvaSvgMeasure measure = nullptr;
    QuorvaSvgRender render = nullptr;
    QString error;
};

// Where the module may be: beside an installed binary (bin/../lib/quorva), or in the build tree.
QStringList modulePaths()
{
    QStringList paths;
    if (const QByteArray given = qgetenv("QUORVA_SVG_MODULE"); !given.isEmpty())
        paths << QString::fromLocal8Bit(given);
    const QString binary = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (!binary.isEmpty())
        paths << QFileInfo(binary).dir().filePath(QStringLiteral("../" QUORVA_SVG_MODULE_INSTALLED));
    paths << QStringLiteral(QUORVA_SVG_MODULE_BUILT);
    return paths;
}

const Module& module()
{
    static Module loaded;
    static std::once_flag once;
    std::call_once(once, [] {
        QStringList tried;
        for (const QString& path : modulePaths()) {
            void* handle = ::dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
            if (!handle) {
                tried << path;
                continue;
            }
            loaded.measure = reinterpret_cast<QuorvaSvgMeasure>(::dlsym(handle, QUORVA_SVG_MEASURE));
            loaded.render = reinterpret_cast<QuorvaSvgRender>(::dlsym(handle, QUORVA_SVG_RENDER));
            if (loaded.measure && loaded.render)
                return;
            tried << path;
        }
        loaded.measure = nullptr;
        loaded.render = nullptr;
        loaded.error = QStringLiteral("Quorva's SVG module (librsvg) can't be loaded; looked for it at %1")
                           .arg(tried.join(QStringLiteral(", ")));
    });
    return loaded;
}

} // namespace

SvgSize measureSvg(const QByteArray& document)
{
    SvgSize measured;
    const Module& svg = module();
    if (!svg.measure) {
        measured.error = svg.error;
        return measured;
    }
    QuorvaSvgSize size;
    char error[512] = {};
    if (svg.measure(document.constData(), std::size_t(document.size()), &size, error, sizeof error) != 0) {
        measured.error = QString::fromUtf8(error);
        return measured;
    }
    if (size.hasSize)
        measured.size = QSizeF(size.width, size.height);
    if (size.hasViewBox)
        measured.viewBox = QSizeF(size.viewBoxWidth, size.viewBoxHeight);
    return measured;
}

QImage renderSvg(const QByteArray& document, int width, int height, SvgFit fit, QString* error)
{
    const Module& svg = module();
    if (!svg.render) {
        if (error)
            *error = svg.error;
        return {};
    }
    QImage bitmap(width, height, QImage::Format_ARGB32_Premultiplied);
    if (bitmap.isNull())
        return {};
    bitmap.fill(Qt::transparent);
    char reason[512] = {};
    if (svg.render(document.constData(), std::size_t(document.size()), bitmap.bits(), width, height,
                   int(bitmap.bytesPerLine()), fit == SvgFit::Stretch ? QuorvaSvgStretch : QuorvaSvgOwnAspect, reason,
                   sizeof reason)
        != 0) {
        if (error)
            *error = QString::fromUtf8(reason);
        return {};
    }
    return bitmap;
}

} // namespace quorva
