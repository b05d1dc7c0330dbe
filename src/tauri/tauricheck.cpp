#include "tauri/tauricheck.h"

#include "desktop/desktopcheck.h"
#include "png/pngstructure.h"
#include "support/fileio.h"
#include "support/paths.h"
#include "tauri/tauriconfig.h"

#include <QSize>

#include <set>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxIconBytes = 64 << 20;

Finding found(Finding::Severity severity, const fs::path& path, const char* rule, const QString& message)
{
    return {severity, displayPath(path), QString::fromLatin1(rule), message};
}

} // namespace

std::vector<Finding> checkTauriIcons(const fs::path& config)
{
    std::vector<Finding> findings;
    std::vector<fs::path> configs = {config};
    std::error_code error;
    for (const QString& name : tauriPlatformConfigNames())
        if (fs::is_regular_file(config.parent_path() / toPath(name), error))
            configs.push_back(config.parent_path() / toPath(name));
    std::set<fs::path> seen;
    for (const fs::path& each : configs) {
        const TauriIcons icons = tauriIcons(readSmallFile(each, 4 << 20).value_or(QByteArray()));
        if (icons.error) {
            findings.push_back(found(Finding::Severity::Error, each, "bad-manifest", *icons.error));
            continue;
        }
        for (const TauriIcon& icon : icons.icons) {
            const fs::path file = (each.parent_path() / toPath(icon.path)).lexically_normal();
            if (!seen.insert(file).second)
                continue;
            const std::optional<QByteArray> bytes = readSmallFile(file, maxIconBytes);
            if (!bytes) {
                findings.push_back(found(Finding::Severity::Error, each, "missing-file",
                                         QStringLiteral("it names %1, which is not there").arg(icon.path)));
                continue;
            }
            std::vector<Finding> inner;
            switch (icon.format) {
            case TauriIcon::Format::Ico:
                inner = checkIco(*bytes, displayPath(file), true);
                break;
            case TauriIcon::Format::Icns:
                inner = checkIcns(*bytes, displayPath(file));
                break;
            case TauriIcon::Format::Png: {
                const PngStructure png = readPngStructure(*bytes);
                if (!png.whole) {
                    inner.push_back(found(Finding::Severity::Error, file, "broken-png", png.problem));
                    break;
                }
                const QSize size(int(png.width), int(png.height));
                if (size != QSize(icon.side, icon.side))
                    inner.push_back(found(Finding::Severity::Warning, file, "wrong-size",
                                          QStringLiteral("it is %1 × %2 px, and its name says %3 × %3")
                                              .arg(size.width())
                                              .arg(size.height())
                                              .arg(icon.side)));
                break;
            }
            }
            findings.insert(findings.end(), inner.begin(), inner.end());
        }
    }
    return findings;
}

} // namespace quorva
