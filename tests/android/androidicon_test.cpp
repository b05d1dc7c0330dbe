// quorva-cli android writing a launcher icon into a Flutter app's res folder: the files Android's
// build and launchers take, each whole, and nothing else of the app touched.
#include "android/androidiconplan.h"
#include "android/rescheck.h"
#include "densities.h"
#include "testsupport.h"

#include <QRandomGenerator>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

using test::densities;
using test::Density;
using test::Tree;
using test::treeOf;

// Transparent art: an opaque ellipse off the centre, with a soft edge.
QImage logoImage()
{
    QImage image(600, 400, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const double d = std::hypot((x - 380) / 150.0, (y - 220) / 120.0);
            const int alpha = std::clamp(int((1.05 - d) * 20 * 255), 0, 255);
            image.setPixel(x, y, qPremultiply(qRgba(20, 110, 220, alpha)));
        }
    return image;
}

// A full-bleed square: opaque everywhere, red growing to the right, green downwards.
QImage opaqueGradient(int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            image.setPixel(x, y, qRgb(x * 255 / (side - 1), y * 255 / (side - 1), 90));
    return image;
}

// An adaptive icon's layers as its XML names them.
std::map<QString, QString> layersOf(const QByteArray& xml)
{
    std::map<QString, QString> layers;
    QXmlStreamReader reader(xml);
    EXPECT_TRUE(reader.readNextStartElement());
    EXPECT_EQ(reader.name(), QLatin1String("adaptive-icon"));
    while (reader.readNextStartElement()) {
        layers[reader.name().toString()]
            = reader.attributes().value("http://schemas.android.com/apk/res/android", "drawable").toString();
        reader.skipCurrentElement();
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return layers;
}

// The art's opaque box, in pixels; empty when the image is transparent.
QRect artBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) >= 8)
                box |= QRect(x, y, 1, 1);
    return box;
}

class AndroidIcon : public ::testing::Test {
protected:
    test::Scratch scratch;
    QString logo = scratch.savePng("logo.png", logoImage());
    QString square = scratch.savePng("square.png", opaqueGradient(300));
    fs::path main = scratch / "app/android/app/src/main";
    fs::path res = main / "res";

    // What flutter create writes: the default icon at each density, the launch screen, the styles
    // and the manifest that names the icon; with a round icon, as Android Studio's template has it.
    void makeFlutterTree(bool round = false)
    {
        for (const Density& density : densities) {
            fs::create_directories(res / density.mipmap());
            test::savePngTo(res / density.mipmap() / "ic_launcher.png",
                            test::solidImage(density.legacy, density.legacy, qRgb(2, 86, 155)));
        }
        for (const char* folder : {"drawable", "drawable-v21", "values", "values-night"})
            fs::create_directories(res / folder);
        const QByteArray launch = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<layer-list "
                                  "xmlns:android=\"http://schemas.android.com/apk/res/android\">\n    <item "
                                  "android:drawable=\"@android:color/white\" />\n</layer-list>\n";
        test::writeBytes(res / "drawable/launch_background.xml", launch);
        test::writeBytes(res / "drawable-v21/launch_background.xml", launch);
        const QByteArray styles = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<resources>\n    <style "
                                  "name=\"LaunchTheme\" parent=\"@android:style/Theme.Light.NoTitleBar\">\n    "
                                  "</style>\n</resources>\n";
        test::writeBytes(res / "values/styles.xml", styles);
        test::writeBytes(res / "values-night/styles.xml", styles);
        test::writeBytes(main / "AndroidManifest.xml",
                         "<manifest xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                         "    <application android:label=\"app\" android:icon=\"@mipmap/ic_launcher\""
                             + QByteArray(round ? " android:roundIcon=\"@mipmap/ic_launcher_round\"" : "")
                             + ">\n    </application>\n</manifest>\n");
    }

    test::ProgramRun android(const QString& source, QStringList options = {})
    {
        return test::runCli(QStringList{"android", source, test::str(res)} + options);
    }
    QImage png(const std::string& path) const { return test::decodeFile(res / path); }
};

} // namespace

