#include "testsupport.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

class QuorvaCli : public ::testing::Test {
protected:
    test::Scratch scratch;
    QString path(const std::string& name) const { return test::str(scratch / name); }
};

} // namespace

TEST_F(QuorvaCli, writesEachSetIntoAMissingDestination_namedAfterTheSourceOrTheGivenName)
{
    const QString icon = scratch.savePng("icon.png", test::gradientImage(256, 256, 10));
    const QString photo = scratch.savePng("my photo.final.png", test::gradientImage(90, 45));
    const test::ProgramRun appicon = test::runCli({"appicon", icon, path("out")});
    EXPECT_EQ(appicon.exitCode, 0) << appicon.err.toStdString();
    EXPECT_TRUE(appicon.out.isEmpty());
    EXPECT_EQ(test::filesBelow(scratch / "out"), test::appIconTree());
    EXPECT_EQ(test::runCli({"imageset", photo, path("new/deeper")}).exitCode, 0);
    EXPECT_EQ(test::runCli({"imageset", photo, path("new/deeper"), "--name", "Hero"}).exitCode, 0);
    QStringList sets = test::imageSetTree("my photo.final") + test::imageSetTree("Hero");
    sets.sort();
    EXPECT_EQ(test::filesBelow(scratch / "new/deeper"), sets);
    EXPECT_EQ(test::decodeFile(scratch / "new/deeper/Quorva/asset/iOS/Hero.imageset/asset@1x.png").size(),
              QSize(30, 15));
}

TEST_F(QuorvaCli, aSetWrittenOverAnotherLeavesNoFileOfTheOldOneButKeepsTheUsers)
{
    const QString icon = scratch.savePng("icon.png", test::gradientImage(256, 256));
    ASSERT_EQ(test::runCli({"appicon", icon, path("out")}).exitCode, 0);
    const fs::path set = scratch / "out/Quorva/icon/iOS/AppIcon.appiconset";
    test::writeBytes(set / "notes.txt", "mine");
    const test::ProgramRun single
        = test::runCli({"appicon", icon, path("out"), "--single-size", "--background", "white"});
    EXPECT_EQ(single.exitCode, 0) << single.err.toStdString();
    EXPECT_EQ(test::filesBelow(set),
              (QStringList{QStringLiteral("AppIcon.png"), QStringLiteral("Contents.json"),
                           QStringLiteral("notes.txt")}));
    EXPECT_TRUE(single.err.contains("note: ") && single.err.contains("kept notes.txt")) << single.err.toStdString();
}

TEST_F(QuorvaCli, destinationsThatCantBeWritten_exitOneWithALineNamingTheFile)
{
    // Sources that are no image or too small are in the corpus tests, a full disk in the writer's.
    const QString icon = scratch.savePng("icon.png", test::gradientImage(64, 64));
    test::writeBytes(scratch / "file", "a file given as the destination");
    const test::ProgramRun notFolder = test::runCli({"appicon", icon, path("file")});
    EXPECT_EQ(notFolder.exitCode, 1);
    EXPECT_TRUE(notFolder.err.contains(path("file"))) << notFolder.err.toStdString();

    fs::create_directories(scratch / "blocked");
    test::writeBytes(scratch / "blocked/Quorva", "a file where the folder should be");
    const test::ProgramRun blocked = test::runCli({"appicon", icon, path("blocked")});
    EXPECT_EQ(blocked.exitCode, 1);
    EXPECT_TRUE(blocked.out.isEmpty()) << blocked.out.toStdString();
    EXPECT_EQ(blocked.err.count("blocked/Quorva\""), 1) << blocked.err.toStdString();
}

TEST_F(QuorvaCli, usageHelpAndVersion)
{
    const test::ProgramRun wrong = test::runCli({"appicon"});
    EXPECT_TRUE(wrong.exitCode == 2 && wrong.err.contains("Usage:")) << wrong.err.toStdString();
    const test::ProgramRun help = test::runCli({"--help"});
    EXPECT_TRUE(help.exitCode == 0 && help.out.contains("quorva-cli imageset SOURCE")) << help.out.toStdString();
    EXPECT_TRUE(test::runCli({"--version"}).out.startsWith("quorva-cli "));
}
