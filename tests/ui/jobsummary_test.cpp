#include "ui/jobsummary.h"

#include <gtest/gtest.h>

using namespace quorva;

TEST(JobSummary, keepsFailuresAsSentences_andLinksTheSetFolderWithItsCounts)
{
    JobSummary summary;
    WriteReport written;
    written.setFolder = std::filesystem::path("/tmp/50%2 <b>/AppIcon.appiconset");
    written.written = {*written.setFolder / "x.png"};
    summary.add(written);
    EXPECT_EQ(statusText(summary),
              QStringLiteral("Wrote 1 file to <a href=\"file:///tmp/50%252%20%3Cb%3E/"
                             "AppIcon.appiconset\">/tmp/50%2 &lt;b&gt;/AppIcon.appiconset</a>."));
    summary.add({std::nullopt, {}, {QStringLiteral("Couldn't get image")}, {}, {}});
    written.written.push_back(*written.setFolder / "y.png");
    written.written.push_back("/tmp/50%2 <b>/ItunesArtwork@2x.png");
    summary.add(written);
    summary.add({std::nullopt, {}, {QStringLiteral("Couldn't get image")}, {}, {}});
    EXPECT_EQ(summary.failures, QStringList{QStringLiteral("Couldn't get image")});
    const QString text = statusText(summary);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Couldn't get image.<br>Wrote 2 files to "))) << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("</a> and the 1 artwork files beside it."))) << text.toStdString();
}
