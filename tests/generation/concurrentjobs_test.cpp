// Many jobs at once, as a user who clicks quickly gets them: every finished tree is complete.
// Run under ThreadSanitizer by CI.
#include "generation/appiconset.h"
#include "generation/catalogwriter.h"
#include "generation/imageset.h"
#include "generation/localtaskqueues.h"

#include "testsupport.h"

#include <gtest/gtest.h>

using namespace quorva;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

TEST(ConcurrentJobs, iconSetsIntoOwnAndSharedFolders_withImageSetsRenamedBetweenDeliveries)
{
    test::Scratch scratch;
    LocalTaskQueues queues;
    const ImageRef source = makeImage(test::gradientImage(240, 180, 6));
    const auto writeInto = [](fs::path destination) -> GenerationCompletion {
        fs::create_directories(destination);
        return [destination](std::optional<RenderedImages> images, std::optional<QString> message) {
            EXPECT_FALSE(writeAppIconSet(images, message, destination).failed());
        };
    };
    for (int i = 0; i < 4; ++i)
        makeAppIconSet(source, writeInto(scratch / ("own" + std::to_string(i))), queues);
    for (int i = 0; i < 3; ++i)
        makeAppIconSet(source, writeInto(scratch / "shared"), queues);
    // The name is read at every call: each call writes the whole set under the name of that moment.
    const QStringList names = {QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("third")};
    int call = 0;
    EXPECT_TRUE(makeImageSet(source,
                             [&](std::optional<RenderedImages> images, std::optional<QString> message) {
                                 const QString name = names[call++ % names.size()];
                                 EXPECT_FALSE(writeImageSet(images, message, scratch / "shared",
                                                            [&name] { return name; })
                                                  .failed());
                             },
                             queues));
    ASSERT_TRUE(queues.runUntilIdle(300s));

    for (const char* folder : {"own0", "own1", "own2", "own3"})
        EXPECT_EQ(test::filesBelow(scratch / folder), test::appIconTree()) << folder;
    QStringList shared = test::appIconTree();
    for (const QString& name : names)
        shared << test::imageSetTree(name);
    shared.sort();
    EXPECT_EQ(test::filesBelow(scratch / "shared"), shared);
    for (const QString& file : shared.filter(QStringLiteral(".png")))
        EXPECT_FALSE(test::decodeFile(scratch / "shared" / file.toStdString()).isNull()) << file.toStdString();
}
