#include "windowfixture.h"

#include "generation/appiconset.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QTest>

#include <filesystem>

using namespace quorva;
namespace fs = std::filesystem;

namespace {

class HomeControllerTest : public test::WindowFixture {
protected:
    QString dropImage(const std::string& name, const QImage& image)
    {
        const QString file = savePng(name, image);
        EXPECT_TRUE(dragAndDrop({file}));
        return file;
    }

    static QStringList appIconTree()
    {
        QStringList files;
        for (const AppIconEntry& entry : appIconSizes()) {
            files << QStringLiteral("Quorva/icon/iOS/AppIcon.appiconset/") + entry.fileName;
            if (entry.fileName.contains(QLatin1String("tunes")))
                files << QStringLiteral("Quorva/icon/iOS/") + entry.fileName;
        }
        files << QStringLiteral("Quorva/icon/iOS/AppIcon.appiconset/Contents.json");
        files.sort();
        return files;
    }

    static QStringList imageSetTree(const QString& name)
    {
        const QString set = QStringLiteral("Quorva/asset/iOS/%1.imageset/").arg(name);
        return {set + "Contents.json", set + "asset@1x.png", set + "asset@2x.png", set + "asset@3x.png"};
    }

    fs::path makeFolder(const std::string& name)
    {
        fs::create_directories(path(name));
        return path(name);
    }
};

} // namespace

TEST_F(HomeControllerTest, startsOnTheAppIconSegmentTitledQuorva)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Quorva"));
    EXPECT_EQ(controller().windowTitle(), QStringLiteral("Quorva"));
    EXPECT_EQ(segments().selectedSegment(), 0);
    EXPECT_EQ(dragView().delegate, &controller());
    EXPECT_FALSE(controller().selectedFolder());
    EXPECT_FALSE(controller().selectedAssetName());
}

TEST_F(HomeControllerTest, droppedImages_areShownAndNameTheAsset_nonImagesChangeNothing)
{
    dropImage("photo.final.jpeg", test::gradientImage(90, 60));
    ASSERT_TRUE(imageWell().image());
    EXPECT_EQ(imageWell().image()->representations().front().size(), QSize(90, 60));
    EXPECT_EQ(controller().selectedAssetName(), QStringLiteral("photo.final"));
    EXPECT_TRUE(status().contains(QStringLiteral("90 × 60"))) << status().toStdString();

    const ImageRef shown = imageWell().image();
    test::writeBytes(path("fake.png"), "this is not a picture");
    ASSERT_TRUE(dragAndDrop({QString::fromStdString(path("fake.png").string())}));
    EXPECT_EQ(imageWell().image(), shown);
    EXPECT_EQ(controller().selectedAssetName(), QStringLiteral("photo.final"));
    EXPECT_TRUE(status().contains(QStringLiteral("fake.png is not an image Quorva can read")))
        << status().toStdString();

    dropImage("Logo.PNG", test::solidImage(30, 40, qRgb(5, 6, 7)));
    EXPECT_NE(imageWell().image(), shown);
    EXPECT_EQ(controller().selectedAssetName(), QStringLiteral("Logo"));
}

TEST_F(HomeControllerTest, transparentSource_isWarnedAboutForAppIconsOnly)
{
    const QString warning = QStringLiteral("App Store Connect rejects app icons with transparency");
    dropImage("clear.png", test::gradientImage(40, 40, 3));
    EXPECT_TRUE(status().contains(warning));
    segments().findChild<QAbstractButton*>(QStringLiteral("segment1"))->click();
    EXPECT_EQ(segments().selectedSegment(), 1);
    EXPECT_FALSE(status().contains(warning));
    segments().findChild<QAbstractButton*>(QStringLiteral("segment0"))->click();
    EXPECT_TRUE(status().contains(warning));
    dropImage("opaque.png", test::solidImage(40, 40, qRgb(9, 9, 9)));
    EXPECT_FALSE(status().contains(warning));
}

TEST_F(HomeControllerTest, appIconSegment_writesTheIconSetIntoTheChosenFolder)
{
    dropImage("icon.png", test::gradientImage(256, 256, 8));
    const fs::path out = makeFolder("out");
    generateInto(out);
    EXPECT_EQ(controller().selectedFolder(), out);
    waitForJobs();
    EXPECT_EQ(test::filesBelow(out), appIconTree());
    for (const AppIconEntry& entry : appIconSizes())
        EXPECT_EQ(test::decodeFile(out / "Quorva/icon/iOS/AppIcon.appiconset" / entry.fileName.toStdString()).size(),
                  QSize(entry.side, entry.side));
    EXPECT_TRUE(status().contains(QStringLiteral("Wrote 21 files"))) << status().toStdString();
    EXPECT_TRUE(status().contains(QStringLiteral("AppIcon.appiconset</a>"))) << status().toStdString();
}

