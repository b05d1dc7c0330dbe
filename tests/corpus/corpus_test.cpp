// Every file of the bad-input corpus through the loader and both commands of quorva-cli: the
// right image and sets, or a clear reason naming the file and nothing written.
#include "corpusexpectations.h"

#include "image/imagelimits.h"
#include "image/imageloading.h"
#include "image/imageresizing.h"
#include "testsupport.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace quorva;
using test::CorpusEntry;
namespace fs = std::filesystem;

namespace {

QString redCorner(const QImage& image)
{
    const int right = image.width() - 3;
    const int bottom = image.height() - 3;
    for (const auto& [name, x, y] : {std::tuple{"TopLeft", 2, 2},
                                     {"TopRight", right, 2},
                                     {"BottomRight", right, bottom},
                                     {"BottomLeft", 2, bottom}}) {
        const QRgb p = image.pixel(x, y);
        if (qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60)
            return QString::fromLatin1(name);
    }
    return {};
}

class Corpus : public ::testing::TestWithParam<CorpusEntry> {};

} // namespace

TEST_P(Corpus, givesTheImageAndItsSetsOrSaysWhy)
{
    const CorpusEntry& entry = GetParam();
    const QString file = entry.path();
    const LoadedImage loaded = loadImage(fs::path(QFile::encodeName(file).toStdString()));
    test::Scratch icons;
    test::Scratch assets;
    const test::ProgramRun appicon = test::runCli({"appicon", file, test::str(icons.root)});
    const test::ProgramRun imageset = test::runCli({"imageset", file, test::str(assets.root)});
    if (!entry.readable()) {
        EXPECT_FALSE(loaded.image);
        EXPECT_TRUE(loaded.error.contains(entry.reason)) << loaded.error.toStdString();
        for (const test::ProgramRun* run : {&appicon, &imageset}) {
            EXPECT_EQ(run->exitCode, 1);
            // libpng may say something of its own first.
            EXPECT_TRUE(run->err.endsWith(QStringLiteral("quorva-cli: %1: %2\n").arg(file, loaded.error)))
                << run->err.toStdString();
        }
        EXPECT_TRUE(fs::is_empty(icons.root) && fs::is_empty(assets.root)) << "nothing may be written";
        return;
    }
    ASSERT_TRUE(loaded.image) << loaded.error.toStdString();
    const QImage pixels = sampleBitmap(*loaded.image, 4096);
    EXPECT_EQ(loaded.image->pixelSize(), entry.size);
    EXPECT_EQ(pixels.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(entry.red.isEmpty() ? QString() : redCorner(pixels), entry.red);

    EXPECT_EQ(appicon.exitCode, 0) << appicon.err.toStdString();
    EXPECT_EQ(test::filesBelow(icons.root), test::appIconTree());
    EXPECT_EQ(test::decodeFile(icons / "Quorva/icon/iOS/AppIcon.appiconset/Icon-App-29x29@3x.png").size(),
              QSize(87, 87));

    // A vector source is drawn at its intrinsic size for 1x, at twice and three times it above.
    const bool vector = loaded.image->drawing() != nullptr;
    const std::int64_t scale = vector ? 3 : 1; // in 64 bits: a drawing may declare a size no int holds thrice
    const std::int64_t width = entry.size.width() * scale, height = entry.size.height() * scale;
    if (width < 3 || height < 3 || !fitsImageLimits(width, height)) {
        EXPECT_EQ(imageset.exitCode, 1);
        EXPECT_EQ(imageset.out, QStringLiteral("Couldn't get image\n"));
        EXPECT_TRUE(fs::is_empty(assets.root));
        return;
    }
    ASSERT_EQ(imageset.exitCode, 0) << imageset.err.toStdString();
    const QString name = QFileInfo(entry.file).completeBaseName();
    const fs::path set = assets / ("Quorva/asset/iOS/" + QFile::encodeName(name).toStdString() + ".imageset");
    EXPECT_EQ(test::decodeFile(set / "asset@1x.png").size(), QSize(int(width / 3), int(height / 3)));
    EXPECT_EQ(test::decodeFile(set / "asset@2x.png").size(), QSize(int(2 * width / 3), int(2 * height / 3)));
    EXPECT_EQ(entry.red.isEmpty() ? QString() : redCorner(test::decodeFile(set / "asset@3x.png")), entry.red)
        << "the orientation reaches the files";
}

INSTANTIATE_TEST_SUITE_P(BadInput, Corpus, ::testing::ValuesIn(test::corpus()),
                         [](const auto& info) { return info.param.testName(); });
