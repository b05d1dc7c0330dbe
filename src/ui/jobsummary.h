#pragma once

#include "generation/catalogwriter.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <filesystem>
#include <optional>

namespace quorva {

// What the writer calls of one job have told so far. Every call rewrites the whole set, so the
// last call's file count is the set's; a failure stays listed once seen, so that a later call
// that succeeds does not hide it.
struct JobSummary {
    QStringList failures;
    std::optional<std::filesystem::path> setFolder;
    std::size_t filesWritten = 0;

    void add(const WriteReport& report);
};

// The status line's rich text for a job: the failures if there were any, and how many files
// went where, with a link to the folder.
QString statusText(const JobSummary& summary);

} // namespace quorva
