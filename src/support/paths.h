#pragma once

#include <QString>

#include <filesystem>

namespace quorva {

// Paths are bytes to the system and text to the user: these cross between the two the way Qt
// does (the locale's encoding, undecodable bytes kept), so that a path shown is the path used.
QString displayPath(const std::filesystem::path& path);
std::filesystem::path toPath(const QString& text);

// A line about a file, as messages name it: "path: text".
QString pathLine(const std::filesystem::path& path, const QString& text);

// The last component of a path given as text, trailing separators ignored ("a/b/" gives "b").
QString lastComponent(const QString& path);

// Whether a name from outside (a file's base name, a name given on the command line or in a
// Contents.json) stays one entry of the folder it is put in: no separator, ".", ".." or NUL.
bool isSingleComponent(const QString& name);

// The path with every link of its existing part resolved, made absolute and normal: two paths
// that name the same file become equal.
std::filesystem::path resolvedPath(const std::filesystem::path& path);

// Whether the path is the folder or lies below it, both given the same way (absolute, normal).
bool isWithin(const std::filesystem::path& path, const std::filesystem::path& folder);

// A folder as one absolute, normal path with no trailing separator, links kept as they are: "."
// and "app/" name their folders the way every path joined to them is compared.
std::filesystem::path absoluteFolder(const std::filesystem::path& folder);

// The repository a folder lies in: the nearest folder at or above it that holds a .git (a
// folder, or a worktree's file); the folder itself where none does. A project's images may lie
// anywhere in it (a monorepo's shared artwork), its outputs only in the project.
std::filesystem::path repositoryOf(const std::filesystem::path& folder);

} // namespace quorva
