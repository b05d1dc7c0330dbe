#pragma once

#include <QStringList>

namespace quorva {

// What a generating command did, for quorva-cli to print and exit with.
struct GenerateOutcome {
    int exitStatus = 0;
    QStringList errors; // one line per failed source, set or file, naming it
    QStringList notes;  // what the user should know although nothing failed
    QStringList output; // what goes to standard output, for the user to copy: a page's <link> lines
};

// A run that failed for this one reason.
inline GenerateOutcome failedWith(const QString& error)
{
    GenerateOutcome outcome;
    outcome.exitStatus = 1;
    outcome.errors << error;
    return outcome;
}

} // namespace quorva
