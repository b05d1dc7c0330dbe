#include "generation/appiconset.h"
#include "generation/catalogwriter.h"
#include "generation/imageresizing.h"
#include "generation/pngdata.h"

#include "testsupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quorva;
namespace fs = std::filesystem;

namespace {

RenderedImages appIconImages(const QImage& source)
{
    const ImageRef image = makeImage(source);
    RenderedImages images;
    for (const AppIconEntry& entry : appIconSizes())
        images[entry.fileName] = resizedToSide(*image, entry.side);
    return images;
}

RenderedImages imageSetImages()
{
    const ImageRef image = makeImage(test::gradientImage(30, 30, 2));
    return {{QStringLiteral("asset@1x"), resizedToSide(*image, 10)},
            {QStringLiteral("asset@2x"), resizedToSide(*image, 20)},
            {QStringLiteral("asset@3x"), resizedToSide(*image, 30)}};
}

class CatalogWriter : public ::testing::Test {
protected:
    QTemporaryDir dir;
    fs::path root{dir.path().toStdString()};
    fs::path iconFolder = root / "Quorva" / "icon" / "iOS";
    fs::path iconSet = iconFolder / "AppIcon.appiconset";
    fs::path assetFolder = root / "Quorva" / "asset" / "iOS";
    test::CapturedLines printed;
};

} // namespace

TEST_F(CatalogWriter, appIconSet_writesTheWholeTreeSilently)
{
    const WriteReport report = writeAppIconSet(appIconImages(test::gradientImage(64, 64, 4)), std::nullopt, root);
    EXPECT_FALSE(report.failed());
    EXPECT_TRUE(printed.lines().isEmpty());
    EXPECT_EQ(report.written.size(), 17u + 3u + 1u);
    EXPECT_EQ(report.setFolder, iconSet);

    QStringList expected;
    for (const AppIconEntry& entry : appIconSizes()) {
        expected << QStringLiteral("Quorva/icon/iOS/AppIcon.appiconset/") + entry.fileName;
        if (entry.fileName.startsWith(QLatin1String("ItunesArtwork")))
            expected << QStringLiteral("Quorva/icon/iOS/") + entry.fileName;
        EXPECT_EQ(test::decodeFile(iconSet / entry.fileName.toStdString()).size(), QSize(entry.side, entry.side));
    }
    expected << QStringLiteral("Quorva/icon/iOS/AppIcon.appiconset/Contents.json");
    expected.sort();
    EXPECT_EQ(test::filesBelow(root), expected);
    EXPECT_EQ(test::readBytes(iconFolder / "ItunesArtwork@2x.png"),
              test::readBytes(iconSet / "ItunesArtwork@2x.png"));
}

TEST_F(CatalogWriter, opaqueSource_givesIconsWithoutAlphaChannel)
{
    writeAppIconSet(appIconImages(test::solidImage(64, 64, qRgb(200, 30, 30))), std::nullopt, root);
    EXPECT_EQ(test::pngColourType(test::readBytes(iconSet / "ItunesArtwork@2x.png")), 2);
    EXPECT_EQ(test::pngColourType(test::readBytes(iconSet / "Icon-App-20x20@1x.png")), 2);
}

TEST_F(CatalogWriter, messageWins_overAMapInTheSameCall)
{
    const WriteReport report =
        writeAppIconSet(appIconImages(test::gradientImage(8, 8)), QStringLiteral("Couldn't get image"), root);
    EXPECT_EQ(printed.lines(), QStringList{QStringLiteral("Couldn't get image")});
    EXPECT_EQ(report.failures, QStringList{QStringLiteral("Couldn't get image")});
    EXPECT_TRUE(test::filesBelow(root).isEmpty());
}

TEST_F(CatalogWriter, noMapOrNoDestination_doesNothing)
{
    EXPECT_FALSE(writeAppIconSet(std::nullopt, std::nullopt, root).failed());
    EXPECT_FALSE(writeAppIconSet(appIconImages(test::gradientImage(8, 8)), std::nullopt, std::nullopt).failed());
    EXPECT_FALSE(writeImageSet(imageSetImages(), std::nullopt, std::nullopt, {}).failed());
    EXPECT_TRUE(printed.lines().isEmpty());
    EXPECT_TRUE(fs::is_empty(root));
}

