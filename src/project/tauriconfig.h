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
    std::optional<QString> error; // the configuration is no JSON, or names no icons
};
TauriIcons tauriIcons(const QByteArray& config);

} // namespace quorva