TEST_F(HomeControllerTest, imageSetSegment_writesTheSetNamedAfterTheDroppedFile)
{
    dropImage("logo.png", test::gradientImage(600, 300));
    segments().setSelectedSegment(1);
    const fs::path out = makeFolder("desk top");
    generateInto(out);
    waitForJobs();
    EXPECT_EQ(test::filesBelow(out), imageSetTree(QStringLiteral("logo")));
    EXPECT_EQ(test::decodeFile(out / "Quorva/asset/iOS/logo.imageset/asset@1x.png").size(), QSize(200, 100));
    EXPECT_EQ(test::decodeFile(out / "Quorva/asset/iOS/logo.imageset/asset@2x.png").size(), QSize(400, 200));
    EXPECT_EQ(test::decodeFile(out / "Quorva/asset/iOS/logo.imageset/asset@3x.png").size(), QSize(600, 300));
    EXPECT_TRUE(status().contains(QStringLiteral("Wrote 4 files"))) << status().toStdString();
}

TEST_F(HomeControllerTest, imageSet_takesTheAssetNameAtEachWriteNotAtTheStart)
{
    dropImage("first.png", test::gradientImage(30, 30));
    segments().setSelectedSegment(1);
    const fs::path out = makeFolder("out");
    generateInto(out);
    // The job has rendered, but its delivery steps have not run yet.
    dropImage("second.png", test::gradientImage(60, 60));
    waitForJobs();
    EXPECT_EQ(test::filesBelow(out), imageSetTree(QStringLiteral("second")));
    EXPECT_EQ(test::decodeFile(out / "Quorva/asset/iOS/second.imageset/asset@3x.png").size(), QSize(30, 30));
}

TEST_F(HomeControllerTest, cancelledPanel_keepsTheFolderAndStartsNothing)
{
    dropImage("icon.png", test::gradientImage(64, 64));
    const fs::path first = makeFolder("first");
    generateInto(first);
    waitForJobs();
    const fs::path second = makeFolder("second");
    generateAndCancel();
    waitForJobs();
    EXPECT_EQ(controller().selectedFolder(), first);
    EXPECT_TRUE(fs::is_empty(second));
}

TEST_F(HomeControllerTest, secondConfirmationWhileAJobRuns_bothSetsAreComplete)
{
    dropImage("icon.png", test::gradientImage(512, 512, 10));
    const fs::path one = makeFolder("one");
    const fs::path two = makeFolder("two");
    // No event is processed between the two: the first job cannot have delivered anything yet.
    generateInto(one);
    generateInto(two);
    EXPECT_EQ(controller().selectedFolder(), two);
    waitForJobs();
    EXPECT_EQ(test::filesBelow(one), appIconTree());
    EXPECT_EQ(test::filesBelow(two), appIconTree());
}

TEST_F(HomeControllerTest, noImageYet_keepsTheFolderAndAsksForAnImage)
{
    const fs::path out = makeFolder("out");
    generateInto(out);
    waitForJobs();
    EXPECT_EQ(controller().selectedFolder(), out);
    EXPECT_TRUE(fs::is_empty(out));
    EXPECT_TRUE(status().contains(QStringLiteral("Drop an image first"))) << status().toStdString();
}

TEST_F(HomeControllerTest, failures_areShownInTheWindow)
{
    // A file stands where the "Quorva" folder should be.
    dropImage("icon.png", test::gradientImage(64, 64));
    const fs::path blocked = makeFolder("blocked");
    test::writeBytes(blocked / "Quorva", "in the way");
    generateInto(blocked);
    waitForJobs();
    EXPECT_TRUE(status().contains(QStringLiteral("Couldn't create the folder"))) << status().toStdString();
    EXPECT_FALSE(status().contains(QStringLiteral("Wrote")));

    // A full disk under one of the files.
    segments().setSelectedSegment(1);
    const fs::path full = makeFolder("full");
    fs::create_directories(full / "Quorva/asset/iOS/icon.imageset");
    fs::create_symlink("/dev/full", full / "Quorva/asset/iOS/icon.imageset/asset@1x.png");
    generateInto(full);
    waitForJobs();
    EXPECT_TRUE(status().contains(QStringLiteral("No space left on device"))) << status().toStdString();
    EXPECT_TRUE(status().contains(QStringLiteral("Wrote 3 files"))) << "the rest is written: " << status().toStdString();

    // The destination removed while the job runs: it is not made again.
    segments().setSelectedSegment(0);
    const fs::path removed = makeFolder("removed");
    generateInto(removed);
    fs::remove_all(removed);
    waitForJobs();
    EXPECT_FALSE(fs::exists(removed));
    EXPECT_TRUE(status().contains(QStringLiteral("No such file or directory"))) << status().toStdString();

    // An image set of a source too narrow for its 1x scale.
    dropImage("thin.png", test::gradientImage(2, 900));
    segments().setSelectedSegment(1);
    const fs::path out = makeFolder("out");
    generateInto(out);
    waitForJobs();
    EXPECT_TRUE(fs::is_empty(out));
    EXPECT_TRUE(status().contains(QStringLiteral("at least 3 × 3 pixels"))) << status().toStdString();
}
