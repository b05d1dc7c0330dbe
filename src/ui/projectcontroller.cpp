#include "ui/projectcontroller.h"

#include "image/csscolour.h"
#include "project/projectinit.h"
#include "project/projectsync.h"
#include "project/targetplacement.h"
#include "support/countedtext.h"
#include "support/paths.h"
#include "target/installer.h"
#include "ui/backgroundwork.h"
#include "ui/projectpanel.h"
#include "ui/projectpreview.h"

#include <QFile>
#include <QUrl>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxConfigBytes = 4 << 20;

} // namespace

ProjectController::ProjectController(ProjectPanel* panel, QObject* parent) : QObject(parent), m_panel(panel)
{
    if (!m_panel)
        return;
    connect(m_panel, &ProjectPanel::sourceChosen, this, &ProjectController::chooseSource);
    connect(m_panel, &ProjectPanel::backgroundChosen, this, &ProjectController::chooseBackground);
    connect(m_panel, &ProjectPanel::syncRequested, this, &ProjectController::sync);
    connect(m_panel, &ProjectPanel::saveRequested, this, &ProjectController::save);
}

namespace {

// What opening a project reads: its quorva.toml, or what init would write from the project.
struct ReadProject {
    std::optional<QString> problem;
    ProjectConfig config;
    QByteArray saved; // quorva.toml as it is; empty when there is none
    Plan copies;      // images init copies out of the targets' way
    QString kinds;    // what init found, when there is no quorva.toml
};

ReadProject readProject(const fs::path& root)
{
    ReadProject read;
    QFile file(displayPath(root / projectConfigName));
    if (file.exists()) {
        if (file.size() > maxConfigBytes || !file.open(QIODevice::ReadOnly)) {
            read.problem
                = ProjectController::tr("Couldn't read %1.").arg(displayPath(root / projectConfigName)).toHtmlEscaped();
            return read;
        }
        read.saved = file.readAll();
        const ReadProjectConfig config = readProjectConfig(read.saved, root, displayPath(root / projectConfigName));
        if (!config.config) {
            read.problem = ProjectController::tr("<b>The project can't be opened.</b>") + QStringLiteral("<br>")
                + config.errors.join(QLatin1Char('\n'))
                      .toHtmlEscaped()
                      .replace(QLatin1Char('\n'), QStringLiteral("<br>"))
                + QStringLiteral("<br><a href=\"%1\">%2</a>")
                      .arg(QUrl::fromLocalFile(displayPath(root / projectConfigName))
                               .toString(QUrl::FullyEncoded)
                               .toHtmlEscaped(),
                           ProjectController::tr("Open quorva.toml"));
            return read;
        }
        read.config = *config.config;
        return read;
    }
    // What init would write: the targets found, the project's icons as they are, flutter_launcher_icons'
    // settings imported.
    ProjectInit init = initProject(root, std::nullopt);
    if (init.failure) {
        read.problem = ProjectController::tr("<b>%1 is no project Quorva knows.</b> It has no asset catalog, res "
                                             "folder, site, Windows or macOS icon file, nor Tauri or Expo "
                                             "configuration; drop an image to make icons from it.")
                           .arg(displayPath(root).toHtmlEscaped());
        return read;
    }
    read.config = init.config;
    for (const PlannedFile& file : init.files.files)
        if (file.path != QLatin1String(projectConfigName))
            read.copies.add(file.path, file.bytes);
    read.kinds = init.kinds.join(QStringLiteral(", "));
    return read;
}

} // namespace

void ProjectController::open(const fs::path& root, const std::function<void(std::optional<QString>)>& opened)
{
    // The project's files (its Xcode and Gradle projects among them) are read off the main thread.
    ++m_opening;
    inBackground(
        this, [root] { return readProject(root); },
        [this, root, opened](ReadProject read) {
            --m_opening;
            if (read.problem) {
                opened(read.problem);
                return;
            }
            m_root = root;
            m_config = std::move(read.config);
            m_savedText = read.saved;
            m_copies = read.copies;
            m_kinds = read.kinds;
            m_name = displayPath(resolvedPath(root).filename()); // looked up once: the title shows it at every change
            m_edited = false;
            m_previews.clear();
            showState();
            emit targetsChanged();
            emit sourceChanged();
            opened(std::nullopt);
        });
}

