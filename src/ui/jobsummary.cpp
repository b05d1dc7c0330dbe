#include "ui/jobsummary.h"

#include "support/paths.h"

#include <QCoreApplication>
#include <QUrl>

#include <algorithm>

namespace quorva {
namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("quorva::JobSummary", text);
}

QString files(std::size_t count)
{
    return count == 1 ? tr("1 file") : tr("%1 files").arg(count);
}

QString sentence(const QString& text)
{
    return (text.endsWith(QLatin1Char('.')) ? text : text + QLatin1Char('.')).toHtmlEscaped();
}

} // namespace

void JobSummary::add(const WriteReport& report)
{
    for (const QString& failure : report.failures)
        if (!failures.contains(failure))
            failures.append(failure);
    if (report.forcing)
        forcing = report.forcing;
    if (report.setFolder) {
        setFolder = report.setFolder;
        kept = report.kept;
        filesInSet = filesBesideSet = 0;
        // The set's own files lie below its folder (an Android icon's in the res folder's
        // subfolders); an app icon set's artwork copies lie beside it.
        std::vector<std::filesystem::path> files = report.written;
        files.insert(files.end(), report.unchanged.begin(), report.unchanged.end());
        for (const std::filesystem::path& file : files) {
            const std::filesystem::path inside = file.lexically_relative(*report.setFolder);
            ++(!inside.empty() && *inside.begin() != ".." ? filesInSet : filesBesideSet);
        }
    }
}

JobMessage statusMessage(const JobSummary& summary, const QFontMetrics& metrics, int width)
{
    JobMessage message;
    QStringList lines;
    if (!summary.failures.isEmpty()) {
        message.severity = MessageArea::Severity::Error;
        lines << (summary.setFolder ? tr("<b>The set is incomplete.</b>") : tr("<b>Nothing was written.</b>"));
        for (const QString& failure : summary.failures)
            lines << sentence(failure);
        if (summary.forcing)
            lines << tr("Write Anyway %1.").arg(*summary.forcing).toHtmlEscaped();
    }
    if (summary.setFolder && summary.filesInSet + summary.filesBesideSet > 0) {
        if (summary.failures.isEmpty())
            message.severity = MessageArea::Severity::Success;
        const QString folder = displayPath(*summary.setFolder);
        const QString link = QUrl::fromLocalFile(folder).toString(QUrl::FullyEncoded);
        message.toolTip = folder;
        // The path gets the room the words beside it leave on its line, and never less than a
        // short path's: both its start and its file name stay in view.
        const QString before = tr("Wrote %1 to ").arg(files(summary.filesInSet));
        const QString after = summary.filesBesideSet
            ? tr(" and the %1 artwork files beside it.").arg(summary.filesBesideSet)
            : QStringLiteral(".");
        const int least = 24 * metrics.averageCharWidth();
        int room = std::max(width - metrics.horizontalAdvance(before + after) - metrics.averageCharWidth(), least);
        QString shown = metrics.elidedText(folder, Qt::ElideMiddle, room);
        // Measured as the whole line it stands in: kerning across its joins and rounding in some
        // fonts take a pixel or two more than its parts do.
        for (int over = 0; room > least && shown != folder
             && (over = metrics.horizontalAdvance(before + shown + after) - width) > 0;) {
            room = std::max(room - over, least);
            shown = metrics.elidedText(folder, Qt::ElideMiddle, room);
        }
        // One substitution pass, so that a "%" in the folder's name is taken as it is.
        lines << QStringLiteral("%1<a href=\"%2\">%3</a>%4")
                     .arg(before.toHtmlEscaped(), link.toHtmlEscaped(), shown.toHtmlEscaped(), after.toHtmlEscaped());
    }
    if (!summary.kept.isEmpty()) {
        if (message.severity != MessageArea::Severity::Error)
            message.severity = MessageArea::Severity::Warning;
        lines << tr("Kept %1 in the set folder: Quorva did not write it, and Xcode may warn of it.")
                     .arg(summary.kept.join(QStringLiteral(", ")).toHtmlEscaped());
    }
    message.richText = lines.join(QStringLiteral("<br>"));
    return message;
}

} // namespace quorva
