// Every file of the bad-input corpus through the loader and through quorva-cli: a set that is
// right, or a clear message naming the file and nothing written.

#include "corpusexpectations.h"

#include "generation/appiconset.h"
#include "generation/imagelimits.h"
#include "generation/imageloading.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

using namespace quorva;
using test::Corner;
using test::CorpusEntry;
namespace fs = std::filesystem;

namespace {

fs::path toPath(const QString& path)
{
    return fs::path(QFile::encodeName(path).toStdString());
}

bool isRed(QRgb pixel)
{
    return qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
}

Corner redCorner(const QImage& image)
{
    const int right = image.width() - 3;
    const int bottom = image.height() - 3;
    if (isRed(image.pixel(2, 2)))
        return Corner::TopLeft;
    if (isRed(image.pixel(right, 2)))
        return Corner::TopRight;
    if (isRed(image.pixel(right, bottom)))
        return Corner::BottomRight;
    if (isRed(image.pixel(2, bottom)))
        return Corner::BottomLeft;
    return Corner::None;
}

class Corpus : public ::testing::TestWithParam<CorpusEntry> {
protected:
    QTemporaryDir dir;
    fs::path out{dir.path().toStdString()};

    test::ProgramRun cli(const char* kind)
    {
        return test::runProgram(QStringLiteral(QUORVA_CLI_PATH),
                                {QString::fromLatin1(kind), test::corpusPath(GetParam()), dir.path()});
    }
};

std::string nameOf(const ::testing::TestParamInfo<CorpusEntry>& info)
{
    return test::testNameOf(info.param);
}

} // namespace

TEST_P(Corpus, loader_givesTheImageOrSaysWhy)
{
    const CorpusEntry& entry = GetParam();
    const LoadedImage loaded = loadImage(toPath(test::corpusPath(entry)));
    if (!entry.readable()) {
        EXPECT_FALSE(loaded.image);
        EXPECT_TRUE(loaded.error.contains(QString::fromUtf8(entry.reason))) << loaded.error.toStdString();
        return;
    }
    ASSERT_TRUE(loaded.image) << loaded.error.toStdString();
    const QImage& pixels = loaded.image->representations().front();
    EXPECT_EQ(pixels.size(), entry.size);
    EXPECT_EQ(pixels.format(), QImage::Format_ARGB32_Premultiplied);
    if (entry.red != Corner::None) {
        EXPECT_EQ(redCorner(pixels), entry.red);
    }
}

TEST_P(Corpus, cliAppIcon_writesTheWholeSetOrNothing)
{
    const CorpusEntry& entry = GetParam();
    const test::ProgramRun run = cli("appicon");
    if (!entry.readable()) {
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(test::corpusPath(entry))) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(entry.reason))) << run.err.toStdString();
        EXPECT_TRUE(fs::is_empty(out)) << "nothing may be written";
        return;
    }
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const fs::path set = out / "Quorva/icon/iOS/AppIcon.appiconset";
    for (const AppIconEntry& icon : appIconSizes()) {
        const QImage written = test::decodeFile(set / icon.fileName.toStdString());
        EXPECT_EQ(written.size(), QSize(icon.side, icon.side)) << icon.fileName.toStdString();
    }
    EXPECT_EQ(test::filesBelow(out).size(), 21);
}

TEST_P(Corpus, cliImageSet_writesTheThreeScalesOrNothing)
{
    const CorpusEntry& entry = GetParam();
    const test::ProgramRun run = cli("imageset");
    const bool tooSmall = entry.readable() && (entry.size.width() < 3 || entry.size.height() < 3);
    if (!entry.readable() || tooSmall) {
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(test::corpusPath(entry))) << run.err.toStdString();
        EXPECT_EQ(run.out, tooSmall ? QStringLiteral("Couldn't get image\n") : QString());
        EXPECT_TRUE(fs::is_empty(out)) << "nothing may be written";
        return;
    }
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QString name = QString::fromUtf8(entry.file);
    if (name.lastIndexOf(QLatin1Char('.')) > 0)
        name.truncate(name.lastIndexOf(QLatin1Char('.')));
    const fs::path set = out / "Quorva/asset/iOS" / toPath(name + QStringLiteral(".imageset"));
    const QSize whole = entry.size;
    EXPECT_EQ(test::decodeFile(set / "asset@1x.png").size(), QSize(whole.width() / 3, whole.height() / 3));
    EXPECT_EQ(test::decodeFile(set / "asset@2x.png").size(),
              QSize(2 * whole.width() / 3, 2 * whole.height() / 3));
    const QImage full = test::decodeFile(set / "asset@3x.png");
    EXPECT_EQ(full.size(), whole);
    if (entry.red != Corner::None) {
        EXPECT_EQ(redCorner(full), entry.red) << "the orientation reaches the written files";
    }
}

INSTANTIATE_TEST_SUITE_P(BadInput, Corpus, ::testing::ValuesIn(test::corpus()), nameOf);

// Inputs that once made the loader's fuzz target fail: each gives an image within Quorva's
// limits, or a reason.
TEST(FuzzRegressions, loaderKeepsItsPromises)
{
    const QDir kept(QStringLiteral(QUORVA_SOURCE_DIR "/tests/fuzz/regressions/loadimage"));
    for (const QString& name : kept.entryList(QDir::Files)) {
        QFile file(kept.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const LoadedImage loaded = loadImage(file.readAll());
        if (!loaded.image) {
            EXPECT_FALSE(loaded.error.isEmpty()) << name.toStdString();
            continue;
        }
        const QImage& pixels = loaded.image->representations().front();
        EXPECT_TRUE(fitsImageLimits(pixels.width(), pixels.height())) << name.toStdString();
        EXPECT_EQ(pixels.format(), QImage::Format_ARGB32_Premultiplied) << name.toStdString();
    }
}
