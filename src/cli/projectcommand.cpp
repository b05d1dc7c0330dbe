#include "cli/projectcommand.h"

#include "project/projectinit.h"
#include "project/projectsync.h"
#include "support/countedtext.h"
#include "support/paths.h"
#include "target/installer.h"

#include <QRegularExpression>

namespace quorva {
namespace fs = std::filesystem;
namespace {

// The project's paths as the user gave the project: PROJECT/… as it was typed, and a path in
// the current folder without "./". The work itself is done on the absolute folder, so that every
// path joined to it compares as it should.
void shownAsGiven(const ProjectRequest& request, GenerateOutcome& outcome)
{
    const fs::path absolute = absoluteFolder(request.project);
    const bool here = request.project.lexically_normal() == fs::path(".");
    QString given = displayPath(request.project);
    while (given.size() > 1 && given.endsWith(QLatin1Char('/')))
        given.chop(1);
    const QString escaped = QRegularExpression::escape(displayPath(absolute));
    const QRegularExpression below(escaped + QStringLiteral("/"));
    const QRegularExpression itself(escaped + QStringLiteral(R"((?=[:\s)'"]|$))"));
    static const QRegularExpression dotSlash(QStringLiteral(R"((^|[\s('"])\./)"));
    for (QStringList* lines : {&outcome.output, &outcome.errors, &outcome.notes})
        for (QString& line : *lines) {
            if (absolute.has_relative_path()) {
                line.replace(below, here ? QString() : given + QLatin1Char('/'));
                line.replace(itself, given);
            }
            if (here)
                line.replace(dotSlash, QStringLiteral("\\1"));
        }
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

GenerateOutcome initOf(const ProjectRequest& request);
GenerateOutcome syncOf(const ProjectRequest& request);

} // namespace

GenerateOutcome runInit(const ProjectRequest& request)
{
    GenerateOutcome outcome = initOf(request);
    shownAsGiven(request, outcome);
    return outcome;
}

GenerateOutcome runSync(const ProjectRequest& request)
{
    GenerateOutcome outcome = syncOf(request);
    shownAsGiven(request, outcome);
    return outcome;
}

namespace {

GenerateOutcome initOf(const ProjectRequest& request)
{
    const fs::path root = absoluteFolder(request.project);
    std::error_code error;
    if (!fs::is_directory(root, error))
        return failedWith(pathLine(root, QStringLiteral("there is no such project folder")));
    if (fs::exists(root / projectConfigName, error) && !request.force)
        return failedWith(pathLine(root / projectConfigName,
                                   QStringLiteral("it is there already; --force writes a new one over it")));
    const ProjectInit init = initProject(root, request.source);
    if (init.failure)
        return failedWith(*init.failure);
    GenerateOutcome outcome;
    outcome.output << (init.kinds.isEmpty() ? QStringLiteral("project: of no kind Quorva knows")
                                            : QStringLiteral("project: %1").arg(init.kinds.join(QStringLiteral(", "))));
    outcome.output += init.found;
    outcome.notes = init.notes;
    outcome.errors = init.errors;
    outcome.errors += install(root, init.files).failures;
    if (outcome.errors.isEmpty())
        outcome.output << QStringLiteral("wrote %1; quorva-cli sync writes every target it names")
                              .arg(displayPath(root / projectConfigName));
    outcome.exitStatus = outcome.errors.isEmpty() ? 0 : 1;
    return outcome;
}

GenerateOutcome syncOf(const ProjectRequest& request)
{
    const SyncMode mode = request.check ? SyncMode::Check : request.dryRun ? SyncMode::DryRun : SyncMode::Write;
    const SyncReport report = syncProject(absoluteFolder(request.project), request.flavors, mode);
    GenerateOutcome outcome;
    if (report.targets.empty() && !report.errors.isEmpty()) {
        outcome.errors = report.errors;
        outcome.exitStatus = 2;
        return outcome;
    }
    if (!report.refusals.isEmpty()) {
        outcome.errors = report.refusals;
        outcome.exitStatus = 1;
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
