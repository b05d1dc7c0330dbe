#include "apple/setcheck.h"

#include "apple/imagefiles.h"
#include "apple/setcontents.h"
#include "support/fileio.h"
#include "support/paths.h"

#include <QColorSpace>
#include <QFile>
#include <QSize>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <map>
#include <set>

#include <fcntl.h>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxContentsBytes = 4 << 20;

bool acceptedProfile(const QByteArray& icc)
{
    const QColorSpace space = QColorSpace::fromIccProfile(icc);
    if (space == QColorSpace(QColorSpace::SRgb) || space == QColorSpace(QColorSpace::DisplayP3))
        return true;
    const QString name = space.description();
    return name.contains(QLatin1String("sRGB")) || name.contains(QLatin1String("Display P3"))
        || name.contains(QLatin1String("Gray Gamma 2.2"));
}

// What Xcode counts as an image of a set: a file no entry names is an "unassigned child" only
// when it is one of these (a README.md beside the images is not).
bool isImageFileName(const QString& name)
{
    static const QStringList extensions
        = {"png", "jpg", "jpeg", "pdf", "svg", "heic", "heif", "webp", "gif", "tif", "tiff"};
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 && extensions.contains(name.mid(dot + 1).toLower());
}

QString slotOf(const SetEntry& entry)
{
    return entry.idiom + QLatin1Char(' ') + entry.size + QLatin1Char(' ')
        + (entry.scale.isEmpty() ? QStringLiteral("1x") : entry.scale);
}

bool isPerSize(const SetEntry& entry)
{
    return entry.idiom == QLatin1String("iphone") || entry.idiom == QLatin1String("ipad")
        || entry.idiom == QLatin1String("ios-marketing");
}

// The 1024 px icon the App Store shows for a platform: the marketing slot, or the default
// appearance of the single-size entry.
bool isStoreSlot(const SetEntry& entry, ApplePlatform platform)
{
    if (entry.size != QLatin1String("1024x1024") || entry.hasAppearances)
        return false;
    const QString marketing
        = platform == ApplePlatform::watchOS ? QStringLiteral("watch-marketing") : QStringLiteral("ios-marketing");
    return entry.idiom == marketing
        || (entry.idiom == QLatin1String("universal") && platformOfEntry(entry.idiom, entry.platform) == platform);
}

class SetCheck {
public:
    SetCheck(const fs::path& set, const QString& shown, const SetCheckContext& context)
        : m_set(set), m_shown(shown), m_context(context), m_isIconSet(set.extension() == ".appiconset")
    {
    }

