#include "project/kindplaces.h"

#include "project/projectdetection.h"
#include "support/fileio.h"
#include "support/paths.h"

namespace quorva {
namespace fs = std::filesystem;

ConfigTable placesAt(const OutputKind& kind, const fs::path& path)
{
    ConfigTable found;
    if (const char* key = kind.placeKey ? kind.placeKey(path) : nullptr) {
        found[QLatin1String(key)] = textValue(displayPath(path));
        return found;
    }
    if (!isFolder(path))
        return found;
    const DetectedProject project = detectProject(path);
    const TargetKind table{kind.table};
    const auto written = project.config.targets.find(table);
    const auto proposed = project.proposed.find(table);
    if (written != project.config.targets.end())
        found = written->second;
    else if (proposed != project.proposed.end())
        found = proposed->second;
    ConfigTable places;
    for (const auto& [key, value] : found)
        if (const OptionSpec* option = findOption(kind.options(), key); option && option->type == OptionType::Output)
            places[key] = textValue(displayPath((path / toPath(value.text())).lexically_normal()));
    return places;
}

} // namespace quorva
