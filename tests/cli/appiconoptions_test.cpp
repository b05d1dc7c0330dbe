// quorva-cli's app icon options, judged from the files written.
#include "testsupport.h"

#include "apple/setcontents.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

class AppIconCommand : public ::testing::Test {
protected:
    test::Scratch scratch;
    // Art with a transparent border of 40 pixels around a colour gradient with a half-transparent band.
    QString art = scratch.savePng("art.png", test::gradientImage(512, 512, 40));
    QString opaque = scratch.savePng("opaque.png", test::solidImage(64, 64, qRgb(20, 120, 220)));
    fs::path set = scratch / "out/Quorva/icon/iOS/AppIcon.appiconset";

    test::ProgramRun run(QStringList arguments)
    {
        arguments.insert(2, test::str(scratch / "out"));
        return test::runCli(arguments);
    }
    QImage icon(const char* name) const { return test::decodeFile(set / name); }
    int colourType(const char* name) const { return test::pngColourType(test::readBytes(set / name)); }
};

} // namespace

TEST_F(AppIconCommand, singleSizeWithAppearances_onABackground)
{
    const test::ProgramRun done
        = run({"appicon", art, "--single-size", "--background", "#ffffff", "--dark", "--tinted"});
    ASSERT_EQ(done.exitCode, 0) << done.err.toStdString();
    EXPECT_EQ(test::filesBelow(scratch / "out"),
              (QStringList{"Quorva/icon/iOS/AppIcon.appiconset/AppIcon-Dark.png",
                           "Quorva/icon/iOS/AppIcon.appiconset/AppIcon-Tinted.png",
                           "Quorva/icon/iOS/AppIcon.appiconset/AppIcon.png",
                           "Quorva/icon/iOS/AppIcon.appiconset/Contents.json"}));
    QStringList entries;
    for (const SetEntry& entry : parseSetContents(test::readBytes(set / "Contents.json")).entries)
        entries << QStringList{entry.filename, entry.idiom, entry.platform, entry.size, entry.luminosity}.join(' ');
    EXPECT_EQ(entries,
              (QStringList{"AppIcon.png universal ios 1024x1024 ", "AppIcon-Dark.png universal ios 1024x1024 dark",
                           "AppIcon-Tinted.png universal ios 1024x1024 tinted"}));

    for (const char* name : {"AppIcon.png", "AppIcon-Dark.png", "AppIcon-Tinted.png"})
        EXPECT_EQ(icon(name).size(), QSize(1024, 1024)) << name;
    EXPECT_EQ(colourType("AppIcon.png"), 2);
    EXPECT_EQ(icon("AppIcon.png").pixel(3, 3), qRgb(255, 255, 255)) << "the corner is the background";
    EXPECT_EQ(colourType("AppIcon-Dark.png"), 6);
    EXPECT_EQ(qAlpha(icon("AppIcon-Dark.png").pixel(3, 3)), 0) << "the dark icon keeps the art's transparency";
    const QImage tinted = icon("AppIcon-Tinted.png");
    EXPECT_EQ(colourType("AppIcon-Tinted.png"), 0) << "greyscale, a third of the bytes";
    for (int y = 0; y < 1024; y += 7)
        for (int x = 0; x < 1024; x += 7)
            ASSERT_TRUE(qRed(tinted.pixel(x, y)) == qGreen(tinted.pixel(x, y))
                        && qGreen(tinted.pixel(x, y)) == qBlue(tinted.pixel(x, y)))
                << "not grey at " << x << "," << y;
    EXPECT_EQ(tinted.pixel(3, 3), qRgb(0, 0, 0)) << "black where there is no art";
    EXPECT_GT(qGray(tinted.pixel(900, 900)), 150) << "light where the art is light";
}

TEST_F(AppIconCommand, classicSetOnABackground_andAppearancesFromFilesOfTheirOwn)
{
    ASSERT_EQ(run({"appicon", art, "--background", "red"}).exitCode, 0);
    EXPECT_EQ(test::filesBelow(scratch / "out"), test::appIconTree());
    EXPECT_EQ(colourType("ItunesArtwork@2x.png"), 2);
    EXPECT_EQ(icon("Icon-App-20x20@1x.png").pixel(0, 0), qRgb(255, 0, 0));

    fs::remove_all(scratch / "out");
    const test::ProgramRun own = run({"appicon", opaque, "--single-size", "--dark", art, "--tinted", opaque});
    ASSERT_EQ(own.exitCode, 0) << own.err.toStdString();
    EXPECT_EQ(icon("AppIcon.png").pixel(9, 9), qRgb(20, 120, 220));
    EXPECT_EQ(qAlpha(icon("AppIcon-Dark.png").pixel(3, 3)), 0);
    EXPECT_EQ(qGray(icon("AppIcon-Tinted.png").pixel(9, 9)), (20 * 54 + 120 * 183 + 220 * 19 + 128) >> 8);
}

