#include "catalog/setcheck.h"

#include "catalog/setcontents.h"
#include "png/pngstructure.h"
#include "support/fileio.h"
#include "support/paths.h"

#include <QColorSpace>
#include <QFile>
#include <QSize>

#include <cerrno>
#include <cstring>
#include <map>
#include <set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxContentsBytes = 4 << 20;

ByteReader readerOf(int fd)
{
    return [fd](char* buffer, std::int64_t size) -> std::int64_t {
        for (;;) {
            const ssize_t got = ::read(fd, buffer, static_cast<std::size_t>(size));
            if (got >= 0 || errno != EINTR)
                return got;
        }
    };
}

// A file of the set opened by its name alone: a link or a folder is no file of the set.
struct OpenedFile {
    FileDescriptor fd;
    QString problem;
};

bool acceptedProfile(const QByteArray& icc)
{
    const QColorSpace space = QColorSpace::fromIccProfile(icc);
    if (space == QColorSpace(QColorSpace::SRgb) || space == QColorSpace(QColorSpace::DisplayP3))
        return true;
    const QString name = space.description();
    return name.contains(QLatin1String("sRGB")) || name.contains(QLatin1String("Display P3"))
        || name.contains(QLatin1String("Gray Gamma 2.2"));
}

class SetCheck {
public:
    SetCheck(const fs::path& set, const QString& shown)
        : m_folder(::open(set.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)), m_set(set), m_shown(shown)
    {
    }

