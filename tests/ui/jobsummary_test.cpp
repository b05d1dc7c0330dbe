#include "ui/jobsummary.h"

#include <gtest/gtest.h>

using namespace quorva;

TEST(JobSummary, aFailureStaysShownAfterLaterCallsSucceed)
{
    JobSummary summary;
    summary.add({std::nullopt, {}, {QStringLiteral("Couldn't get image")}});
    WriteReport written;
    written.setFolder = std::filesystem::path("/tmp/a <b>/AppIcon.appiconset");
    written.written = {"/tmp/x.png", "/tmp/y.png"};
    summary.add(written);
    summary.add({std::nullopt, {}, {QStringLiteral("Couldn't get image")}});
    written.written.push_back("/tmp/z.png");
    summary.add(written);

    EXPECT_EQ(summary.failures, QStringList{QStringLiteral("Couldn't get image")});
    EXPECT_EQ(summary.filesWritten, 3u);
    const QString text = statusText(summary);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Couldn't get image<br>"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Wrote 3 files")));
    EXPECT_TRUE(text.contains(QStringLiteral("href=\"file:///tmp/a%20%3Cb%3E/AppIcon.appiconset\"")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("/tmp/a &lt;b&gt;/AppIcon.appiconset</a>"))) << text.toStdString();
}
