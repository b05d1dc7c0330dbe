#include "ui/jobsummary.h"

#include "generation/fileio.h"

#include <QCoreApplication>
#include <QUrl>

namespace quorva {

void JobSummary::add(const WriteReport& report)
{
    for (const QString& failure : report.failures)
        if (!failures.contains(failure))
            failures.append(failure);
    if (report.setFolder) {
        setFolder = report.setFolder;
        filesWritten = report.written.size();
    }
}

QString statusText(const JobSummary& summary)
{
    QStringList lines;
    for (const QString& failure : summary.failures)
        lines << failure.toHtmlEscaped();
    if (summary.setFolder && summary.filesWritten > 0) {
        const QString folder = displayPath(*summary.setFolder);
        const QString link = QUrl::fromLocalFile(folder).toString(QUrl::FullyEncoded);
        // One substitution pass, so that a "%" in the folder's name is taken as it is.
        const QString count = summary.filesWritten == 1
            ? QCoreApplication::translate("quorva::JobSummary", "1 file")
            : QCoreApplication::translate("quorva::JobSummary", "%1 files").arg(summary.filesWritten);
        lines << QCoreApplication::translate("quorva::JobSummary", "Wrote %1 to <a href=\"%2\">%3</a>.")
                     .arg(count, link.toHtmlEscaped(), folder.toHtmlEscaped());
    }
    return lines.join(QStringLiteral("<br>"));
}

} // namespace quorva
