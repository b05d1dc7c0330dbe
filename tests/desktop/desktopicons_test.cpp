// The desktops' icon files, read back by readers that no one here wrote: Pillow, icoutils and
// icnsutils; sizes are the formats' own, written here as numbers.
#include "desktop/desktopcheck.h"
#include "desktop/icofile.h"

#include "testsupport.h"

#include <gtest/gtest.h>

using namespace quorva;
namespace fs = std::filesystem;

namespace {

const QString python = QStringLiteral("/usr/bin/python3");

bool havePillow()
{
    return test::runProgram(python, {"-c", "import PIL"}).exitCode == 0;
}

bool have(const QString& program)
{
    return test::runProgram(QStringLiteral("sh"), {"-c", "command -v " + program}).exitCode == 0;
}

class DesktopIcons : public ::testing::Test {
protected:
    test::Scratch scratch;
    QString art = scratch.savePng("art.png", test::gradientImage(512, 512, 40));
    QString square = scratch.savePng("square.png", test::solidImage(512, 512, qRgb(30, 120, 200)));

    fs::path written(const QStringList& arguments)
    {
        const test::ProgramRun run = test::runCli(arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return toPath(arguments.at(2));
    }
    static fs::path toPath(const QString& text) { return fs::path(text.toStdString()); }
    // What Pillow makes of the file: its sizes, one "WxH" each, sorted.
    static QString pillowSizes(const fs::path& file, const char* expression)
    {
        const test::ProgramRun run
            = test::runProgram(python,
                               {"-c",
                                QStringLiteral("import sys\nfrom PIL import Image\nim = Image.open(sys.argv[1])\n"
                                               "print(' '.join(sorted('%dx%d' % s[:2] for s in %1)))")
                                    .arg(QLatin1String(expression)),
                                test::str(file)});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return run.out.trimmed();
    }
};

} // namespace

TEST_F(DesktopIcons, anApplicationIcoHoldsEveryDisplayScalesSize_asPillowAndIcotoolReadIt)
{
    const fs::path ico = written({"ico", art, test::str(scratch / "app/icon.ico")});
    const QByteArray bytes = test::readBytes(ico);
    const IcoFile file = readIco(bytes);
    ASSERT_TRUE(file.error.isEmpty()) << file.error.toStdString();
    std::vector<int> sides;
    for (const IcoEntry& entry : file.entries) {
        sides.push_back(entry.width);
        EXPECT_EQ(entry.bitCount, 32);
        EXPECT_EQ(entry.png, entry.width == 256) << "a DIB below 256 px, a PNG at 256";
    }
    EXPECT_EQ(sides, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 256}));
    EXPECT_TRUE(checkIco(bytes, QStringLiteral("icon.ico"), true).empty());
    if (!havePillow() || !have("icotool"))
        GTEST_SKIP() << "Pillow and icoutils are installed by scripts/install-deps.sh";
    EXPECT_EQ(pillowSizes(ico, "im.ico.sizes()"), "16x16 20x20 24x24 256x256 32x32 40x40 48x48 64x64");
    const test::ProgramRun listed = test::runProgram("icotool", {"-l", test::str(ico)});
    for (const int side : {16, 20, 24, 32, 40, 48, 64, 256})
        EXPECT_TRUE(listed.out.contains(QStringLiteral("--width=%1 --height=%1 --bit-depth=32").arg(side)))
            << listed.out.toStdString();
}

TEST_F(DesktopIcons, anIcoEntryIsTheSameSizesPngPixelForPixel)
{
    const fs::path ico = written({"ico", art, test::str(scratch / "icon.ico"), "--sizes", "16,48"});
    const fs::path hicolor = written({"linux", art, test::str(scratch / "share"), "--id", "org.example.App"});
    if (!have("icotool"))
        GTEST_SKIP() << "icoutils is installed by scripts/install-deps.sh";
    ASSERT_EQ(test::runProgram("icotool", {"-x", "-w", "16", "-o", test::str(scratch / "x16.png"), test::str(ico)})
                  .exitCode,
              0);
    const QImage fromIco = test::decodeFile(scratch / "x16.png").convertToFormat(QImage::Format_ARGB32);
    const QImage png
        = test::decodeFile(hicolor / "hicolor/16x16/apps/org.example.App.png").convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(fromIco.size(), QSize(16, 16));
    EXPECT_EQ(fromIco, png);
}

