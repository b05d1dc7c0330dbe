#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

namespace quorva {

// An image an Expo app's configuration names, which prebuild makes the native icons from.
struct ExpoImage {
    enum class Role {
        Icon,       // icon, android.icon, ios.icon (or its light image): the 1024 px icon
        Dark,       // ios.icon.dark: the art on transparency
        Tinted,     // ios.icon.tinted: light on black
        Foreground, // android.adaptiveIcon.foregroundImage: the art in the launcher's safe circle
        Monochrome, // android.adaptiveIcon.monochromeImage: the same, white
        Favicon,    // web.favicon
    } role;
    QString key;  // as the configuration names it: "android.adaptiveIcon.foregroundImage"
    QString path; // relative to the configuration's folder: "./assets/adaptive-icon.png"
};

// What app.json, or an app.config.js or .ts whose values are literal, says of the icons: every
// image key with a string, the adaptive icon's background colour; the keys whose value is no
// literal (process.env…, a call) are named as unread.
struct ExpoConfig {
    std::vector<ExpoImage> images;
    std::optional<QString> backgroundColour; // android.adaptiveIcon.backgroundColor
    // The launch screen's settings, by their keys below splash ("image", "dark.backgroundColor",
    // "imageWidth"), or below the expo-splash-screen plugin's options, which prebuild prefers;
    // android.splash's and ios.splash's as "android.image", "ios.image".
    std::map<QString, QString> splash;
    QStringList unread;
    std::optional<QString> error; // the file is no JSON (app.json)
};
ExpoConfig readExpoConfig(const QByteArray& text, bool script);

} // namespace quorva
