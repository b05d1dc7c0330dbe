#include "desktop/desktopcheck.h"

#include "desktop/icnsfile.h"
#include "desktop/icofile.h"
#include "png/pngstructure.h"

#include <set>

namespace quorva {
namespace {

Finding found(Finding::Severity severity, const QString& path, const char* rule, const QString& message)
{
    return {severity, path, QString::fromLatin1(rule), message};
}

// A file named for one format that holds another: browsers sniff favicons and may show it, but
// Windows' resource compiler and macOS take only their own format.
std::optional<Finding> misnamed(const QByteArray& bytes, const QString& path, const char* expected, bool strict = true)
{
    const QString other
        = bytes.startsWith("\x89PNG\r\n\x1a\n") ? QStringLiteral("PNG") : otherImageFormat(bytes.left(64));
    if (other.isEmpty())
        return std::nullopt;
    return found(strict ? Finding::Severity::Error : Finding::Severity::Warning, path, "misnamed-format",
                 QStringLiteral("it is %1 data, not %2").arg(other, QLatin1String(expected)));
}

} // namespace

std::vector<Finding> checkIco(const QByteArray& bytes, const QString& path, bool application)
{
    if (auto other = misnamed(bytes, path, "an .ico file", application))
        return {*other};
    const IcoFile file = readIco(bytes);
    if (!file.error.isEmpty())
        return {found(Finding::Severity::Error, path, "bad-icon-file", file.error)};
    std::vector<Finding> findings;
    std::set<int> sides;
    for (const IcoEntry& entry : file.entries) {
        int width = entry.width, height = entry.height;
        if (entry.png) {
            const PngStructure png = readPngStructure(entry.data);
            if (!png.whole) {
                findings.push_back(
                    found(Finding::Severity::Error, path, "broken-png",
                          QStringLiteral("its %1 px image is a broken PNG: %2").arg(entry.width).arg(png.problem)));
                continue;
            }
            width = int(png.width);
            height = int(png.height);
            if (width != entry.width || height != entry.height)
                findings.push_back(found(Finding::Severity::Warning, path, "wrong-size",
                                         QStringLiteral("its directory says %1 × %2 px for an image of %3 × %4")
                                             .arg(entry.width)
                                             .arg(entry.height)
                                             .arg(width)
                                             .arg(height)));
        } else if (entry.data.size() < 40) {
            findings.push_back(found(Finding::Severity::Error, path, "bad-icon-file",
                                     QStringLiteral("its %1 px image is cut short").arg(entry.width)));
            continue;
        }
        sides.insert(std::max(width, height));
    }
    if (application && !sides.empty() && !sides.count(256))
        findings.push_back(found(Finding::Severity::Warning, path, "missing-size",
                                 QStringLiteral("it has no 256 px image: Windows scales a smaller one up for large "
                                                "icons and the Start menu's tiles")));
    return findings;
}

std::vector<Finding> checkIcns(const QByteArray& bytes, const QString& path)
{
    if (auto other = misnamed(bytes, path, "an .icns file"))
        return {*other};
    const IcnsFile file = readIcns(bytes);
    if (!file.error.isEmpty())
        return {found(Finding::Severity::Error, path, "bad-icon-file", file.error)};
    std::vector<Finding> findings;
    bool largest = false;
    for (const IcnsElement& element : file.elements) {
        for (const IcnsType& type : icnsPngTypes()) {
            if (element.type != type.type || !element.data.startsWith("\x89PNG"))
                continue;
            const PngStructure png = readPngStructure(element.data);
            if (!png.whole)
                findings.push_back(found(Finding::Severity::Error, path, "broken-png",
                                         QStringLiteral("its %1 image is a broken PNG: %2")
                                             .arg(QString::fromLatin1(element.type), png.problem)));
            else if (int(png.width) != type.pixels || int(png.height) != type.pixels)
                findings.push_back(found(Finding::Severity::Error, path, "wrong-size",
                                         QStringLiteral("its %1 image is %2 × %3 px, not %4 × %4")
                                             .arg(QString::fromLatin1(element.type))
                                             .arg(png.width)
                                             .arg(png.height)
                                             .arg(type.pixels)));
            largest = largest || type.pixels == 1024;
        }
    }
    if (!largest)
        findings.push_back(found(Finding::Severity::Warning, path, "missing-size",
                                 QStringLiteral("it has no 1024 px image (ic10): Retina displays scale a smaller "
                                                "one up in the Dock and the Finder")));
    return findings;
}

} // namespace quorva
