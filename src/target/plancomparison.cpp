#include "target/plancomparison.h"

#include "support/fileio.h"
#include "support/paths.h"

#include <QFile>

#include <algorithm>
#include <set>

#include <sys/stat.h>

namespace quorva {
namespace fs = std::filesystem;
namespace {

// The bytes of a regular file, not through a link; nothing when it is no such file. One of
// another length differs whatever its bytes: it is not read.
std::optional<QByteArray> regularFile(const fs::path& path, qint64 expected)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    if (status.st_size != expected)
        return QByteArray();
    return readSmallFile(path, expected, false).value_or(QByteArray());
}

} // namespace

std::vector<FileDifference> differencesFromDisk(const std::vector<Placement>& placements)
{
    std::vector<FileDifference> found;
    for (const Placement& placement : placements) {
        std::set<QString> planned;
        for (const PlannedFile& file : placement.plan.files) {
            planned.insert(file.path);
            if (isBookkeeping(file.path))
                continue;
            const fs::path path = placement.root / toPath(file.path);
            const std::optional<QByteArray> bytes = regularFile(path, file.bytes.size());
            if (!bytes)
                found.push_back(
                    {isPresent(path) ? FileDifference::Kind::Different : FileDifference::Kind::Missing, path});
            else if (!file.keepExisting && *bytes != file.bytes)
                found.push_back({FileDifference::Kind::Different, path});
        }
        for (const QString& removal : placement.plan.removals)
            if (!isBookkeeping(removal) && isPresent(placement.root / toPath(removal)))
                found.push_back({FileDifference::Kind::Stale, placement.root / toPath(removal)});
        for (const QString& folder : placement.plan.wholeFolders) {
            std::error_code error;
            std::vector<fs::path> extra;
            for (auto it = fs::recursive_directory_iterator(placement.root / toPath(folder), error);
                 !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
                const QString path = folder + QLatin1Char('/')
                    + displayPath(it->path().lexically_relative(placement.root / toPath(folder)));
                if (it->is_directory(error) && !it->is_symlink(error))
                    continue;
                if (!planned.count(path) && !isBookkeeping(path))
                    extra.push_back(it->path());
            }
            std::sort(extra.begin(), extra.end());
            for (const fs::path& path : extra)
                found.push_back({FileDifference::Kind::Stale, path});
        }
    }
    return found;
}

bool isBookkeeping(const QString& path)
{
    return path.startsWith(QLatin1Char('.')) || path.contains(QLatin1String("/."));
}

QString describe(FileDifference::Kind kind)
{
    switch (kind) {
    case FileDifference::Kind::Missing:
        return QStringLiteral("missing");
    case FileDifference::Kind::Different:
        return QStringLiteral("different");
    case FileDifference::Kind::Stale:
        return QStringLiteral("stale");
    }
    return {};
}

} // namespace quorva
