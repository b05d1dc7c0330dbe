#pragma once

#include <QString>
#include <QStringList>

#include <cstddef>
#include <filesystem>
#include <optional>
#include <vector>

namespace quorva {

// What putting an output onto the disk did, counted from the files themselves, so that the window
// and the command line tell the user the same; every failure is one line, once.
struct InstallReport {
    std::optional<std::filesystem::path> setFolder; // what the window's Open Folder opens
    std::vector<std::filesystem::path> written;     // files new or changed, in the plan's order
    std::vector<std::filesystem::path> unchanged;   // files that held their bytes already, left alone
    QStringList removed;                            // files an earlier run wrote that this one does not
    QStringList kept; // files in the output's folder that Quorva did not write, left as they are
    QStringList failures;
    // When the output was refused for what lies in its way: what forcing it would do ("replaces
    // it anyway"), for the command line to offer as --force and the window as a button.
    std::optional<QString> forcing;

    bool failed() const { return !failures.isEmpty(); }
    // How many files the output is on the disk now.
    std::size_t fileCount() const { return written.size() + unchanged.size(); }
    // Another install's report added to this one, as one output made of several.
    void add(const InstallReport& other);
};

// The name the writers have always used for it.
using WriteReport = InstallReport;

} // namespace quorva
