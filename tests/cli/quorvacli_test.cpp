#include "testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_EQ(wrong.err, QStringLiteral("quorva-cli: appicon takes SOURCE and DEST\nTry 'quorva-cli --help'.\n"))
        << "one line, not the whole help";
    const test::ProgramRun help = test::runCli({"--help"});
    EXPECT_TRUE(help.exitCode == 0 && help.out.contains("quorva-cli imageset SOURCE")) << help.out.toStdString();
    EXPECT_TRUE(test::runCli({"--version"}).out.startsWith("quorva-cli "));
}

TEST_F(QuorvaCli, checkSpeaksSarifJsonAndStrictly)
{
    // A catalog whose one finding is a warning: an App Store icon with an alpha channel, every pixel opaque.
    const QString icon = scratch.savePng("icon.png", test::solidImage(256, 256, qRgb(10, 20, 30)));
    ASSERT_EQ(test::runCli({"appicon", icon, "--into", path("A.xcassets"), "--single-size"}).exitCode, 0);
    test::savePngTo(scratch / "A.xcassets/AppIcon.appiconset/AppIcon.png",
                    test::solidImage(1024, 1024, qRgb(10, 20, 30)).convertToFormat(QImage::Format_ARGB32));
    EXPECT_EQ(test::runCli({"check", path("A.xcassets")}).exitCode, 0);
    EXPECT_EQ(test::runCli({"check", path("A.xcassets"), "--strict"}).exitCode, 1) << "warnings fail under --strict";

    const test::ProgramRun sarif = test::runCli({"check", path("A.xcassets"), "--format", "sarif"});
    const QJsonObject log = QJsonDocument::fromJson(sarif.out.toUtf8()).object();
    EXPECT_EQ(log.value("version").toString(), QStringLiteral("2.1.0"));
    const QJsonArray results = log.value("runs").toArray().at(0).toObject().value("results").toArray();
    ASSERT_EQ(results.size(), 1) << sarif.out.toStdString();
    const QJsonObject result = results.at(0).toObject();
    EXPECT_EQ(result.value("ruleId").toString(), QStringLiteral("store-icon-alpha"));
    EXPECT_EQ(result.value("level").toString(), QStringLiteral("warning"));
    EXPECT_TRUE(result.value("locations")
                    .toArray()
                    .at(0)
                    .toObject()
                    .value("physicalLocation")
                    .toObject()
                    .value("artifactLocation")
                    .toObject()
                    .value("uri")
                    .toString()
                    .endsWith("AppIcon.appiconset/AppIcon.png"));

    const QJsonObject json
        = QJsonDocument::fromJson(test::runCli({"check", path("A.xcassets"), "--json"}).out.toUtf8()).object();
    EXPECT_EQ(json.value("version").toInt(), 1);
    EXPECT_EQ(json.value("warnings").toInt(), 1);

    // From inside the catalog, as "check .".
    const test::ProgramRun here
        = test::runProgram(QStringLiteral("sh"),
                           {"-c", QStringLiteral("cd '%1' && '%2' check .").arg(path("A.xcassets"), test::cliPath)});
    EXPECT_EQ(here.exitCode, 0) << here.err.toStdString();
    EXPECT_TRUE(here.out.contains("1 warning in 1 set")) << here.out.toStdString();
}
