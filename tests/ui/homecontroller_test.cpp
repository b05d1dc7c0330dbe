#include "windowfixture.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QPushButton>

using namespace quorva;
namespace fs = std::filesystem;

namespace {
class HomeControllerTest : public test::WindowFixture {};
} // namespace

TEST_F(HomeControllerTest, startsOnTheAppIconSegment_showsAndNamesDroppedImages_keepsThemOverNonImages)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Quorva"));
    EXPECT_EQ(segments().selectedSegment(), 0);
    EXPECT_FALSE(controller().selectedFolder());
    EXPECT_FALSE(controller().selectedAssetName());

    dropImage("photo.final.jpeg", test::gradientImage(90, 60));
    ASSERT_TRUE(imageWell().image());
    EXPECT_EQ(imageWell().image()->pixelSize(), QSize(90, 60));
    EXPECT_EQ(controller().selectedAssetName(), QStringLiteral("photo.final"));
    EXPECT_TRUE(source().contains(QStringLiteral("90 × 60"))) << source().toStdString();

    const ImageRef shown = imageWell().image();
    test::writeBytes(path("fake.png"), "this is not a picture");
    ASSERT_TRUE(dragAndDrop({test::str(path("fake.png"))}));
    EXPECT_EQ(imageWell().image(), shown);
    EXPECT_EQ(controller().selectedAssetName(), QStringLiteral("photo.final"));
    EXPECT_TRUE(status().contains(QStringLiteral("fake.png is not an image Quorva can read")))
        << status().toStdString();
    EXPECT_EQ(statusSeverity(), MessageArea::Severity::Error);
    EXPECT_TRUE(source().startsWith(QStringLiteral("photo.final.jpeg"))) << "the source Generate would use";

    dropImage("50%2off.PNG", test::solidImage(30, 40, qRgb(5, 6, 7)));
    EXPECT_NE(imageWell().image(), shown);
    EXPECT_EQ(controller().selectedAssetName(), QStringLiteral("50%2off"));
    EXPECT_EQ(source(), QStringLiteral("50%2off.PNG — 30 × 40 pixels"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("50%2off.PNG — Quorva"));
}

TEST_F(HomeControllerTest, eachSegmentWritesItsSetIntoTheChosenFolder_evenTwoJobsAtOnce)
{
    dropImage("logo.png", test::gradientImage(600, 300));
    const fs::path icons = folder("icons");
    // No event is processed between the two: the first job cannot have delivered anything yet.
    generateInto(folder("other"));
    generateInto(icons);
    EXPECT_EQ(controller().selectedFolder(), icons);
    waitForJobs();
    EXPECT_EQ(test::filesBelow(icons), test::appIconTree());
    EXPECT_EQ(test::filesBelow(path("other")), test::appIconTree());
    EXPECT_TRUE(status().contains(QStringLiteral("Wrote 18 files to "))
                && status().contains("and the 3 artwork files beside it."))
        << status().toStdString();

    segments().setSelectedSegment(1);
    const fs::path assets = folder("desk top");
    generateInto(assets);
    waitForJobs();
    EXPECT_EQ(test::filesBelow(assets), test::imageSetTree(QStringLiteral("logo")));
    EXPECT_EQ(test::decodeFile(assets / "Quorva/asset/iOS/logo.imageset/asset@1x.png").size(), QSize(200, 100));
    EXPECT_TRUE(status().contains(QStringLiteral("Wrote 4 files"))) << status().toStdString();
}

TEST_F(HomeControllerTest, noJobStarts_whenCancelledWithoutImageOrSegmentOrWindow)
{
    const fs::path first = folder("first");
    generateInto(first);
    waitForJobs();
    EXPECT_EQ(controller().selectedFolder(), first) << "kept even when no job can start";
    EXPECT_TRUE(status().contains(QStringLiteral("Drop an image first"))) << status().toStdString();

    dropImage("icon.png", test::gradientImage(64, 64));
    controller().openSelection();
    ASSERT_NE(openDialog("folderPanel"), nullptr);
    openDialog("folderPanel")->reject();
    EXPECT_EQ(controller().selectedFolder(), first);

    auto* group = segments().findChild<QButtonGroup*>();
    group->setExclusive(false);
    group->checkedButton()->setChecked(false);
    ASSERT_EQ(segments().selectedSegment(), -1);
    const fs::path second = folder("second");
    generateInto(second);
    waitForJobs();
    EXPECT_EQ(controller().selectedFolder(), second);

    HomeController windowless; // shown in no window
    windowless.openSelection();
    EXPECT_EQ(windowless.findChild<QFileDialog*>(), nullptr);
    EXPECT_TRUE(fs::is_empty(first) && fs::is_empty(second));
}

TEST_F(HomeControllerTest, failures_areShownInTheWindow)
{
    // One of the files can't be written: the failure as a sentence, and nothing written.
    dropImage("icon.png", test::gradientImage(64, 64));
    segments().setSelectedSegment(1);
    const fs::path blocked = folder("blocked");
    fs::create_directories(blocked / "Quorva/asset/iOS/icon.imageset/asset@1x.png");
    generateInto(blocked);
    waitForJobs();
    EXPECT_TRUE(status().contains(QStringLiteral("Nothing was written"))) << status().toStdString();
    EXPECT_TRUE(status().contains(QStringLiteral("Is a directory."))) << status().toStdString();
    EXPECT_FALSE(status().contains(QStringLiteral("Wrote"))) << status().toStdString();
    EXPECT_FALSE(fs::exists(blocked / "Quorva/asset/iOS/icon.imageset/Contents.json"));
    EXPECT_FALSE(fs::exists(blocked / "Quorva/asset/iOS/icon.imageset/asset@2x.png"));
    EXPECT_EQ(statusSeverity(), MessageArea::Severity::Error);

    // An image set of a source too narrow for its 1x scale.
    dropImage("thin.png", test::gradientImage(2, 900));
    const fs::path out = folder("out");
    generateInto(out); // as the button would, were it not disabled for this image
    waitForJobs();
    EXPECT_TRUE(fs::is_empty(out));
    EXPECT_TRUE(status().contains(QStringLiteral("at least 3 × 3 pixels"))) << status().toStdString();
}

TEST_F(HomeControllerTest, generateWaitsForTheImageBeingLoaded)
{
    dropImage("small.png", test::gradientImage(64, 64));
    segments().setSelectedSegment(1);
    const QString large = scratch.savePng("large.png", test::solidImage(1500, 900, qRgb(10, 20, 30)));
    controller().dragViewDidReceiveFile(QUrl::fromLocalFile(large)); // no event runs before the checks below
    ASSERT_TRUE(controller().isLoading());
    EXPECT_FALSE(window->findChild<QPushButton*>(QStringLiteral("generateButton"))->isEnabled());
    controller().openSelection(); // as Ctrl+G does
    EXPECT_EQ(window->findChild<QFileDialog*>(QStringLiteral("folderPanel")), nullptr);
    waitUntilSettled();
    const fs::path out = folder("out");
    generateInto(out);
    waitForJobs();
    EXPECT_EQ(test::decodeFile(out / "Quorva/asset/iOS/large.imageset/asset@3x.png").size(), QSize(1500, 900))
        << "the image the window shows";
}
