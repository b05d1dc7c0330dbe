#pragma once

#include <QByteArray>
#include <QString>

#include <filesystem>
#include <optional>

namespace quorva {

// Each gives nothing on success, else a one-line description naming the path and the
// system's reason.

// Creates a folder with every missing folder between it and base, which must exist already: a
// folder that went away is not made again. An existing folder is no failure.
std::optional<QString> createFoldersBelow(const std::filesystem::path& base, const std::filesystem::path& folder);

// Writes the bytes to the file, replacing what it held (not atomically).
std::optional<QString> writeFile(const std::filesystem::path& file, const QByteArray& bytes);

// Reads a whole file, which may be a compiled-in resource (":/...").
std::optional<QString> readFile(const QString& file, QByteArray& bytes);

QString displayPath(const std::filesystem::path& path);

} // namespace quorva
