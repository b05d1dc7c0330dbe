#include "ui/jobsummary.h"

#include <gtest/gtest.h>

using namespace quorva;

namespace {

WriteReport wrote(const std::filesystem::path& set, std::vector<std::filesystem::path> files)
{
    WriteReport report;
    report.setFolder = set;
    report.written = std::move(files);
    return report;
}

const QFontMetrics metrics{QFont()};
constexpr int wide = 4000; // room for any path

WriteReport failed(const char* failure)
{
    WriteReport report;
    report.failures << QString::fromUtf8(failure);
    return report;
}

} // namespace

TEST(JobSummary, successLinksTheSetFolderAsItsNameIsSpelt)
{
    JobSummary summary;
    const std::filesystem::path set("/tmp/50%2 <b>/AppIcon.appiconset");
    summary.add(wrote(set, {set / "x.png"}));
    const JobMessage message = statusMessage(summary, metrics, wide);
    EXPECT_EQ(message.richText,
              QStringLiteral("Wrote 1 file to <a href=\"file:///tmp/50%252%20%3Cb%3E/"
                             "AppIcon.appiconset\">/tmp/50%2 &lt;b&gt;/AppIcon.appiconset</a>."));
    EXPECT_EQ(message.severity, MessageArea::Severity::Success);
}

TEST(JobSummary, aFailureSeenOnceMakesTheSetIncompleteWhateverCallsCome)
{
    JobSummary summary;
    const std::filesystem::path set("/tmp/AppIcon.appiconset");
    summary.add(failed("Couldn't get image"));
    summary.add(wrote(set, {set / "x.png", set / "y.png", "/tmp/ItunesArtwork@2x.png"}));
    summary.add(failed("Couldn't get image"));
    EXPECT_EQ(summary.failures, QStringList{QStringLiteral("Couldn't get image")});
    const JobMessage message = statusMessage(summary, metrics, wide);
    EXPECT_EQ(message.severity, MessageArea::Severity::Error);
    EXPECT_TRUE(message.richText.startsWith(QStringLiteral("<b>The set is incomplete.</b><br>Couldn't get image.<br>"
                                                           "Wrote 2 files to ")))
        << message.richText.toStdString();
    EXPECT_TRUE(message.richText.endsWith(QStringLiteral("</a> and the 1 artwork files beside it.")));
}

TEST(JobSummary, aPathIsWholeWhereTheLineHasRoom_andShortenedInItsMiddleWhereItHasNot)
{
    const QString folder = QStringLiteral("/home/someone/projects/a-very-long-project-name/ios/Runner/Quorva/icon/iOS/"
                                          "AppIcon.appiconset");
    JobSummary summary;
    summary.add(wrote(folder.toStdString(), {folder.toStdString() + "/x.png"}));
    EXPECT_TRUE(statusMessage(summary, metrics, wide).richText.contains(QStringLiteral(">%1</a>").arg(folder)));
    const int line
        = metrics.horizontalAdvance(QStringLiteral("Wrote 1 file to .")) + metrics.horizontalAdvance(folder) / 2;
    const JobMessage narrow = statusMessage(summary, metrics, line);
    EXPECT_EQ(narrow.toolTip, folder);
    const qsizetype start = narrow.richText.indexOf(QLatin1String("\">")) + 2;
    const QString shown = narrow.richText.mid(start, narrow.richText.indexOf(QLatin1String("</a>")) - start);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("/home/")) && shown.endsWith(QStringLiteral("appiconset")))
        << shown.toStdString();
    EXPECT_TRUE(shown.contains(QChar(0x2026)));
    // The whole line, as it is drawn, in whatever font the machine has.
    EXPECT_LE(metrics.horizontalAdvance(QStringLiteral("Wrote 1 file to ") + shown + QStringLiteral(".")), line);
}
