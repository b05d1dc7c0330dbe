#pragma once

#include <QString>

namespace quorva {

// One thing a catalog check found, under the name of the rule it breaks (see the rules of Apple's
// tools in the catalog format's description): an error is what Xcode or App Store Connect rejects.
struct Finding {
    enum class Severity { Error, Warning } severity = Severity::Error;
    QString path; // the file or set, as the user named the catalog or set, then the path inside
    QString rule;
    QString message;
};

} // namespace quorva
