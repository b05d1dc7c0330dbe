// A Windows package's images as Windows and the Store read them: the flat set `tauri icon` writes
// and Windows 11's qualified set, read back by Pillow at the sizes their names give; plated and
// unplated app icons; and a folder the project already has, synced as it is.
#include "testsupport.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

const QString python = QStringLiteral("/usr/bin/python3");

// Every PNG of the folder as Pillow opens it, against the size its name gives as Microsoft's
// guidelines do (targetsize-N is N px square; scale-S the base size × S / 100, halves rounded up):
// the count, then each file that differs.
const char* pillowCheck = R"(import os, re, sys
from PIL import Image
base = {'StoreLogo': (50, 50)}
count, wrong = 0, []
for name in sorted(os.listdir(sys.argv[1])):
    stem, _, qualifiers = name[:-4].partition('.')
    sized = re.match(r'(?:Square|Wide)(\d+)x(\d+)Logo$', stem)
    w, h = (int(sized[1]), int(sized[2])) if sized else base[stem]
    target = re.search(r'targetsize-(\d+)', qualifiers)
    scale = re.search(r'scale-(\d+)', qualifiers)
    s = int(scale[1]) if scale else 100
    expected = (int(target[1]),) * 2 if target else (int(w * s / 100 + 0.5), int(h * s / 100 + 0.5))
    im = Image.open(os.path.join(sys.argv[1], name))
    im.load()
    count += 1
    if im.size != expected or im.format != 'PNG':
        wrong.append('%s %s %s' % (name, im.size, im.format))
print(count)
print('\n'.join(wrong))
)";

class MsixImages : public ::testing::Test {
protected:
    test::Scratch scratch;
    QString art = scratch.savePng("art.png", test::gradientImage(512, 512, 40));
    QString square = scratch.savePng("square.png", test::solidImage(512, 512, qRgb(30, 120, 200)));

    fs::path written(QStringList arguments)
    {
        const test::ProgramRun run = test::runCli(arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return fs::path(arguments.at(2).toStdString());
    }
    static bool havePillow() { return test::runProgram(python, {"-c", "import PIL"}).exitCode == 0; }
    static QString pillowRead(const fs::path& folder)
    {
        const test::ProgramRun run = test::runProgram(python, {"-c", pillowCheck, test::str(folder)});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return run.out.trimmed();
    }
    static int alphaAt(const fs::path& file, int x, int y) { return qAlpha(test::decodeFile(file).pixel(x, y)); }
};

} // namespace

TEST_F(MsixImages, windows11sSetIsEveryResourceAtEveryScaleAndTheAppIconAtEveryTargetSize_asPillowReadsThem)
{
    const fs::path folder = written({"msix", art, test::str(scratch / "Images"), "--msix"});
    const QStringList files = test::filesBelow(folder);
    for (const char* name : {"StoreLogo.scale-100.png", "StoreLogo.scale-400.png", "Square150x150Logo.scale-125.png",
                             "Wide310x150Logo.scale-150.png", "Square44x44Logo.scale-200.png",
                             "Square44x44Logo.targetsize-16.png", "Square44x44Logo.targetsize-256_altform-unplated.png",
                             "Square44x44Logo.targetsize-48_altform-lightunplated.png"})
        EXPECT_TRUE(files.contains(QLatin1String(name))) << name;
    EXPECT_EQ(test::runCli({"check", test::str(folder)}).out.trimmed(),
              QStringLiteral("0 errors, 0 warnings in 1 set"));
    if (!havePillow())
        GTEST_SKIP() << "Pillow is installed by scripts/install-deps.sh";
    EXPECT_EQ(pillowRead(folder), QStringLiteral("62"));
}

TEST_F(MsixImages, theFlatSetIsWhatTauriIconWrites_asPillowReadsIt)
{
    const fs::path folder = written({"msix", art, test::str(scratch / "icons")});
    EXPECT_EQ(test::filesBelow(folder),
              (QStringList{"Square107x107Logo.png", "Square142x142Logo.png", "Square150x150Logo.png",
                           "Square284x284Logo.png", "Square30x30Logo.png", "Square310x310Logo.png",
                           "Square44x44Logo.png", "Square71x71Logo.png", "Square89x89Logo.png", "StoreLogo.png"}));
    if (!havePillow())
        GTEST_SKIP() << "Pillow is installed by scripts/install-deps.sh";
    EXPECT_EQ(pillowRead(folder), QStringLiteral("10"));
}

