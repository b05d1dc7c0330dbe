// quorva-cli's icons for every Apple platform: the Mac set in the Mac shape, the watch icon, and
// Icon Composer files; each passes the catalog check.
#include "testsupport.h"

#include "apple/catalogcheck.h"
#include "apple/setcontents.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

class Platforms : public ::testing::Test {
protected:
    test::Scratch scratch;
    QString square = scratch.savePng("square.png", test::solidImage(600, 600, qRgb(30, 90, 200)));
    QString art = scratch.savePng("art.png", test::gradientImage(600, 600, 60));

    // The errors check finds at a path: none for what Quorva writes.
    QStringList errors(const fs::path& path)
    {
        CatalogCheck result;
        EXPECT_FALSE(checkCatalog(path, result));
        QStringList found;
        for (const Finding& finding : result.findings)
            if (finding.severity == Finding::Severity::Error)
                found << finding.rule + QLatin1Char(' ') + finding.path;
        return found;
    }
};

} // namespace

TEST_F(Platforms, aMacSetFromASquareSourceIsLaidIntoTheMacShape)
{
    ASSERT_EQ(test::runCli({"appicon", square, "--into", test::str(scratch / "Mac.xcassets"), "--platform", "macos"})
                  .exitCode,
              0);
    const fs::path set = scratch / "Mac.xcassets/AppIcon.appiconset";
    QStringList macSlots;
    for (const SetEntry& entry : parseSetContents(test::readBytes(set / "Contents.json")).entries)
        macSlots << QStringLiteral("%1 %2 %3").arg(entry.idiom, entry.size, entry.scale);
    EXPECT_EQ(macSlots.size(), 10);
    EXPECT_EQ(macSlots.filter("mac").size(), 10);
    EXPECT_EQ(test::filesBelow(set).size(), 8) << "seven distinct images and Contents.json";
    EXPECT_EQ(errors(scratch / "Mac.xcassets"), QStringList());

    // The geometry, at 1024 and at 32 px: the body centred, the corners rounded off, the margin clear.
    for (const int side : {1024, 32}) {
        SCOPED_TRACE(side);
        const QImage icon = test::decodeFile(set / QStringLiteral("AppIcon-mac-%1.png").arg(side).toStdString());
        ASSERT_EQ(icon.size(), QSize(side, side));
        const auto alpha = [&](double x, double y) { return qAlpha(icon.pixel(int(x * side), int(y * side))); };
        EXPECT_EQ(alpha(0.5, 0.5), 255) << "the body";
        EXPECT_EQ(qBlue(icon.pixel(side / 2, side / 2)), 200);
        EXPECT_EQ(alpha(0.5, 0.125), 255) << "the body's top edge, 100 of 1024 px down";
        EXPECT_LT(alpha(0.03, 0.5), 20) << "the margin";
        EXPECT_LT(alpha(0.11, 0.11), 90) << "a corner rounded off, but for its shadow";
        EXPECT_GT(alpha(0.5, 0.93), alpha(0.5, 0.07)) << "the shadow below";
    }

    // Art already shaped is used as it is.
    ASSERT_EQ(test::runCli(
                  {"appicon", art, "--into", test::str(scratch / "Mac.xcassets"), "--platform", "macos", "--force"})
                  .exitCode,
              0);
    EXPECT_EQ(qAlpha(test::decodeFile(set / "AppIcon-mac-1024.png").pixel(115, 115)), 255)
        << "its own corner, not rounded off again";
}

TEST_F(Platforms, oneSetCarriesEachPlatformsIconsAndTheWatchIconIsOpaque)
{
    const test::ProgramRun refused
        = test::runCli({"appicon", art, test::str(scratch / "out"), "--platform", "watchos"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("ITMS-90396") && refused.err.contains("--background"))
        << refused.err.toStdString();

    const test::ProgramRun all
        = test::runCli({"appicon", art, test::str(scratch / "out"), "--platform", "ios,macos,watchos", "--single-size",
                        "--background", "white", "--dark", "--tinted"});
    ASSERT_EQ(all.exitCode, 0) << all.err.toStdString();
    const fs::path set = scratch / "out/Quorva/icon/iOS/AppIcon.appiconset";
    EXPECT_EQ(test::pngColourType(test::readBytes(set / "AppIcon-watchOS.png")), 2) << "no alpha channel, ever";
    QStringList platforms;
    for (const SetEntry& entry : parseSetContents(test::readBytes(set / "Contents.json")).entries)
        platforms << entry.idiom + QLatin1Char('/') + entry.platform;
    platforms.removeDuplicates();
    EXPECT_EQ(platforms, (QStringList{"universal/ios", "mac/", "universal/watchos"}));
    EXPECT_EQ(errors(set), QStringList());
    EXPECT_TRUE(test::readBytes(set / "Contents.json").contains("\"idiom\" : \"mac\"")) << "Xcode's JSON layout";
}

TEST_F(Platforms, anIconComposerFileHoldsTheArtAsALayerOverItsFill)
{
    EXPECT_EQ(test::runCli({"appicon", square, "--icon-composer", test::str(scratch.root)}).exitCode, 1)
        << "opaque art can't be a layer over a fill";
    const QString dark = scratch.savePng("dark.png", test::gradientImage(300, 300, 30));
    const test::ProgramRun made = test::runCli(
        {"appicon", art, "--icon-composer", test::str(scratch.root), "--background", "#204060", "--dark", dark});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const fs::path icon = scratch / "AppIcon.icon";
    const QByteArray text = test::readBytes(icon / "icon.json");
    const QJsonObject json = QJsonDocument::fromJson(text).object();
    EXPECT_EQ(json.value("fill").toObject().value("solid").toString(),
              QStringLiteral("srgb:0.12549,0.25098,0.37647,1.00000"));
    EXPECT_EQ(json.value("supported-platforms").toObject().value("squares").toString(), QStringLiteral("shared"));
    const QJsonArray images = json.value("groups")
                                  .toArray()
                                  .at(0)
                                  .toObject()
                                  .value("layers")
                                  .toArray()
                                  .at(0)
                                  .toObject()
                                  .value("image-name-specializations")
                                  .toArray();
    ASSERT_EQ(images.size(), 2);
    EXPECT_EQ(images.at(1).toObject().value("appearance").toString(), QStringLiteral("dark"));
    for (const QJsonValue& image : images)
        EXPECT_TRUE(fs::exists(icon / "Assets" / image.toObject().value("value").toString().toStdString()));
    EXPECT_EQ(test::decodeFile(icon / "Assets/Art.png").size(), QSize(1024, 1024));
    EXPECT_TRUE(text.startsWith("{\n  \"fill\" : ")) << "Icon Composer's layout, keys in order";
    EXPECT_EQ(errors(icon), QStringList());

    // An SVG source goes in as its document.
    test::writeBytes(scratch / "logo.svg",
                     R"~(<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10">)~"
                     R"~(<circle cx="5" cy="5" r="4" fill="#c00"/></svg>)~");
    ASSERT_EQ(test::runCli({"appicon", test::str(scratch / "logo.svg"), "--icon-composer", test::str(scratch.root),
                            "--set", "Logo"})
                  .exitCode,
              0);
    EXPECT_TRUE(test::readBytes(scratch / "Logo.icon/Assets/Art.svg").contains("<circle"));
    EXPECT_EQ(errors(scratch / "Logo.icon"), QStringList());
}
