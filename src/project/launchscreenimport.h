#pragma once

#include "project/projectconfig.h"

#include <QString>
#include <QStringList>

#include <filesystem>
#include <optional>

namespace quorva {

// A launch screen tool's settings, as a project keeps them, read into [splash] with the same
// effect: flutter_native_splash's (a flutter_native_splash section of pubspec.yaml, or
// flutter_native_splash.yaml, and one flutter_native_splash-NAME.yaml for each flavor), Expo's
// (splash, or the expo-splash-screen plugin's options), and the Capacitor assets tool's logo.
struct ImportedLaunchScreen {
    QString tool;          // "flutter_native_splash"
    QString from;          // the files it was read from: "pubspec.yaml"
    QStringList flavors;   // the flavors found
    QStringList unmatched; // keys that have no equal in Quorva: "fullscreen", "android_12.color"
    QStringList notes;
    QStringList errors; // a file that is no YAML, named with its line
};

// places: where the project's launch screens go (its res and catalog), as init found them.
// config takes [splash] and its flavors' tables; where the project has no place for it, [splash]
// is left out with why. Nothing when the project has no such settings.
std::optional<ImportedLaunchScreen> importLaunchScreen(const std::filesystem::path& root, const ConfigTable& places,
                                                       ProjectConfig& config);

} // namespace quorva
