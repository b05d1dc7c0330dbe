#pragma once

#include "image/image.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace quorva {

// The choices of an Android launcher icon, as quorva-cli android and the window offer them.
struct AndroidIconOptions {
    QString name = QStringLiteral("ic_launcher");
    QString roundName = QStringLiteral("ic_launcher_round"); // empty: no round icon
    QColor backgroundColour = Qt::white;                     // the background layer, unless an image is given
    // The colour as the user wrote it, kept in the values file when it is a hex colour ("#2a4c7d"
    // stays in lower case); else the colour's own name is written.
    QString backgroundColourText;
    ImageRef backgroundImage;
    bool monochrome = false;    // a themed icon (Android 13)
    ImageRef monochromeArtwork; // its own art, whose alpha is taken; else the source's
    double padding = 0;         // room inside the safe circle, as a fraction of it
    bool playStore = false;     // the 512 px store listing icon too
    // The status bar's notification icon: white where the art is, inside its central 20 dp.
    bool notification = false;
    ImageRef notificationArtwork; // its own silhouette, whose alpha is taken; else the source's
    QString notificationName = QStringLiteral("ic_notification");
    // The launcher icon's bitmaps as lossless WebP rather than PNG, as Android Studio writes them:
    // where a project keeps its icon so, the files go in as they were, with no second format
    // beside them for the build to refuse.
    bool webp = false;
};

enum class AndroidRefusal {
    None,
    NoBitmap,
    NoArtworkForMonochrome,   // a full-bleed square has no art whose shape a themed icon could take
    NoArtworkForNotification, // nor one a notification icon could
};

enum class AndroidNote {
    FullBleed, // an opaque square: it became the background layer, the foreground is empty
};

// The files of a launcher icon, by their paths inside the res folder, each made when asked (so
// that they can be made side by side); and the 512 px Play Store icon.
struct AndroidIconPlan {
    AndroidRefusal refusal = AndroidRefusal::None;
    std::vector<AndroidNote> notes;
    std::map<QString, std::function<ImageRef()>> images; // "mipmap-hdpi/ic_launcher.png"
    std::map<QString, QByteArray> texts;                 // "mipmap-anydpi-v26/ic_launcher.xml"
    std::function<ImageRef()> playStore;
    // The background layer's colour, when it is one: "#1E88E5" in values/NAME_background.xml.
    std::optional<QString> colour;
    // What a launcher shows, shown × shown pixels before its mask: both layers' central 72 dp; and
    // the themed layer's alpha over the same, null without one. For the window's preview.
    std::function<QImage(int shown)> launcherView;
    std::function<QImage(int shown)> themedView;
};

// Transparent art is scaled so that its opaque bounding box fits the 66 dp safe circle, less the
// padding, over a colour or an image; a full-bleed opaque square becomes the background layer,
// the legacy icons showing its centre. An SVG is drawn from the vector at every size.
AndroidIconPlan planAndroidIcons(const ImageRef& source, const AndroidIconOptions& options);

// The notification icon's size, and the part of it the art may fill.
inline constexpr double notificationIconDp = 24;
inline constexpr double notificationArtDp = 20;

// Reads the options' images from their files: the background layer's, and the themed icon's own
// art. A line naming the file and why, when one can't be read.
std::optional<QString> loadAndroidArtwork(AndroidIconOptions& options,
                                          const std::optional<std::filesystem::path>& background,
                                          const std::optional<std::filesystem::path>& monochrome,
                                          const std::optional<std::filesystem::path>& notification = std::nullopt);

// Why a plan was refused, as a phrase that completes "… : ".
QString describe(AndroidRefusal refusal);

} // namespace quorva
