#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace quorva {

// An icon a Tauri app bundles, as its configuration names it (relative to the configuration's
// folder), and what it must be.
struct TauriIcon {
    enum class Format { Png, Ico, Icns } format;
    QString path;
    int side = 0; // a PNG's: from its name (32x32.png, 128x128@2x.png is 256); icon.png is 512
};

// The icons of tauri.conf.json's bundle.icon (Tauri 2) or tauri.bundle.icon (Tauri 1). A file
// whose size or format its name does not tell is left out, named in skipped.
struct TauriIcons {
    std::vector<TauriIcon> icons;
    QStringList skipped;
    std::optional<QString> error; // the configuration is no JSON object
    bool namesIcons = false;      // it has a bundle.icon list (a platform's configuration may not)
};
TauriIcons tauriIcons(const QByteArray& config);

// The configurations Tauri merges over the main one on each platform, beside it:
// tauri.macos.conf.json, tauri.windows.conf.json… Each may name icons of its own (a Mac build's
// own .icns in another folder).
const QStringList& tauriPlatformConfigNames();

} // namespace quorva
