#pragma once

#include <QString>

#include <optional>

namespace quorva {

// The Apple platforms whose app icons Quorva writes and checks.
enum class ApplePlatform { iOS, macOS, watchOS };

// The platform an entry of an app icon set's Contents.json belongs to, by its idiom and platform
// keys; nothing for the others (tv, car, vision, stickers).
inline std::optional<ApplePlatform> platformOfEntry(const QString& idiom, const QString& platform)
{
    if (idiom == QLatin1String("iphone") || idiom == QLatin1String("ipad") || idiom == QLatin1String("ios-marketing"))
        return ApplePlatform::iOS;
    if (idiom == QLatin1String("mac"))
        return ApplePlatform::macOS;
    if (idiom == QLatin1String("watch") || idiom == QLatin1String("watch-marketing"))
        return ApplePlatform::watchOS;
    if (idiom == QLatin1String("universal")) {
        if (platform == QLatin1String("watchos"))
            return ApplePlatform::watchOS;
        if (platform == QLatin1String("macos"))
            return ApplePlatform::macOS;
        if (platform.isEmpty() || platform == QLatin1String("ios"))
            return ApplePlatform::iOS;
    }
    return std::nullopt;
}

// The platform an Xcode target builds for, by its SDKROOT ("iphoneos", "macosx", "watchos").
inline std::optional<ApplePlatform> platformOfSdk(const QString& sdk)
{
    if (sdk.startsWith(QLatin1String("iphone")))
        return ApplePlatform::iOS;
    if (sdk.startsWith(QLatin1String("macosx")))
        return ApplePlatform::macOS;
    if (sdk.startsWith(QLatin1String("watch")))
        return ApplePlatform::watchOS;
    return std::nullopt;
}

} // namespace quorva