TEST_F(CatalogWriter, existingTree_isReplaced)
{
    writeAppIconSet(appIconImages(test::gradientImage(64, 64, 4)), std::nullopt, root);
    test::writeBytes(iconSet / "Contents.json", "stale");
    test::writeBytes(iconSet / "Icon-App-20x20@1x.png", "stale");
    test::writeBytes(iconSet / "Icon-App-29x29@1x.png", QByteArray(1 << 20, 'x')); // longer than the new file
    const RenderedImages images = appIconImages(test::solidImage(64, 64, qRgb(1, 2, 3)));
    const WriteReport report = writeAppIconSet(images, std::nullopt, root);
    EXPECT_FALSE(report.failed());
    EXPECT_EQ(test::readBytes(iconSet / "Contents.json"), test::readBytes(":/templates/Contents.json"));
    EXPECT_EQ(test::decodeFile(iconSet / "Icon-App-20x20@1x.png").pixel(3, 3), qRgb(1, 2, 3));
    EXPECT_EQ(test::readBytes(iconSet / "Icon-App-29x29@1x.png"),
              *pngData(*images.at(QStringLiteral("Icon-App-29x29@1x.png"))).bytes)
        << "nothing of the longer file may remain";
}

TEST_F(CatalogWriter, fileWhereAFolderShouldBe_printsOneErrorPerCallAndWritesNothing)
{
    fs::create_directories(root / "Quorva");
    test::writeBytes(root / "Quorva" / "icon", "a file, not a folder");
    const RenderedImages images = appIconImages(test::gradientImage(16, 16));
    const WriteReport first = writeAppIconSet(images, std::nullopt, root);
    const WriteReport second = writeAppIconSet(images, std::nullopt, root);
    ASSERT_EQ(printed.lines().size(), 2);
    EXPECT_TRUE(printed.lines().front().contains(QLatin1String("Quorva/icon/iOS")));
    EXPECT_EQ(first.failures, QStringList{printed.lines().front()});
    EXPECT_TRUE(second.failed());
    EXPECT_TRUE(first.written.empty());
    EXPECT_EQ(test::filesBelow(root), QStringList{QStringLiteral("Quorva/icon")});
}

TEST_F(CatalogWriter, failedWrite_isPrintedAndTheRestIsWritten)
{
    fs::create_directories(iconSet);
    fs::create_symlink("/dev/full", iconSet / "Icon-App-29x29@1x.png");
    fs::create_directories(iconSet / "ItunesArtwork@1x.png"); // a folder where the file should go
    const WriteReport report = writeAppIconSet(appIconImages(test::gradientImage(32, 32)), std::nullopt, root);
    const QStringList lines = printed.lines();
    ASSERT_EQ(lines.size(), 2) << lines.join('\n').toStdString();
    EXPECT_EQ(report.failures, lines);
    EXPECT_TRUE(lines.filter(QStringLiteral("Icon-App-29x29@1x.png")).size() == 1);
    EXPECT_TRUE(lines.filter(QStringLiteral("No space left on device")).size() == 1);
    EXPECT_FALSE(fs::exists(iconFolder / "ItunesArtwork@1x.png")) << "a failed first write skips the extra copy";
    EXPECT_TRUE(fs::exists(iconFolder / "ItunesArtwork@2x.png"));
    EXPECT_TRUE(fs::exists(iconSet / "Contents.json"));
    EXPECT_EQ(report.written.size(), 21u - 3u);
}

TEST_F(CatalogWriter, unwritablePlaces_arePrintedAndNothingElseIsTouched)
{
    const RenderedImages images = appIconImages(test::gradientImage(32, 32));
    {
        const test::Unwritable locked(root);
        if (!locked.ok())
            GTEST_SKIP() << "this file system can make nothing unwritable";
        const WriteReport report = writeAppIconSet(images, std::nullopt, root);
        ASSERT_EQ(printed.lines().size(), 1);
        EXPECT_TRUE(printed.lines().front().contains(QLatin1String("Couldn't create the folder")));
        EXPECT_TRUE(report.written.empty());
        EXPECT_TRUE(fs::is_empty(root));
    }
    ASSERT_FALSE(writeAppIconSet(images, std::nullopt, root).failed());
    const QByteArray before = test::readBytes(iconSet / "Icon-App-40x40@2x.png");
    {
        const test::Unwritable lockedPng(iconSet / "Icon-App-40x40@2x.png");
        const WriteReport report = writeAppIconSet(appIconImages(test::solidImage(8, 8, qRgb(9, 9, 9))), std::nullopt,
                                                   root);
        ASSERT_EQ(printed.lines().size(), 2);
        EXPECT_TRUE(printed.lines().back().contains(QLatin1String("Icon-App-40x40@2x.png")));
        EXPECT_EQ(report.written.size(), 21u - 1u) << "the rest of the set is written";
    }
    EXPECT_EQ(test::readBytes(iconSet / "Icon-App-40x40@2x.png"), before) << "the locked file is untouched";
}

