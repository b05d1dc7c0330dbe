#include "ui/jobsummary.h"

#include <gtest/gtest.h>

using namespace quorva;

TEST(JobSummary, keepsFailuresAfterLaterSuccesses_andLinksTheFolderWithItsCount)
{
    JobSummary summary;
    WriteReport written;
    written.setFolder = std::filesystem::path("/tmp/50%2 <b>/AppIcon.appiconset");
    written.written = {"/tmp/x.png"};
    summary.add(written);
    EXPECT_EQ(statusText(summary), QStringLiteral("Wrote 1 file to <a href=\"file:///tmp/50%252%20%3Cb%3E/"
                                                  "AppIcon.appiconset\">/tmp/50%2 &lt;b&gt;/AppIcon.appiconset</a>."));
    summary.add({std::nullopt, {}, {QStringLiteral("Couldn't get image")}});
    written.written.push_back("/tmp/y.png");
    summary.add(written);
    summary.add({std::nullopt, {}, {QStringLiteral("Couldn't get image")}});
    EXPECT_EQ(summary.failures, QStringList{QStringLiteral("Couldn't get image")});
    EXPECT_TRUE(statusText(summary).startsWith(QStringLiteral("Couldn't get image<br>Wrote 2 files to ")));
}
