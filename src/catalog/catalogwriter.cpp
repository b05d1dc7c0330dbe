#include "catalog/catalogwriter.h"

#include "catalog/setcontents.h"
#include "support/fileio.h"
#include "support/lineprinter.h"
#include "support/paths.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <future>
#include <set>

#include <fcntl.h>
#include <unistd.h>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxOldContentsBytes = 1 << 20;
// Files this large are written on a thread of their own while the call writes the rest.
constexpr qsizetype writtenAsideBytes = 4 << 20;
const PngResult noBitmap{std::nullopt, PngFailure::NoBitmap};

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

// The files that a Contents.json names, as read from an open set folder; empty when it has none.
std::set<QString> filesNamedInFolder(const FileDescriptor& set)
{
    QByteArray json;
    if (readFileIn(set, "Contents.json", maxOldContentsBytes, json) != 0)
        return {};
    const QStringList named = filesNamedIn(parseSetContents(json));
    return {named.begin(), named.end()};
}

// After a set is written over another: removes the files of the old set (those its Contents.json
// named, and the artwork) that the new Contents.json does not name, and lists the files that
// neither set had, which are the user's.
void tidy(const FileDescriptor& set, const std::set<QString>& before, const QByteArray& contents,
          const std::set<QString>& writtenNow, WriteReport& report)
{
    const QStringList named = filesNamedIn(parseSetContents(contents));
    for (const std::string& entry : namesIn(set)) {
        const QString name = displayPath(entry);
        if (name == QLatin1String("Contents.json") || name.startsWith(QLatin1Char('.')) || named.contains(name)
            || writtenNow.count(name))
            continue;
        if (!before.count(name) && !CatalogSetLayout::isArtwork(name))
            report.kept << name;
        else if (::unlinkat(set.get(), entry.c_str(), 0) == 0)
            report.removed << name;
    }
    std::sort(report.kept.begin(), report.kept.end());
    std::sort(report.removed.begin(), report.removed.end());
}

} // namespace

QString CatalogSetLayout::fileNameFor(const QString& key) const
{
    return appendPngToKeys ? key + QStringLiteral(".png") : key;
}

bool CatalogSetLayout::copiesToPlatformFolder(const QString& key) const
{
    return copyArtworkToPlatformFolder && isArtwork(key);
}

bool CatalogSetLayout::isArtwork(const QString& key)
{
    return key.contains(QLatin1String("tunes"));
}

QString CatalogSetLayout::keyFor(const QString& fileName) const
{
    return appendPngToKeys && fileName.endsWith(QLatin1String(".png")) ? fileName.chopped(4) : fileName;
}

std::size_t CatalogSetLayout::fileCount(const QStringList& keys) const
{
    return static_cast<std::size_t>(keys.size()
                                    + std::count_if(keys.begin(), keys.end(),
                                                    [this](const QString& key) { return copiesToPlatformFolder(key); }))
        + 1;
}

