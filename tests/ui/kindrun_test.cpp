// The window's choices go to a kind's entry point through its schema: a key it doesn't have, or a
// value it refuses, fails the job and writes nothing, as the same flag or key would.
#include "ui/kindrun.h"

#include "desktop/desktopkinds.h"
#include "target/outputkind.h"
#include "testsupport.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

ImageRef squareArt()
{
    QImage art(64, 64, QImage::Format_ARGB32_Premultiplied);
    art.fill(qRgb(20, 90, 160));
    return makeImage(art);
}

ConfigTable icoChoices(const fs::path& file)
{
    return {{QStringLiteral("file"), textValue(QString::fromStdString(file.string()))}};
}

} // namespace

TEST(KindRun, writesWhatTheKindMakes_fromChoicesItsSchemaTakes)
{
    test::Scratch dir;
    const fs::path file = dir / "icon.ico";
    const WriteReport report = makeAndInstall(icoKind, icoChoices(file), squareArt(), QStringLiteral("art.png"));
    EXPECT_FALSE(report.failed()) << report.failures.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(fs::is_regular_file(file));
}

TEST(KindRun, aChoiceTheSchemaHasNoKeyFor_failsTheJob_andWritesNothing)
{
    test::Scratch dir;
    const fs::path file = dir / "icon.ico";
    ConfigTable choices = icoChoices(file);
    choices[QStringLiteral("monochrome")] = ConfigValue{true, 0};
    const WriteReport report = makeAndInstall(icoKind, choices, squareArt(), QStringLiteral("art.png"));
    ASSERT_TRUE(report.failed());
    EXPECT_TRUE(report.failures.front().contains(QLatin1String("monochrome"))) << report.failures.front().toStdString();
    EXPECT_FALSE(fs::exists(file));
}

TEST(KindRun, aValueTheSchemaRefuses_failsTheJobWithWhatItTakes_andWritesNothing)
{
    test::Scratch dir;
    const fs::path file = dir / "icon.ico";
    ConfigTable choices = icoChoices(file);
    choices[QStringLiteral("padding")] = ConfigValue{double(maxPaddingPercent + 10), 0};
    const WriteReport report = makeAndInstall(icoKind, choices, squareArt(), QStringLiteral("art.png"));
    ASSERT_TRUE(report.failed());
    EXPECT_TRUE(
        report.failures.front().contains(typeText(*findOption(icoKind.options(), QStringLiteral("padding")), true)))
        << report.failures.front().toStdString();
    EXPECT_FALSE(fs::exists(file));
}