void ProjectController::close()
{
    m_root.reset();
    m_config = {};
    m_savedText.clear();
    m_copies = {};
    m_edited = false;
    m_previews.clear();
    m_nextPreview = {};
    m_name.clear();
}

std::optional<fs::path> ProjectController::source() const
{
    const auto source = m_config.shared.find(QStringLiteral("source"));
    if (!m_root || source == m_config.shared.end())
        return std::nullopt;
    return *m_root / toPath(source->second.text());
}

std::vector<ProjectTarget> ProjectController::targets() const
{
    return projectTargets(m_config).targets;
}

bool ProjectController::unsaved() const
{
    return m_savedText.isEmpty() || withSharedKeys(m_savedText, m_config) != m_savedText;
}

void ProjectController::showState()
{
    if (!m_panel)
        return;
    m_panel->setSource(m_config.shared.count(QStringLiteral("source"))
                           ? m_config.shared.at(QStringLiteral("source")).text()
                           : tr("none yet"));
    const QColor colour = m_config.shared.count(QStringLiteral("background"))
        ? parseCssColour(m_config.shared.at(QStringLiteral("background")).text())
        : QColor();
    m_panel->setBackground(colour.isValid() ? std::optional(colour) : std::nullopt);
    m_panel->setProject(m_savedText.isEmpty()
                            ? tr("%1 project %2: no quorva.toml yet").arg(m_kinds.isEmpty() ? tr("A") : m_kinds, name())
                            : tr("Project %1, as its quorva.toml says").arg(name()));
    m_panel->setUnsaved(unsaved(), !m_savedText.isEmpty());
    m_panel->setBusy(m_syncing);
}

void ProjectController::chooseSource(const QString& path)
{
    if (!m_root)
        return;
    // Anywhere in the repository that holds the project, as quorva.toml may name it.
    if (!isWithin(resolvedPath(toPath(path)), resolvedPath(repositoryOf(*m_root)))) {
        emit failed(tr("The source must lie in the repository that holds the project, as quorva.toml names it by "
                       "its path from there: %1 does not.")
                        .arg(path)
                        .toHtmlEscaped());
        return;
    }
    const fs::path within = resolvedPath(toPath(path)).lexically_relative(resolvedPath(*m_root));
    m_config.shared[QStringLiteral("source")] = {displayPath(within), 0};
    m_edited = true;
    showState();
    emit sourceChanged();
    emit targetsChanged();
}

void ProjectController::chooseBackground(const QColor& colour)
{
    m_config.shared[QStringLiteral("background")] = {colour.name(), 0};
    m_edited = true;
    showState();
    emit targetsChanged();
}

bool ProjectController::save()
{
    if (!m_root)
        return false;
    const std::optional<QByteArray> text
        = m_savedText.isEmpty() ? std::optional(writeProjectConfig(m_config)) : withSharedKeys(m_savedText, m_config);
    if (!text) {
        emit failed(tr("Couldn't save: %1 can't be read as TOML any more.")
                        .arg(displayPath(*m_root / projectConfigName))
                        .toHtmlEscaped());
        return false;
    }
    Plan plan = m_copies;
    plan.add(QLatin1String(projectConfigName), *text);
    const InstallReport report = install(*m_root, plan, true);
    if (report.failed()) {
        emit failed(tr("<b>Nothing was saved.</b>") + QStringLiteral("<br>")
                    + report.failures.join(QLatin1Char('\n')).toHtmlEscaped());
        return false;
    }
    m_savedText = *text;
    m_copies = {};
    m_edited = false;
    showState();
    emit syncDone(tr("Saved %1.").arg(displayPath(*m_root / projectConfigName)).toHtmlEscaped(),
                  MessageArea::Severity::Success);
    return true;
}

