// Many jobs at once, as a user who clicks quickly gets them: every finished tree is complete and
// every PNG in it decodes to its size. Run under ThreadSanitizer by CI.

#include "generation/appiconset.h"
#include "generation/catalogwriter.h"
#include "generation/imageset.h"
#include "generation/localtaskqueues.h"

#include "testsupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quorva;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

void expectCompleteAppIconSet(const fs::path& destination)
{
    const fs::path set = destination / "Quorva/icon/iOS/AppIcon.appiconset";
    for (const AppIconEntry& entry : appIconSizes())
        EXPECT_EQ(test::decodeFile(set / entry.fileName.toStdString()).size(), QSize(entry.side, entry.side))
            << (set / entry.fileName.toStdString()).string();
    EXPECT_EQ(test::filesBelow(destination / "Quorva/icon").size(), 21) << destination.string();
}

void expectCompleteImageSet(const fs::path& set, QSize whole)
{
    EXPECT_EQ(test::decodeFile(set / "asset@1x.png").size(), whole / 3) << set.string();
    EXPECT_EQ(test::decodeFile(set / "asset@2x.png").size(), whole / 3 * 2) << set.string();
    EXPECT_EQ(test::decodeFile(set / "asset@3x.png").size(), whole) << set.string();
    EXPECT_TRUE(fs::exists(set / "Contents.json")) << set.string();
}

GenerationCompletion appIconWriter(const fs::path& destination)
{
    fs::create_directories(destination);
    return [destination](std::optional<RenderedImages> images, std::optional<QString> message) {
        EXPECT_FALSE(writeAppIconSet(images, message, destination).failed());
    };
}

class ConcurrentJobs : public ::testing::Test {
protected:
    QTemporaryDir dir;
    fs::path root{dir.path().toStdString()};
    LocalTaskQueues queues;
    const ImageRef source = makeImage(test::gradientImage(240, 180, 6));
};

} // namespace

TEST_F(ConcurrentJobs, manyAppIconSets_intoTheirOwnFoldersAndIntoOneFolder)
{
    for (int i = 0; i < 6; ++i)
        makeAppIconSet(source, appIconWriter(root / ("own" + std::to_string(i))), queues);
    for (int i = 0; i < 3; ++i)
        makeAppIconSet(source, appIconWriter(root / "shared"), queues);
    ASSERT_TRUE(queues.runUntilIdle(300s));
    for (int i = 0; i < 6; ++i)
        expectCompleteAppIconSet(root / ("own" + std::to_string(i)));
    expectCompleteAppIconSet(root / "shared");
}

TEST_F(ConcurrentJobs, imageSetWhileAppIconSetsRun)
{
    for (int i = 0; i < 3; ++i)
        makeAppIconSet(source, appIconWriter(root / "icons"), queues);
    const ImageRef photo = makeImage(test::randomImage(300, 210, 5, true));
    fs::create_directories(root / "assets");
    EXPECT_TRUE(makeImageSet(photo,
                             [this](std::optional<RenderedImages> images, std::optional<QString> message) {
                                 EXPECT_FALSE(writeImageSet(images, message, root / "assets",
                                                            [] { return QStringLiteral("photo"); })
                                                  .failed());
                             },
                             queues));
    ASSERT_TRUE(queues.runUntilIdle(300s));
    expectCompleteAppIconSet(root / "icons");
    expectCompleteImageSet(root / "assets/Quorva/asset/iOS/photo.imageset", QSize(300, 210));
}

TEST_F(ConcurrentJobs, assetNameChangingBetweenDeliverySteps_eachFolderIsComplete)
{
    // The name is read at every call: each call of the job writes the whole set under the name
    // of that moment, and the folders of earlier names keep what they got.
    const QStringList names = {QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("third")};
    int call = 0;
    for (int i = 0; i < 2; ++i)
        makeAppIconSet(source, appIconWriter(root), queues);
    makeImageSet(source,
                 [&](std::optional<RenderedImages> images, std::optional<QString> message) {
                     const QString name = names[call++ % names.size()];
                     EXPECT_FALSE(writeImageSet(images, message, root, [&name] { return name; }).failed());
                 },
                 queues);
    ASSERT_TRUE(queues.runUntilIdle(300s));
    EXPECT_EQ(call, 3);
    for (const QString& name : names)
        expectCompleteImageSet(root / "Quorva/asset/iOS" / (name + QStringLiteral(".imageset")).toStdString(),
                               QSize(240, 180));
    expectCompleteAppIconSet(root);
}