TEST_F(AndroidIcon, writesEveryDensityTheXmlAndTheColour_andLeavesTheAppsOtherFilesAlone)
{
    makeFlutterTree(true);
    const Tree before = treeOf(main);
    const test::ProgramRun run = android(logo, {"--monochrome", "--background", "#102030"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, QString());

    for (const Density& density : densities) {
        SCOPED_TRACE(density.name);
        const std::string folder = density.mipmap() + "/";
        const int legacy = density.legacy, layer = density.layer;
        const double scale = legacy / 48.0;
        EXPECT_EQ(png(folder + "ic_launcher.png").size(), QSize(legacy, legacy));
        EXPECT_EQ(png(folder + "ic_launcher_round.png").size(), QSize(legacy, legacy));
        const QImage foreground = png(folder + "ic_launcher_foreground.png");
        const QImage monochrome = png(folder + "ic_launcher_monochrome.png");
        ASSERT_EQ(foreground.size(), QSize(layer, layer));
        ASSERT_EQ(monochrome.size(), QSize(layer, layer));
        EXPECT_FALSE(fs::exists(res / folder / "ic_launcher_background.png")) << "the background is a colour";

        // The art's box lies inside the 66 dp circle, and is no smaller than a pixel short of it.
        const QRect box = artBox(foreground);
        ASSERT_FALSE(box.isEmpty());
        const double radius = 33 * scale, half = layer / 2.0;
        double farthest = 0;
        for (const QPoint corner : {box.topLeft(), box.bottomRight() + QPoint(1, 1), box.topRight() + QPoint(1, 0),
                                    box.bottomLeft() + QPoint(0, 1)})
            farthest = std::max(farthest, std::hypot(corner.x() - half, corner.y() - half));
        EXPECT_LE(farthest, radius + 1);
        EXPECT_GE(farthest, radius - 2 * scale) << "the art is scaled up to the circle";
        // The themed layer is the art's shape in white.
        EXPECT_EQ(artBox(monochrome), box);
        const QRgb middle = monochrome.pixel(box.center());
        EXPECT_EQ(qRed(middle), 255);
        EXPECT_EQ(qBlue(middle), 255);
        // The round icon is transparent in its corners; the legacy icon shows the colour there.
        EXPECT_EQ(qAlpha(png(folder + "ic_launcher_round.png").pixel(0, 0)), 0);
        EXPECT_EQ(png(folder + "ic_launcher.png").pixel(0, 0), qRgb(0x10, 0x20, 0x30));
    }

    for (const char* xml : {"mipmap-anydpi-v26/ic_launcher.xml", "mipmap-anydpi-v26/ic_launcher_round.xml"}) {
        const std::map<QString, QString> expected = {{"background", "@color/ic_launcher_background"},
                                                     {"foreground", "@mipmap/ic_launcher_foreground"},
                                                     {"monochrome", "@mipmap/ic_launcher_monochrome"}};
        EXPECT_EQ(layersOf(test::readBytes(res / xml)), expected) << xml;
    }
    QXmlStreamReader colour(test::readBytes(res / "values/ic_launcher_background.xml"));
    ASSERT_TRUE(colour.readNextStartElement());
    EXPECT_EQ(colour.name(), QLatin1String("resources"));
    ASSERT_TRUE(colour.readNextStartElement());
    EXPECT_EQ(colour.name(), QLatin1String("color"));
    EXPECT_EQ(colour.attributes().value("name"), QLatin1String("ic_launcher_background"));
    EXPECT_EQ(colour.readElementText().toUpper(), QStringLiteral("#102030"));

    // Flutter's own files are as they were, but the icons Quorva replaced.
    Tree after = treeOf(main);
    for (const auto& [file, bytes] : before) {
        if (file.endsWith(QLatin1String("/ic_launcher.png")))
            continue;
        EXPECT_EQ(after[file], bytes) << file.toStdString();
    }

    const test::ProgramRun check = test::runCli({"check", test::str(res)});
    EXPECT_EQ(check.exitCode, 0) << check.out.toStdString();
    EXPECT_TRUE(check.out.endsWith("0 errors, 0 warnings in 2 sets\n"))
        << "the icon and its round icon: " << check.out.toStdString();
}

TEST_F(AndroidIcon, aFullBleedSquareIsTheBackgroundLayer_andSaysSo)
{
    makeFlutterTree();
    const test::ProgramRun run = android(square);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("no transparent pixels")) << run.err.toStdString();
    const QImage source = test::decodeFile(scratch / "square.png");
    for (const Density& density : densities) {
        const std::string folder = density.mipmap() + "/";
        EXPECT_TRUE(artBox(png(folder + "ic_launcher_foreground.png")).isEmpty());
        const QImage background = png(folder + "ic_launcher_background.png");
        EXPECT_EQ(background.size(), QSize(density.layer, density.layer));
        EXPECT_FALSE(background.hasAlphaChannel());
    }
    // The legacy icon is what the launcher would show: the central 72 of 108 dp.
    const QImage legacy = png("mipmap-xxxhdpi/ic_launcher.png");
    const QImage centre
        = source.copy(50, 50, 200, 200).scaled(192, 192, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (const QPoint at : {QPoint(10, 10), QPoint(96, 96), QPoint(180, 20)})
        EXPECT_NEAR(qRed(legacy.pixel(at)), qRed(centre.pixel(at)), 8) << at.x() << "," << at.y();
    EXPECT_EQ(layersOf(test::readBytes(res / "mipmap-anydpi-v26/ic_launcher.xml"))["background"],
              QStringLiteral("@mipmap/ic_launcher_background"));
    EXPECT_FALSE(fs::exists(res / "values/ic_launcher_background.xml"));

    const test::ProgramRun themed = android(square, {"--monochrome"});
    EXPECT_EQ(themed.exitCode, 1);
    EXPECT_TRUE(themed.err.contains("--monochrome FILE")) << themed.err.toStdString();
    const test::ProgramRun ownArt = android(square, {"--monochrome", logo});
    EXPECT_EQ(ownArt.exitCode, 0) << ownArt.err.toStdString();
    EXPECT_EQ(artBox(png("mipmap-mdpi/ic_launcher_monochrome.png")).isEmpty(), false);
}

TEST_F(AndroidIcon, aLaterRunRemovesWhatItNoLongerWrites_butNoFileOfTheUsers)
{
    makeFlutterTree();
    test::writeBytes(res / "mipmap-hdpi/ic_launcher_custom.txt", "the user's");
    ASSERT_EQ(android(logo, {"--monochrome", "--background", square}).exitCode, 0);
    ASSERT_TRUE(fs::exists(res / "mipmap-hdpi/ic_launcher_monochrome.png"));
    ASSERT_TRUE(fs::exists(res / "mipmap-hdpi/ic_launcher_background.png"));
    ASSERT_EQ(android(logo).exitCode, 0);
    for (const Density& density : densities) {
        EXPECT_FALSE(fs::exists(res / density.mipmap() / "ic_launcher_monochrome.png"));
        EXPECT_FALSE(fs::exists(res / density.mipmap() / "ic_launcher_background.png"));
    }
    EXPECT_EQ(layersOf(test::readBytes(res / "mipmap-anydpi-v26/ic_launcher.xml")).count("monochrome"), 0u);
    EXPECT_TRUE(fs::exists(res / "values/ic_launcher_background.xml"));
    EXPECT_EQ(test::readBytes(res / "mipmap-hdpi/ic_launcher_custom.txt"), QByteArray("the user's"));
    // A list planted in the folder does not make a run remove the app's files.
    test::writeBytes(res / ".quorva-ic_launcher", "values/styles.xml\n../main/AndroidManifest.xml\n");
    ASSERT_EQ(android(logo).exitCode, 0);
    EXPECT_TRUE(fs::exists(res / "values/styles.xml"));
    EXPECT_TRUE(fs::exists(main / "AndroidManifest.xml"));
}

TEST_F(AndroidIcon, refusesWhatAndroidsBuildWouldRefuse_andWritesNothing)
{
    makeFlutterTree();
    // The colour defined twice already: no one place to change it in.
    for (const char* file : {"values/colors.xml", "values/brand.xml"})
        test::writeBytes(res / file, "<resources><color name=\"ic_launcher_background\">#FFFFFF</color></resources>");
    Tree before = treeOf(main);
    const test::ProgramRun twice = android(logo);
    EXPECT_EQ(twice.exitCode, 1);
    EXPECT_TRUE(twice.err.contains("defines the colour ic_launcher_background already")) << twice.err.toStdString();
    EXPECT_EQ(twice.err.count('\n'), 1) << "one refusal, said once";
    EXPECT_EQ(treeOf(main), before);
    fs::remove(res / "values/colors.xml");
    fs::remove(res / "values/brand.xml");

    // Android Studio's icons are WebP: a PNG beside one is the same resource twice.
    test::writeBytes(res / "mipmap-hdpi/ic_launcher.webp", "RIFF");
    before = treeOf(main);
    const test::ProgramRun clash = android(logo);
    EXPECT_EQ(clash.exitCode, 1);
    EXPECT_TRUE(clash.err.contains("mipmap-hdpi/ic_launcher.webp: is the same resource")) << clash.err.toStdString();
    EXPECT_EQ(treeOf(main), before);
    ASSERT_EQ(android(logo, {"--force"}).exitCode, 0);
    EXPECT_FALSE(fs::exists(res / "mipmap-hdpi/ic_launcher.webp"));
    EXPECT_EQ(test::runCli({"check", test::str(res)}).exitCode, 0);
}

struct UsageRow {
    const char* name;
    QStringList options;
    int exitCode;
    const char* says;
};

void PrintTo(const UsageRow& row, std::ostream* out)
{
    *out << row.name;
}

class AndroidUsage : public AndroidIcon, public ::testing::WithParamInterface<UsageRow> {};

TEST_P(AndroidUsage, isRefusedWithALine)
{
    makeFlutterTree();
    const Tree before = treeOf(main);
    const test::ProgramRun run = android(logo, GetParam().options);
    EXPECT_EQ(run.exitCode, GetParam().exitCode);
    EXPECT_TRUE(run.err.contains(GetParam().says)) << run.err.toStdString();
    EXPECT_EQ(treeOf(main), before);
}

INSTANTIATE_TEST_SUITE_P(
    Android, AndroidUsage,
    ::testing::Values(
        UsageRow{"translucentBackground", {"--background", "#ff000080"}, 2, "--background takes an opaque colour"},
        UsageRow{"upperCaseName", {"--name", "IcLauncher"}, 2, "Android resource name"},
        UsageRow{"paddingOver40", {"--padding", "45"}, 2, "--padding takes"},
        UsageRow{"neitherColourNorFile", {"--background", "nowhere.png"}, 1, "nowhere.png: it can't be opened"},
        UsageRow{"iOSOnlyOption", {"--single-size"}, 2, "android takes no option --single-size"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AndroidIcon, resMustBeAnAppsSourceSetResUnlessForced)
{
    const fs::path loose = scratch / "icons";
    fs::create_directories(loose);
    const test::ProgramRun missing = test::runCli({"android", logo, test::str(scratch / "nowhere/res")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("no such folder")) << missing.err.toStdString();
    const test::ProgramRun notRes = test::runCli({"android", logo, test::str(loose)});
    EXPECT_EQ(notRes.exitCode, 1);
    EXPECT_TRUE(notRes.err.contains("--force")) << notRes.err.toStdString();
    EXPECT_TRUE(test::filesBelow(loose).isEmpty());
    EXPECT_EQ(test::runCli({"android", logo, test::str(loose), "--force"}).exitCode, 0);
    EXPECT_TRUE(fs::exists(loose / "mipmap-xxxhdpi/ic_launcher.png"));
    // A flavour's res is a res like main's.
    fs::create_directories(scratch / "app/src/free/res");
    EXPECT_EQ(test::runCli({"android", logo, test::str(scratch / "app/src/free/res")}).exitCode, 0);
}

TEST_F(AndroidIcon, thePlayStoreIconIsA512PxOpaque32BitPng)
{
    makeFlutterTree();
    const fs::path store = main / "ic_launcher-playstore.png";
    ASSERT_EQ(android(logo, {"--play-store", test::str(store)}).exitCode, 0);
    const QByteArray bytes = test::readBytes(store);
    EXPECT_LE(bytes.size(), 1024 * 1024);
    EXPECT_EQ(test::pngColourType(bytes), 6) << "Play asks for 32-bit PNG";
    const QImage icon = test::decodeFile(store);
    ASSERT_EQ(icon.size(), QSize(512, 512));
    for (const QPoint at : {QPoint(0, 0), QPoint(511, 511), QPoint(256, 256)})
        EXPECT_EQ(qAlpha(icon.pixel(at)), 255);
    // The same art as the launcher's own icon, larger.
    const QImage legacy = png("mipmap-xxxhdpi/ic_launcher.png");
    EXPECT_NEAR(qBlue(icon.pixel(256, 256)), qBlue(legacy.pixel(96, 96)), 4);
}

TEST_F(AndroidIcon, killedAtAnyInstant_leavesEveryFileWholeOldOrNew)
{
    makeFlutterTree();
    // The two icons the runs swap between, as whole runs make them.
    const QStringList a = {"android", logo, test::str(res), "--monochrome"};
    const QStringList b = {"android", square, test::str(res)};
    ASSERT_EQ(test::runCli(b).exitCode, 0);
    const Tree treeB = treeOf(res);
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(test::runCli(a).exitCode, 0);
    const auto wholeRun
        = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);
    const Tree treeA = treeOf(res);
    const quint32 seed = 20261208;
    SCOPED_TRACE(testing::Message() << "kill times drawn with seed " << seed);
    QRandomGenerator random(seed);
    int kills = 0;
    for (int run = 0; run < test::killRuns; ++run) {
        kills += test::runCliKilledAtRandom(run % 2 ? a : b, run, wholeRun, random);
        for (const auto& [file, bytes] : treeOf(res)) {
            if (file.section('/', -1).startsWith(QLatin1Char('.')))
                continue; // hidden: Android's build passes it over
            const auto inA = treeA.find(file), inB = treeB.find(file);
            ASSERT_TRUE((inA != treeA.end() && inA->second == bytes) || (inB != treeB.end() && inB->second == bytes))
                << file.toStdString() << " is cut or mixed after the kill in run " << run;
        }
    }
    EXPECT_GE(kills, test::killRuns * 5 / 6);
    ASSERT_EQ(test::runCli(a).exitCode, 0);
    Tree final = treeOf(res);
    std::erase_if(final, [](const auto& entry) { return entry.first == ".quorva-ic_launcher"; });
    Tree expected = treeA;
    std::erase_if(expected, [](const auto& entry) { return entry.first == ".quorva-ic_launcher"; });
    EXPECT_EQ(final, expected) << "a whole run puts back its files, and removes what killed runs left";
}

TEST_F(AndroidIcon, theNotificationIconIsWhiteInTheArtsShape_inside20DpAtEveryDensity)
{
    makeFlutterTree();
    const test::ProgramRun run = android(logo, {"--notification"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // 24 dp at mdpi, hdpi, xhdpi, xxhdpi and xxxhdpi; the art within the central 20 dp.
    for (const Density& each : densities) {
        const std::string& density = each.name;
        const int side = each.notification;
        const QImage icon = png(each.drawable() + "/ic_notification.png").convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(icon.size(), QSize(side, side)) << density;
        const double margin = 2.0 * side / 24; // 2 dp each side
        int art = 0;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const QRgb pixel = icon.pixel(x, y);
                if (qAlpha(pixel) == 0)
                    continue;
                ++art;
                EXPECT_EQ(qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel)), qRgb(255, 255, 255))
                    << density << " at " << x << ", " << y;
                EXPECT_TRUE(x >= margin - 0.5 && x < side - margin + 0.5 && y >= margin - 0.5
                            && y < side - margin + 0.5)
                    << density << ": art at " << x << ", " << y;
            }
        EXPECT_GT(art, side * side / 4) << density << ": the art's shape is there";
    }
    ResCheck check;
    ASSERT_EQ(checkAndroidRes(res, check), std::nullopt);
    for (const Finding& finding : check.findings) {
        EXPECT_NE(finding.rule, "notification-colours") << finding.path.toStdString();
    }

    // A full-bleed square has no shape to take; a silhouette of its own does.
    EXPECT_EQ(android(square, {"--notification"}).exitCode, 1);
    const test::ProgramRun own = android(square, {"--notification", logo, "--notification-name", "ic_stat_app"});
    ASSERT_EQ(own.exitCode, 0) << own.err.toStdString();
    EXPECT_EQ(png("drawable-xhdpi/ic_stat_app.png").size(), QSize(48, 48));

    // check finds a coloured one, as lint does.
    test::savePngTo(res / "drawable-xhdpi/ic_stat_app.png", test::solidImage(48, 48, qRgb(200, 30, 30)));
    ResCheck coloured;
    ASSERT_EQ(checkAndroidRes(res, coloured), std::nullopt);
    EXPECT_TRUE(std::any_of(coloured.findings.begin(), coloured.findings.end(),
                            [](const Finding& finding) { return finding.rule == "notification-colours"; }));
}

TEST_F(AndroidIcon, aManifestWithAliasesOfOtherIconsAsksWhichToWrite)
{
    makeFlutterTree();
    test::writeBytes(main / "AndroidManifest.xml",
                     "<manifest xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                     "  <application android:icon=\"@mipmap/ic_launcher\">\n"
                     "    <activity-alias android:name=\".Dark\" android:icon=\"@mipmap/ic_launcher_dark\"/>\n"
                     "    <activity-alias android:name=\".Same\" android:icon=\"@mipmap/ic_launcher\"/>\n"
                     "  </application>\n</manifest>\n");
    const Tree before = treeOf(main);
    const test::ProgramRun asked = android(logo);
    EXPECT_EQ(asked.exitCode, 1);
    EXPECT_TRUE(asked.err.contains("@mipmap/ic_launcher, @mipmap/ic_launcher_dark")) << asked.err.toStdString();
    EXPECT_EQ(asked.err.count('\n'), 1);
    EXPECT_EQ(treeOf(main), before);
    ASSERT_EQ(android(logo, {"--name", "ic_launcher_dark"}).exitCode, 0);
    EXPECT_EQ(png("mipmap-xxhdpi/ic_launcher_dark.png").size(), QSize(144, 144));
}

TEST_F(AndroidIcon, whatCantBeReadIsSaidInOneLine_andNothingElseReachesStandardError)
{
    makeFlutterTree();
    const QByteArray whole = test::readBytes(scratch / "logo.png");
    test::writeBytes(scratch / "cut.png", whole.left(whole.size() / 2));
    const Tree before = treeOf(main);
    for (const QStringList& arguments :
         {QStringList{"android", test::str(scratch / "cut.png"), test::str(res)},
          QStringList{"android", logo, test::str(res), "--background", test::str(scratch / "cut.png")},
          QStringList{"android", logo, test::str(main / "AndroidManifest.xml")}}) {
        const test::ProgramRun run = test::runCli(arguments);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_FALSE(run.err.contains("libpng")) << run.err.toStdString();
    }
    EXPECT_TRUE(test::runCli({"android", logo, test::str(main / "AndroidManifest.xml")})
                    .err.contains("it is a file, not a res folder"));
    EXPECT_EQ(treeOf(main), before);
}

namespace {

// A disc of one colour with a bar of another across its middle, on transparency.
QImage discWithBar(QRgb disc, QRgb bar)
{
    QImage image(400, 400, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x)
            if (std::hypot(x - 200, y - 200) < 180)
                image.setPixel(x, y, std::abs(y - 200) < 30 && std::abs(x - 200) < 120 ? bar : disc);
    return image;
}

struct ThemedRow {
    const char* name;
    QRgb disc;
    QRgb bar;
    bool barIsAHole;
};

void PrintTo(const ThemedRow& row, std::ostream* out)
{
    *out << row.name;
}

class ThemedIcon : public ::testing::TestWithParam<ThemedRow> {};

} // namespace

TEST_P(ThemedIcon, keepsTheArtsInnerDetailAsHoles_andTheOutlineWhole)
{
    AndroidIconOptions options;
    options.monochrome = true;
    const AndroidIconPlan plan = planAndroidIcons(makeImage(discWithBar(GetParam().disc, GetParam().bar)), options);
    const ImageRef layer = plan.images.at("mipmap-xxxhdpi/ic_launcher_monochrome.png")();
    ASSERT_TRUE(layer);
    const QImage themed = layer->representations().front().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(themed.size(), QSize(432, 432));
    // The disc fills the 66 dp circle: its middle is the bar, a quarter of the way up is the disc.
    EXPECT_EQ(qAlpha(themed.pixel(216, 216)), GetParam().barIsAHole ? 0 : 255);
    EXPECT_EQ(qAlpha(themed.pixel(216, 216 - 66)), 255);
    EXPECT_EQ(qAlpha(themed.pixel(5, 5)), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Android, ThemedIcon,
    ::testing::Values(ThemedRow{"aLightBarOnADarkDisc", qRgb(20, 60, 160), qRgb(255, 255, 255), true},
                      ThemedRow{"aDarkBarOnALightDisc", qRgb(250, 250, 240), qRgb(10, 10, 10), true},
                      ThemedRow{"aBarOfTheDiscsLuminance", qRgb(200, 40, 40), qRgb(40, 90, 40), false}),
    [](const auto& info) { return std::string(info.param.name); });
