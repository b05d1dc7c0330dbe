#include "apple/appiconset.h"
#include "generation/localtaskqueues.h"

#include "generation/jobrecorder.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using namespace quorva;
using namespace std::chrono_literals;

TEST(MakeAppIconSet, rendersTheSeventeenIconsOffTheMainThread_deliveringGrowingMapsOnIt)
{
    const std::map<QString, QSize> table = test::classicAppIconSizes();
    LocalTaskQueues queues;
    test::JobRecorder recorder;
    makeAppIconSet(makeImage(test::gradientImage(300, 200, 6)), recorder.completion(), queues);
    EXPECT_TRUE(recorder.calls.empty()) << "success calls come only from delivery steps on the main queue";
    ASSERT_TRUE(queues.runUntilIdle(60s));

    ASSERT_EQ(recorder.calls.size(), table.size());
    for (std::size_t k = 0; k < recorder.calls.size(); ++k) {
        const auto& call = recorder.calls[k];
        ASSERT_TRUE(call.images);
        EXPECT_FALSE(call.message);
        EXPECT_EQ(call.thread, std::this_thread::get_id());
        EXPECT_GE(call.images->size(), std::max(k + 1, k ? recorder.calls[k - 1].images->size() : 0));
    }
    const RenderedImages& last = *recorder.calls.back().images;
    std::map<QString, QSize> rendered;
    for (const auto& [name, icon] : last)
        rendered[name] = icon->pixelSize();
    EXPECT_EQ(rendered, table);
    EXPECT_NE(last.at("Icon-App-20x20@2x.png"), last.at("Icon-App-40x40@1x.png"));
}

TEST(MakeAppIconSet, failedEntry_reportsFromItsWorkerAndIsLeftOutOfEveryMap)
{
    std::vector<AppIconEntry> table = appIconSizes();
    table[5].side = 0; // no bitmap of that side can be made
    LocalTaskQueues queues;
    test::JobRecorder recorder;
    makeAppIconSet(makeImage(test::gradientImage(64, 64)), table, recorder.completion(), queues);
    ASSERT_TRUE(queues.runUntilIdle(60s));

    std::size_t failures = 0;
    for (const auto& call : recorder.calls) {
        ASSERT_NE(bool(call.images), bool(call.message));
        if (call.message) {
            ++failures;
            EXPECT_EQ(*call.message, QStringLiteral("Couldn't get image"));
            EXPECT_NE(call.thread, std::this_thread::get_id());
        } else {
            EXPECT_FALSE(call.images->count(table[5].fileName));
        }
    }
    EXPECT_EQ(failures, 1u);
    EXPECT_EQ(recorder.calls.size(), 17u);
}
