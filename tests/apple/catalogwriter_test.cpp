#include "apple/appiconset.h"
#include "apple/catalogwriter.h"
#include "apple/contentsjson.h"
#include "image/image.h"
#include "image/imageresizing.h"

#include "testsupport.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

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
    return {{"asset@1x", resizedToSide(*image, 10)},
            {"asset@2x", resizedToSide(*image, 20)},
            {"asset@3x", resizedToSide(*image, 30)}};
}

AssetNameSource named(const char* name)
{
    return [name] { return QString::fromUtf8(name); };
}

class CatalogWriter : public ::testing::Test {
protected:
    test::Scratch scratch;
    fs::path root = scratch.root;
    fs::path iconFolder = root / "Quorva/icon/iOS";
    fs::path iconSet = iconFolder / "AppIcon.appiconset";
    fs::path assetFolder = root / "Quorva/asset/iOS";
    test::CapturedLines printed;
};

} // namespace

TEST_F(CatalogWriter, appIconSetReplacesWhatWasThereWithTheTreeAndArtworkCopies)
{
    fs::create_directories(iconSet);
    test::writeBytes(iconSet / "Contents.json", "stale");
    test::writeBytes(iconSet / "Icon-App-29x29@1x.png", QByteArray(1 << 20, 'x')); // longer than the new file
    const RenderedImages images = appIconImages(test::solidImage(64, 64, qRgb(200, 30, 30)));
    const WriteReport report = writeAppIconSet(images, std::nullopt, root);
    EXPECT_FALSE(report.failed());
    EXPECT_TRUE(printed.lines().isEmpty());
    EXPECT_EQ(report.written.size(), 21u);
    EXPECT_EQ(test::filesBelow(root), test::appIconTree());
    for (const auto& [file, size] : test::classicAppIconSizes())
        EXPECT_EQ(test::decodeFile(iconSet / file.toStdString()).size(), size);
    EXPECT_EQ(test::readBytes(iconFolder / "ItunesArtwork@2x.png"), test::readBytes(iconSet / "ItunesArtwork@2x.png"));
    EXPECT_EQ(test::pngColourType(test::readBytes(iconSet / "ItunesArtwork@2x.png")), 2) << "opaque: no alpha channel";
    EXPECT_EQ(test::readBytes(iconSet / "Contents.json"), test::readBytes(":/templates/Contents.json"));
    EXPECT_EQ(test::readBytes(iconSet / "Icon-App-29x29@1x.png"), *pngData(*images.at("Icon-App-29x29@1x.png")).bytes)
        << "cut to length";
}

TEST_F(CatalogWriter, messageWinsOverAMap)
{
    const WriteReport report
        = writeAppIconSet(appIconImages(test::gradientImage(8, 8)), QStringLiteral("Couldn't get image"), root);
    EXPECT_EQ(printed.lines(), QStringList{QStringLiteral("Couldn't get image")});
    EXPECT_EQ(report.failures, printed.lines());
    EXPECT_TRUE(fs::is_empty(root));
}

TEST_F(CatalogWriter, noMapOrNoDestinationWritesAndPrintsNothing)
{
    EXPECT_FALSE(writeAppIconSet(std::nullopt, std::nullopt, root).failed());
    EXPECT_FALSE(writeImageSet(imageSetImages(), std::nullopt, std::nullopt, {}).failed());
    EXPECT_TRUE(printed.lines().isEmpty());
    EXPECT_TRUE(fs::is_empty(root));
}

TEST_F(CatalogWriter, keysAreUsedUnchanged)
{
    EXPECT_FALSE(writeAppIconSet(RenderedImages{}, std::nullopt, root).failed());
    EXPECT_EQ(test::filesBelow(root), QStringList{QStringLiteral("Quorva/icon/iOS/AppIcon.appiconset/Contents.json")});
    const ImageRef image = makeImage(test::gradientImage(8, 8));
    writeAppIconSet(RenderedImages{{"bare", image}}, std::nullopt, root);
    writeImageSet(RenderedImages{{"twice.png", image}}, std::nullopt, root, named("n"));
    EXPECT_TRUE(fs::exists(iconSet / "bare"));
    EXPECT_TRUE(fs::exists(assetFolder / "n.imageset/twice.png.png"));
}

TEST_F(CatalogWriter, foldersAreMadeOnlyBelowTheDestinationAsOneComponentEach)
{
    const RenderedImages images = imageSetImages();
    // A file where the "asset" folder should be: one printed error per call, nothing written.
    fs::create_directories(root / "blocked/Quorva");
    test::writeBytes(root / "blocked/Quorva/asset", "in the way");
    EXPECT_TRUE(writeImageSet(images, std::nullopt, root / "blocked", named("a")).failed());
    EXPECT_TRUE(writeImageSet(images, std::nullopt, root / "blocked", named("a")).failed());
    // A destination removed while the job ran stays removed.
    EXPECT_TRUE(writeImageSet(images, std::nullopt, root / "gone", named("a")).failed());
    // A name that is not a single folder name.
    EXPECT_TRUE(writeImageSet(images, std::nullopt, root, named("../../escape")).failed());
    const QStringList lines = printed.lines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].contains(QLatin1String("blocked/Quorva/asset\": Not a directory"))) << lines[0].toStdString();
    EXPECT_EQ(lines[1], lines[0]);
    EXPECT_TRUE(lines[2].contains(QLatin1String("No such file or directory"))) << lines[2].toStdString();
    EXPECT_EQ(test::filesBelow(root), QStringList{QStringLiteral("blocked/Quorva/asset")});
    EXPECT_FALSE(fs::exists(root / "gone"));
}

