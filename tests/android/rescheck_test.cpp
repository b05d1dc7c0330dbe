// check on an Android res folder: one defect at a time in the icon Quorva writes, each found under
// its rule, and nothing found in the icon as written.
#include "android/androidiconplan.h"
#include "android/rescheck.h"
#include "android/resfolderwriter.h"
#include "densities.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

using Severity = Finding::Severity;
using test::densities;
using test::Density;

// A round logo on transparency, written as quorva-cli android writes it, with the manifest beside.
void writeIcon(const fs::path& res, bool monochrome)
{
    QImage logo(256, 256, QImage::Format_ARGB32_Premultiplied);
    logo.fill(Qt::transparent);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            if (std::hypot(x - 128, y - 128) < 100)
                logo.setPixel(x, y, qRgb(200, 40, 40));
    AndroidIconOptions options;
    options.monochrome = monochrome;
    fs::create_directories(res);
    const AndroidWrite write = installAndroidPlacement(
        placeAndroidIcons(res, planAndroidFiles(planAndroidIcons(makeImage(logo), options), false), options.name));
    ASSERT_TRUE(write.failures.isEmpty()) << write.failures.join('\n').toStdString();
    test::writeBytes(res.parent_path() / "AndroidManifest.xml",
                     "<manifest xmlns:android=\"http://schemas.android.com/apk/res/android\"><application "
                     "android:icon=\"@mipmap/ic_launcher\" android:roundIcon=\"@mipmap/ic_launcher_round\"/>"
                     "</manifest>");
}

struct DefectRow {
    const char* name;
    std::function<void(const fs::path& res)> defect;
    const char* rule;
    Severity severity;
    const char* file;      // where the finding points, inside src/main
    std::size_t count = 1; // one finding for each file that has the defect, however many XML name it
};

void PrintTo(const DefectRow& row, std::ostream* out)
{
    *out << row.name;
}

class ResCheckDefects : public ::testing::TestWithParam<DefectRow> {};

} // namespace

TEST(ResCheck, passesTheIconQuorvaWrites)
{
    test::Scratch scratch;
    const fs::path res = scratch / "src/main/res";
    writeIcon(res, true);
    ResCheck check;
    ASSERT_EQ(checkAndroidRes(res, check), std::nullopt);
    EXPECT_EQ(check.icons.size(), 2) << "the icon and the round icon the manifest names";
    for (const Finding& finding : check.findings)
        ADD_FAILURE() << finding.path.toStdString() << ": " << finding.message.toStdString();
}

TEST(ResCheck, withoutAManifestEveryMipmapButTheLayersIsAnIcon)
{
    test::Scratch scratch;
    const fs::path res = scratch / "res";
    writeIcon(res, true);
    fs::remove(scratch / "AndroidManifest.xml");
    ResCheck check;
    ASSERT_EQ(checkAndroidRes(res, check), std::nullopt);
    check.icons.sort();
    EXPECT_EQ(check.icons,
              QStringList({test::str(res) + "/@mipmap/ic_launcher", test::str(res) + "/@mipmap/ic_launcher_round"}));
    EXPECT_TRUE(check.findings.empty());
}

TEST_P(ResCheckDefects, isFoundUnderItsRule_andNothingElseIs)
{
    test::Scratch scratch;
    test::writeBytes(scratch / "settings.gradle", "include ':app'\n"); // a Gradle project of one module
    const fs::path res = scratch / "src/main/res";
    writeIcon(res, true);
    GetParam().defect(res);
    ResCheck check;
    ASSERT_EQ(checkAndroidRes(res, check), std::nullopt);
    ASSERT_EQ(check.findings.size(), GetParam().count);
    for (const Finding& finding : check.findings) {
        EXPECT_EQ(finding.rule, QLatin1String(GetParam().rule)) << finding.message.toStdString();
        EXPECT_EQ(finding.severity, GetParam().severity) << finding.message.toStdString();
    }
    EXPECT_EQ(check.findings.front().path, test::str(res.parent_path() / GetParam().file));
}

