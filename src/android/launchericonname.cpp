#include "android/launchericonname.h"

#include "android/androidmanifest.h"
#include "android/gradleproject.h"
#include "support/paths.h"

#include <algorithm>

namespace quorva {
namespace fs = std::filesystem;

LauncherIconName launcherIconName(const fs::path& res, const std::optional<QString>& requested, bool takeApplication)
{
    std::vector<fs::path> manifests;
    std::map<QString, QStringList> placeholders;
    const fs::path beside = res.lexically_normal().parent_path() / "AndroidManifest.xml";
    std::error_code error;
    if (fs::is_regular_file(beside, error))
        manifests.push_back(beside);
    if (const std::optional<GradleProject> project = GradleProject::above(res))
        if (const GradleModule* module = project->moduleOf(res)) {
            for (const fs::path& manifest : module->manifests())
                if (resolvedPath(manifest) != resolvedPath(beside))
                    manifests.push_back(manifest);
            placeholders = module->resourcePlaceholders;
        }

    // Each launcher icon the manifests name, as written and as its placeholder resolves.
    QStringList icons, rounds, unresolved;
    QString application;
    for (const fs::path& manifest : manifests) {
        const std::optional<AndroidManifest> read = readAndroidManifest(manifest);
        if (!read)
            continue;
        for (const AndroidManifestIcon& icon : read->icons) {
            if (!icon.launcher)
                continue;
            QStringList values{icon.value};
            if (const std::optional<QString> placeholder = placeholderName(icon.value)) {
                values = placeholders[*placeholder];
                if (!unresolved.contains(icon.value))
                    unresolved << icon.value;
            }
            QStringList& into = icon.attribute == QLatin1String("roundIcon") ? rounds : icons;
            for (const QString& value : values)
                if (!into.contains(value))
                    into << value;
            if (application.isEmpty() && icon.element == QLatin1String("application")
                && icon.attribute == QLatin1String("icon") && !values.isEmpty())
                application = values.front();
        }
    }

    LauncherIconName chosen;
    const auto nameOf = [](const QString& value) {
        const std::optional<ResourceRef> ref = resourceReference(value);
        return ref ? ref->name : QString();
    };
    if (requested) {
        chosen.name = *requested;
        chosen.roundName = manifests.empty() || !rounds.isEmpty() ? *requested + QStringLiteral("_round") : QString();
        return chosen;
    }
    if (icons.isEmpty() && unresolved.isEmpty())
        return chosen; // no manifest names one: Android Studio's names
    chosen.applications = application;
    if (!unresolved.isEmpty() || icons.size() > 1) {
        if (!takeApplication || application.isEmpty()) {
            chosen.undecided = !unresolved.isEmpty()
                ? QStringLiteral("the manifest names its launcher icon through %1, which the build files set to %2")
                      .arg(unresolved.join(QStringLiteral(", ")),
                           icons.isEmpty() ? QStringLiteral("nothing Quorva can read")
                                           : icons.join(QStringLiteral(", ")))
                : QStringLiteral("the manifest names several launcher icons: %1").arg(icons.join(QStringLiteral(", ")));
            return chosen;
        }
        icons = {application};
    }
    chosen.name = nameOf(icons.front());
    if (const std::optional<ResourceRef> ref = resourceReference(icons.front());
        ref && ref->type != QLatin1String("mipmap") && !takeApplication) {
        chosen.undecided = QStringLiteral("the manifest names %1 as its launcher icon, and Quorva writes launcher "
                                          "icons as mipmaps (@mipmap/%2)")
                               .arg(icons.front(), ref->name);
        return chosen;
    }
    if (chosen.name.isEmpty()) {
        chosen.undecided = QStringLiteral("the manifest names %1 as its launcher icon, which is no resource of the app")
                               .arg(icons.front());
        chosen.name = QStringLiteral("ic_launcher");
        return chosen;
    }
    chosen.roundName = rounds.size() == 1 ? nameOf(rounds.front())
        : rounds.isEmpty()                ? QString()
                                          : chosen.name + QStringLiteral("_round");
    if (chosen.roundName == chosen.name)
        chosen.roundName.clear(); // the round icon is the icon itself
    return chosen;
}

} // namespace quorva
