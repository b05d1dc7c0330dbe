#include "apple/imageset.h"
#include "generation/localtaskqueues.h"

#include "generation/jobrecorder.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using namespace quorva;
using namespace std::chrono_literals;

TEST(MakeImageSet, rendersThirdsOfTheFirstRepresentationsPixels_deliveringEachAfterReturning)
{
    struct Case {
        QSize source, x1, x2;
    };
    for (const Case& c : {Case{{300, 300}, {100, 100}, {200, 200}}, Case{{1000, 1000}, {333, 333}, {666, 666}},
                          Case{{1024, 768}, {341, 256}, {682, 512}}, Case{{100, 50}, {33, 16}, {66, 33}}}) {
        SCOPED_TRACE(testing::Message() << c.source.width() << "x" << c.source.height());
        // A second, larger representation must not count.
        const auto image = std::make_shared<const Image>(QSizeF(c.source) / 2,
                                                         std::vector<QImage>{test::gradientImage(c.source.width(),
                                                                                                 c.source.height(), 1),
                                                                             test::gradientImage(2000, 2000)});
        LocalTaskQueues queues;
        test::CapturedLines printed;
        test::JobRecorder recorder;
        EXPECT_TRUE(makeImageSet(image, recorder.completion(), queues));
        EXPECT_TRUE(recorder.calls.empty()) << "no delivery before the job returned";
        ASSERT_TRUE(queues.runUntilIdle(60s));
        ASSERT_EQ(recorder.calls.size(), 3u);
        for (const auto& call : recorder.calls) {
            ASSERT_TRUE(call.images);
            EXPECT_FALSE(call.message);
            EXPECT_EQ(call.images->size(), 3u);
            EXPECT_EQ(call.images->at("asset@1x")->pixelSize(), c.x1);
            EXPECT_EQ(call.images->at("asset@2x")->pixelSize(), c.x2);
            EXPECT_EQ(call.images->at("asset@3x")->pixelSize(), c.source);
        }
        EXPECT_DOUBLE_EQ(recorder.calls[0].images->at("asset@1x")->size().width(), c.source.width() / 3.0);
        EXPECT_TRUE(printed.lines().isEmpty());
    }
}

TEST(MakeImageSet, failedScale_isPrintedOnceBeforeTheStoredImagesAreDelivered)
{
    const std::vector<ImageSetEntry> table = {{QStringLiteral("asset@1x"), QSizeF(10, 10)},
                                              {QStringLiteral("asset@2x"), QSizeF(0.5, 20)},
                                              {QStringLiteral("asset@3x"), QSizeF(30, 30)}};
    const ImageRef image = makeImage(test::gradientImage(30, 30));
    LocalTaskQueues queues;
    test::CapturedLines printed;
    test::JobRecorder recorder;
    EXPECT_FALSE(makeImageSet(image, table, recorder.completion(), queues));
    EXPECT_EQ(printed.lines(), QStringList{QStringLiteral("Couldn't get image")}) << "printed before any delivery";
    ASSERT_TRUE(queues.runUntilIdle(60s));
    ASSERT_EQ(recorder.calls.size(), 1u);
    ASSERT_TRUE(recorder.calls[0].images);
    EXPECT_EQ(recorder.calls[0].images->size(), 1u);

    for (const ImageRef& tooSmall : {makeImage(test::gradientImage(2, 900)), makeImage(test::gradientImage(900, 2)),
                                     std::make_shared<const Image>(QSizeF(5, 5), std::vector<QImage>{})}) {
        test::CapturedLines again;
        test::JobRecorder none;
        EXPECT_FALSE(makeImageSet(tooSmall, none.completion(), queues));
        ASSERT_TRUE(queues.runUntilIdle(60s));
        EXPECT_EQ(again.lines(), QStringList{QStringLiteral("Couldn't get image")});
        EXPECT_TRUE(none.calls.empty());
    }
}