TEST_F(CatalogWriter, imageSetIsNamedByTheAssetNameReadAtEveryCall)
{
    const RenderedImages images = imageSetImages();
    // Without a name the set is "asset.imageset".
    std::optional<QString> name;
    const AssetNameSource source = [&name] { return name; };
    writeImageSet(images, std::nullopt, root, source);
    name = QStringLiteral("logo");
    writeImageSet(RenderedImages{{"asset@1x", images.at("asset@1x")}}, std::nullopt, root, source);
    EXPECT_EQ(test::filesBelow(assetFolder / "asset.imageset").size(), 4);
    EXPECT_EQ(test::filesBelow(assetFolder / "logo.imageset"),
              (QStringList{QStringLiteral("Contents.json"), QStringLiteral("asset@1x.png")}));
}

TEST_F(CatalogWriter, aFileThatCantBeWrittenIsPrintedOnce_andNothingIsWritten)
{
    fs::create_directories(iconSet / "ItunesArtwork@1x.png"); // a folder where the file should go
    const WriteReport report = writeAppIconSet(appIconImages(test::gradientImage(32, 32)), std::nullopt, root);
    const QStringList lines = printed.lines();
    ASSERT_EQ(lines.size(), 1) << lines.join('\n').toStdString();
    EXPECT_EQ(report.failures, lines);
    EXPECT_TRUE(lines[0].contains(QStringLiteral("ItunesArtwork@1x.png\": Is a directory"))) << lines[0].toStdString();
    EXPECT_EQ(test::filesBelow(root), QStringList{}) << "no half set: no icon, no copy, no Contents.json";
    EXPECT_TRUE(report.written.empty());
    EXPECT_FALSE(report.setFolder);
}

TEST_F(CatalogWriter, fullDiskLeavesEachFileWholeOldOrNew)
{
    const test::SmallDisk disk(root / "disk", 1 << 20);
    if (!disk.mounted)
        GTEST_SKIP() << "no tmpfs can be mounted here to fill up";
    const auto set = [](unsigned seed) {
        RenderedImages images;
        for (const char* name : {"AppIcon.png", "AppIcon-Dark.png", "AppIcon-Tinted.png"})
            images[name] = makeImage(test::randomImage(160, 160, seed++));
        return images;
    };
    const RenderedImages old = set(1), now = set(7);
    const CatalogSetLayout layout = singleSizeAppIconSetLayout(singleSizeAppIconContents(true, true));
    ASSERT_FALSE(writeAppIconSet(old, std::nullopt, disk.folder, layout).failed());
    disk.fill(pngData(*now.at("AppIcon.png")).bytes->size() / 2); // room for a part of one icon
    const WriteReport report = writeAppIconSet(now, std::nullopt, disk.folder, layout);
    EXPECT_TRUE(report.failed());
    for (const auto& [name, image] : now) {
        const QByteArray bytes
            = test::readBytes(disk.folder / "Quorva/icon/iOS/AppIcon.appiconset" / name.toStdString());
        EXPECT_TRUE(bytes == *pngData(*image).bytes || bytes == *pngData(*old.at(name)).bytes) << name.toStdString();
    }
    EXPECT_EQ(test::filesBelow(disk.folder / "Quorva/icon/iOS/AppIcon.appiconset").size(), 4) << "no leftovers";
}

