#include "expo/expokind.h"

#include "expo/expoconfig.h"
#include "expo/expoicons.h"
#include "support/paths.h"

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxConfigBytes = 4 << 20;

const OptionSchema& expoOptions()
{
    static const OptionSchema options = withSharedOptions(
        {{"config", OptionType::Output, true},
         OptionSpec{"monochrome", OptionType::FlagOrImage}.described(
             "write the themed icon (Android 13) the configuration names: the art's shape, or FILE's; "
             "false keeps the project's own")},
        {{"background", "the adaptive icon's background colour, where the configuration names none"}});
    return options;
}

KindOutput makeExpoImages(const KindRequest& request)
{
    KindOutput out;
    const SourceImages::Source& source = request.image();
    if (!source.loaded.image)
        return KindOutput::unreadable(source.loaded.error);
    const fs::path config = request.path(QStringLiteral("config"));
    out.where = request.text(QStringLiteral("config"));
    const QString name = displayPath(config.filename());
    const ExpoConfig read = readExpoConfig(request.inputs.read(config, maxConfigBytes).value_or(QByteArray()),
                                           !name.endsWith(QLatin1String(".json")));
    if (read.error)
        return KindOutput::failed(pathLine(config, *read.error));
    for (const QString& key : read.unread)
        out.notes << pathLine(config, QStringLiteral("%1 is no plain string here: not read, not written").arg(key));
    ExpoOptions options;
    options.background = request.colour();
    options.padding = request.padding();
    // monochrome = false: the configuration's monochrome image is the project's own.
    const auto monochrome = request.options.find(QStringLiteral("monochrome"));
    options.keepMonochrome
        = monochrome != request.options.end() && monochrome->second.isBool() && !monochrome->second.flag();
    if (request.file(QStringLiteral("monochrome"))) {
        const SourceImages::Source& own = request.image(QStringLiteral("monochrome"));
        if (!own.loaded.image)
            return KindOutput::failed(own.loaded.error);
        options.monochrome = own.loaded.image;
    }
    const ExpoIcons icons = planExpoIcons(source.loaded.image, read, options);
    for (const QString& note : icons.notes)
        out.notes << pathLine(config, note);
    if (icons.plan.refusal)
        return KindOutput::failed(pathLine(config.parent_path() / toPath(icons.refusedFile), *icons.plan.refusal));
    if (icons.plan.files.empty())
        return KindOutput::failed(pathLine(config,
                                           QStringLiteral("it names no icon image Quorva can write (icon, "
                                                          "ios.icon, android.adaptiveIcon.foregroundImage…)")));
    out.placements.push_back({config.parent_path().empty() ? fs::path(".") : config.parent_path(), icons.plan, false});
    // Where the images go, as the user names them: their folders.
    QStringList places;
    for (const PlannedFile& file : icons.plan.files) {
        const fs::path parent = (config.parent_path() / toPath(file.path)).parent_path();
        if (const QString place = displayPath(request.base.empty() ? parent : parent.lexically_relative(request.base));
            !places.contains(place))
            places << place;
    }
    out.where = places.join(QStringLiteral(", "));
    return out;
}

} // namespace

const OutputKind expoKind{"expo",
                          "expo",
                          expoOptions,
                          {"source", "config"},
                          makeExpoImages,
                          nullptr,
                          "writes the images an Expo app.json names, 1024 px"};

} // namespace quorva