    std::vector<Finding> run()
    {
        if (m_folder.get() < 0) {
            error(m_shown, "bad-contents-json",
                  QStringLiteral("the set folder can't be opened (%1)").arg(reason(errno)));
            return m_findings;
        }
        const QString contentsPath = within(QStringLiteral("Contents.json"));
        QByteArray json;
        if (QString problem = readContents(json); !problem.isEmpty()) {
            error(contentsPath, "bad-contents-json", problem);
            return m_findings;
        }
        const SetContents contents = parseSetContents(json);
        if (!contents.error.isEmpty()) {
            error(contentsPath, "bad-contents-json", contents.error);
            return m_findings;
        }
        for (const SetEntry& entry : contents.entries)
            checkEntry(entry);
        checkUnassigned(contents);
        if (m_set.extension() == ".appiconset")
            checkIconSlots(contents, contentsPath);
        else
            checkScales(contents);
        return m_findings;
    }

private:
    QString within(const QString& name) const { return m_shown + QLatin1Char('/') + name; }
    static QString reason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }
    void error(const QString& path, const char* rule, const QString& message)
    {
        m_findings.push_back({Finding::Severity::Error, path, QLatin1String(rule), message});
    }
    void warning(const QString& path, const char* rule, const QString& message)
    {
        m_findings.push_back({Finding::Severity::Warning, path, QLatin1String(rule), message});
    }

    OpenedFile open(const QString& name) const
    {
        FileDescriptor fd(::openat(m_folder.get(), QFile::encodeName(name).constData(),
                                   O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (!fd.isOpen())
            return {{},
                    errno == ELOOP ? QStringLiteral("is a symbolic link, which Xcode's catalog should not hold")
                                   : QStringLiteral("is missing (%1)").arg(reason(errno))};
        struct stat status {};
        if (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode))
            return {{}, QStringLiteral("is not a file")};
        ::fcntl(fd.get(), F_SETFL, 0); // a FIFO was refused above; a file reads as usual
        return {std::move(fd), {}};
    }

    QString readContents(QByteArray& json) const
    {
        const OpenedFile file = open(QStringLiteral("Contents.json"));
        if (!file.fd.isOpen())
            return QStringLiteral("the set has no Contents.json: it %1").arg(file.problem);
        if (const int error = readFileIn(m_folder, "Contents.json", maxContentsBytes, json))
            return error == EFBIG ? QStringLiteral("it is larger than %1 MiB, which no set's Contents.json is")
                                        .arg(maxContentsBytes >> 20)
                                  : QStringLiteral("it can't be read (%1)").arg(reason(error));
        return {};
    }

    // The PNG file's structure, read once however many slots name it; nothing when it is no PNG.
    const PngStructure* png(const QString& name)
    {
        if (auto found = m_pngs.find(name); found != m_pngs.end())
            return found->second ? &*found->second : nullptr;
        std::optional<PngStructure>& structure = m_pngs[name];
        const OpenedFile file = open(name);
        if (!file.fd.isOpen()) {
            error(within(name), "missing-file", QStringLiteral("the file named in Contents.json %1").arg(file.problem));
            return nullptr;
        }
        structure = readPngStructure(readerOf(file.fd.get()));
        if (!structure->whole) {
            error(within(name), "broken-png", QStringLiteral("it is not a whole PNG: %1").arg(structure->problem));
            structure.reset();
            return nullptr;
        }
        if (structure->bitDepth == 16)
            warning(within(name), "16-bit",
                    QStringLiteral("it has 16 bits a sample, twice the size for nothing iOS shows"));
        if (structure->interlaced)
            warning(within(name), "interlaced", QStringLiteral("it is interlaced, which only makes it larger here"));
        if (!structure->iccProfile.isEmpty() && !structure->hasSrgbChunk && !acceptedProfile(structure->iccProfile))
            warning(within(name), "color-profile",
                    QStringLiteral("its colour profile \"%1\" is not sRGB, Display P3 or Gray Gamma 2.2")
                        .arg(QColorSpace::fromIccProfile(structure->iccProfile).description()));
        return &*structure;
    }

    void checkEntry(const SetEntry& entry)
    {
        if (entry.filename.isEmpty())
            return;
        if (!isSingleComponent(entry.filename)) {
            error(within(QStringLiteral("Contents.json")), "bad-contents-json",
                  QStringLiteral("an entry names \"%1\", which is no file of the set folder").arg(entry.filename));
            return;
        }
        if (!entry.filename.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) {
            // An image set may hold JPEG, PDF or SVG files too; only their presence is checked.
            const OpenedFile file = open(entry.filename);
            if (file.fd.isOpen())
                return;
            if (m_missing.insert(entry.filename).second)
                error(within(entry.filename), "missing-file",
                      QStringLiteral("the file named in Contents.json %1").arg(file.problem));
            return;
        }
        const PngStructure* structure = png(entry.filename);
        if (!structure)
            return;
        int width = 0, height = 0;
        if (m_set.extension() == ".appiconset" && entry.expectedPixels(width, height)
            && (structure->width != std::uint32_t(width) || structure->height != std::uint32_t(height)))
            error(within(entry.filename), "wrong-size",
                  QStringLiteral("it is %1x%2 but should be %3x%4 for %5 %6@%7")
                      .arg(structure->width)
                      .arg(structure->height)
                      .arg(width)
                      .arg(height)
                      .arg(entry.idiom, entry.size, entry.scale.isEmpty() ? QStringLiteral("1x") : entry.scale));
        if (isStoreIcon(entry) && structure->hasAlpha())
            error(within(entry.filename), "store-icon-alpha",
                  QStringLiteral("the App Store icon has an alpha channel%1; App Store Connect rejects it (ITMS-90717)")
                      .arg(structure->hasTransparencyChunk ? QStringLiteral(" (a tRNS chunk)") : QString()));
        if (entry.luminosity == QLatin1String("tinted") && structure->hasAlpha())
            error(within(entry.filename), "tinted-alpha",
                  QStringLiteral("the tinted icon has an alpha channel; it must be opaque greyscale"));
    }

    static bool isSingleSizeEntry(const SetEntry& entry)
    {
        return entry.idiom == QLatin1String("universal") && entry.size == QLatin1String("1024x1024");
    }
    static bool isPerSize(const SetEntry& entry)
    {
        return entry.idiom == QLatin1String("iphone") || entry.idiom == QLatin1String("ipad")
            || entry.idiom == QLatin1String("ios-marketing");
    }
    bool isStoreIcon(const SetEntry& entry) const
    {
        return m_set.extension() == ".appiconset"
            && (entry.idiom == QLatin1String("ios-marketing")
                || (isSingleSizeEntry(entry) && entry.platform != QLatin1String("watchos") && !entry.hasAppearances));
    }

    void checkUnassigned(const SetContents& contents)
    {
        const QStringList named = filesNamedIn(contents);
        std::error_code failed;
        std::set<QString> found;
        for (const fs::directory_entry& child : fs::directory_iterator(m_set, failed)) {
            const QString name = displayPath(child.path().filename());
            if (name != QLatin1String("Contents.json") && !name.startsWith(QLatin1Char('.')) && !named.contains(name))
                found.insert(name);
        }
        for (const QString& name : found)
            warning(within(name), "unassigned-file",
                    QStringLiteral("no entry of Contents.json names it; Xcode warns of an unassigned child"));
    }

    void checkIconSlots(const SetContents& contents, const QString& contentsPath)
    {
        bool perSize = false, appearances = false, iphone = false, ipad = false, singleSize = false;
        std::set<QString> filled;
        for (const SetEntry& entry : contents.entries) {
            perSize = perSize || isPerSize(entry);
            appearances = appearances || entry.hasAppearances;
            iphone = iphone || entry.idiom == QLatin1String("iphone");
            ipad = ipad || entry.idiom == QLatin1String("ipad");
            singleSize = singleSize || (isSingleSizeEntry(entry) && entry.platform != QLatin1String("watchos"));
            if (!entry.filename.isEmpty() && !entry.hasAppearances)
                filled.insert(entry.idiom + QLatin1Char(' ') + entry.size + QLatin1Char(' ')
                              + (entry.scale.isEmpty() ? QStringLiteral("1x") : entry.scale));
        }
        if (perSize && appearances)
            error(contentsPath, "appearance-with-sizes",
                  QStringLiteral("dark or tinted icons beside per-size icons: iOS keeps the sized images and never "
                                 "shows the appearances; use a single-size set"));
        QStringList required;
        if (perSize) {
            if (iphone)
                required << QStringLiteral("iphone 60x60 2x");
            if (ipad)
                required << QStringLiteral("ipad 76x76 2x") << QStringLiteral("ipad 83.5x83.5 2x");
            required << QStringLiteral("ios-marketing 1024x1024 1x");
        } else if (singleSize) {
            required << QStringLiteral("universal 1024x1024 1x");
        }
        for (const QString& slot : required)
            if (!filled.count(slot))
                error(contentsPath, "missing-slot",
                      QStringLiteral("no file fills the required slot %1; App Store Connect rejects the upload")
                          .arg(slot));
    }

    void checkScales(const SetContents& contents)
    {
        std::map<int, std::pair<QString, QSize>> byScale;
        for (const SetEntry& entry : contents.entries) {
            const int scale = entry.scale == QLatin1String("1x") ? 1
                : entry.scale == QLatin1String("2x")             ? 2
                : entry.scale == QLatin1String("3x")             ? 3
                                                                 : 0;
            const auto found = m_pngs.find(entry.filename);
            if (scale && found != m_pngs.end() && found->second)
                byScale[scale] = {entry.filename, QSize(int(found->second->width), int(found->second->height))};
        }
        const auto one = byScale.find(1);
        if (one == byScale.end())
            return;
        for (const auto& [scale, file] : byScale) {
            // Whole-pixel truncation at 1x loses less than a pixel, so less than `scale` here.
            const QSize expected = one->second.second * scale;
            if (std::abs(file.second.width() - expected.width()) >= scale
                || std::abs(file.second.height() - expected.height()) >= scale)
                warning(within(file.first), "scale-mismatch",
                        QStringLiteral("at %1x it is %2x%3, not %4 times the 1x file's %5x%6")
                            .arg(scale)
                            .arg(file.second.width())
                            .arg(file.second.height())
                            .arg(scale)
                            .arg(one->second.second.width())
                            .arg(one->second.second.height()));
        }
    }

    FileDescriptor m_folder;
    fs::path m_set;
    QString m_shown;
    std::vector<Finding> m_findings;
    std::map<QString, std::optional<PngStructure>> m_pngs;
    std::set<QString> m_missing;
};

} // namespace

std::vector<Finding> checkSet(const fs::path& set, const QString& shown)
{
    return SetCheck(set, shown).run();
}

} // namespace quorva
