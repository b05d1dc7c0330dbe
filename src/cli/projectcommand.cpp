#include "cli/projectcommand.h"

#include "project/flutterlaunchericons.h"
#include "project/projectdetection.h"
#include "project/projectsync.h"
#include "support/countedtext.h"
#include "support/paths.h"
#include "target/installer.h"

#include <QRegularExpression>

namespace quorva {
namespace fs = std::filesystem;
namespace {

// The project's paths as the user gave the project: below the current folder, without "./".
void shownFromHere(const ProjectRequest& request, GenerateOutcome& outcome)
{
    if (request.project.lexically_normal() != fs::path("."))
        return;
    static const QRegularExpression here(QStringLiteral(R"((^|[\s('"])\./)"));
    for (QStringList* lines : {&outcome.output, &outcome.errors, &outcome.notes})
        for (QString& line : *lines)
            line.replace(here, QStringLiteral("\\1"));
}

// What a dry run would do to a file.
QString actionFor(FileDifference::Kind kind)
{
    switch (kind) {
    case FileDifference::Kind::Missing:
        return QStringLiteral("add");
    case FileDifference::Kind::Different:
        return QStringLiteral("change");
    case FileDifference::Kind::Stale:
        return QStringLiteral("remove");
    }
    return {};
}

GenerateOutcome initProject(const ProjectRequest& request);
GenerateOutcome syncOf(const ProjectRequest& request);

} // namespace

GenerateOutcome runInit(const ProjectRequest& request)
{
    GenerateOutcome outcome = initProject(request);
    shownFromHere(request, outcome);
    return outcome;
}

GenerateOutcome runSync(const ProjectRequest& request)
{
    GenerateOutcome outcome = syncOf(request);
    shownFromHere(request, outcome);
    return outcome;
}