TEST_F(CatalogWriter, destinationRemoved_isNotMadeAgain)
{
    const fs::path gone = root / "gone";
    const WriteReport report = writeImageSet(imageSetImages(), std::nullopt, gone, [] { return QStringLiteral("logo"); });
    ASSERT_EQ(printed.lines().size(), 1);
    EXPECT_TRUE(printed.lines().front().contains(QLatin1String("No such file or directory")))
        << printed.lines().front().toStdString();
    EXPECT_TRUE(report.failed());
    EXPECT_FALSE(fs::exists(gone));
}

TEST_F(CatalogWriter, entryWithoutBitmap_endsTheCallThere)
{
    RenderedImages images = imageSetImages();
    images[QStringLiteral("asset@2x")] = std::make_shared<const Image>(QSizeF(20, 20), std::vector<QImage>{});
    const WriteReport report = writeImageSet(images, std::nullopt, root, [] { return QStringLiteral("logo"); });
    EXPECT_TRUE(printed.lines().isEmpty());
    EXPECT_TRUE(report.failed());
    // The map iterates its keys in order: 1x is written, 2x stops the call.
    EXPECT_EQ(test::filesBelow(root), QStringList{QStringLiteral("Quorva/asset/iOS/logo.imageset/asset@1x.png")});
}

TEST_F(CatalogWriter, missingTemplate_leavesThePngsAndNoContents)
{
    CatalogSetLayout layout = imageSetLayout();
    layout.templateResource = QStringLiteral(":/templates/Nowhere.json");
    const WriteReport report =
        writeCatalogSet(layout, imageSetImages(), std::nullopt, root, [] { return QStringLiteral("x.imageset"); });
    EXPECT_TRUE(printed.lines().isEmpty());
    EXPECT_TRUE(report.failed());
    EXPECT_EQ(test::filesBelow(assetFolder / "x.imageset"),
              (QStringList{QStringLiteral("asset@1x.png"), QStringLiteral("asset@2x.png"), QStringLiteral("asset@3x.png")}));
}

TEST_F(CatalogWriter, emptyMap_createsTheFoldersAndCopiesTheTemplate)
{
    const WriteReport report = writeAppIconSet(RenderedImages{}, std::nullopt, root);
    EXPECT_FALSE(report.failed());
    EXPECT_EQ(test::filesBelow(root), QStringList{QStringLiteral("Quorva/icon/iOS/AppIcon.appiconset/Contents.json")});
}

TEST_F(CatalogWriter, keysAreUsedUnchanged)
{
    const ImageRef image = makeImage(test::gradientImage(8, 8));
    writeAppIconSet(RenderedImages{{QStringLiteral("bare"), image}}, std::nullopt, root);
    writeImageSet(RenderedImages{{QStringLiteral("twice.png"), image}}, std::nullopt, root,
                  [] { return QStringLiteral("n"); });
    EXPECT_TRUE(fs::exists(iconSet / "bare"));
    EXPECT_TRUE(fs::exists(assetFolder / "n.imageset" / "twice.png.png"));
}

TEST_F(CatalogWriter, imageSet_isNamedByTheAssetNameReadAtEveryCall)
{
    std::optional<QString> name;
    const AssetNameSource source = [&name] { return name; };
    const RenderedImages images = imageSetImages();
    writeImageSet(images, std::nullopt, root, source);
    name = QStringLiteral("logo");
    writeImageSet(images, std::nullopt, root, source);
    name = QStringLiteral("renamed");
    writeImageSet(RenderedImages{{QStringLiteral("asset@1x"), images.at(QStringLiteral("asset@1x"))}}, std::nullopt,
                  root, source);

    const QStringList four = {QStringLiteral("Contents.json"), QStringLiteral("asset@1x.png"),
                              QStringLiteral("asset@2x.png"), QStringLiteral("asset@3x.png")};
    EXPECT_EQ(test::filesBelow(assetFolder / "asset.imageset"), four);
    EXPECT_EQ(test::filesBelow(assetFolder / "logo.imageset"), four);
    EXPECT_EQ(test::filesBelow(assetFolder / "renamed.imageset"),
              (QStringList{QStringLiteral("Contents.json"), QStringLiteral("asset@1x.png")}));
    EXPECT_EQ(test::decodeFile(assetFolder / "logo.imageset" / "asset@2x.png").size(), QSize(20, 20));
}

TEST_F(CatalogWriter, assetNameThatIsNoSingleFolderName_isRefused)
{
    const WriteReport report =
        writeImageSet(imageSetImages(), std::nullopt, root, [] { return QStringLiteral("../../escape"); });
    EXPECT_TRUE(report.failed());
    EXPECT_EQ(printed.lines().size(), 1);
    EXPECT_TRUE(fs::is_empty(root));
}
