#include "splash/androidsplash.h"

#include "android/androiddensity.h"
#include "image/artplacement.h"
#include "image/imageresizing.h"
#include "png/pngencoder.h"
#include "splash/artsquares.h"
#include "splash/splashbitmaps.h"
#include "splash/splashsizes.h"

#include <QPainter>

#include <algorithm>

namespace quorva {
namespace {

// The colour as a theme's item and a colour drawable write it: #RRGGBB.
QString colourText(const QColor& colour)
{
    return colour.name(QColor::HexRgb);
}

QString drawableRef(const char* name)
{
    return QStringLiteral("@drawable/") + QLatin1String(name);
}

// Before Android 12: the screen's colour, and the art centred over it at its density's size.
QByteArray layerList(const QColor& background)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                          "<layer-list xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                          "    <item>\n"
                          "        <color android:color=\"%1\" />\n"
                          "    </item>\n"
                          "    <item>\n"
                          "        <bitmap android:gravity=\"center\" android:src=\"%2\" />\n"
                          "    </item>\n"
                          "</layer-list>\n")
        .arg(colourText(background), drawableRef(splashImageName))
        .toUtf8();
}

// The art of one screen: the Android 12 icon, the older screens' bitmap, both in every density
// folder of a drawable qualifier ("drawable", "drawable-night").
void addArt(SplashBitmaps& bitmaps, ArtSquares& art, const QString& drawable, const AndroidSplashOptions& options)
{
    const double canvas = options.iconBackground ? splashIconOnBackgroundDp : splashIconDp;
    const double shownDp = splashArtDp(options);
    for (const AndroidDensity& density : androidDensities()) {
        const QString folder = drawable + QLatin1Char('-') + density.qualifier() + QLatin1Char('/');
        // The icon's canvas is transparent but for the art: drawn row by row, never whole.
        const int side = density.pixels(canvas), shown = density.pixels(shownDp);
        bitmaps.addEncoded(folder + QLatin1String(splashIconName) + QStringLiteral(".png"),
                           [square = art.at(shown), side, shown] {
                               return encodePngOnGround(qRgba(0, 0, 0, 0), QSize(side, side), square(),
                                                        QPoint((side - shown) / 2, (side - shown) / 2));
                           });
        // Before Android 12 the art shows as large, with no canvas around it; the compat library
        // shows the Android 12 icon there too.
        if (!options.compat)
            bitmaps.add(folder + QLatin1String(splashImageName) + QStringLiteral(".png"), art.at(shown));
    }
}

// Capacitor's full-screen splash.png: the screen's colour, the art centred at its size, at each
// orientation and density; "night" puts them under -night.
void addFullScreen(SplashBitmaps& bitmaps, ArtSquares& art, const QColor& background, bool night, double artDp)
{
    const auto screen = [&art, background, artDp](QSize size, double scale) {
        const int side = int(artDp * scale + 0.5);
        return [square = art.at(side), background, size, side] {
            return encodePngOnGround(background.rgb(), size, square(),
                                     QPoint((size.width() - side) / 2, (size.height() - side) / 2));
        };
    };
    const QString nightPart = night ? QStringLiteral("-night") : QString();
    const QString file = QLatin1Char('/') + QLatin1String(fullScreenSplashName) + QStringLiteral(".png");
    for (const FullScreenSplash& splash : fullScreenSplashes) {
        const QString density = QLatin1String(splash.density);
        if (density.isEmpty()) {
            bitmaps.addEncoded(QStringLiteral("drawable") + nightPart + file,
                               screen(QSize(splash.width, splash.height), splash.scale));
            continue;
        }
        // Orientation comes before night mode, and night before density, as aapt orders them.
        bitmaps.addEncoded(QStringLiteral("drawable-port%1-%2").arg(nightPart, density) + file,
                           screen(QSize(splash.width, splash.height), splash.scale));
        bitmaps.addEncoded(QStringLiteral("drawable-land%1-%2").arg(nightPart, density) + file,
                           screen(QSize(splash.height, splash.width), splash.scale));
    }
}

