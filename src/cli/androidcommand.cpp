#include "cli/androidcommand.h"

#include "android/androidiconplan.h"
#include "android/androidinstall.h"
#include "android/launchericonname.h"
#include "image/imageloading.h"
#include "support/paths.h"

namespace quorva {
namespace fs = std::filesystem;

GenerateOutcome runAndroidIcon(const GenerateRequest& request)
{
    const fs::path& source = request.sources.front();
    const LoadedImage loaded = loadImage(source);
    if (!loaded.image)
        return failedWith(pathLine(source, loaded.error));
    // The names the app's manifest gives its icon, unless --name says.
    const LauncherIconName names = launcherIconName(*request.res, request.androidName);
    if (names.undecided)
        return failedWith(pathLine(*request.res, *names.undecided + QStringLiteral(": say which with --name NAME")));
    AndroidIconOptions options;
    options.name = names.name;
    options.roundName = names.roundName;
    if (request.background)
        options.backgroundColour = *request.background;
    options.monochrome = request.monochrome.wanted;
    options.padding = request.frame.padding;
    options.playStore = request.playStore.has_value();
    options.notification = request.notification.wanted;
    options.notificationName = request.notificationName;
    if (const auto failure
        = loadAndroidArtwork(options, request.backgroundFile, request.monochrome.file, request.notification.file))
        return failedWith(*failure);

    const AndroidIconPlan plan = planAndroidIcons(loaded.image, options);
    if (plan.refusal != AndroidRefusal::None)
        return failedWith(pathLine(source,
                                   describe(plan.refusal)
                                       + (plan.refusal == AndroidRefusal::NoArtworkForMonochrome
                                              ? QStringLiteral(" (--monochrome FILE)")
                                              : plan.refusal == AndroidRefusal::NoArtworkForNotification
                                              ? QStringLiteral(" (--notification FILE)")
                                              : QString())));
    GenerateOutcome outcome;
    for (const AndroidNote note : plan.notes)
        if (note == AndroidNote::FullBleed)
            outcome.notes << pathLine(source,
                                      QStringLiteral("it has no transparent pixels: it is the icon's "
                                                     "background layer, the foreground is left empty, and "
                                                     "launchers show its centre"));

    const AndroidWrite write = installAndroidIcon(*request.res, plan, options.name, request.force, request.playStore);
    outcome.errors = write.failures;
    if (write.forcing && !outcome.errors.isEmpty())
        outcome.errors.last() += QStringLiteral("; --force %1").arg(*write.forcing);
    outcome.exitStatus = outcome.errors.isEmpty() ? 0 : 1;
    return outcome;
}

} // namespace quorva
