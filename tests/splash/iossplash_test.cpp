// quorva-cli splash --catalog: the iOS launch screen as Flutter's storyboard shows it, its image
// set at three scales of the same points, dark entries named by their appearance, and its colour
// set with the dark colour.
#include "testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

const QByteArray manifest = "<manifest xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                            "  <application><activity android:theme=\"@style/LaunchTheme\"><intent-filter>"
                            "<category android:name=\"android.intent.category.LAUNCHER\"/></intent-filter></activity>"
                            "</application>\n</manifest>\n";
const QByteArray styles = "<resources>\n    <style name=\"LaunchTheme\" parent=\"@android:style/Theme.Black\">\n"
                          "        <item name=\"android:windowBackground\">@drawable/launch_background</item>\n"
                          "    </style>\n</resources>\n";

QJsonObject contentsOf(const fs::path& set)
{
    return QJsonDocument::fromJson(test::readBytes(set / "Contents.json")).object();
}

bool isDark(const QJsonObject& entry)
{
    return entry[QLatin1String("appearances")].toArray()
        == QJsonArray{QJsonObject{{"appearance", "luminosity"}, {"value", "dark"}}};
}

} // namespace

TEST(IosSplash, aLaunchImageSetAtThreeScalesOfTheSamePoints_withDarkEntries_andItsColourSet)
{
    test::Scratch scratch;
    fs::create_directories(scratch / "android/app/src/main/res/values");
    test::writeBytes(scratch / "android/app/src/main/AndroidManifest.xml", manifest);
    test::writeBytes(scratch / "android/app/src/main/res/values/styles.xml", styles);
    fs::create_directories(scratch / "ios/Runner/Assets.xcassets");
    const QString art = scratch.savePng("art.png", test::solidImage(600, 300, qRgb(200, 30, 30)));
    const QString dark = scratch.savePng("dark.png", test::solidImage(600, 300, qRgb(240, 240, 240)));
    const test::ProgramRun run = test::runCli({"splash", art, test::str(scratch / "android/app/src/main/res"),
                                               "--catalog", test::str(scratch / "ios/Runner/Assets.xcassets"), "--dark",
                                               dark, "--dark-background", "#202020"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const fs::path set = scratch / "ios/Runner/Assets.xcassets/LaunchImage.imageset";
    // 135 pt: the square inside Android 12's 192 dp circle, in whole points.
    const std::pair<const char*, int> sides[]
        = {{"LaunchImage.png", 135},     {"LaunchImage@2x.png", 270},     {"LaunchImage@3x.png", 405},
           {"LaunchImageDark.png", 135}, {"LaunchImageDark@2x.png", 270}, {"LaunchImageDark@3x.png", 405}};
    for (const auto& [file, side] : sides)
        EXPECT_EQ(test::decodeFile(set / file).size(), QSize(side, side)) << file;
    const QJsonArray images = contentsOf(set)[QLatin1String("images")].toArray();
    ASSERT_EQ(images.size(), 6);
    int darkEntries = 0;
    for (const QJsonValue& image : images) {
        const QJsonObject entry = image.toObject();
        EXPECT_EQ(entry[QLatin1String("idiom")].toString(), QLatin1String("universal"));
        EXPECT_TRUE(fs::exists(set / entry[QLatin1String("filename")].toString().toStdString()));
        if (isDark(entry)) {
            ++darkEntries;
            EXPECT_TRUE(entry[QLatin1String("filename")].toString().contains(QLatin1String("Dark")));
        }
    }
    EXPECT_EQ(darkEntries, 3);
    const QJsonArray colours
        = contentsOf(scratch / "ios/Runner/Assets.xcassets/LaunchBackground.colorset")[QLatin1String("colors")]
              .toArray();
    ASSERT_EQ(colours.size(), 2);
    EXPECT_FALSE(isDark(colours[0].toObject()));
    EXPECT_TRUE(isDark(colours[1].toObject()));
    const QJsonObject components
        = colours[1].toObject()[QLatin1String("color")].toObject()[QLatin1String("components")].toObject();
    EXPECT_EQ(components[QLatin1String("red")].toString(), QLatin1String("0.125"));
}

TEST(IosSplash, aBackgroundTheCatalogKeepsAsAnImageSet_getsTheColoursAsItsImages_andNoColourSetBesideIt)
{
    test::Scratch scratch;
    const fs::path catalog = scratch / "Assets.xcassets";
    fs::create_directories(catalog / "LaunchBackground.imageset");
    test::writeBytes(catalog / "LaunchBackground.imageset/Contents.json",
                     "{\"images\":[{\"filename\":\"background.png\",\"idiom\":\"universal\"}],"
                     "\"info\":{\"author\":\"xcode\",\"version\":1}}");
    scratch.savePng("art.png", test::solidImage(64, 64, qRgb(200, 30, 30)));
    test::writeBytes(scratch / "quorva.toml",
                     "source = \"art.png\"\nbackground = \"#336699\"\n\n[splash]\n"
                     "catalog = \"Assets.xcassets\"\ndark-background = \"#202020\"\n");
    const test::ProgramRun run = test::runCliIn(scratch.root, {"sync"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FALSE(fs::exists(catalog / "LaunchBackground.colorset"));
    EXPECT_EQ(test::decodeFile(catalog / "LaunchBackground.imageset/background.png").pixel(0, 0),
              qRgb(0x33, 0x66, 0x99));
    EXPECT_EQ(test::decodeFile(catalog / "LaunchBackground.imageset/darkbackground.png").pixel(0, 0),
              qRgb(0x20, 0x20, 0x20));
    const QJsonArray images = contentsOf(catalog / "LaunchBackground.imageset")[QLatin1String("images")].toArray();
    ASSERT_EQ(images.size(), 2);
    EXPECT_TRUE(isDark(images[1].toObject()));
}

TEST(IosSplash, checkWarnsOfALaunchImageSetWithoutItsAt3x)
{
    test::Scratch scratch;
    fs::create_directories(scratch / "Assets.xcassets");
    scratch.savePng("art.png", test::solidImage(64, 64, qRgb(200, 30, 30)));
    test::writeBytes(scratch / "quorva.toml", "source = \"art.png\"\n\n[splash]\ncatalog = \"Assets.xcassets\"\n");
    ASSERT_EQ(test::runCliIn(scratch.root, {"sync"}).exitCode, 0);
    const test::ProgramRun clean = test::runCliIn(scratch.root, {"check", "--strict"});
    EXPECT_EQ(clean.exitCode, 0) << clean.out.toStdString();
    fs::remove(scratch / "Assets.xcassets/LaunchImage.imageset/LaunchImage@3x.png");
    const test::ProgramRun blurred = test::runCliIn(scratch.root, {"check", "--strict"});
    EXPECT_EQ(blurred.exitCode, 1);
    EXPECT_TRUE(blurred.out.contains(QLatin1String("@3x"))) << blurred.out.toStdString();
}

TEST(IosSplash, aLaunchScreenOfNeitherPlatform_isRefusedInQuorvaToml)
{
    test::Scratch scratch;
    scratch.savePng("art.png", test::solidImage(64, 64, qRgb(200, 30, 30)));
    test::writeBytes(scratch / "quorva.toml", "source = \"art.png\"\n\n[splash]\nbackground = \"#ffffff\"\n");
    const test::ProgramRun run = test::runCliIn(scratch.root, {"sync"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE((run.out + run.err).contains(QLatin1String("res (Android), catalog (iOS)")))
        << run.out.toStdString() << run.err.toStdString();
}

TEST(IosSplash, theProjectsDarkLaunchImages_stayNamedWhereNoDarkArtIsGiven)
{
    test::Scratch scratch;
    const fs::path set = scratch / "Assets.xcassets/LaunchImage.imageset";
    fs::create_directories(set);
    scratch.savePng("Assets.xcassets/LaunchImage.imageset/LaunchImageDark@3x.png",
                    test::solidImage(9, 9, qRgb(9, 9, 9)));
    test::writeBytes(set / "Contents.json",
                     "{\"images\":[{\"appearances\":[{\"appearance\":\"luminosity\",\"value\":\"dark\"}],"
                     "\"filename\":\"LaunchImageDark@3x.png\",\"idiom\":\"universal\",\"scale\":\"3x\"},"
                     "{\"appearances\":[{\"appearance\":\"luminosity\",\"value\":\"dark\"}],"
                     "\"filename\":\"Gone.png\",\"idiom\":\"universal\",\"scale\":\"2x\"}],"
                     "\"info\":{\"author\":\"xcode\",\"version\":1}}");
    scratch.savePng("art.png", test::solidImage(64, 64, qRgb(200, 30, 30)));
    test::writeBytes(scratch / "quorva.toml", "source = \"art.png\"\n\n[splash]\ncatalog = \"Assets.xcassets\"\n");
    ASSERT_EQ(test::runCliIn(scratch.root, {"sync"}).exitCode, 0);
    QStringList named;
    for (const QJsonValue& image : contentsOf(set)[QLatin1String("images")].toArray())
        named << image.toObject()[QLatin1String("filename")].toString();
    EXPECT_EQ(named,
              (QStringList{"LaunchImage.png", "LaunchImage@2x.png", "LaunchImage@3x.png", "LaunchImageDark@3x.png"}));
}

namespace {

const QByteArray infoPlist = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
                             "\t<key>CFBundleName</key>\n\t<string>App</string>\n"
                             "\t<key>UILaunchStoryboardName</key>\n\t<string>LaunchScreen</string>\n"
                             "</dict>\n</plist>\n";

// A storyboard whose one image view shows the image of that name.
QByteArray storyboardShowing(const char* image)
{
    return QByteArray("<document type=\"com.apple.InterfaceBuilder3.CocoaTouch.Storyboard.XIB\"><scenes><scene>"
                      "<imageView contentMode=\"scaleAspectFill\" image=\"")
        + image + "\" id=\"a\"/></scene></scenes></document>\n";
}

// An iOS target's folder: its Info.plist, its storyboard and its catalog.
fs::path iosTarget(test::Scratch& scratch, const QByteArray& storyboard)
{
    const fs::path target = scratch / "ios/App/App";
    fs::create_directories(target / "Base.lproj");
    fs::create_directories(target / "Assets.xcassets");
    test::writeBytes(target / "Info.plist", infoPlist);
    test::writeBytes(target / "Base.lproj/LaunchScreen.storyboard", storyboard);
    return target;
}

} // namespace

TEST(IosSplash, aStoryboardThatShowsNoLaunchImage_getsUILaunchScreenInTheTargetsInfoPlist_inPlace)
{
    test::Scratch scratch;
    const fs::path target = iosTarget(scratch, storyboardShowing("Logo"));
    const QString art = scratch.savePng("art.png", test::solidImage(64, 64, qRgb(200, 30, 30)));
    const test::ProgramRun run = test::runCli({"splash", art, test::str(target / "Assets.xcassets")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QByteArray plist = test::readBytes(target / "Info.plist");
    EXPECT_TRUE(plist.startsWith(infoPlist.left(infoPlist.indexOf("</dict>")))) << "every byte before it stays";
    EXPECT_TRUE(plist.contains("\t<key>UILaunchScreen</key>\n\t<dict>\n\t\t<key>UIColorName</key>\n"
                               "\t\t<string>LaunchBackground</string>\n\t\t<key>UIImageName</key>\n"
                               "\t\t<string>LaunchImage</string>\n\t</dict>\n"))
        << plist.toStdString();
    EXPECT_TRUE(fs::exists(target / "Assets.xcassets/LaunchImage.imageset/LaunchImage@3x.png"));
    EXPECT_TRUE(fs::exists(target / "Assets.xcassets/LaunchBackground.colorset/Contents.json"));
    EXPECT_TRUE(run.err.contains("UILaunchStoryboardName")) << "the storyboard that stays is named";
}

TEST(IosSplash, aStoryboardThatShowsLaunchImage_needsNothingMore)
{
    test::Scratch scratch;
    const fs::path target = iosTarget(scratch, storyboardShowing("LaunchImage"));
    const QString art = scratch.savePng("art.png", test::solidImage(64, 64, qRgb(200, 30, 30)));
    ASSERT_EQ(test::runCli({"splash", art, test::str(target / "Assets.xcassets")}).exitCode, 0);
    EXPECT_EQ(test::readBytes(target / "Info.plist"), infoPlist);
    EXPECT_TRUE(fs::exists(target / "Assets.xcassets/LaunchImage.imageset/LaunchImage.png"));
}

TEST(IosSplash, capacitorsSplashSet_isWrittenAtItsNamesAndSize_withDarkEntries_andNothingElse)
{
    test::Scratch scratch;
    const fs::path target = iosTarget(scratch, storyboardShowing("Splash"));
    const fs::path set = target / "Assets.xcassets/Splash.imageset";
    fs::create_directories(set);
    scratch.savePng("ios/App/App/Assets.xcassets/Splash.imageset/splash-2732x2732.png",
                    test::solidImage(8, 8, qRgb(1, 1, 1)));
    test::writeBytes(set / "Contents.json",
                     "{\"images\":[{\"filename\":\"splash-2732x2732.png\",\"idiom\":"
                     "\"universal\",\"scale\":\"1x\"}],\"info\":{\"author\":\"xcode\","
                     "\"version\":1}}");
    const QString art = scratch.savePng("art.png", test::solidImage(64, 64, qRgb(200, 30, 30)));
    const test::ProgramRun run = test::runCli({"splash", art, test::str(target / "Assets.xcassets"), "--background",
                                               "#0000ff", "--dark-background", "black"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QStringList files;
    for (const QJsonValue& image : contentsOf(set)[QLatin1String("images")].toArray()) {
        const QJsonObject entry = image.toObject();
        const QString file = entry[QLatin1String("filename")].toString();
        files << file;
        const QImage splash = test::decodeFile(set / file.toStdString());
        ASSERT_EQ(splash.size(), QSize(2732, 2732)) << file.toStdString();
        EXPECT_EQ(splash.pixel(0, 0), isDark(entry) ? qRgb(0, 0, 0) : qRgb(0, 0, 255)) << file.toStdString();
        EXPECT_EQ(splash.pixel(1366, 1366), qRgb(200, 30, 30)) << file.toStdString();
        EXPECT_EQ(isDark(entry), file.endsWith(QLatin1String("-dark.png"))) << file.toStdString();
    }
    EXPECT_EQ(files,
              QStringList({"Default@1x~universal~anyany.png", "Default@2x~universal~anyany.png",
                           "Default@3x~universal~anyany.png", "Default@1x~universal~anyany-dark.png",
                           "Default@2x~universal~anyany-dark.png", "Default@3x~universal~anyany-dark.png"}));
    EXPECT_FALSE(fs::exists(set / "splash-2732x2732.png")) << "the set is Quorva's whole";
    EXPECT_FALSE(fs::exists(target / "Assets.xcassets/LaunchImage.imageset"));
    EXPECT_EQ(test::readBytes(target / "Info.plist"), infoPlist);
}
