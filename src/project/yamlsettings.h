#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <yaml-cpp/yaml.h>

#include <filesystem>
#include <optional>

namespace quorva {

// A Flutter tool's YAML settings file, read whole when it is small enough to be one.
std::optional<QByteArray> readYamlSettings(const std::filesystem::path& path);

// A node's text where it is a scalar; empty otherwise.
QString yamlScalar(const YAML::Node& node);

// A YAML boolean as Flutter's tools take it (true, yes, false, no); nothing for any other value.
std::optional<bool> yamlBoolean(const YAML::Node& node);

// The first of the named sections of a YAML document that is a map; nothing where it has none. A
// file that is no YAML adds "FILE:LINE: why" to errors.
std::optional<YAML::Node> yamlSection(const QByteArray& text, const QString& file, const QStringList& names,
                                      QStringList& errors);

} // namespace quorva
