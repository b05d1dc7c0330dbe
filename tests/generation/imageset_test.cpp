#include "generation/imageset.h"
#include "generation/localtaskqueues.h"

#include "testsupport.h"

#include <gtest/gtest.h>

using namespace quorva;
using namespace std::chrono_literals;

namespace {

struct Recorder {
    std::vector<std::optional<RenderedImages>> maps;
    std::vector<std::optional<QString>> messages;
    test::CapturedLines* printed = nullptr;
    std::vector<qsizetype> linesPrintedBefore;

    GenerationCompletion completion()
    {
        return [this](std::optional<RenderedImages> images, std::optional<QString> message) {
            maps.push_back(std::move(images));
            messages.push_back(std::move(message));
            if (printed)
                linesPrintedBefore.push_back(printed->lines().size());
        };
    }
};

QSize pixelsOf(const RenderedImages& images, const char* key)
{
    return images.at(QString::fromLatin1(key))->representations().front().size();
}

} // namespace

TEST(ImageSetSizes, twoXIsTheOneXQuotientDoubled)
{
    const std::vector<ImageSetEntry> sizes = imageSetSizes(1024, 768);
    ASSERT_EQ(sizes.size(), 3u);
    std::map<QString, QSizeF> byKey;
    for (const ImageSetEntry& entry : sizes)
        byKey[entry.key] = entry.size;
    EXPECT_DOUBLE_EQ(byKey[QStringLiteral("asset@1x")].width(), 1024.0 / 3.0);
    EXPECT_DOUBLE_EQ(byKey[QStringLiteral("asset@1x")].height(), 256.0);
    EXPECT_EQ(byKey[QStringLiteral("asset@2x")].width(), 1024.0 / 3.0 + 1024.0 / 3.0);
    EXPECT_EQ(byKey[QStringLiteral("asset@3x")], QSizeF(1024, 768));
}

TEST(MakeImageSet, rendersThirdsOnTheCallingThreadAndDeliversAfterReturning)
{
    struct Case {
        QSize source, x1, x2;
    };
    for (const Case& c : {Case{{300, 300}, {100, 100}, {200, 200}}, Case{{1024, 768}, {341, 256}, {682, 512}},
                          Case{{100, 50}, {33, 16}, {66, 33}}}) {
        LocalTaskQueues queues;
        test::CapturedLines printed;
        Recorder recorder;
        EXPECT_TRUE(makeImageSet(makeImage(test::gradientImage(c.source.width(), c.source.height(), 1)),
                                 recorder.completion(), queues));
        EXPECT_TRUE(recorder.maps.empty()) << "no delivery before the job returned";
        ASSERT_TRUE(queues.runUntilIdle(60s));
        ASSERT_EQ(recorder.maps.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            ASSERT_TRUE(recorder.maps[i]);
            EXPECT_FALSE(recorder.messages[i]);
            ASSERT_EQ(recorder.maps[i]->size(), 3u);
            EXPECT_EQ(pixelsOf(*recorder.maps[i], "asset@1x"), c.x1);
            EXPECT_EQ(pixelsOf(*recorder.maps[i], "asset@2x"), c.x2);
            EXPECT_EQ(pixelsOf(*recorder.maps[i], "asset@3x"), c.source);
        }
        const ImageRef& oneX = recorder.maps[0]->at(QStringLiteral("asset@1x"));
        EXPECT_DOUBLE_EQ(oneX->size().width(), c.source.width() / 3.0);
        EXPECT_TRUE(printed.lines().isEmpty());
    }
}

TEST(MakeImageSet, isSizedByTheFirstRepresentationsPixels)
{
    std::vector<QImage> reps = {test::gradientImage(600, 600), test::gradientImage(1200, 1200)};
    const auto image = std::make_shared<const Image>(QSizeF(300, 300), std::move(reps));
    LocalTaskQueues queues;
    Recorder recorder;
    makeImageSet(image, recorder.completion(), queues);
    ASSERT_TRUE(queues.runUntilIdle(60s));
    ASSERT_FALSE(recorder.maps.empty());
    EXPECT_EQ(pixelsOf(*recorder.maps.back(), "asset@1x"), QSize(200, 200));
    EXPECT_EQ(pixelsOf(*recorder.maps.back(), "asset@3x"), QSize(600, 600));
}

TEST(MakeImageSet, tooSmallSource_printsOnceAndNeverCallsTheCompletion)
{
    for (const QSize size : {QSize(2, 900), QSize(1, 1), QSize(900, 2)}) {
        LocalTaskQueues queues;
        test::CapturedLines printed;
        Recorder recorder;
        EXPECT_FALSE(
            makeImageSet(makeImage(test::gradientImage(size.width(), size.height())), recorder.completion(), queues));
        ASSERT_TRUE(queues.runUntilIdle(60s));
        EXPECT_EQ(printed.lines(), QStringList{QStringLiteral("Couldn't get image")});
        EXPECT_TRUE(recorder.maps.empty());
    }
    LocalTaskQueues queues;
    test::CapturedLines printed;
    Recorder recorder;
    makeImageSet(std::make_shared<const Image>(QSizeF(5, 5), std::vector<QImage>{}), recorder.completion(), queues);
    EXPECT_EQ(printed.lines(), QStringList{QStringLiteral("Couldn't get image")}) << "an image without bitmap";
}

TEST(MakeImageSet, laterFailure_isPrintedFirstThenEachStoredImageIsDelivered)
{
    const std::vector<ImageSetEntry> table = {{QStringLiteral("asset@1x"), QSizeF(10, 10)},
                                              {QStringLiteral("asset@2x"), QSizeF(0.5, 20)},
                                              {QStringLiteral("asset@3x"), QSizeF(30, 30)}};
    LocalTaskQueues queues;
    test::CapturedLines printed;
    Recorder recorder;
    recorder.printed = &printed;
    EXPECT_FALSE(makeImageSet(makeImage(test::gradientImage(30, 30)), table, recorder.completion(), queues));
    ASSERT_TRUE(queues.runUntilIdle(60s));
    EXPECT_EQ(printed.lines(), QStringList{QStringLiteral("Couldn't get image")});
    ASSERT_EQ(recorder.maps.size(), 1u);
    EXPECT_EQ(recorder.linesPrintedBefore, std::vector<qsizetype>{1});
    ASSERT_TRUE(recorder.maps[0]);
    EXPECT_EQ(recorder.maps[0]->size(), 1u);
    EXPECT_TRUE(recorder.maps[0]->count(QStringLiteral("asset@1x")));
}
