#include "cli/checkcommand.h"

#include "android/rescheck.h"
#include "apple/catalogcheck.h"
#include "cli/kindcommand.h"
#include "project/projectcheck.h"
#include "support/countedtext.h"
#include "support/fileio.h"
#include "support/paths.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include <algorithm>
#include <map>

namespace quorva {
namespace fs = std::filesystem;
namespace {

bool isError(const Finding& finding)
{
    return finding.severity == Finding::Severity::Error;
}

QString severityName(const Finding& finding)
{
    return isError(finding) ? QStringLiteral("error") : QStringLiteral("warning");
}

// What each rule checks, for the tools that show SARIF's rules beside their results.
const std::map<QString, QString>& ruleDescriptions()
{
    static const std::map<QString, QString> rules = {
        {"bad-contents-json", "A set's Contents.json is valid JSON that lists its images."},
        {"unreadable", "Every file of a set can be read."},
        {"missing-file", "Every file a Contents.json or icon.json names is there."},
        {"broken-png", "Every PNG file is whole: signature, chunk CRCs, image data that inflates."},
        {"misnamed-format", "A file holds the format its name says: .png PNG data, .ico and .icns their own."},
        {"wrong-size", "An app icon's pixel size is its slot's size times its scale, or its density's."},
        {"missing-slot", "The app's icon fills every slot App Store Connect requires."},
        {"empty-icon-set", "The app's icon set holds an image."},
        {"store-icon-alpha", "The App Store icon is opaque, without an alpha channel."},
        {"watch-icon-alpha", "A watch app's icons are opaque, without an alpha channel."},
        {"tinted-alpha", "The tinted icon is opaque greyscale."},
        {"appearance-with-sizes", "Dark and tinted icons stand in a single-size set."},
        {"unassigned-file", "Every image of a set is named by its Contents.json."},
        {"scale-mismatch", "An image set's scales are in proportion."},
        {"16-bit", "Images have 8 bits a sample."},
        {"interlaced", "Images are not interlaced."},
        {"color-profile", "Images are sRGB, Display P3 or Gray Gamma 2.2."},
        {"link-outside", "Symbolic links stay inside the catalog."},
        {"bad-icon-json", "An Icon Composer file's icon.json has the shape Icon Composer writes."},
        {"missing-resource", "Every resource an adaptive icon or the manifest names is defined in res."},
        {"missing-density", "A launcher icon has a file for every density from mdpi to xxxhdpi."},
        {"no-monochrome", "An adaptive icon has a monochrome layer for themed icons."},
        {"outside-safe-zone", "An adaptive icon's foreground art lies within the 66 dp circle no launcher masks."},
        {"notification-colours", "A notification icon is white on transparent: Android draws its alpha alone."},
        {"bad-icon-file", "An .ico or .icns file's directory and images are whole."},
        {"missing-size", "An icon file or a web manifest has the sizes its platform looks for."},
        {"bad-manifest", "A web app manifest is a JSON object whose icons member is an array."},
        {"maskable-alpha", "A maskable web icon fills its whole square."},
        {"touch-icon-alpha", "The apple-touch-icon is opaque: iOS shows transparent pixels black."},
    };
    return rules;
}

QString sarif(const CatalogCheck& check)
{
    QJsonArray rules;
    std::map<QString, int> ruleIndex;
    for (const auto& [id, text] : ruleDescriptions()) {
        ruleIndex[id] = int(rules.size());
        rules.append(QJsonObject{{"id", id}, {"shortDescription", QJsonObject{{"text", text}}}});
    }
    QJsonArray results;
    for (const Finding& finding : check.findings) {
        QJsonObject result{
            {"ruleId", finding.rule},
            {"level", severityName(finding)},
            {"message", QJsonObject{{"text", finding.message}}},
            {"locations",
             QJsonArray{QJsonObject{
                 {"physicalLocation",
                  QJsonObject{
                      {"artifactLocation",
                       QJsonObject{{"uri", QString::fromUtf8(QUrl::toPercentEncoding(finding.path, "/"))}}}}}}}}};
        if (const auto index = ruleIndex.find(finding.rule); index != ruleIndex.end())
            result.insert("ruleIndex", index->second);
        results.append(result);
    }
    QJsonArray notifications;
    for (const QString& note : check.notes)
        notifications.append(QJsonObject{{"level", "note"}, {"message", QJsonObject{{"text", note}}}});
    const QJsonObject driver{{"name", "quorva-cli"},
                             {"version", QStringLiteral(QUORVA_VERSION)},
                             {"informationUri", "https://quorva.invalid"},
                             {"rules", rules}};
    const QJsonObject run{{"tool", QJsonObject{{"driver", driver}}},
                          {"results", results},
                          {"invocations",
                           QJsonArray{QJsonObject{{"executionSuccessful", true},
                                                  {"toolExecutionNotifications", notifications}}}}};
    return QString::fromUtf8(QJsonDocument(QJsonObject{{"$schema", "https://json.schemastore.org/sarif-2.1.0.json"},
                                                       {"version", "2.1.0"},
                                                       {"runs", QJsonArray{run}}})
                                 .toJson());
}

} // namespace

namespace {

// A place check was pointed at, or one of the project's.
std::optional<QString> checkPlace(const CheckedPlace& place, const CheckOptions& options, CatalogCheck& check)
{
    if (!place.kind)
        return checkCatalog(place.path, check, options);
    SourceImages images{place.base};
    KindInputs inputs{place.base};
    const KindCheck found = place.kind->check({place.options, place.base, images, inputs, std::nullopt});
    check.sets += found.places;
    // Two targets may check the same file (a res folder's launcher icon and its launch screen):
    // what they find of it is said once.
    for (const Finding& finding : found.findings)
        if (std::none_of(check.findings.begin(), check.findings.end(), [&](const Finding& other) {
                return other.severity == finding.severity && other.path == finding.path && other.rule == finding.rule
                    && other.message == finding.message;
            }))
            check.findings.push_back(finding);
    return found.error;
}

// What a path given on the command line is, by what it holds: the kind whose files it is, with
// the path as its place; else a catalog, a set or an Icon Composer file.
CheckedPlace placeOf(const fs::path& path)
{
    const auto of = [&](const OutputKind& kind, const char* key, ConfigTable more = {}) {
        more[QLatin1String(key)] = {displayPath(path), 0};
        return CheckedPlace{{}, &kind, more, {}};
    };
    for (const OutputKind* kind : commandKinds())
        if (const char* key = kind->check && kind->heldAt ? kind->heldAt(path) : nullptr)
            return of(*kind, key);
    return {path, nullptr, {}, {}}; // everything else is Apple's
}

} // namespace

CheckOutcome runCheck(const CheckRequest& request)
{
    CatalogCheck check;
    CheckOptions options;
    options.project = request.project;
    std::vector<CheckedPlace> places;
    for (const fs::path& path : request.paths)
        places.push_back(placeOf(path));
    if (request.paths.empty()) {
        // In a project: every place its targets write.
        const ProjectPlaces project = placesToCheck(fs::path("."));
        if (!project.errors.isEmpty())
            return {2, {}, project.errors.join(QStringLiteral("\n"))};
        if (project.places.empty() && !project.configured)
            return {2,
                    {},
                    QStringLiteral("no quorva.toml here, and no catalog, res folder, site or icon file that "
                                   "init would find: give a PATH")};
        // Paths as the user sees them from here.
        for (CheckedPlace place : project.places) {
            if (!place.path.empty())
                place.path = place.path.lexically_relative(absoluteFolder("."));
            place.base = place.base.lexically_relative(absoluteFolder("."));
            if (place.base == ".")
                place.base.clear();
            places.push_back(place);
        }
    }
    for (const CheckedPlace& place : places)
        if (std::optional<QString> error = checkPlace(place, options, check))
            return {2, {}, *error};

    const qsizetype errors = std::count_if(check.findings.begin(), check.findings.end(), isError);
    const qsizetype warnings = qsizetype(check.findings.size()) - errors;
    CheckOutcome outcome;
    outcome.exitStatus = errors || (request.strict && warnings) ? 1 : 0;
    switch (request.format) {
    case CheckFormat::Sarif:
        outcome.output = sarif(check);
        return outcome;
    case CheckFormat::Json: {
        QJsonArray findings;
        for (const Finding& finding : check.findings)
            findings.append(QJsonObject{{"severity", severityName(finding)},
                                        {"path", finding.path},
                                        {"rule", finding.rule},
                                        {"message", finding.message}});
        outcome.output = QString::fromUtf8(QJsonDocument(QJsonObject{{"version", 1},
                                                                     {"sets", QJsonArray::fromStringList(check.sets)},
                                                                     {"findings", findings},
                                                                     {"notes", QJsonArray::fromStringList(check.notes)},
                                                                     {"errors", errors},
                                                                     {"warnings", warnings}})
                                               .toJson());
        return outcome;
    }
    case CheckFormat::Text:
        break;
    }
    QStringList lines;
    for (const QString& note : check.notes)
        lines << QStringLiteral("note: %1").arg(note);
    for (const Finding& finding : check.findings)
        lines << QStringLiteral("%1: %2: %3 (%4)")
                     .arg(severityName(finding), finding.path, finding.message, finding.rule);
    lines << QStringLiteral("%1, %2 in %3")
                 .arg(countedText(errors, "error", "errors"), countedText(warnings, "warning", "warnings"),
                      countedText(check.sets.size(), "set", "sets"));
    outcome.output = lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    return outcome;
}

} // namespace quorva
