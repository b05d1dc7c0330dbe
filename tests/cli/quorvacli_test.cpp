#include "generation/appiconset.h"

#include "testsupport.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

using CliRun = test::ProgramRun;

CliRun runCli(const QStringList& arguments)
{
    return test::runProgram(QStringLiteral(QUORVA_CLI_PATH), arguments);
}

class QuorvaCli : public ::testing::Test {
protected:
    QTemporaryDir dir;
    fs::path root{dir.path().toStdString()};
    QString path(const fs::path& p) const { return QString::fromStdString(p.string()); }
    QString source(const char* name, const QImage& image)
    {
        const fs::path file = root / name;
        image.save(path(file), "PNG");
        return path(file);
    }
};

} // namespace

TEST_F(QuorvaCli, appicon_writesTheSetAndExitsZero)
{
    const QString icon = source("icon.png", test::gradientImage(256, 256, 10));
    const CliRun run = runCli({QStringLiteral("appicon"), icon, path(root / "out")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    const fs::path set = root / "out" / "Quorva" / "icon" / "iOS" / "AppIcon.appiconset";
    for (const AppIconEntry& entry : appIconSizes())
        EXPECT_EQ(test::decodeFile(set / entry.fileName.toStdString()).size(), QSize(entry.side, entry.side));
    EXPECT_TRUE(fs::exists(set / "Contents.json"));
    EXPECT_EQ(test::filesBelow(root / "out" / "Quorva" / "icon" / "iOS").size(), 21);
}

TEST_F(QuorvaCli, imageset_isNamedAfterTheSourceOrTheGivenName)
{
    const QString photo = source("my photo.final.png", test::gradientImage(90, 45));
    EXPECT_EQ(runCli({QStringLiteral("imageset"), photo, path(root)}).exitCode, 0);
    EXPECT_EQ(runCli({QStringLiteral("imageset"), photo, path(root), QStringLiteral("--name"), QStringLiteral("Hero")})
                  .exitCode,
              0);
    const fs::path assets = root / "Quorva" / "asset" / "iOS";
    EXPECT_EQ(test::decodeFile(assets / "my photo.final.imageset" / "asset@1x.png").size(), QSize(30, 15));
    EXPECT_EQ(test::filesBelow(assets / "Hero.imageset").size(), 4);
}

TEST_F(QuorvaCli, sourceThatIsNoImage_exitsOneNamingItAndWritesNothing)
{
    const fs::path fake = root / "notes.png";
    test::writeBytes(fake, "plain text");
    const CliRun run = runCli({QStringLiteral("appicon"), path(fake), path(root / "out")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(path(fake))) << run.err.toStdString();
    EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1);
    EXPECT_FALSE(fs::exists(root / "out"));
}

TEST_F(QuorvaCli, tooSmallForAnImageSet_printsTheJobsLineAndExitsOne)
{
    const QString tiny = source("tiny.png", test::gradientImage(2, 2));
    const CliRun run = runCli({QStringLiteral("imageset"), tiny, path(root / "out")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, QStringLiteral("Couldn't get image\n"));
    EXPECT_TRUE(run.err.contains(tiny));
    EXPECT_FALSE(fs::exists(root / "out" / "Quorva"));
}

TEST_F(QuorvaCli, fileSystemFaults_arePrintedAndExitOne)
{
    const QString icon = source("icon.png", test::gradientImage(64, 64));

    test::writeBytes(root / "file", "a file given as the destination");
    const CliRun notAFolder = runCli({QStringLiteral("appicon"), icon, path(root / "file")});
    EXPECT_EQ(notAFolder.exitCode, 1);
    EXPECT_TRUE(notAFolder.err.contains(path(root / "file"))) << notAFolder.err.toStdString();

    fs::create_directories(root / "blocked");
    test::writeBytes(root / "blocked" / "Quorva", "a file where the folder should be");
    const CliRun blocked = runCli({QStringLiteral("appicon"), icon, path(root / "blocked")});
    EXPECT_EQ(blocked.exitCode, 1);
    EXPECT_TRUE(blocked.out.contains(QLatin1String("blocked/Quorva/icon/iOS"))) << blocked.out.toStdString();
    EXPECT_TRUE(blocked.err.contains(QLatin1String("blocked/Quorva/icon/iOS"))) << blocked.err.toStdString();

    const fs::path set = root / "full" / "Quorva" / "asset" / "iOS" / "icon.imageset";
    fs::create_directories(set);
    fs::create_symlink("/dev/full", set / "asset@2x.png");
    const CliRun full = runCli({QStringLiteral("imageset"), icon, path(root / "full")});
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_TRUE(full.err.contains(QLatin1String("asset@2x.png"))) << full.err.toStdString();
    EXPECT_TRUE(full.err.contains(QLatin1String("No space left on device"))) << full.err.toStdString();
    EXPECT_EQ(test::decodeFile(set / "asset@3x.png").size(), QSize(64, 64)) << "the rest is written";
}

TEST_F(QuorvaCli, missingDestination_isMade)
{
    const QString icon = source("icon.png", test::gradientImage(30, 30));
    const CliRun run = runCli({QStringLiteral("imageset"), icon, path(root / "new" / "deeper")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(test::filesBelow(root / "new" / "deeper").size(), 4);
}

TEST_F(QuorvaCli, usageHelpAndVersion)
{
    const CliRun wrong = runCli({QStringLiteral("appicon")});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_TRUE(wrong.err.contains(QLatin1String("Usage:")));
    const CliRun help = runCli({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QLatin1String("quorva-cli imageset SOURCE DEST")));
    const CliRun version = runCli({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith(QLatin1String("quorva-cli ")));
}
