#include "generation/localtaskqueues.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace quorva;
using namespace std::chrono_literals;

TEST(LocalTaskQueues, mainTasksRunInPostingOrderOnTheLoopThread)
{
    LocalTaskQueues queues;
    std::vector<int> order;
    std::vector<std::thread::id> threads;
    for (int i = 0; i < 50; ++i)
        queues.postToMain([&, i] {
            order.push_back(i);
            threads.push_back(std::this_thread::get_id());
        });
    ASSERT_TRUE(queues.runUntilIdle(10s));
    ASSERT_EQ(order.size(), 50u);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(order[static_cast<std::size_t>(i)], i);
    for (const auto id : threads)
        EXPECT_EQ(id, std::this_thread::get_id());
}

TEST(LocalTaskQueues, idleOnlyOnceBackgroundWorkAndWhatItPostedHaveRun)
{
    LocalTaskQueues queues;
    std::atomic<int> background{0};
    int delivered = 0;
    for (int i = 0; i < 40; ++i)
        queues.postToBackground([&] {
            ++background;
            queues.postToMain([&] { ++delivered; });
        });
    ASSERT_TRUE(queues.runUntilIdle(30s));
    EXPECT_EQ(background.load(), 40);
    EXPECT_EQ(delivered, 40);
}

TEST(LocalTaskQueues, runUntilIdle_givesUpAtTheTimeout)
{
    LocalTaskQueues queues;
    std::atomic<bool> release{false};
    queues.postToBackground([&] {
        while (!release.load())
            std::this_thread::yield();
    });
    EXPECT_FALSE(queues.runUntilIdle(20ms));
    release = true;
    EXPECT_TRUE(queues.runUntilIdle(30s));
}

TEST(LocalTaskQueues, backgroundTasksRunOffTheMainThread)
{
    LocalTaskQueues queues;
    std::atomic<bool> onMain{false};
    for (int i = 0; i < 8; ++i)
        queues.postToBackground([&, caller = std::this_thread::get_id()] {
            if (std::this_thread::get_id() == caller)
                onMain = true;
        });
    ASSERT_TRUE(queues.runUntilIdle(10s));
    EXPECT_FALSE(onMain.load());
}
