#pragma once

#include "apple/catalogwriter.h"
#include "ui/messagearea.h"

#include <QFontMetrics>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <filesystem>
#include <optional>

namespace quorva {

// What the writer calls of one job have told so far. Every call puts the whole set in, so the
// last call's file counts are the set's, counted from what is on the disk (files that already held
// their bytes among them); a failure stays listed once seen, so that a later call that succeeds
// does not hide it.
struct JobSummary {
    QStringList failures;
    QStringList kept; // files in the set folder that Quorva did not write
    std::optional<std::filesystem::path> setFolder;
    std::size_t filesInSet = 0;     // written into the set folder
    std::size_t filesBesideSet = 0; // the artwork copies beside it
    // Refused for what lies in the way: what writing it anyway would do ("replaces it").
    std::optional<QString> forcing;

    void add(const WriteReport& report);
};

// The status area's message for a job: that the set is incomplete, in words that can't be
// missed, with each failure as a sentence; or how many files went where, with a link to the set
// folder, its path whole where the line has room for it and else shortened in the middle to the
// room there is (the whole path is the tooltip). width: the text's, in the font of metrics.
struct JobMessage {
    QString richText;
    MessageArea::Severity severity = MessageArea::Severity::Plain;
    QString toolTip;
};
JobMessage statusMessage(const JobSummary& summary, const QFontMetrics& metrics, int width);

} // namespace quorva
