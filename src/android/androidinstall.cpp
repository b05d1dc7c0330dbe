#include "android/androidinstall.h"

#include "support/paths.h"

namespace quorva {
namespace fs = std::filesystem;
namespace {

// Gradle's source sets each have their res folder: src/main/res, src/debug/res, src/free/res.
bool isSourceSetRes(const fs::path& res)
{
    const fs::path resolved = resolvedPath(res);
    const fs::path set = resolved.parent_path();
    return resolved.filename() == "res" && set.parent_path().filename() == "src" && !set.filename().empty();
}

AndroidWrite refused(const QString& failure)
{
    AndroidWrite write;
    write.failures << failure;
    return write;
}

} // namespace

AndroidWrite installAndroidIcon(const fs::path& res, const AndroidIconPlan& plan, const QString& name, bool force,
                                const std::optional<fs::path>& playStore)
{
    std::error_code error;
    if (!fs::is_directory(res, error))
        return refused(pathLine(res,
                                QStringLiteral("Couldn't write the icon: there is no such folder (give the "
                                               "app's src/main/res)")));
    if (!force && !isSourceSetRes(res))
        return refused(
            pathLine(res, QStringLiteral("it is not an app's src/main/res folder; --force writes into it anyway")));

    // Android's build refuses a resource defined twice: say where, and write nothing.
    const QString colourFile = QStringLiteral("values/%1_background.xml").arg(name);
    if (plan.texts.count(colourFile))
        if (const auto elsewhere = colourDefinedElsewhere(res, name + QStringLiteral("_background"), colourFile))
            return refused(pathLine(res / toPath(*elsewhere),
                                    QStringLiteral("defines the colour %1_background already, which Quorva "
                                                   "writes in %2; remove it there, or give the icon another name")
                                        .arg(name, colourFile)));
    const QStringList clashes = clashingFiles(res, plan);
    if (!clashes.isEmpty() && !force)
        return refused(
            pathLine(res / toPath(clashes.front()),
                     QStringLiteral("is the same resource as a file Quorva writes beside it, which "
                                    "Android's build refuses; --force replaces %1")
                         .arg(clashes.size() == 1 ? QStringLiteral("it")
                                                  : QStringLiteral("it and %1 more").arg(clashes.size() - 1))));
    return writeAndroidIcons(res, plan, name, playStore, clashes);
}

} // namespace quorva