namespace {

GenerateOutcome initProject(const ProjectRequest& request)
{
    const fs::path& root = request.project;
    std::error_code error;
    if (!fs::is_directory(root, error))
        return failedWith(pathLine(root, QStringLiteral("there is no such project folder")));
    if (fs::exists(root / projectConfigName, error) && !request.force)
        return failedWith(pathLine(root / projectConfigName,
                                   QStringLiteral("it is there already; --force writes a new one over it")));
    DetectedProject project = detectProject(root);
    GenerateOutcome outcome;
    QStringList& out = outcome.output;
    out << (project.kinds.isEmpty() ? QStringLiteral("project: of no kind Quorva knows")
                                    : QStringLiteral("project: %1").arg(project.kinds.join(QStringLiteral(", "))));
    const std::optional<ImportedLauncherIcons> imported = importLauncherIcons(root, project.config);
    for (const QString& line : project.found)
        out << QStringLiteral("found %1").arg(line);
    for (const QString& line : project.notFound)
        out << QStringLiteral("not found %1").arg(line);
    if (imported) {
        outcome.errors += imported->errors;
        out << QStringLiteral("imported flutter_launcher_icons from %1%2")
                   .arg(imported->from,
                        imported->flavors.isEmpty() ? QString()
                                                    : QStringLiteral(", with the flavors %1")
                                                          .arg(imported->flavors.join(QStringLiteral(", "))));
        if (!imported->unmatched.isEmpty())
            out << QStringLiteral("no equal in Quorva for %1").arg(imported->unmatched.join(QStringLiteral(", ")));
    }
    // The source: the one given, the one imported, or one in the usual places.
    if (request.source) {
        const fs::path within = resolvedPath(*request.source).lexically_relative(resolvedPath(root));
        if (within.empty() || *within.begin() == "..")
            return failedWith(
                pathLine(*request.source, QStringLiteral("it must lie in the project %1").arg(displayPath(root))));
        project.config.shared[QStringLiteral("source")] = {displayPath(within), 0};
    } else if (!project.config.shared.count(QStringLiteral("source"))) {
        const std::optional<QString> found = likelySource(root);
        project.config.shared[QStringLiteral("source")] = {found.value_or(QStringLiteral("icon.png")), 0};
        if (!found)
            outcome.notes << QStringLiteral("no source image found: quorva.toml names icon.png, which is not there; "
                                            "put the icon there, or give --source FILE");
    }
    if (project.config.targets.empty())
        return failedWith(pathLine(root,
                                   QStringLiteral("no target found: no catalog, res folder, site, Windows or "
                                                  "macOS icon file, nor Tauri configuration")));
    Plan plan;
    plan.add(QLatin1String(projectConfigName), writeProjectConfig(project.config));
    outcome.errors += install(root, plan).failures;
    if (outcome.errors.isEmpty())
        out << QStringLiteral("wrote %1; quorva-cli sync writes every target it names")
                   .arg(displayPath(root / projectConfigName));
    outcome.exitStatus = outcome.errors.isEmpty() ? 0 : 1;
    return outcome;
}

GenerateOutcome syncOf(const ProjectRequest& request)
{
    const SyncMode mode = request.check ? SyncMode::Check : request.dryRun ? SyncMode::DryRun : SyncMode::Write;
    const SyncReport report = syncProject(request.project, request.flavors, mode);
    GenerateOutcome outcome;
    if (report.targets.empty() && !report.errors.isEmpty()) {
        outcome.errors = report.errors;
        outcome.exitStatus = 2;
        return outcome;
    }
    std::size_t differing = 0;
    for (const TargetSync& target : report.targets) {
        const QString where = target.where.isEmpty() ? QString() : QStringLiteral(" in %1").arg(target.where);
        QString line;
        switch (target.state) {
        case TargetSync::State::Written:
            line = QStringLiteral("written, %1%2%3")
                       .arg(countedText(target.files, "file", "files"), where,
                            target.removed ? QStringLiteral("; removed %1 an earlier run wrote")
                                                 .arg(countedText(target.removed, "file", "files"))
                                           : QString());
            break;
        case TargetSync::State::Unchanged:
            line = QStringLiteral("unchanged, %1%2").arg(countedText(target.files, "file", "files"), where);
            break;
        case TargetSync::State::Failed:
            line = QStringLiteral("failed: %1").arg(target.failure);
            break;
        case TargetSync::State::UpToDate:
            line = QStringLiteral("up to date, %1%2").arg(countedText(target.files, "file", "files"), where);
            break;
        case TargetSync::State::Differs:
            line = mode == SyncMode::DryRun
                ? QStringLiteral("%1 would change%2")
                      .arg(countedText(target.differences.size(), "file", "files"), where)
                : QStringLiteral("%1 differ%2 from what sync would write")
                      .arg(countedText(target.differences.size(), "file", "files"),
                           target.differences.size() == 1 ? QStringLiteral("s") : QString());
            break;
        }
        outcome.output << QStringLiteral("%1: %2").arg(target.label, line);
        for (const FileDifference& difference : target.differences)
            outcome.output << QStringLiteral("  %1 %2").arg(mode == SyncMode::DryRun ? actionFor(difference.kind)
                                                                                     : describe(difference.kind),
                                                            displayPath(difference.path));
        for (const QString& note : target.notes)
            outcome.output << QStringLiteral("  note: %1").arg(note);
        differing += target.differences.size();
        if (target.state == TargetSync::State::Failed)
            outcome.errors << QStringLiteral("%1: %2").arg(target.label, target.failure);
    }
    outcome.errors += report.errors;
    if (mode == SyncMode::Check && differing)
        outcome.errors << QStringLiteral("%1 from what sync would write: run quorva-cli sync")
                              .arg(countedText(differing, "file differs", "files differ"));
    outcome.exitStatus = (mode == SyncMode::DryRun ? !outcome.errors.isEmpty() : report.failed()) ? 1 : 0;
    return outcome;
}

} // namespace

} // namespace quorva