TEST_F(MsixImages, thePlatedAppIconTakesTheBackground_theUnplatedOnesStayTransparent)
{
    const fs::path folder = written({"msix", art, test::str(scratch / "Images"), "--msix", "--background", "#102030"});
    for (const char* side : {"16", "48", "256"}) {
        const QString icon = QStringLiteral("Square44x44Logo.targetsize-%1").arg(QLatin1String(side));
        EXPECT_EQ(alphaAt(folder / (icon + ".png").toStdString(), 0, 0), 255) << side;
        EXPECT_EQ(alphaAt(folder / (icon + "_altform-unplated.png").toStdString(), 0, 0), 0) << side;
        EXPECT_EQ(alphaAt(folder / (icon + "_altform-lightunplated.png").toStdString(), 0, 0), 0) << side;
    }
}

TEST_F(MsixImages, targetSizesFillTheirSquare_tilesKeepTheMargin_theWideTileCentresTheArt)
{
    const fs::path folder = written({"msix", square, test::str(scratch / "Images"), "--msix", "--padding", "20"});
    EXPECT_EQ(alphaAt(folder / "Square44x44Logo.targetsize-256_altform-unplated.png", 0, 0), 255);
    EXPECT_EQ(alphaAt(folder / "Square150x150Logo.scale-100.png", 5, 75), 0);
    EXPECT_EQ(alphaAt(folder / "Square150x150Logo.scale-100.png", 75, 75), 255);
    const fs::path wide = folder / "Wide310x150Logo.scale-100.png";
    EXPECT_EQ(alphaAt(wide, 60, 75), 0) << "left of the art";
    EXPECT_EQ(alphaAt(wide, 155, 75), 255);
    EXPECT_EQ(alphaAt(wide, 250, 75), 0) << "right of the art";
}

TEST_F(MsixImages, syncWritesImagesUnderTheSpellingTheFolderHas_theRolesItHas_andRemovesTheSetItWroteBefore)
{
    const fs::path root = scratch / "app", images = root / "Images";
    fs::create_directories(images);
    test::savePngTo(root / "art.png", test::gradientImage(256, 256, 20));
    // Visual Studio orders the qualifiers the other way, and writes a splash screen and a badge.
    test::savePngTo(images / "Square44x44Logo.altform-unplated_targetsize-16.png",
                    test::solidImage(16, 16, 0xff000000));
    test::savePngTo(images / "SplashScreen.scale-100.png", test::solidImage(620, 300, 0xff000000));
    test::savePngTo(images / "BadgeLogo.scale-100.png", test::solidImage(24, 24, 0xffffffff));
    const QByteArray badge = test::readBytes(images / "BadgeLogo.scale-100.png");
    test::writeBytes(root / "quorva.toml", "source = \"art.png\"\n\n[msix]\nfolder = \"Images\"\n");
    ASSERT_EQ(test::runCliIn(root, {"sync"}).exitCode, 0);
    EXPECT_TRUE(fs::exists(images / "StoreLogo.png"));
    test::writeBytes(root / "quorva.toml", "source = \"art.png\"\n\n[msix]\nfolder = \"Images\"\nmsix = true\n");
    const test::ProgramRun sync = test::runCliIn(root, {"sync"});
    ASSERT_EQ(sync.exitCode, 0) << sync.err.toStdString();
    const QStringList files = test::filesBelow(images);
    EXPECT_FALSE(files.contains("StoreLogo.png")) << "the flat set the last sync wrote goes";
    for (const auto& [name, size] : std::map<QString, QSize>{{"SplashScreen.scale-100.png", {620, 300}},
                                                             {"SplashScreen.scale-125.png", {775, 375}},
                                                             {"SplashScreen.scale-400.png", {2480, 1200}}})
        EXPECT_EQ(test::decodeFile(images / name.toStdString()).size(), size) << name.toStdString();
    EXPECT_EQ(qAlpha(test::decodeFile(images / "SplashScreen.scale-100.png").pixel(5, 150)), 0)
        << "the splash screen is made anew, the art centred";
    EXPECT_EQ(test::readBytes(images / "BadgeLogo.scale-100.png"), badge) << "a silhouette Quorva does not draw";
    EXPECT_FALSE(files.contains("Square44x44Logo.targetsize-16_altform-unplated.png"));
    EXPECT_EQ(test::decodeFile(images / "Square44x44Logo.altform-unplated_targetsize-16.png").pixel(8, 8),
              test::decodeFile(images / "Square44x44Logo.targetsize-16_altform-lightunplated.png").pixel(8, 8));
    EXPECT_EQ(files.size(), 62 + 5 + 1);
    EXPECT_EQ(test::runCliIn(root, {"sync", "--check"}).exitCode, 0);
}
