#pragma once

#include "target/finding.h"

#include <QString>
#include <QStringList>

#include <set>
#include <vector>

namespace quorva {

// The findings of one check of an app's resources, each once per file and rule, or per the key
// given (a resource named missing from two places is one finding for each).
class ResFindings {
public:
    explicit ResFindings(std::vector<Finding>& findings) : m_findings(findings) {}

    void add(Finding::Severity severity, const QString& path, const QString& rule, const QString& message,
             const QString& key = {})
    {
        if (m_reported.insert(path + QLatin1Char('\n') + rule + QLatin1Char('\n') + key).second)
            m_findings.push_back({severity, path, rule, message});
    }

private:
    std::vector<Finding>& m_findings;
    std::set<QString> m_reported;
};

// Files that name a resource, as a message lists them.
inline QString listedFiles(const QStringList& paths)
{
    return paths.join(QStringLiteral(", "));
}

} // namespace quorva
