#include "ui/kindrun.h"

#include "image/sourceimages.h"
#include "support/paths.h"
#include "target/installer.h"
#include "target/outputkind.h"

namespace quorva {

WriteReport makeAndInstall(const OutputKind& kind, ConfigTable options, const ImageRef& image,
                           const QString& sourcePath)
{
    // The image the window shows, not the file read again: it may have changed on the disk since.
    SourceImages images{std::filesystem::path()};
    images.provide(sourcePath, image);
    options[QStringLiteral("source")] = textValue(sourcePath);
    // The window's choices are read by the kind's schema as a flag's or a key's would be.
    for (const auto& [key, value] : options) {
        const OptionSpec* option = findOption(kind.options(), key);
        if (!option || checkValue(*option, value) != ValueCheck::Taken) {
            WriteReport refused;
            refused.failures << (option
                                     ? QStringLiteral("'%1' takes %2").arg(key, typeText(*option, true))
                                     : QStringLiteral("%1 takes no option '%2'").arg(QLatin1String(kind.table), key));
            return refused;
        }
    }
    KindInputs inputs{std::filesystem::path()};
    const KindOutput made = kind.make({options, std::filesystem::path(), images, inputs, std::nullopt});
    if (made.failure) {
        WriteReport refused;
        refused.failures << *made.failure;
        refused.forcing = made.forcing;
        return refused;
    }
    WriteReport report = install(made.placements);
    if (!report.failed() && !made.where.isEmpty())
        report.setFolder = toPath(made.where);
    // What the output is, as the user counts it: not the hidden list of what Quorva wrote there.
    for (auto* files : {&report.written, &report.unchanged})
        std::erase_if(*files, [](const std::filesystem::path& file) {
            return file.filename().string().starts_with(ownFilePrefix);
        });
    return report;
}

} // namespace quorva