void ProjectController::sync()
{
    if (!m_root || m_syncing)
        return;
    // What is written is what quorva.toml says, for quorva-cli sync --check to find it so.
    const bool savedFirst = !m_savedText.isEmpty() && unsaved();
    if (savedFirst && !save())
        return;
    m_syncing = true;
    showState();
    // quorva.lock vouches for quorva.toml's targets: it is kept up to date only when the window's
    // choices are the file's.
    const bool lock = !unsaved();
    onThreadOfItsOwn(
        this,
        [root = *m_root, config = m_config, lock, copies = m_copies] {
            // The images the config names where init copies them, first.
            if (!copies.files.empty())
                if (const InstallReport put = install(root, copies, true); put.failed()) {
                    SyncReport failed;
                    failed.errors = put.failures;
                    return failed;
                }
            return syncProject(root, config, {}, SyncMode::Write, lock);
        },
        [this, savedFirst](SyncReport report) {
            m_syncing = false;
            showState();
            QStringList lines;
            if (savedFirst)
                lines << tr("Saved %1 first.").arg(displayPath(*m_root / projectConfigName));
            bool failed = !report.errors.isEmpty() || !report.refusals.isEmpty();
            for (const TargetSync& target : report.targets) {
                switch (target.state) {
                case TargetSync::State::Written:
                    lines << tr("%1: wrote %2 in %3.")
                                 .arg(target.label, countedText(target.files, "file", "files"), target.where);
                    break;
                case TargetSync::State::Unchanged:
                    lines << tr("%1: unchanged, %2 in %3.")
                                 .arg(target.label, countedText(target.files, "file", "files"), target.where);
                    break;
                default:
                    failed = true;
                    lines << tr("%1 failed: %2").arg(target.label, target.failure);
                    break;
                }
                for (const QString& note : target.notes)
                    lines << QStringLiteral("  ") + note;
            }
            lines += report.errors;
            lines += report.refusals;
            QString text
                = lines.join(QLatin1Char('\n')).toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>"));
            if (failed)
                text.prepend(tr("<b>Not every target was written.</b>") + QStringLiteral("<br>"));
            emit syncDone(text, failed ? MessageArea::Severity::Error : MessageArea::Severity::Success);
        });
}

void ProjectController::makePreview(qreal ratio, const QPalette& palette,
                                    const std::function<bool(QImage, QString, QString, bool)>& shown)
{
    if (!m_root)
        return;
    // One at a time, the latest asked for next: each makes every target's icons.
    if (m_previewRunning) {
        m_nextPreview = [this, ratio, palette, shown] { makePreview(ratio, palette, shown); };
        return;
    }
    m_previewRunning = true;
    // On a thread of its own: the targets' icons are made on the job pool, as Sync makes them.
    onThreadOfItsOwn(
        this, [root = *m_root, targets = this->targets()] { return previewTargets(targets, root); },
        [this, ratio, palette, shown](std::vector<TargetPreview> previews) {
            m_previewRunning = false;
            if (const std::function<void()> next = std::exchange(m_nextPreview, {})) {
                next();
                return; // outrun: the next one shows
            }
            QStringList lines;
            bool refused = false;
            for (const TargetPreview& target : previews) {
                if (target.failure) {
                    refused = true;
                    lines << tr("%1 can't be written: %2").arg(target.label, *target.failure).toHtmlEscaped();
                }
                for (const QString& note : target.notes)
                    lines << QStringLiteral("%1: %2").arg(target.label, note).toHtmlEscaped();
            }
            if (shown(renderProjectPreview(previews, ratio, palette), projectPreviewDescription(previews),
                      lines.join(QStringLiteral("<br>")), refused))
                m_previews = std::move(previews);
        });
}

} // namespace quorva
