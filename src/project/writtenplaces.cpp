#include "project/writtenplaces.h"

#include "image/csscolour.h"
#include "support/paths.h"

#include <sys/stat.h>

namespace quorva {
namespace fs = std::filesystem;

std::vector<TargetImage> targetImages(const ProjectTarget& target)
{
    std::vector<TargetImage> images;
    for (const char* key : {"source", "dark", "tinted", "monochrome", "notification", "background"}) {
        const auto found = target.settings.find(QLatin1String(key));
        if (found == target.settings.end() || found->second.text().isEmpty())
            continue;
        // A background is a colour unless it names a file.
        if (QLatin1String(key) == QLatin1String("background") && parseCssColour(found->second.text()).isValid())
            continue;
        images.push_back({QLatin1String(key), found->second.text()});
    }
    return images;
}

fs::path WrittenPlaces::resolvedFolder(const fs::path& folder)
{
    if (const auto known = m_resolvedFolders.find(folder); known != m_resolvedFolders.end())
        return known->second;
    fs::path resolved;
    if (folder.parent_path() == folder || !folder.has_parent_path()) {
        resolved = resolvedPath(folder);
    } else {
        // A folder is its parent's, resolved, with its name; a link there is followed to the end.
        resolved = resolvedFolder(folder.parent_path()) / folder.filename();
        struct stat status {};
        if (::lstat(resolved.c_str(), &status) == 0 && S_ISLNK(status.st_mode))
            resolved = resolvedPath(resolved);
    }
    m_resolvedFolders.emplace(folder, resolved);
    return resolved;
}

fs::path WrittenPlaces::resolved(const fs::path& path)
{
    std::error_code error;
    const fs::path normal = fs::absolute(path, error).lexically_normal();
    return resolvedFolder(normal.parent_path()) / normal.filename();
}

void WrittenPlaces::add(const QString& writer, const std::vector<Placement>& placements)
{
    for (const Placement& placement : placements) {
        for (const PlannedFile& file : placement.plan.files)
            m_files.emplace_back(resolved(placement.root / toPath(file.path)), writer);
        for (const QString& removal : placement.plan.removals)
            m_files.emplace_back(resolved(placement.root / toPath(removal)), writer);
        for (const QString& folder : placement.plan.wholeFolders)
            m_folders.emplace_back(resolved(placement.root / toPath(folder)), writer);
    }
}

void WrittenPlaces::add(const QString& writer, const LockedTarget& locked, const fs::path& root)
{
    for (const auto& [path, digest] : locked.files)
        m_files.emplace_back(resolved(root / toPath(path)), writer);
    for (const QString& folder : locked.folders)
        m_folders.emplace_back(resolved(root / toPath(folder)), writer);
}

void WrittenPlaces::addFolder(const QString& writer, const fs::path& folder)
{
    m_folders.emplace_back(resolvedPath(folder), writer);
}

std::optional<QString> WrittenPlaces::writerOf(const fs::path& file) const
{
    const fs::path resolved = resolvedPath(file);
    for (const auto& [path, writer] : m_files)
        if (path == resolved)
            return writer;
    for (const auto& [folder, writer] : m_folders)
        if (isWithin(resolved, folder))
            return writer;
    return std::nullopt;
}

std::vector<ImageInTheWay> imagesInTheWay(const std::vector<ProjectTarget>& targets, const WrittenPlaces& places,
                                          const fs::path& root)
{
    std::vector<ImageInTheWay> found;
    for (const ProjectTarget& target : targets)
        for (const TargetImage& image : targetImages(target))
            if (const auto writer = places.writerOf(root / toPath(image.path)))
                if (std::none_of(found.begin(), found.end(), [&](const ImageInTheWay& had) {
                        return had.path == image.path && had.writer == *writer;
                    }))
                    found.push_back({target.label(), image.key, image.path, *writer});
    return found;
}

} // namespace quorva
