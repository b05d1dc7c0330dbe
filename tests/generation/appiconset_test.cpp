#include "generation/appiconset.h"
#include "generation/localtaskqueues.h"

#include "testsupport.h"

#include <QSet>

#include <gtest/gtest.h>

#include <mutex>
#include <thread>

using namespace quorva;
using namespace std::chrono_literals;

namespace {

struct Call {
    std::optional<RenderedImages> images;
    std::optional<QString> message;
    std::thread::id thread;
};

// Records every completion call, from whatever thread it comes.
struct Recorder {
    std::mutex mutex;
    std::vector<Call> calls;

    GenerationCompletion completion()
    {
        return [this](std::optional<RenderedImages> images, std::optional<QString> message) {
            std::lock_guard lock(mutex);
            calls.push_back({std::move(images), std::move(message), std::this_thread::get_id()});
        };
    }
    std::size_t count()
    {
        std::lock_guard lock(mutex);
        return calls.size();
    }
};

} // namespace

TEST(AppIconSizes, holdsTheSeventeenIconsOfAnIPhoneAndIPadSet)
{
    const std::vector<std::pair<const char*, int>> expected = {
        {"Icon-App-20x20@1x.png", 20},  {"Icon-App-20x20@2x.png", 40},  {"Icon-App-20x20@3x.png", 60},
        {"Icon-App-29x29@1x.png", 29},  {"Icon-App-29x29@2x.png", 58},  {"Icon-App-29x29@3x.png", 87},
        {"Icon-App-40x40@1x.png", 40},  {"Icon-App-40x40@2x.png", 80},  {"Icon-App-40x40@3x.png", 120},
        {"Icon-App-60x60@2x.png", 120}, {"Icon-App-60x60@3x.png", 180}, {"Icon-App-76x76@1x.png", 76},
        {"Icon-App-76x76@2x.png", 152}, {"Icon-App-83.5x83.5@2x.png", 167}, {"ItunesArtwork@1x.png", 512},
        {"ItunesArtwork@2x.png", 1024}, {"ItunesArtwork@3x.png", 1536},
    };
    std::map<QString, std::int64_t> table;
    for (const AppIconEntry& entry : appIconSizes())
        EXPECT_TRUE(table.emplace(entry.fileName, entry.side).second) << "duplicate " << entry.fileName.toStdString();
    ASSERT_EQ(table.size(), expected.size());
    for (const auto& [name, side] : expected)
        EXPECT_EQ(table[QString::fromLatin1(name)], side) << name;
}

TEST(MakeAppIconSet, deliversEveryIconOnTheMainThreadInGrowingMaps)
{
    LocalTaskQueues queues;
    Recorder recorder;
    makeAppIconSet(makeImage(test::gradientImage(300, 200, 6)), recorder.completion(), queues);
    EXPECT_EQ(recorder.count(), 0u) << "success calls come only from delivery steps on the main queue";
    ASSERT_TRUE(queues.runUntilIdle(60s));

    ASSERT_EQ(recorder.calls.size(), appIconSizes().size());
    std::size_t previous = 0;
    for (std::size_t k = 0; k < recorder.calls.size(); ++k) {
        const Call& call = recorder.calls[k];
        ASSERT_TRUE(call.images);
        EXPECT_FALSE(call.message);
        EXPECT_EQ(call.thread, std::this_thread::get_id());
        EXPECT_GE(call.images->size(), k + 1);
        EXPECT_GE(call.images->size(), previous);
        previous = call.images->size();
    }
    const RenderedImages& last = *recorder.calls.back().images;
    ASSERT_EQ(last.size(), appIconSizes().size());
    for (const AppIconEntry& entry : appIconSizes()) {
        const ImageRef& icon = last.at(entry.fileName);
        EXPECT_EQ(icon->representations().front().size(), QSize(entry.side, entry.side)) << entry.fileName.toStdString();
        EXPECT_TRUE(icon->encodedPng().bytes) << "encoded before delivery";
    }
    EXPECT_NE(last.at(QStringLiteral("Icon-App-20x20@2x.png")), last.at(QStringLiteral("Icon-App-40x40@1x.png")));
}

TEST(MakeAppIconSet, failedEntry_reportsFromItsWorkerAndIsLeftOutOfEveryMap)
{
    std::vector<AppIconEntry> table = appIconSizes();
    table[5].side = 0; // no bitmap of that side can be made
    const QString failing = table[5].fileName;

    LocalTaskQueues queues;
    Recorder recorder;
    makeAppIconSet(makeImage(test::gradientImage(64, 64)), table, recorder.completion(), queues);
    ASSERT_TRUE(queues.runUntilIdle(60s));

    std::size_t failures = 0;
    std::size_t successes = 0;
    for (const Call& call : recorder.calls) {
        if (call.message) {
            ++failures;
            EXPECT_EQ(*call.message, QStringLiteral("Couldn't get image"));
            EXPECT_FALSE(call.images);
            EXPECT_NE(call.thread, std::this_thread::get_id());
        } else {
            ++successes;
            ASSERT_TRUE(call.images);
            EXPECT_FALSE(call.images->count(failing));
        }
    }
    EXPECT_EQ(failures, 1u);
    EXPECT_EQ(successes, 16u);
}

TEST(MakeAppIconSet, concurrentRunsShareNothing)
{
    LocalTaskQueues queues;
    Recorder first;
    Recorder second;
    makeAppIconSet(makeImage(test::solidImage(40, 40, qRgb(255, 0, 0))), first.completion(), queues);
    makeAppIconSet(makeImage(test::solidImage(40, 40, qRgb(0, 0, 255))), second.completion(), queues);
    ASSERT_TRUE(queues.runUntilIdle(60s));
    ASSERT_EQ(first.calls.size(), 17u);
    ASSERT_EQ(second.calls.size(), 17u);
    for (const auto& [name, icon] : *first.calls.back().images)
        EXPECT_EQ(icon->representations().front().pixel(1, 1), qRgb(255, 0, 0)) << name.toStdString();
    for (const auto& [name, icon] : *second.calls.back().images)
        EXPECT_EQ(icon->representations().front().pixel(1, 1), qRgb(0, 0, 255)) << name.toStdString();
}
