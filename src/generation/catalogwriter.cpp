#include "generation/catalogwriter.h"

#include "generation/fileio.h"
#include "generation/lineprinter.h"
#include "generation/pngdata.h"

#include <QFile>

#include <utility>

namespace quorva {
namespace {

std::filesystem::path component(const QString& name)
{
    return std::filesystem::path(QFile::encodeName(name).toStdString());
}

// A name from outside (a file's base name, a name given on the command line) must stay one
// path component below the platform folder.
bool isSingleComponent(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

class Call {
public:
    WriteReport report;

    // A failure the user is shown and that goes to standard output.
    void print(const QString& line)
    {
        printLine(line);
        report.failures.append(line);
    }
    // A failure the user is shown, about which standard output stays silent.
    void note(const QString& line) { report.failures.append(line); }
};

} // namespace

std::optional<QByteArray> contentsOf(const CatalogSetLayout& layout, QString* readError)
{
    QByteArray bytes;
    if (layout.contents)
        return layout.contents;
    if (!QFile::exists(layout.templateResource))
        return std::nullopt;
    if (std::optional<QString> error = readFile(layout.templateResource, bytes)) {
        if (readError)
            *readError = *error;
        return std::nullopt;
    }
    return bytes;
}

const CatalogSetLayout& appIconSetLayout()
{
    static const CatalogSetLayout layout{QStringLiteral("icon"), QStringLiteral(":/templates/Contents.json"),
                                         std::nullopt, false, true};
    return layout;
}

const CatalogSetLayout& imageSetLayout()
{
    static const CatalogSetLayout layout{QStringLiteral("asset"), QStringLiteral(":/templates/AssetContents.json"),
                                         std::nullopt, true, false};
    return layout;
}

CatalogSetLayout singleSizeAppIconSetLayout(QByteArray contents)
{
    return {QStringLiteral("icon"), {}, std::move(contents), false, false};
}

WriteReport writeCatalogSet(const CatalogSetLayout& layout, const std::optional<RenderedImages>& images,
                            const std::optional<QString>& message,
                            const std::optional<std::filesystem::path>& destination,
                            const std::function<QString()>& setFolderName)
{
    Call call;
    if (message) {
        call.print(*message);
        return call.report;
    }
    if (!images || !destination)
        return call.report;

    const std::filesystem::path platformFolder = *destination / "Quorva" / component(layout.kindFolder) / "iOS";
    const QString setName = setFolderName();
    if (!isSingleComponent(setName)) {
        call.print(QStringLiteral("Couldn't create the set folder: \"%1\" is not a folder name").arg(setName));
        return call.report;
    }
    const std::filesystem::path setFolder = platformFolder / component(setName);
    call.report.setFolder = setFolder;

    // Below the destination only: a destination removed while the job ran stays removed.
    for (const auto& [base, folder] : {std::pair{*destination, platformFolder}, std::pair{platformFolder, setFolder}}) {
        if (auto error = createFoldersBelow(base, folder)) {
            call.print(*error);
            return call.report;
        }
    }

    for (const auto& [key, image] : *images) {
        const QString fileName = layout.appendPngToKeys ? key + QStringLiteral(".png") : key;
        const std::filesystem::path file = setFolder / component(fileName);
        const PngResult png = image ? pngData(*image) : PngResult{std::nullopt, PngFailure::NoBitmap};
        if (!png.bytes) {
            if (png.failure == PngFailure::NoBitmap) {
                call.note(QStringLiteral("Couldn't encode \"%1\": the image has no bitmap").arg(fileName));
                return call.report;
            }
            call.note(QStringLiteral("Couldn't encode \"%1\" as PNG").arg(fileName));
            continue;
        }
        if (auto error = writeFile(file, *png.bytes)) {
            call.print(*error);
            continue;
        }
        call.report.written.push_back(file);
        if (layout.copyArtworkToPlatformFolder && key.contains(QLatin1String("tunes"))) {
            const std::filesystem::path copy = platformFolder / component(key);
            if (auto error = writeFile(copy, *png.bytes))
                call.print(*error);
            else
                call.report.written.push_back(copy);
        }
    }

    // A missing template leaves the set without Contents.json and says nothing; one that can't
    // be read is printed.
    QString readError;
    const std::optional<QByteArray> contents = contentsOf(layout, &readError);
    if (!contents) {
        if (readError.isEmpty())
            call.note(QStringLiteral("Couldn't find the template %1").arg(layout.templateResource));
        else
            call.print(readError);
        return call.report;
    }
    const std::filesystem::path contentsFile = setFolder / "Contents.json";
    if (auto error = writeFile(contentsFile, *contents))
        call.print(*error);
    else
        call.report.written.push_back(contentsFile);
    return call.report;
}

WriteReport writeAppIconSet(const std::optional<RenderedImages>& images, const std::optional<QString>& message,
                            const std::optional<std::filesystem::path>& destination, const CatalogSetLayout& layout)
{
    return writeCatalogSet(layout, images, message, destination, [] { return QStringLiteral("AppIcon.appiconset"); });
}

WriteReport writeImageSet(const std::optional<RenderedImages>& images, const std::optional<QString>& message,
                          const std::optional<std::filesystem::path>& destination, const AssetNameSource& assetName)
{
    return writeCatalogSet(imageSetLayout(), images, message, destination, [&assetName] {
        const std::optional<QString> name = assetName ? assetName() : std::nullopt;
        return (name ? *name : QStringLiteral("asset")) + QStringLiteral(".imageset");
    });
}

} // namespace quorva