TEST_F(AppIconCommand, refusals_writeNothing)
{
    test::writeBytes(scratch / "notes.png", "not an image");
    const QString notes = test::str(scratch / "notes.png");
    const struct {
        QStringList arguments;
        int exitCode;
        const char* says;
    } cases[] = {
        {{"appicon", art, "--dark"}, 2, "single-size"},
        {{"appicon", art, "--tinted", "--background", "white"}, 2, "single-size"},
        {{"appicon", art, "--background", "nope"}, 2, "takes an opaque colour"},
        {{"appicon", art, "--background", "#80ff0000"}, 2, "opaque"},
        {{"appicon", art, "--single-size"}, 1, "--background"},
        {{"appicon", opaque, "--single-size", "--dark"}, 1, "no artwork"},
        {{"appicon", opaque, "--single-size", "--tinted"}, 1, "no artwork for the tinted icon"},
        {{"appicon", art, "--fit", "squash"}, 2, "one of stretch, contain, cover"},
        {{"appicon", art, "--padding", "60"}, 2, "from 0 to 40"},
        {{"appicon", opaque, "--single-size", "--tinted", notes}, 1, "notes.png: "},
        {{"appicon", opaque, "--single-size", "--dark", notes}, 1, "notes.png: "},
    };
    for (const auto& c : cases) {
        const test::ProgramRun refused = run(c.arguments);
        EXPECT_EQ(refused.exitCode, c.exitCode) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(refused.err.contains(c.says)) << refused.err.toStdString();
        EXPECT_FALSE(fs::exists(scratch / "out")) << c.arguments.join(' ').toStdString();
    }
}

TEST_F(AppIconCommand, aSourceThatIsNotSquareKeepsItsShapeWhenAsked)
{
    const QString wide = scratch.savePng("wide.png", test::solidImage(400, 200, qRgb(200, 0, 0)));
    const test::ProgramRun stretched = run({"appicon", wide, "--background", "white"});
    EXPECT_EQ(stretched.exitCode, 0);
    EXPECT_TRUE(stretched.err.contains("not square: every icon is stretched")) << stretched.err.toStdString();
    EXPECT_TRUE(stretched.err.contains("the 1024 px icons are upscaled")) << stretched.err.toStdString();

    ASSERT_EQ(run({"appicon", wide, "--single-size", "--background", "white", "--fit", "contain"}).exitCode, 0);
    EXPECT_EQ(icon("AppIcon.png").pixel(512, 100), qRgb(255, 255, 255)) << "a margin above the art";
    EXPECT_EQ(icon("AppIcon.png").pixel(512, 512), qRgb(200, 0, 0));
    ASSERT_EQ(run({"appicon", wide, "--single-size", "--background", "white", "--fit", "cover", "--padding", "10%"})
                  .exitCode,
              0);
    EXPECT_EQ(icon("AppIcon.png").pixel(60, 60), qRgb(255, 255, 255)) << "the padding";
    EXPECT_EQ(icon("AppIcon.png").pixel(120, 120), qRgb(200, 0, 0)) << "covered to the padding";

    // A drawing placed as its own preserveAspectRatio says.
    test::writeBytes(scratch / "left.svg",
                     R"~(<svg xmlns="http://www.w3.org/2000/svg" width="200" height="100" )~"
                     R"~(preserveAspectRatio="xMinYMin meet"><rect width="200" height="100" )~"
                     R"~(fill="#0000c8"/></svg>)~");
    ASSERT_EQ(run({"appicon", test::str(scratch / "left.svg"), "--single-size", "--background", "white", "--fit",
                   "contain"})
                  .exitCode,
              0);
    EXPECT_EQ(icon("AppIcon.png").pixel(512, 100), qRgb(0, 0, 200)) << "at the top, as xMinYMin puts it";
    EXPECT_EQ(icon("AppIcon.png").pixel(512, 900), qRgb(255, 255, 255));
}

TEST_F(AppIconCommand, aClassicSetOfTransparentArtIsWrittenWithANote)
{
    const test::ProgramRun noted = run({"appicon", art});
    EXPECT_EQ(noted.exitCode, 0) << "the same status as ever";
    EXPECT_TRUE(noted.err.contains("App Store Connect rejects (ITMS-90717); lay it onto --background COLOR"))
        << noted.err.toStdString();
    // The Mac's icons carry their own shape: transparency is theirs to have.
    const test::ProgramRun mac = run({"appicon", art, "--platform", "macos"});
    EXPECT_EQ(mac.exitCode, 0);
    EXPECT_FALSE(mac.err.contains("ITMS-90717")) << mac.err.toStdString();
}
