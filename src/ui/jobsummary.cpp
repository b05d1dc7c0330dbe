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
        const char* text = summary.filesWritten == 1 ? "Wrote 1 file to <a href=\"%2\">%3</a>."
                                                     : "Wrote %1 files to <a href=\"%2\">%3</a>.";
        lines << QCoreApplication::translate("quorva::JobSummary", text)
                     .arg(summary.filesWritten)
                     .arg(link.toHtmlEscaped(), folder.toHtmlEscaped());
    }
    return lines.join(QStringLiteral("<br>"));
}

} // namespace quorva
