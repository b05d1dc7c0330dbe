#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <optional>
#include <vector>

namespace quorva {

// One file of an output, by its path below the destination ("Quorva/icon/iOS/AppIcon.png",
// "mipmap-hdpi/ic_launcher.png"), with its bytes.
struct PlannedFile {
    QString path;
    QByteArray bytes;
    bool keepExisting = false; // written only where there is no such file yet: a catalog's own Contents.json
};

// An output before it touches the disk: every file it is, in memory, in the order they go in; or
// why it is refused. The same input gives the same plan, byte for byte.
struct Plan {
    std::vector<PlannedFile> files;
    // Folders that are the output's alone (a set in a catalog, an Icon Composer file): replaced
    // whole, so that at every moment the folder is the old one or the new one, and what only the
    // old one held goes with it. Every file below one is among the files.
    QStringList wholeFolders;
    // Files that go once the plan's files are in: what an earlier run wrote and this one does not.
    QStringList removals;
    std::optional<QString> refusal;

    void add(const QString& path, QByteArray bytes);
    const PlannedFile* find(const QString& path) const;
    // The bytes of every file, as the disk will need room for them.
    std::size_t byteCount() const;
};

} // namespace quorva
