#pragma once

#include "android/stylesfile.h"
#include "image/image.h"
#include "target/plan.h"

#include <QColor>
#include <QString>

#include <map>
#include <optional>

namespace quorva {

// What a launch screen for Android is made of, as quorva-cli splash and sync give it.
struct AndroidSplashOptions {
    QString theme;                        // the launch theme's name, as the manifest names it
    QColor background = Qt::white;        // the screen's colour
    std::optional<QColor> iconBackground; // Android 12's circle behind the icon
    ImageRef darkArt;                     // the dark screen's own art; else the light one's
    std::optional<QColor> darkBackground; // the dark screen's colour
    ImageRef branding;                    // Android 12's image at the bottom of the screen
    double padding = 0;                   // room inside the visible square, as a fraction of it
    // The art's side in dp, where it is given; else the square that the circle never cuts.
    std::optional<double> artDp;
    // Whether the theme's window background is the older screens' launch screen: a launch theme's
    // own (Flutter's LaunchTheme), not the application's, which every window of the app shows.
    bool windowBackground = true;
    // The launch theme is the compat library's (Theme.SplashScreen): its own unprefixed items, in
    // values for every version, and no window background of the app's own.
    bool compat = false;
    // The project shows Capacitor's full-screen splash.png: it is written at each of its sizes.
    bool fullScreen = false;
};

// The resource names the launch screen's files take.
inline constexpr const char* splashIconName = "splash_icon";
inline constexpr const char* splashImageName = "splash_image";
inline constexpr const char* splashBrandingName = "splash_branding";
inline constexpr const char* launchBackgroundName = "launch_background";

// A values file of res that a theme is in, or would go in: styles.xml, or themes.xml where a
// project keeps its themes there.
struct StylesFile {
    QString name = QStringLiteral("styles.xml");
    std::optional<QByteArray> bytes; // nothing where there is no such file yet
};
// Those of the launch theme, by their folders: "values", "values-night", "values-v31",
// "values-night-v31". A folder left out has no such file yet.
using StylesFiles = std::map<QString, StylesFile>;

// A launch screen's files by their paths inside res, for Android 12 and later (the theme's
// windowSplashScreen* items in values-v31, the icon on its 288 dp canvas, the art inside the
// square inscribed in the circle that shows) and before (launch_background.xml's colour and
// centred bitmap in drawable and drawable-v21, named by the theme's windowBackground where it is
// the launch screen's), with
// -night twins where there is a dark screen. The themes are edited in place: only the items
// Quorva owns change. A flavor's source set that has no such files yet inherits the theme from the
// main one's (inherited), and its new files start from that. Refused when a styles file can't be
// edited so.
Plan planAndroidSplash(const ImageRef& art, const AndroidSplashOptions& options, const StylesFiles& styles,
                       const StylesFiles& inherited = {});

// The art's side in dp: as given, else the square inscribed in the circle that shows, less the
// padding.
double splashArtDp(const AndroidSplashOptions& options);

// The dark screen is written when it has art or a colour of its own.
inline bool hasDarkScreen(const AndroidSplashOptions& options)
{
    return options.darkArt || options.darkBackground;
}

} // namespace quorva
