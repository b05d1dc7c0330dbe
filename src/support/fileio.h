#pragma once

#include "support/filedescriptor.h"

#include <QByteArray>
#include <QString>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quorva {

// Each gives nothing on success, else a one-line description naming the path and the system's
// reason ("Couldn't write \"…/AppIcon.png\": No space left on device").

// Writes every byte to the descriptor, going on after interrupted and short writes. Gives errno,
// or 0; a write that takes nothing counts as a full disk.
int writeAll(int fd, const QByteArray& bytes);

// Opens the folder `name` inside the open folder `parent` (whose path is parentPath), making it
// first when create is set (an existing folder is no failure), as mkdir would under the umask.
// A symbolic link there is followed only when it leads to a folder inside `within`: links
// planted in a destination never take a write out of it.
std::optional<QString> openFolderIn(const FileDescriptor& parent, const std::filesystem::path& parentPath,
                                    const std::filesystem::path& name, const std::filesystem::path& within, bool create,
                                    FileDescriptor& folder);

// Whether the file `name` of an open folder, not followed if it is a link, is a regular file that
// holds exactly these bytes.
bool holdsBytes(const FileDescriptor& folder, const std::filesystem::path& name, const QByteArray& bytes);

// Reads the file `name` of an open folder, not following a link there, when it is a regular file
// of at most maxBytes. Gives errno, or 0; EFBIG when it is larger, EINVAL when it is no file.
int readFileIn(const FileDescriptor& folder, const std::filesystem::path& name, qint64 maxBytes, QByteArray& bytes);

// The names in an open folder, "." and ".." left out; empty when it can't be listed.
std::vector<std::string> namesIn(const FileDescriptor& folder);

// Reads a whole file, which may be a compiled-in resource (":/...").
std::optional<QString> readFile(const QString& file, QByteArray& bytes);

// Up to size bytes from the descriptor, going on after interrupted and short reads: fewer only
// at the file's end or an error.
QByteArray readUpTo(int fd, qint64 size);

// A regular file's bytes, when it is one of at most maxBytes; nothing otherwise. A link is
// followed to what it names unless followLinks is false, when a link is no regular file.
std::optional<QByteArray> readSmallFile(const std::filesystem::path& path, qint64 maxBytes, bool followLinks = true);

// Whether anything is at the path, a link counted as itself and not followed.
bool isPresent(const std::filesystem::path& path);

// Whether the path is a regular file, or a folder, links followed; false for any error.
bool isFile(const std::filesystem::path& path);
bool isFolder(const std::filesystem::path& path);

} // namespace quorva
