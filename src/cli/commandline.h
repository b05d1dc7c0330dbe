#pragma once

#include <QString>
#include <QStringList>

#include <filesystem>
#include <optional>

namespace quorva {

enum class SetKind { AppIcon, ImageSet };

struct GenerateRequest {
    SetKind kind = SetKind::AppIcon;
    std::filesystem::path source;
    std::filesystem::path destination;
    std::optional<QString> assetName; // image set only; else the source's base name
};

// What the command line asks for: a set to generate, the help or version text to print, or a
// usage error to report.
struct CommandLine {
    enum class Action { Generate, Help, Version, UsageError } action = Action::UsageError;
    GenerateRequest request;
    QString error;
};

CommandLine parseCommandLine(const QStringList& arguments);

QString usageText();
QString versionText();

} // namespace quorva