    std::vector<Finding> run()
    {
        const QString contentsPath = within(QStringLiteral("Contents.json"));
        m_folder = FileDescriptor(::open(m_set.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!m_folder.isOpen()) {
            if (errno == EACCES)
                error(m_shown, "unreadable", QStringLiteral("the set folder can't be read (%1)").arg(reason(errno)));
            else
                error(m_shown, "bad-contents-json",
                      QStringLiteral("the set folder can't be opened (%1)").arg(reason(errno)));
            return m_findings;
        }
        QByteArray json;
        if (const int failed = readFileIn(m_folder, "Contents.json", maxContentsBytes, json)) {
            if (failed == EACCES || failed == EPERM)
                error(contentsPath, "unreadable", QStringLiteral("it can't be read (%1)").arg(reason(failed)));
            else if (failed == EFBIG)
                error(contentsPath, "bad-contents-json",
                      QStringLiteral("it is larger than %1 MiB, which no set's Contents.json is")
                          .arg(maxContentsBytes >> 20));
            else
                error(contentsPath, "bad-contents-json",
                      QStringLiteral("the set has no Contents.json: it %1")
                          .arg(failed == ELOOP || failed == EINVAL
                                   ? QStringLiteral("is not a file")
                                   : QStringLiteral("is missing (%1)").arg(reason(failed))));
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
        tellOpaqueAlpha();
        if (m_isIconSet)
            checkIconSet(contents, contentsPath);
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
    // Whether this is the first finding of its kind on the file: a file named by several slots is
    // reported once.
    bool first(const QString& name, const char* rule)
    {
        return m_reported.insert(name + QLatin1Char(' ') + rule).second;
    }

    // Whether the check needs to know if a pixel of this entry's file is transparent.
    bool needsPixels(const SetEntry& entry) const
    {
        if (!m_isIconSet)
            return false;
        const std::optional<ApplePlatform> platform = platformOfEntry(entry.idiom, entry.platform);
        if (platform == ApplePlatform::watchOS)
            return m_context.role.covers(ApplePlatform::watchOS);
        return platform == ApplePlatform::iOS && m_context.role.covers(ApplePlatform::iOS)
            && isStoreSlot(entry, ApplePlatform::iOS);
    }

    // The facts of a whole PNG file named by an entry, after the findings of a file that is not
    // one; nothing then.
    const ImageFileFacts* file(const SetEntry& entry)
    {
        const QString& name = entry.filename;
        auto& facts = m_files[name];
        if (!facts || (needsPixels(entry) && !facts->transparentPixels && facts->png.whole && facts->png.hasAlpha()))
            facts = m_context.files->facts(m_folder, m_set, name, m_context.catalog, needsPixels(entry));
        const QString path = within(name);
        const bool png = name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
        switch (facts->state) {
        case ImageFileFacts::State::Missing:
            if (first(name, "missing-file"))
                error(path, "missing-file",
                      QStringLiteral("the file named in Contents.json is missing (%1)").arg(facts->reason));
            return nullptr;
        case ImageFileFacts::State::Unreadable:
            if (first(name, "unreadable"))
                error(path, "unreadable", QStringLiteral("it can't be read (%1)").arg(facts->reason));
            return nullptr;
        case ImageFileFacts::State::LinkOutside:
            if (first(name, "link-outside"))
                warning(path, "link-outside",
                        QStringLiteral("it is a symbolic link to %1, outside the catalog; the check does not follow it")
                            .arg(facts->reason));
            return nullptr;
        case ImageFileFacts::State::OtherFormat:
            // Other files of an image set (JPEG, PDF, SVG) are only looked for; a PNG's name must
            // hold PNG data, or at least an image's.
            if (png && !facts->otherFormat.isEmpty() && first(name, "misnamed-format"))
                warning(path, "misnamed-format",
                        QStringLiteral("its data is %1, not PNG; Xcode builds it, but other tools may not take it")
                            .arg(facts->otherFormat));
            else if (png && facts->otherFormat.isEmpty() && first(name, "broken-png"))
                error(path, "broken-png", QStringLiteral("it is not a whole PNG: it is not a PNG file"));
            return nullptr;
        case ImageFileFacts::State::Png:
            break;
        }
        if (!facts->png.whole) {
            if (first(name, "broken-png"))
                error(path, "broken-png", QStringLiteral("it is not a whole PNG: %1").arg(facts->png.problem));
            return nullptr;
        }
        if (first(name, "png")) {
            const PngStructure& structure = facts->png;
            if (structure.bitDepth == 16)
                warning(path, "16-bit",
                        QStringLiteral("it has 16 bits a sample, twice the size for nothing iOS shows"));
            if (structure.interlaced)
                warning(path, "interlaced", QStringLiteral("it is interlaced, which only makes it larger here"));
            if (!structure.iccProfile.isEmpty() && !structure.hasSrgbChunk && !acceptedProfile(structure.iccProfile))
                warning(path, "color-profile",
                        QStringLiteral("its colour profile \"%1\" is not sRGB, Display P3 or Gray Gamma 2.2")
                            .arg(QColorSpace::fromIccProfile(structure.iccProfile).description()));
        }
        return facts.get();
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
        const ImageFileFacts* facts = file(entry);
        if (!facts)
            return;
        const PngStructure& structure = facts->png;
        const QString path = within(entry.filename);
        int width = 0, height = 0;
        if (m_isIconSet && entry.expectedPixels(width, height)
            && (structure.width != std::uint32_t(width) || structure.height != std::uint32_t(height))
            && first(entry.filename + slotOf(entry), "wrong-size"))
            error(path, "wrong-size",
                  QStringLiteral("it is %1x%2 but should be %3x%4 for %5 %6@%7; Xcode warns and App Store Connect "
                                 "rejects it (ITMS-90022)")
                      .arg(structure.width)
                      .arg(structure.height)
                      .arg(width)
                      .arg(height)
                      .arg(entry.idiom, entry.size, entry.scale.isEmpty() ? QStringLiteral("1x") : entry.scale));
        if (!m_isIconSet)
            return;
        const std::optional<ApplePlatform> platform = platformOfEntry(entry.idiom, entry.platform);
        if (platform == ApplePlatform::iOS && m_context.role.covers(ApplePlatform::iOS)
            && isStoreSlot(entry, ApplePlatform::iOS) && structure.hasAlpha())
            alpha(entry, *facts, "store-icon-alpha", QStringLiteral("the App Store icon"),
                  QStringLiteral("ITMS-90717"));
        if (platform == ApplePlatform::watchOS && m_context.role.covers(ApplePlatform::watchOS) && structure.hasAlpha())
            alpha(entry, *facts, "watch-icon-alpha", QStringLiteral("the watch app's icon"),
                  QStringLiteral("ITMS-90396"));
        if (entry.luminosity == QLatin1String("tinted") && structure.hasAlpha()
            && first(entry.filename, "tinted-alpha"))
            warning(path, "tinted-alpha",
                    QStringLiteral("the tinted icon has an alpha channel; iOS expects opaque greyscale, light art on "
                                   "black"));
    }

    // Transparent pixels in an icon that must be opaque are rejected at upload; an alpha channel
    // whose every pixel is opaque is carried by shipping apps, yet some uploads are refused for it.
    void alpha(const SetEntry& entry, const ImageFileFacts& facts, const char* rule, const QString& what,
               const QString& code)
    {
        if (!first(entry.filename, rule))
            return;
        const QString chunk = facts.png.hasTransparencyChunk ? QStringLiteral(" (a tRNS chunk)") : QString();
        if (facts.transparentPixels.value_or(true))
            error(within(entry.filename), rule,
                  QStringLiteral("%1 has transparent pixels%2; App Store Connect rejects it (%3)")
                      .arg(what, chunk, code));
        else
            m_opaqueAlpha[rule].push_back({entry.filename, what, code});
    }

    // An alpha channel over opaque pixels is told once a set, naming every such file.
    void tellOpaqueAlpha()
    {
        for (const auto& [rule, files] : m_opaqueAlpha) {
            QStringList names;
            for (const OpaqueAlpha& file : files)
                names << file.name;
            const OpaqueAlpha& first = files.front();
            const QString message = files.size() == 1
                ? QStringLiteral("%1 has an alpha channel, though every pixel is opaque; some uploads are rejected "
                                 "for the channel alone (%2): save it as RGB to be safe")
                      .arg(first.what, first.code)
                : QStringLiteral("%1 of %2's icons have an alpha channel, though every pixel is opaque (%3); some "
                                 "uploads are rejected for the channel alone (%4): save them as RGB to be safe")
                      .arg(files.size())
                      .arg(rule == "watch-icon-alpha" ? QStringLiteral("the watch app") : QStringLiteral("the app"),
                           names.join(QStringLiteral(", ")), first.code);
            warning(within(files.size() == 1 ? first.name : QStringLiteral("Contents.json")), rule.c_str(), message);
        }
    }

    void checkUnassigned(const SetContents& contents)
    {
        const QStringList named = filesNamedIn(contents);
        std::set<QString> found;
        for (const std::string& child : namesIn(m_folder)) {
            const QString name = displayPath(child);
            if (isImageFileName(name) && !name.startsWith(QLatin1Char('.')) && !named.contains(name))
                found.insert(name);
        }
        for (const QString& name : found)
            warning(within(name), "unassigned-file",
                    QStringLiteral("no entry of Contents.json names it; Xcode warns of an unassigned child"));
    }

    void checkIconSet(const SetContents& contents, const QString& contentsPath)
    {
        bool perSize = false, appearances = false, ipadEntries = false;
        std::set<ApplePlatform> present;
        std::set<QString> filled;
        bool anyFile = false;
        for (const SetEntry& entry : contents.entries) {
            perSize = perSize || isPerSize(entry);
            appearances = appearances || entry.hasAppearances;
            ipadEntries = ipadEntries || entry.idiom == QLatin1String("ipad");
            const std::optional<ApplePlatform> platform = platformOfEntry(entry.idiom, entry.platform);
            if (platform)
                present.insert(*platform);
            if (entry.filename.isEmpty())
                continue;
            if (platform && m_context.role.covers(*platform))
                anyFile = true;
            if (!entry.hasAppearances)
                filled.insert(slotOf(entry));
        }
        if (perSize && appearances)
            error(contentsPath, "appearance-with-sizes",
                  QStringLiteral("dark or tinted icons beside per-size icons: iOS keeps the sized images and never "
                                 "shows the appearances; use a single-size set"));
        const IconSetRole& role = m_context.role;
        if (!role.primary)
            return;
        // The platforms the set is the app's icon on: those the project names, else those its
        // entries name.
        const std::set<ApplePlatform> platforms = role.platforms.empty() ? present : role.platforms;
        if (!anyFile) {
            warning(contentsPath, "empty-icon-set",
                    QStringLiteral("the app's icon set holds no image: Xcode builds the app without an icon, and App "
                                   "Store Connect rejects its upload"));
            return;
        }
        const auto require = [&](const QStringList& required, const QString& code, bool isError = true) {
            for (const QString& slot : required) {
                if (filled.count(slot))
                    continue;
                const QString message
                    = QStringLiteral("no file fills the slot %1, which App Store Connect requires (%2)")
                          .arg(slot, code);
                isError ? error(contentsPath, "missing-slot", message) : warning(contentsPath, "missing-slot", message);
            }
        };
        if (platforms.count(ApplePlatform::iOS)) {
            if (perSize) {
                if (role.iPhone)
                    require({QStringLiteral("iphone 60x60 2x")}, QStringLiteral("ITMS-90022"));
                if (role.iPad && (ipadEntries || !role.iPadFromEntries))
                    require({QStringLiteral("ipad 76x76 2x"), QStringLiteral("ipad 83.5x83.5 2x")},
                            QStringLiteral("ITMS-90023"));
                require({QStringLiteral("ios-marketing 1024x1024 1x")}, QStringLiteral("ITMS-90704"));
            } else {
                require({QStringLiteral("universal 1024x1024 1x")}, QStringLiteral("ITMS-90704"));
            }
        }
        if (platforms.count(ApplePlatform::macOS)) {
            require({QStringLiteral("mac 512x512 1x"), QStringLiteral("mac 512x512 2x")}, QStringLiteral("ITMS-90236"));
            if (!role.platforms.empty()) // a Mac app target expects every size
                require({QStringLiteral("mac 16x16 1x"), QStringLiteral("mac 16x16 2x"), QStringLiteral("mac 32x32 1x"),
                         QStringLiteral("mac 32x32 2x"), QStringLiteral("mac 128x128 1x"),
                         QStringLiteral("mac 128x128 2x"), QStringLiteral("mac 256x256 1x"),
                         QStringLiteral("mac 256x256 2x")},
                        QStringLiteral("the Finder and the Dock draw them"), false);
        }
        if (platforms.count(ApplePlatform::watchOS) && !filled.count(QStringLiteral("watch-marketing 1024x1024 1x"))
            && !filled.count(QStringLiteral("universal 1024x1024 1x")))
            require({QStringLiteral("watch-marketing 1024x1024 1x")}, QStringLiteral("ITMS-90704"));
    }

    // Within one idiom and one appearance, each scale against the smallest present.
    void checkScales(const SetContents& contents)
    {
        struct Scaled {
            double scale;
            QString file;
            QSize size;
        };
        std::map<QString, std::vector<Scaled>> groups;
        for (const SetEntry& entry : contents.entries) {
            const double scale = entry.scaleFactor();
            const auto found = m_files.find(entry.filename);
            if (scale <= 0 || entry.scale.isEmpty() || found == m_files.end() || !found->second
                || found->second->state != ImageFileFacts::State::Png || !found->second->png.whole)
                continue;
            const PngStructure& png = found->second->png;
            groups[entry.variant].push_back({scale, entry.filename, QSize(int(png.width), int(png.height))});
        }
        for (auto& [group, scaled] : groups) {
            std::sort(scaled.begin(), scaled.end(), [](const Scaled& a, const Scaled& b) { return a.scale < b.scale; });
            const Scaled& base = scaled.front();
            for (const Scaled& other : scaled) {
                // Whole-pixel truncation at the base loses less than a pixel there: less than
                // this many here.
                const double ratio = other.scale / base.scale;
                if (std::abs(other.size.width() - base.size.width() * ratio) < ratio
                    && std::abs(other.size.height() - base.size.height() * ratio) < ratio)
                    continue;
                warning(within(other.file), "scale-mismatch",
                        QStringLiteral("at %1x it is %2x%3, not %4 times the %5x file's %6x%7")
                            .arg(other.scale)
                            .arg(other.size.width())
                            .arg(other.size.height())
                            .arg(ratio)
                            .arg(base.scale)
                            .arg(base.size.width())
                            .arg(base.size.height()));
            }
        }
    }

    fs::path m_set;
    QString m_shown;
    const SetCheckContext& m_context;
    bool m_isIconSet;
    FileDescriptor m_folder;
    std::vector<Finding> m_findings;
    std::map<QString, std::shared_ptr<const ImageFileFacts>> m_files;
    std::set<QString> m_reported;
    struct OpaqueAlpha {
        QString name, what, code;
    };
    std::map<std::string, std::vector<OpaqueAlpha>> m_opaqueAlpha; // by rule
};

} // namespace

std::vector<Finding> checkSet(const fs::path& set, const QString& shown, const SetCheckContext& context)
{
    return SetCheck(set, shown, context).run();
}

} // namespace quorva
