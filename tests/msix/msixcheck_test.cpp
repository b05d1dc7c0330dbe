// check on a package's images folder: what the Store and the certification kit refuse is an
// error, what Windows 11 shows on a plate a warning; Visual Studio's own sets pass.
#include "msix/msixcheck.h"

#include "testsupport.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <functional>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

struct CheckRow {
    const char* name;
    std::function<void(const fs::path&)> spoil; // done to a whole Windows 11 set
    QStringList found;                          // "severity rule path", sorted
};
void PrintTo(const CheckRow& row, std::ostream* out)
{
    *out << row.name;
}

class MsixCheck : public ::testing::TestWithParam<CheckRow> {};

QStringList found(const fs::path& folder)
{
    QStringList lines;
    for (const Finding& finding : checkMsixFolder(folder, QStringLiteral("Images")))
        lines << QStringLiteral("%1 %2 %3")
                     .arg(finding.severity == Finding::Severity::Error ? "error" : "warning", finding.rule,
                          finding.path);
    lines.sort();
    return lines;
}

void remove(const fs::path& folder, const char* pattern)
{
    for (const QString& file : test::filesBelow(folder))
        if (file.contains(QLatin1String(pattern)))
            fs::remove(folder / file.toStdString());
}

} // namespace

TEST_P(MsixCheck, findsWhatWindowsAndTheStoreRefuse)
{
    test::Scratch scratch;
    const QString art = scratch.savePng("art.png", test::gradientImage(256, 256, 20));
    const fs::path folder = scratch / "Images";
    ASSERT_EQ(test::runCli({"msix", art, test::str(folder), "--msix"}).exitCode, 0);
    GetParam().spoil(folder);
    EXPECT_EQ(found(folder), GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, MsixCheck,
    ::testing::Values(
        CheckRow{"windows11sWholeSet", [](const fs::path&) {}, {}},
        CheckRow{"visualStudiosOrderOfQualifiers",
                 [](const fs::path& folder) {
                     for (const QString& file : test::filesBelow(folder))
                         if (file.contains("_altform-"))
                             fs::rename(folder / file.toStdString(),
                                        folder
                                            / QString(file)
                                                  .replace(QRegularExpression("targetsize-(\\d+)_(altform-\\w+)"),
                                                           "\\2_targetsize-\\1")
                                                  .toStdString());
                 },
                 {}},
        CheckRow{"noMediumTileAtScale100",
                 [](const fs::path& folder) { fs::remove(folder / "Square150x150Logo.scale-100.png"); },
                 {"error missing-tile Images"}},
        CheckRow{"noUnplatedAppIcons",
                 [](const fs::path& folder) { remove(folder, "_altform-unplated"); },
                 {"warning missing-unplated Images"}},
        CheckRow{"oneTargetSizeNotUnplated",
                 [](const fs::path& folder) {
                     fs::remove(folder / "Square44x44Logo.targetsize-32_altform-unplated.png");
                 },
                 {"warning missing-unplated Images"}},
        CheckRow{"aStoreLogoScaleMissing",
                 [](const fs::path& folder) { fs::remove(folder / "StoreLogo.scale-150.png"); },
                 {"warning missing-scale Images"}},
        CheckRow{"anImageOfAnotherSize",
                 [](const fs::path& folder) {
                     fs::copy_file(folder / "StoreLogo.scale-100.png", folder / "StoreLogo.scale-200.png",
                                   fs::copy_options::overwrite_existing);
                 },
                 {"error wrong-size Images/StoreLogo.scale-200.png"}},
        CheckRow{"aBrokenImage",
                 [](const fs::path& folder) {
                     test::writeBytes(folder / "Square44x44Logo.targetsize-48.png", "\x89PNG\r\n\x1a\nshort");
                 },
                 {"error broken-png Images/Square44x44Logo.targetsize-48.png"}},
        CheckRow{"theFlatSetTauriWrites",
                 [](const fs::path& folder) {
                     fs::remove_all(folder);
                     const test::ProgramRun run
                         = test::runCli({"msix", test::str(folder.parent_path() / "art.png"), test::str(folder)});
                     ASSERT_EQ(run.exitCode, 0);
                 },
                 {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MsixCheckFolders, aFolderOfOtherImagesIsNoPackages)
{
    test::Scratch scratch;
    fs::create_directories(scratch / "Images");
    test::savePngTo(scratch / "Images/logo.png", test::solidImage(50, 50, 0xff000000));
    test::savePngTo(scratch / "Images/Square150x150Logo.png", test::solidImage(150, 150, 0xff000000));
    EXPECT_FALSE(isMsixFolder(scratch / "Images"));
    EXPECT_TRUE(found(scratch / "Images").isEmpty());
    test::savePngTo(scratch / "Images/StoreLogo.png", test::solidImage(50, 50, 0xff000000));
    EXPECT_TRUE(isMsixFolder(scratch / "Images"));
    EXPECT_FALSE(hasQualifiedMsixImages(scratch / "Images"));
}
