#include "cli/checkcommand.h"

#include "catalog/catalogcheck.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace quorva {
namespace {

QString counted(qsizetype count, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

} // namespace

CheckOutcome runCheck(const CheckRequest& request)
{
    CatalogCheck check;
    for (const std::filesystem::path& path : request.paths)
        if (std::optional<QString> error = checkCatalog(path, check))
            return {2, {}, *error};

    qsizetype errors = 0;
    QStringList lines;
    QJsonArray findings;
    for (const Finding& finding : check.findings) {
        const bool isError = finding.severity == Finding::Severity::Error;
        errors += isError;
        const QString severity = isError ? QStringLiteral("error") : QStringLiteral("warning");
        lines << QStringLiteral("%1: %2: %3 (%4)").arg(severity, finding.path, finding.message, finding.rule);
        findings.append(QJsonObject{{"severity", severity},
                                    {"path", finding.path},
                                    {"rule", finding.rule},
                                    {"message", finding.message}});
    }
    const qsizetype warnings = qsizetype(check.findings.size()) - errors;
    CheckOutcome outcome;
    outcome.exitStatus = errors ? 1 : 0;
    if (request.json) {
        outcome.output = QString::fromUtf8(QJsonDocument(QJsonObject{{"sets", QJsonArray::fromStringList(check.sets)},
                                                                     {"findings", findings},
                                                                     {"errors", errors},
                                                                     {"warnings", warnings}})
                                               .toJson());
        return outcome;
    }
    lines << QStringLiteral("%1, %2 in %3")
                 .arg(counted(errors, "error", "errors"), counted(warnings, "warning", "warnings"),
                      counted(check.sets.size(), "set", "sets"));
    outcome.output = lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    return outcome;
}

} // namespace quorva