INSTANTIATE_TEST_SUITE_P(
    OneDefect, ResCheckDefects,
    ::testing::Values(
        DefectRow{"aDensityMissing", [](const fs::path& res) { fs::remove(res / "mipmap-xxxhdpi/ic_launcher.png"); },
                  "missing-density", Severity::Warning, "res/@mipmap/ic_launcher"},
        DefectRow{"aWrongPixelSize",
                  [](const fs::path& res) {
                      test::savePngTo(res / "mipmap-hdpi/ic_launcher.png", test::solidImage(70, 70, qRgb(1, 2, 3)));
                  },
                  "wrong-size", Severity::Warning, "res/mipmap-hdpi/ic_launcher.png"},
        DefectRow{"aLayerThatIsNowhere",
                  [](const fs::path& res) {
                      for (const Density& density : densities)
                          fs::remove(res / density.mipmap() / "ic_launcher_monochrome.png");
                  },
                  "missing-resource", Severity::Error, "res/mipmap-anydpi-v26/ic_launcher.xml"},
        DefectRow{"aColourThatIsNowhere",
                  [](const fs::path& res) { fs::remove(res / "values/ic_launcher_background.xml"); },
                  "missing-resource", Severity::Error, "res/mipmap-anydpi-v26/ic_launcher.xml"},
        DefectRow{"noMonochromeLayer",
                  [](const fs::path& res) {
                      for (const char* xml : {"ic_launcher.xml", "ic_launcher_round.xml"}) {
                          QByteArray bytes = test::readBytes(res / "mipmap-anydpi-v26" / xml);
                          const qsizetype line = bytes.indexOf("    <monochrome");
                          bytes.remove(line, bytes.indexOf('\n', line) + 1 - line);
                          test::writeBytes(res / "mipmap-anydpi-v26" / xml, bytes);
                      }
                  },
                  "no-monochrome", Severity::Warning, "res/mipmap-anydpi-v26/ic_launcher.xml", 2},
        DefectRow{"artOutsideTheSafeCircle",
                  [](const fs::path& res) {
                      // A square of art whose corners reach past the circle, at every density.
                      for (const Density& density : densities) {
                          const int side = density.layer;
                          QImage layer(side, side, QImage::Format_ARGB32_Premultiplied);
                          layer.fill(Qt::transparent);
                          const int inset = density.legacy / 2; // 24 dp
                          for (int y = inset; y < side - inset; ++y)
                              for (int x = inset; x < side - inset; ++x)
                                  layer.setPixel(x, y, qRgb(9, 9, 9));
                          test::savePngTo(res / density.mipmap() / "ic_launcher_foreground.png", layer);
                      }
                  },
                  "outside-safe-zone", Severity::Warning, "res/mipmap-xxxhdpi/ic_launcher_foreground.png"},
        DefectRow{"aPngCutShort",
                  [](const fs::path& res) {
                      const QByteArray bytes = test::readBytes(res / "mipmap-mdpi/ic_launcher_round.png");
                      test::writeBytes(res / "mipmap-mdpi/ic_launcher_round.png", bytes.left(bytes.size() - 30));
                  },
                  "broken-png", Severity::Error, "res/mipmap-mdpi/ic_launcher_round.png"},
        DefectRow{"theManifestsIconIsNowhere",
                  [](const fs::path& res) {
                      test::writeBytes(res.parent_path() / "AndroidManifest.xml",
                                       "<manifest xmlns:android=\"http://schemas.android.com/apk/res/android\">"
                                       "<application android:icon=\"@mipmap/app_icon\"/></manifest>");
                  },
                  "missing-resource", Severity::Error, "AndroidManifest.xml"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResCheck, aForegroundInAnInsetIsLookedUpButNotMeasured)
{
    // flutter_launcher_icons' adaptive icon: the foreground drawable inset by 16 %, full-bleed.
    test::Scratch scratch;
    const fs::path res = scratch / "src/main/res";
    writeIcon(res, true);
    const QByteArray xml = "<adaptive-icon xmlns:android=\"http://schemas.android.com/apk/res/android\">"
                           "<background android:drawable=\"@color/ic_launcher_background\"/><foreground><inset "
                           "android:drawable=\"@drawable/%1\" android:inset=\"16%\"/></foreground>"
                           "<monochrome android:drawable=\"@mipmap/ic_launcher_monochrome\"/></adaptive-icon>";
    for (const Density& density : densities) {
        const fs::path folder = res / density.drawable();
        fs::create_directories(folder);
        const int side = density.layer;
        test::savePngTo(folder / "ic_launcher_foreground.png", test::solidImage(side, side, qRgb(1, 2, 3)));
    }
    for (const char* file : {"ic_launcher.xml", "ic_launcher_round.xml"})
        test::writeBytes(res / "mipmap-anydpi-v26" / file, QByteArray(xml).replace("%1", "ic_launcher_foreground"));
    ResCheck check;
    ASSERT_EQ(checkAndroidRes(res, check), std::nullopt);
    for (const Finding& finding : check.findings)
        ADD_FAILURE() << finding.path.toStdString() << ": " << finding.message.toStdString();

    test::writeBytes(res / "mipmap-anydpi-v26/ic_launcher.xml", QByteArray(xml).replace("%1", "nowhere"));
    ResCheck missing;
    ASSERT_EQ(checkAndroidRes(res, missing), std::nullopt);
    ASSERT_EQ(missing.findings.size(), 1u);
    EXPECT_EQ(missing.findings.front().rule, QLatin1String("missing-resource"));
}

TEST(ResCheck, linksOutOfResAreNotFollowed)
{
    test::Scratch scratch;
    const fs::path res = scratch / "src/main/res";
    writeIcon(res, true);
    fs::create_directories(scratch / "elsewhere");
    test::writeBytes(scratch / "elsewhere/ic_launcher.png", "not a png");
    fs::remove_all(res / "mipmap-hdpi");
    fs::create_directory_symlink(scratch / "elsewhere", res / "mipmap-hdpi");
    ResCheck check;
    ASSERT_EQ(checkAndroidRes(res, check), std::nullopt);
    for (const Finding& finding : check.findings)
        EXPECT_NE(finding.rule, QLatin1String("broken-png")) << finding.path.toStdString();
}

TEST(ResCheck, aResourceAnotherModuleDefinesIsNoError_andWithoutAProjectOnlyAWarning)
{
    test::Scratch scratch;
    const fs::path res = scratch / "app/src/main/res";
    writeIcon(res, true);
    // The colour, defined in a library module.
    fs::create_directories(scratch / "common/src/main/res/values");
    fs::rename(res / "values/ic_launcher_background.xml",
               scratch / "common/src/main/res/values/ic_launcher_background.xml");
    const auto missing = [&res] {
        ResCheck check;
        EXPECT_EQ(checkAndroidRes(res, check), std::nullopt);
        std::vector<Finding> found;
        for (const Finding& finding : check.findings)
            if (finding.rule == QLatin1String("missing-resource"))
                found.push_back(finding);
        return found;
    };
    const std::vector<Finding> unknown = missing();
    ASSERT_FALSE(unknown.empty());
    for (const Finding& finding : unknown)
        EXPECT_EQ(finding.severity, Finding::Severity::Warning) << "no project: it may be defined elsewhere";
    test::writeBytes(scratch / "settings.gradle.kts", "include(\":app\", \":common\")\n");
    const std::vector<Finding> unreachable = missing();
    ASSERT_FALSE(unreachable.empty()) << ":app does not depend on :common";
    EXPECT_EQ(unreachable.front().severity, Finding::Severity::Error);
    test::writeBytes(scratch / "app/build.gradle.kts", "dependencies {\n    implementation(project(\":common\"))\n}\n");
    const std::vector<Finding> merged = missing();
    EXPECT_TRUE(merged.empty()) << (merged.empty() ? std::string() : merged.front().message.toStdString());
}
