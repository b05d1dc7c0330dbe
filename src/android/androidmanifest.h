#pragma once

#include <QString>

#include <filesystem>
#include <optional>
#include <tuple>
#include <vector>

namespace quorva {

// A reference into an app's own resources: "@mipmap/ic_launcher" as its type and name.
struct ResourceRef {
    QString type;
    QString name;

    QString text() const { return QStringLiteral("@%1/%2").arg(type, name); }
    bool operator==(const ResourceRef&) const = default;
    bool operator<(const ResourceRef& other) const { return std::tie(type, name) < std::tie(other.type, other.name); }
};
// Nothing for the framework's own (@android:…), attributes (?…), placeholders and whatever else
// is no reference into the app's resources.
std::optional<ResourceRef> resourceReference(const QString& value);

// An icon an AndroidManifest.xml names.
struct AndroidManifestIcon {
    QString element;   // "application", "activity-alias", "service"…
    QString attribute; // "icon" or "roundIcon"
    QString value;     // "@mipmap/ic_launcher", or a placeholder: "${appIcon}"
    // The application's and its activity aliases' are launcher icons, and a launcher activity's;
    // a quick-settings tile's or a notification's are not.
    bool launcher = false;
};

// What a manifest says of the app's icons.
struct AndroidManifest {
    std::vector<AndroidManifestIcon> icons; // in its order
    bool watch = false;                     // a Wear OS app (android.hardware.type.watch), which has no themed icons
    QString applicationTheme;               // android:theme of <application>: "@style/AppTheme"
    QString launcherTheme;                  // that of the activity the launcher starts, where it has one

    // The theme the app starts in, whose window the launch screen is: the launcher activity's,
    // else the application's; nothing when neither is one of the app's own styles.
    std::optional<QString> launchTheme() const;
};
// Nothing when it can't be read as XML.
std::optional<AndroidManifest> readAndroidManifest(const std::filesystem::path& manifest);

// A manifest placeholder's name: "appIcon" for "${appIcon}", nothing for any other value.
std::optional<QString> placeholderName(const QString& value);

} // namespace quorva