// The whole image, its aspect kept, centred on a transparent canvas of the size.
QImage containedIn(const Image& image, QSize size)
{
    QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    const QSize pixels = image.pixelSize();
    if (pixels.isEmpty())
        return canvas;
    const double scale = std::min(double(size.width()) / pixels.width(), double(size.height()) / pixels.height());
    const ImageRef scaled = resizedToSize(image, pixels.width() * scale, pixels.height() * scale);
    if (scaled) {
        const QImage& bitmap = scaled->representations().front();
        QPainter painter(&canvas);
        painter.drawImage(QPoint((size.width() - bitmap.width()) / 2, (size.height() - bitmap.height()) / 2), bitmap);
    }
    return canvas;
}

void addBranding(SplashBitmaps& bitmaps, const ImageRef& branding)
{
    for (const AndroidDensity& density : androidDensities()) {
        const QSize size(density.pixels(splashBrandingWidthDp), density.pixels(splashBrandingHeightDp));
        bitmaps.add(QStringLiteral("drawable-%1/%2.png").arg(density.qualifier(), QLatin1String(splashBrandingName)),
                    [branding, size] { return containedIn(*branding, size); });
    }
}

// The Android 12 items of a screen's theme: the platform's, or the compat library's own, which
// has no branding image (the platform's item gives it on Android 12).
StyleItems splashItems(const AndroidSplashOptions& options, const QColor& background, bool branding)
{
    const QString prefix = options.compat ? QString() : QStringLiteral("android:");
    StyleItems items = {{prefix + QStringLiteral("windowSplashScreenBackground"), colourText(background)},
                        {prefix + QStringLiteral("windowSplashScreenAnimatedIcon"), drawableRef(splashIconName)}};
    if (options.iconBackground)
        items.emplace_back(prefix + QStringLiteral("windowSplashScreenIconBackgroundColor"),
                           colourText(*options.iconBackground));
    if (options.branding && branding)
        items.emplace_back(QStringLiteral("android:windowSplashScreenBrandingImage"), drawableRef(splashBrandingName));
    return items;
}

// The theme as the first of the folders defines it, for a new file of a later version to start
// from: a style of a values-v31 file takes the whole style's place there, items and parent.
StyleDefinition baseStyle(const StylesFiles& styles, const StylesFiles& inherited, const QStringList& folders,
                          const QString& theme)
{
    for (const QString& folder : folders)
        for (const StylesFiles* files : {&styles, &inherited})
            if (const auto file = files->find(folder); file != files->end() && file->second.bytes)
                if (const std::optional<StyleDefinition> style = styleIn(*file->second.bytes, theme))
                    return *style;
    return {};
}

StylesFile fileIn(const StylesFiles& styles, const QString& folder)
{
    const auto file = styles.find(folder);
    return file == styles.end() ? StylesFile{} : file->second;
}

} // namespace

double splashArtDp(const AndroidSplashOptions& options)
{
    if (options.artDp)
        return *options.artDp;
    return inscribedSquare(options.iconBackground ? splashIconOnBackgroundCircleDp : splashIconCircleDp)
        * (1 - options.padding);
}

