#include "project/projectcheck.h"

#include "project/projectconfig.h"
#include "project/projectdetection.h"
#include "project/projecttarget.h"
#include "support/fileio.h"
#include "support/paths.h"
#include "web/webcheck.h"

namespace quorva {
namespace fs = std::filesystem;

ProjectPlaces placesToCheck(const fs::path& given)
{
    const fs::path root = absoluteFolder(given);
    ProjectPlaces out;
    ProjectConfig config;
    if (const std::optional<QByteArray> text = readSmallFile(root / projectConfigName, 4 << 20)) {
        ReadProjectConfig read = readProjectConfig(*text, root, displayPath(root / projectConfigName));
        if (!read.config) {
            out.errors = read.errors;
            return out;
        }
        config = std::move(*read.config);
        out.configured = true;
    } else {
        config = detectProject(root).config;
        config.shared[QStringLiteral("source")] = {QStringLiteral("icon.png"), 0}; // none is read
    }
    std::vector<fs::path> seen;
    const auto add = [&](CheckedPlace::Kind kind, const fs::path& path, const fs::path& manifest = {}) {
        if (std::find(seen.begin(), seen.end(), path) != seen.end())
            return;
        seen.push_back(path);
        out.places.push_back({kind, path, manifest});
    };
    for (const ProjectTarget& target : projectTargets(config).targets) {
        const fs::path place = root / toPath(target.place());
        switch (target.kind) {
        case TargetKind::iOS:
        case TargetKind::macOS:
        case TargetKind::watchOS:
            add(CheckedPlace::Kind::Catalog, root / toPath(target.place() + QStringLiteral(".appiconset")));
            break;
        case TargetKind::IconComposer:
            add(CheckedPlace::Kind::Catalog, root / toPath(target.place() + QStringLiteral(".icon")));
            break;
        case TargetKind::Android:
            add(CheckedPlace::Kind::Res, place);
            break;
        case TargetKind::Web: {
            const std::optional<QString> manifest = target.file(QStringLiteral("manifest"));
            if (manifest)
                add(CheckedPlace::Kind::Site, place, root / toPath(*manifest));
            else if (const std::optional<fs::path> found = siteManifest(place))
                add(CheckedPlace::Kind::Site, place, *found);
            break;
        }
        case TargetKind::Windows:
        case TargetKind::Icns:
            add(CheckedPlace::Kind::IconFile, place);
            break;
        case TargetKind::Tauri:
            add(CheckedPlace::Kind::Tauri, place);
            break;
        case TargetKind::Linux:
        case TargetKind::Expo:
            break; // PNGs at their sizes, which a build takes as they are
        }
    }
    return out;
}

} // namespace quorva
