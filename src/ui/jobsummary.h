#pragma once

#include "catalog/catalogwriter.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <filesystem>
#include <optional>

namespace quorva {

// What the writer calls of one job have told so far. Every call rewrites the whole set, so the
// last call's file counts are the set's; a failure stays listed once seen, so that a later call
// that succeeds does not hide it.
struct JobSummary {
    QStringList failures;
    std::optional<std::filesystem::path> setFolder;
    std::size_t filesInSet = 0;     // written into the set folder
    std::size_t filesBesideSet = 0; // the artwork copies beside it

    void add(const WriteReport& report);
};

// The status line's rich text for a job: the failures if there were any, each a sentence, and
// how many files went where, with a link to the set folder.
QString statusText(const JobSummary& summary);

} // namespace quorva