Plan planAndroidSplash(const ImageRef& art, const AndroidSplashOptions& options, const StylesFiles& styles,
                       const StylesFiles& inherited)
{
    Plan plan;
    const bool dark = hasDarkScreen(options);
    const QColor darkBackground = options.darkBackground.value_or(options.background);
    SplashBitmaps bitmaps;
    ArtSquares light(art, bitmaps);
    std::optional<ArtSquares> darkSquares;
    if (options.darkArt)
        darkSquares.emplace(options.darkArt, bitmaps);
    ArtSquares& darkArt = darkSquares ? *darkSquares : light;
    addArt(bitmaps, light, QStringLiteral("drawable"), options);
    if (options.darkArt)
        addArt(bitmaps, darkArt, QStringLiteral("drawable-night"), options);
    if (options.branding)
        addBranding(bitmaps, options.branding);
    if (options.fullScreen) {
        addFullScreen(bitmaps, light, options.background, false, splashArtDp(options));
        if (dark)
            addFullScreen(bitmaps, darkArt, darkBackground, true, splashArtDp(options));
    }
    if (!bitmaps.into(plan))
        return plan;

    if (!options.compat) {
        for (const char* folder : {"drawable", "drawable-v21"})
            plan.add(QLatin1String(folder) + QStringLiteral("/launch_background.xml"), layerList(options.background));
        if (dark)
            for (const char* folder : {"drawable-night", "drawable-night-v21"})
                plan.add(QLatin1String(folder) + QStringLiteral("/launch_background.xml"), layerList(darkBackground));
    }

    // The themes. The platform's: Android 12's items in values-v31 (values-night-v31), the older
    // screens' window background in values (and values-night, where it defines the theme). The
    // compat library's: its items in values (values-night) for every version, and in values-v31
    // where that defines the theme, which then takes the whole style's place, or where the
    // branding image needs the platform's item.
    struct ThemeFile {
        QString folder;
        QStringList baseFolders;
        StyleItems items;
        bool always; // written where the file or the theme is missing
    };
    const auto definesIn = [&](const StylesFiles& files, const char* folder) {
        const auto file = files.find(QLatin1String(folder));
        return file != files.end() && file->second.bytes && styleIn(*file->second.bytes, options.theme);
    };
    const auto defines = [&](const char* folder) { return definesIn(styles, folder) || definesIn(inherited, folder); };
    const QStringList v31Bases = {QStringLiteral("values-v31"), QStringLiteral("values")};
    const QStringList nightV31Bases = {QStringLiteral("values-night-v31"), QStringLiteral("values-v31"),
                                       QStringLiteral("values-night"), QStringLiteral("values")};
    std::vector<ThemeFile> files;
    if (options.compat) {
        const bool night = dark || defines("values-night");
        const bool v31 = options.branding || defines("values-v31");
        files = {{QStringLiteral("values"),
                  {QStringLiteral("values")},
                  splashItems(options, options.background, false),
                  true},
                 {QStringLiteral("values-night"),
                  {QStringLiteral("values-night"), QStringLiteral("values")},
                  splashItems(options, darkBackground, false),
                  night},
                 {QStringLiteral("values-v31"), v31Bases, splashItems(options, options.background, true), v31},
                 {QStringLiteral("values-night-v31"), nightV31Bases, splashItems(options, darkBackground, true),
                  (v31 && night) || defines("values-night-v31")}};
    } else {
        const StyleItems windowBackground
            = {{QStringLiteral("android:windowBackground"), drawableRef(launchBackgroundName)}};
        if (options.windowBackground)
            files = {{QStringLiteral("values"), {QStringLiteral("values")}, windowBackground, true},
                     {QStringLiteral("values-night"), {QStringLiteral("values-night")}, windowBackground, false}};
        files.push_back({QStringLiteral("values-v31"), v31Bases, splashItems(options, options.background, true), true});
        // In the dark a theme of values-night outranks one of values-v31, whatever the version:
        // where the project has one, Android 12 needs its items there too.
        if (dark || defines("values-night"))
            files.push_back(
                {QStringLiteral("values-night-v31"), nightV31Bases, splashItems(options, darkBackground, true), true});
    }
    for (const ThemeFile& file : files) {
        const StylesFile there = fileIn(styles, file.folder);
        const std::optional<QByteArray>& bytes = there.bytes;
        if (!file.always && (!bytes || !styleIn(*bytes, options.theme)))
            continue;
        const std::optional<QByteArray> edited
            = withStyleItems(bytes, options.theme, baseStyle(styles, inherited, file.baseFolders, options.theme),
                             file.items);
        if (!edited) {
            plan.refusal = QStringLiteral("%1/%2: its %3 theme can't be edited in place (defined twice, or "
                                          "its items are more than text)")
                               .arg(file.folder, there.name, options.theme);
            return plan;
        }
        if (edited != bytes)
            plan.add(file.folder + QLatin1Char('/') + there.name, *edited);
    }
    return plan;
}

} // namespace quorva