TEST_F(CatalogWriter, linksBelowTheDestinationNeverLeadAWriteOutOfIt)
{
    const fs::path outside = root / "outside";
    fs::create_directories(outside);
    test::writeBytes(outside / "victim.png", "the user's file");
    const fs::path destination = root / "dest";
    fs::create_directories(destination / "Quorva/icon/iOS/AppIcon.appiconset");
    fs::create_symlink(outside / "victim.png",
                       destination / "Quorva/icon/iOS/AppIcon.appiconset/Icon-App-20x20@1x.png");
    // A link in a file's place is neither followed nor replaced: the set is not written.
    const WriteReport linked = writeAppIconSet(appIconImages(test::gradientImage(32, 32)), std::nullopt, destination);
    ASSERT_TRUE(linked.failed());
    EXPECT_TRUE(linked.failures[0].contains("symbolic link")) << linked.failures[0].toStdString();
    EXPECT_EQ(test::readBytes(outside / "victim.png"), "the user's file");
    EXPECT_TRUE(fs::is_symlink(destination / "Quorva/icon/iOS/AppIcon.appiconset/Icon-App-20x20@1x.png"));
    EXPECT_FALSE(fs::exists(destination / "Quorva/icon/iOS/AppIcon.appiconset/Contents.json"));

    // A folder of the tree that is a link: followed while it stays inside the destination.
    fs::create_directories(destination / "elsewhere");
    fs::create_symlink(destination / "elsewhere", destination / "Quorva/asset");
    EXPECT_FALSE(writeImageSet(imageSetImages(), std::nullopt, destination, named("in")).failed());
    EXPECT_TRUE(fs::exists(destination / "elsewhere/iOS/in.imageset/asset@3x.png"));
    fs::remove(destination / "Quorva/asset");
    fs::create_symlink(outside, destination / "Quorva/asset");
    const WriteReport refused = writeImageSet(imageSetImages(), std::nullopt, destination, named("out"));
    ASSERT_TRUE(refused.failed());
    EXPECT_TRUE(refused.failures[0].contains("symbolic link that leads out of")) << refused.failures[0].toStdString();
    EXPECT_EQ(test::filesBelow(outside), QStringList{QStringLiteral("victim.png")});
}

TEST_F(CatalogWriter, setWrittenOverAnotherLosesTheOldSetsFilesButNotTheUsers)
{
    writeAppIconSet(appIconImages(test::gradientImage(32, 32)), std::nullopt, root);
    test::writeBytes(iconSet / "notes.txt", "mine");
    const ImageRef icon = makeImage(test::gradientImage(64, 64));
    const WriteReport report = writeAppIconSet(RenderedImages{{"AppIcon.png", icon}}, std::nullopt, root,
                                               singleSizeAppIconSetLayout(singleSizeAppIconContents(false, false)));
    EXPECT_EQ(test::filesBelow(iconSet),
              (QStringList{QStringLiteral("AppIcon.png"), QStringLiteral("Contents.json"),
                           QStringLiteral("notes.txt")}));
    EXPECT_EQ(report.removed.size(), 17);
    EXPECT_EQ(report.kept, QStringList{QStringLiteral("notes.txt")});
}

TEST_F(CatalogWriter, anEntryThatCantBeEncoded_failsTheCallSilently_andWritesNothing)
{
    RenderedImages images = imageSetImages();
    images["asset@2x"] = std::make_shared<const Image>(QSizeF(20, 20), std::vector<QImage>{});
    EXPECT_TRUE(writeImageSet(images, std::nullopt, root, named("logo")).failed());
    EXPECT_TRUE(printed.lines().isEmpty());
    EXPECT_TRUE(fs::is_empty(root)) << "not the 1x before it, nor a Contents.json naming what is not there";

#ifdef QUORVA_SANITIZED
    GTEST_SKIP() << "a sanitizer runtime reserves more address space than the limit below allows";
#else
    // The encoder has no memory for one image: the call fails and writes nothing.
    const ImageRef large = makeImage(test::randomImage(3000, 3000, 1));
    const auto writeWithLittleMemory = [&] {
        long pages = 0;
        std::FILE* statm = std::fopen("/proc/self/statm", "r");
        const rlim_t limit = statm && std::fscanf(statm, "%ld", &pages) == 1 ? rlim_t(pages) * 4096 + (24 << 20) : 0;
        const rlimit space{limit, limit};
        setrlimit(RLIMIT_AS, &space);
        const WriteReport report = writeImageSet(RenderedImages{{"a", large}, {"b", imageSetImages().at("asset@1x")}},
                                                 std::nullopt, root, named("short"));
        // _Exit: the forked child runs no exit handlers, nor a leak scan of threads fork left behind.
        std::_Exit(report.failures.size() == 1 && report.written.empty() ? 0 : 1);
    };
    EXPECT_EXIT(writeWithLittleMemory(), testing::ExitedWithCode(0), "");
    EXPECT_FALSE(fs::exists(assetFolder / "short.imageset"));
#endif
}

TEST_F(CatalogWriter, template_missingFailsSilently_unreadableIsPrinted_neitherWritesAFile)
{
    CatalogSetLayout layout = imageSetLayout();
    layout.templateResource = QStringLiteral(":/templates/Nowhere.json");
    EXPECT_TRUE(
        writeCatalogSet(layout, imageSetImages(), std::nullopt, root, [] { return QStringLiteral("x"); }).failed());
    EXPECT_TRUE(printed.lines().isEmpty());
    EXPECT_FALSE(fs::exists(assetFolder / "x"));

    layout.templateResource = test::str(root); // a folder: it exists but can't be read
    EXPECT_TRUE(
        writeCatalogSet(layout, RenderedImages{}, std::nullopt, root, [] { return QStringLiteral("y"); }).failed());
    EXPECT_EQ(printed.lines().size(), 1);
    EXPECT_FALSE(fs::exists(root / "Quorva"));
}
