#include "ui/jobsummary.h"

#include "support/paths.h"

#include <QCoreApplication>
#include <QUrl>

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

} // namespace

void JobSummary::add(const WriteReport& report)
{
    for (const QString& failure : report.failures)
        if (!failures.contains(failure))
            failures.append(failure);
    if (report.setFolder) {
        setFolder = report.setFolder;
        filesInSet = filesBesideSet = 0;
        for (const std::filesystem::path& file : report.written)
            ++(file.parent_path() == *report.setFolder ? filesInSet : filesBesideSet);
    }
}

QString statusText(const JobSummary& summary)
{
    QStringList lines;
    for (const QString& failure : summary.failures)
        lines << (failure.endsWith(QLatin1Char('.')) ? failure : failure + QLatin1Char('.')).toHtmlEscaped();
    if (summary.setFolder && summary.filesInSet + summary.filesBesideSet > 0) {
        const QString folder = displayPath(*summary.setFolder);
        const QString link = QUrl::fromLocalFile(folder).toString(QUrl::FullyEncoded);
        // One substitution pass, so that a "%" in the folder's name is taken as it is.
        const QString wrote = tr("Wrote %1 to <a href=\"%2\">%3</a>")
                                  .arg(files(summary.filesInSet), link.toHtmlEscaped(), folder.toHtmlEscaped());
        lines << (summary.filesBesideSet
                      ? tr("%1 and the %2 artwork files beside it.").arg(wrote, QString::number(summary.filesBesideSet))
                      : wrote + QLatin1Char('.'));
    }
    return lines.join(QStringLiteral("<br>"));
}

} // namespace quorva
