#include "catalog/catalogcheck.h"

#include "catalog/setcheck.h"
#include "support/paths.h"

#include <QFile>

#include <algorithm>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr int maxGroupDepth = 64;

bool isCheckedSet(const fs::path& folder)
{
    return folder.extension() == ".appiconset" || folder.extension() == ".imageset";
}

void checkOne(const fs::path& set, const QString& shown, CatalogCheck& check)
{
    check.sets << shown;
    std::vector<Finding> found = checkSet(set, shown);
    check.findings.insert(check.findings.end(), std::make_move_iterator(found.begin()),
                          std::make_move_iterator(found.end()));
}

void walk(const fs::path& folder, const QString& shown, int depth, CatalogCheck& check)
{
    std::error_code error;
    std::vector<fs::path> children;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
        if (!entry.is_symlink(error) && entry.is_directory(error) && entry.path().filename().string()[0] != '.')
            children.push_back(entry.path());
    std::sort(children.begin(), children.end());
    for (const fs::path& child : children) {
        const QString childShown = shown + QLatin1Char('/') + displayPath(child.filename());
        if (isCheckedSet(child))
            checkOne(child, childShown, check);
        else if (depth < maxGroupDepth) // a group, or a kind of set whose insides may hold image sets
            walk(child, childShown, depth + 1, check);
    }
}

} // namespace

std::optional<QString> checkCatalog(const fs::path& path, CatalogCheck& check)
{
    const QString shown = displayPath(path);
    fs::path folder = path;
    while (folder.has_parent_path() && folder.filename().empty()) // "Assets.xcassets/"
        folder = folder.parent_path();
    std::error_code error;
    const fs::file_status status = fs::symlink_status(folder, error);
    if (!fs::is_directory(status))
        return QStringLiteral("%1: it is no asset catalog or set folder").arg(shown);
    QString trimmed = shown;
    while (trimmed.size() > 1 && trimmed.endsWith(QLatin1Char('/')))
        trimmed.chop(1);
    if (isCheckedSet(folder))
        checkOne(folder, trimmed, check);
    else if (folder.extension() == ".xcassets")
        walk(folder, trimmed, 0, check);
    else
        return QStringLiteral("%1: it is no asset catalog (.xcassets) or set folder (.appiconset, .imageset)")
            .arg(shown);
    return std::nullopt;
}

} // namespace quorva
