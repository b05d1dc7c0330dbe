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

} // namespace quorva
