#include "project/projectcheck.h"

#include "project/projectconfig.h"
#include "project/projectdetection.h"
#include "project/projecttarget.h"
#include "support/fileio.h"
#include "support/paths.h"

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
    // Each kind's files in a place, once: a flavor's table may name the app's place again.
    std::vector<std::pair<std::string_view, QString>> seen;
    for (const ProjectTarget& target : projectTargets(config).targets) {
        const std::pair checked(target.kind.table, target.place());
        if (std::find(seen.begin(), seen.end(), checked) != seen.end())
            continue;
        seen.push_back(checked);
        const OutputKind* entry = entryOf(target.kind);
        if (entry && entry->check) {
            out.places.push_back({{}, entry, target.settings, root});
        } else if (isAppleSet(target.kind) || target.kind == TargetKind::IconComposer) {
            out.places.push_back(
                {root
                     / toPath(target.place()
                              + (target.kind == TargetKind::IconComposer ? QStringLiteral(".icon")
                                                                         : QStringLiteral(".appiconset"))),
                 nullptr,
                 {},
                 root});
        }
    }
    return out;
}

} // namespace quorva