SetContentsFile contentsOf(const CatalogSetLayout& layout)
{
    SetContentsFile file;
    if (layout.contents) {
        file.bytes = layout.contents;
        return file;
    }
    if (!QFile::exists(layout.templateResource)) {
        file.missing = true;
        file.error = QStringLiteral("Couldn't find the template %1").arg(layout.templateResource);
        return file;
    }
    QByteArray bytes;
    if (std::optional<QString> error = readFile(layout.templateResource, bytes))
        file.error = *error;
    else
        file.bytes = std::move(bytes);
    return file;
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
                            const std::optional<QString>& message, const std::optional<fs::path>& destination,
                            const std::function<QString()>& setFolderName)
{
    Call call;
    if (message) {
        call.print(*message);
        return call.report;
    }
    if (!images || !destination)
        return call.report;

    const QString setName = setFolderName();
    if (!isSingleComponent(setName)) {
        call.print(QStringLiteral("Couldn't create the set folder: \"%1\" is not a folder name").arg(setName));
        return call.report;
    }
    const fs::path platformPath = *destination / "Quorva" / toPath(layout.kindFolder) / toPath(layout.platformFolder);
    const fs::path setPath = platformPath / toPath(setName);
    call.report.setFolder = setPath;

    // Below the destination only: a destination removed while the job ran stays removed, and a
    // link planted below it does not lead the writes elsewhere.
    FileDescriptor folder(::open(destination->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.isOpen()) {
        call.print(QStringLiteral("Couldn't create the folder \"%1\": %2")
                       .arg(displayPath(platformPath), QString::fromLocal8Bit(std::strerror(errno))));
        return call.report;
    }
    fs::path folderPath = *destination;
    FileDescriptor platform, set;
    const fs::path tree[] = {"Quorva", toPath(layout.kindFolder), toPath(layout.platformFolder), toPath(setName)};
    for (const fs::path& name : tree) {
        FileDescriptor inner;
        if (auto error = openFolderIn(folder, folderPath, name, *destination, true, inner)) {
            call.print(*error);
            return call.report;
        }
        folderPath /= name;
        if (&name == &tree[2]) // the platform folder, where the artwork copies go
            platform = FileDescriptor(::dup(inner.get()));
        folder = std::move(inner);
    }
    set = std::move(folder);
    const std::set<QString> before = filesNamedInFolder(set);

    // Encoded in the map's order first, up to an image without a bitmap, which ends the call; then
    // the files are written, the large ones side by side, so that a call made on the window's
    // thread with a photograph's three scales holds it up for the longest file only; then what
    // happened is told in the map's order again.
    struct Entry {
        QString key, fileName;
        const QByteArray* bytes = nullptr;
        std::optional<QString> problem, copyProblem;
        bool printed = true; // whether the problem goes to standard output
    };
    std::vector<Entry> entries;
    std::optional<QString> endedBy;
    for (const auto& [key, image] : *images) {
        Entry entry;
        entry.key = key;
        entry.fileName = layout.fileNameFor(key);
        const PngResult& png = image ? pngData(*image) : noBitmap;
        if (png.failure == PngFailure::NoBitmap) {
            endedBy = QStringLiteral("Couldn't encode \"%1\": the image has no bitmap").arg(entry.fileName);
            break;
        }
        if (!png.bytes) {
            entry.problem = QStringLiteral("Couldn't encode \"%1\" as PNG").arg(entry.fileName);
            entry.printed = false;
        } else if (!isSingleComponent(entry.fileName)) {
            entry.problem = QStringLiteral("Couldn't write \"%1\": it is not a file name").arg(entry.fileName);
        }
        entry.bytes = png.bytes ? &*png.bytes : nullptr;
        entries.push_back(std::move(entry));
    }
    // A file that holds these very bytes already, as every file does at the later calls of one
    // job, is left as it is: rewriting it changes nothing but its time, which would only make
    // Xcode build it again.
    const auto put
        = [](const FileDescriptor& folder, const fs::path& folderPath, const fs::path& name, const QByteArray& bytes) {
              return holdsBytes(folder, name, bytes) ? std::nullopt : replaceFile(folder, folderPath, name, bytes);
          };
    const auto write = [&](Entry& entry) {
        if (entry.problem)
            return;
        entry.problem = put(set, setPath, toPath(entry.fileName), *entry.bytes);
        if (!entry.problem && layout.copiesToPlatformFolder(entry.key))
            entry.copyProblem = put(platform, platformPath, toPath(entry.key), *entry.bytes);
    };
    std::vector<std::future<void>> aside;
    for (Entry& entry : entries) {
        if (entry.bytes && entry.bytes->size() >= writtenAsideBytes && &entry != &entries.back())
            aside.push_back(std::async(std::launch::async, [&write, &entry] { write(entry); }));
        else
            write(entry);
    }
    for (std::future<void>& done : aside)
        done.get();
    std::set<QString> writtenNow;
    for (const Entry& entry : entries) {
        if (entry.problem) {
            entry.printed ? call.print(*entry.problem) : call.note(*entry.problem);
            continue;
        }
        writtenNow.insert(entry.fileName);
        call.report.written.push_back(setPath / toPath(entry.fileName));
        if (entry.copyProblem)
            call.print(*entry.copyProblem);
        else if (layout.copiesToPlatformFolder(entry.key))
            call.report.written.push_back(platformPath / toPath(entry.key));
    }
    if (endedBy) {
        call.note(*endedBy);
        return call.report;
    }

    // A missing template leaves the set without Contents.json and says nothing; one that can't
    // be read is printed.
    const SetContentsFile contents = contentsOf(layout);
    if (!contents.bytes) {
        if (contents.missing)
            call.note(contents.error);
        else
            call.print(contents.error);
        return call.report;
    }
    if (auto error = holdsBytes(set, "Contents.json", *contents.bytes)
            ? std::nullopt
            : replaceFile(set, setPath, "Contents.json", *contents.bytes)) {
        call.print(*error);
        return call.report;
    }
    call.report.written.push_back(setPath / "Contents.json");
    tidy(set, before, *contents.bytes, writtenNow, call.report);
    return call.report;
}

WriteReport writeAppIconSet(const std::optional<RenderedImages>& images, const std::optional<QString>& message,
                            const std::optional<fs::path>& destination, const CatalogSetLayout& layout)
{
    return writeCatalogSet(layout, images, message, destination, [] { return QStringLiteral("AppIcon.appiconset"); });
}

WriteReport writeImageSet(const std::optional<RenderedImages>& images, const std::optional<QString>& message,
                          const std::optional<fs::path>& destination, const AssetNameSource& assetName)
{
    return writeCatalogSet(imageSetLayout(), images, message, destination, [&assetName] {
        const std::optional<QString> name = assetName ? assetName() : std::nullopt;
        return (name ? *name : QStringLiteral("asset")) + QStringLiteral(".imageset");
    });
}

} // namespace quorva