TEST_F(DesktopIcons, anIcnsHoldsEveryPngTypeFrom16To1024_laidIntoTheMacShapeWhenFullBleed)
{
    const fs::path icns = written({"icns", square, test::str(scratch / "icon.icns")});
    EXPECT_TRUE(checkIcns(test::readBytes(icns), QStringLiteral("icon.icns")).empty());
    if (!havePillow() || !have("icns2png"))
        GTEST_SKIP() << "Pillow and icnsutils are installed by scripts/install-deps.sh";
    const test::ProgramRun listed = test::runProgram("icns2png", {"-l", test::str(icns)});
    for (const char* type : {"icp4", "icp5", "icp6", "ic07", "ic08", "ic09", "ic10", "ic11", "ic12", "ic13", "ic14"})
        EXPECT_TRUE(listed.out.contains(QStringLiteral("'%1'").arg(type))) << type << listed.out.toStdString();
    const test::ProgramRun sizes = test::runProgram(
        python,
        {"-c",
         "import sys\nfrom PIL import IcnsImagePlugin\n"
         "f = IcnsImagePlugin.IcnsFile(open(sys.argv[1], 'rb'))\n"
         "print(' '.join(sorted('%dx%d@%d' % s for s in f.itersizes())))\n"
         "im = f.getimage((512, 512, 2))\nprint(im.size, im.getpixel((4, 4))[3], im.getpixel((512, 512))[3])",
         test::str(icns)});
    ASSERT_EQ(sizes.exitCode, 0) << sizes.err.toStdString();
    EXPECT_TRUE(sizes.out.startsWith("128x128@1 128x128@2 16x16@1 16x16@2 256x256@1 256x256@2 32x32@1 32x32@2 "
                                     "512x512@1 512x512@2 64x64@1"))
        << sizes.out.toStdString();
    EXPECT_TRUE(sizes.out.contains("(1024, 1024) 0 255"))
        << "a transparent corner, an opaque middle: " << sizes.out.toStdString();

    const fs::path kept = written({"icns", square, test::str(scratch / "kept.icns"), "--mac-shape", "keep"});
    const test::ProgramRun corner = test::runProgram(
        python,
        {"-c",
         "import sys\nfrom PIL import IcnsImagePlugin\n"
         "print(IcnsImagePlugin.IcnsFile(open(sys.argv[1], 'rb')).getimage((512, 512, 2)).getpixel((4, 4)))",
         test::str(kept)});
    EXPECT_TRUE(corner.out.contains("30, 120, 200")) << corner.out.toStdString();
}

TEST_F(DesktopIcons, theHicolorThemeHasEverySizeNamedByTheAppId_andTheSvgForADrawing)
{
    const fs::path svg = scratch / "logo.svg";
    test::writeBytes(svg,
                     "<svg xmlns='http://www.w3.org/2000/svg' width='64' height='64'>"
                     "<circle cx='32' cy='32' r='28' fill='#c03'/></svg>");
    const fs::path share = written({"linux", test::str(svg), test::str(scratch / "share"), "--id", "org.example.Logo"});
    QStringList expected;
    for (const int side : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        const QString file = QStringLiteral("hicolor/%1x%1/apps/org.example.Logo.png").arg(side);
        expected << file;
        EXPECT_EQ(test::decodeFile(share / file.toStdString()).size(), QSize(side, side)) << file.toStdString();
    }
    expected << QStringLiteral("hicolor/scalable/apps/org.example.Logo.svg");
    expected.sort();
    EXPECT_EQ(test::filesBelow(share), expected);
    EXPECT_TRUE(test::readBytes(share / "hicolor/scalable/apps/org.example.Logo.svg").contains("<circle"));

    for (const char* id : {"nodots", "org.example.1app", "org..example", "org.exa mple.App"}) {
        const test::ProgramRun refused = test::runCli({"linux", test::str(svg), test::str(scratch / "no"), "--id", id});
        EXPECT_EQ(refused.exitCode, 2) << id;
        EXPECT_TRUE(refused.err.contains("--id")) << refused.err.toStdString();
    }
    EXPECT_FALSE(fs::exists(scratch / "no"));
}

TEST_F(DesktopIcons, checkFindsWhatWindowsAndMacOsWouldNotTake)
{
    const QByteArray png = test::readBytes(art.toStdString());
    const fs::path ico = written({"ico", art, test::str(scratch / "icon.ico"), "--sizes", "16,32"});
    const QByteArray small = test::readBytes(ico);
    const fs::path icns = written({"icns", art, test::str(scratch / "icon.icns")});
    QByteArray cut = test::readBytes(icns);
    cut.truncate(cut.size() / 2);
    const struct {
        const char* name;
        std::vector<Finding> found;
        const char* rule;
        Finding::Severity severity;
    } rows[] = {
        {"a PNG named .ico", checkIco(png, "a.ico", true), "misnamed-format", Finding::Severity::Error},
        {"a PNG named favicon.ico", checkIco(png, "favicon.ico", false), "misnamed-format", Finding::Severity::Warning},
        {"no 256 px image", checkIco(small, "a.ico", true), "missing-size", Finding::Severity::Warning},
        {"a cut .icns", checkIcns(cut, "a.icns"), "bad-icon-file", Finding::Severity::Error},
        {"a cut .ico", checkIco(small.left(30), "a.ico", true), "bad-icon-file", Finding::Severity::Error},
    };
    for (const auto& row : rows) {
        ASSERT_EQ(row.found.size(), 1u) << row.name;
        EXPECT_EQ(row.found[0].rule, row.rule) << row.name;
        EXPECT_EQ(row.found[0].severity, row.severity) << row.name;
    }
    EXPECT_TRUE(checkIco(small, "favicon.ico", false).empty()) << "a favicon needs no 256 px image";
}
