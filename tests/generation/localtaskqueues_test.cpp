#include "generation/localtaskqueues.h"

#include <gtest/gtest.h>

#include <atomic>
#include <numeric>
#include <thread>
#include <vector>

using namespace quorva;
using namespace std::chrono_literals;

TEST(LocalTaskQueues, mainTasksRunInOrderOnTheLoop_backgroundOffIt_idleOnceBothAreDone)
{
    LocalTaskQueues queues;
    std::vector<int> order;
    std::atomic<int> onLoopThread{0};
    std::atomic<int> background{0};
    const auto loop = std::this_thread::get_id();
    for (int i = 0; i < 40; ++i) {
        queues.postToMain([&, i] {
            order.push_back(i);
            onLoopThread += std::this_thread::get_id() == loop;
        });
        queues.postToBackground([&, i] {
            background += std::this_thread::get_id() != loop;
            queues.postToMain([&, i] { order.push_back(100 + i); });
        });
    }
    ASSERT_TRUE(queues.runUntilIdle(30s));
    EXPECT_EQ(onLoopThread.load(), 40);
    EXPECT_EQ(background.load(), 40);
    ASSERT_EQ(order.size(), 80u);
    std::erase_if(order, [](int value) { return value >= 100; });
    std::vector<int> posted(40);
    std::iota(posted.begin(), posted.end(), 0);
    EXPECT_EQ(order, posted) << "main tasks keep their posting order";
}
