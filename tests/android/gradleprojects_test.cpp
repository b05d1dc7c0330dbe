// quorva-cli check and android on Gradle projects laid out as shipping apps lay theirs out, each
// with the one thing about it that a tool reading one res folder alone gets wrong: check finds no
// error the build would not raise, android writes what the app uses, and Android's own packaging
// tool takes the result.
#include "densities.h"
#include "testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <functional>

namespace fs = std::filesystem;
using namespace quorva;
using test::densities;

namespace {

const char* const frameworkRes = "/usr/share/android-framework-res/framework-res.apk";

// A Gradle project written file by file below a scratch folder.
struct Project {
    test::Scratch scratch;
    fs::path root = scratch / "android";

    fs::path operator/(const std::string& path) const { return root / path; }
    void write(const std::string& path, const QByteArray& bytes) const
    {
        fs::create_directories((root / path).parent_path());
        test::writeBytes(root / path, bytes);
    }

    void manifest(const std::string& set, const QByteArray& application, const QByteArray& inside = {}) const
    {
        write(set + "/AndroidManifest.xml",
              "<manifest xmlns:android=\"http://schemas.android.com/apk/res/android\" package=\"org.example.app\">\n"
              "  <application "
                  + application + ">\n" + inside + "  </application>\n</manifest>\n");
    }

    // A square PNG at every density: so many dp of art, opaque in the central part, at each.
    void pngs(const std::string& res, const std::string& type, const std::string& name, int dp, bool layer) const
    {
        for (const test::Density& density : densities) {
            const int side = density.legacy * dp / 48;
            QImage image = test::solidImage(side, side, qRgba(0, 0, 0, 0));
            // A layer's art within its 66 dp circle; an icon's filling it.
            const int inset = layer ? side * 32 / 108 : 0;
            for (int y = inset; y < side - inset; ++y)
                for (int x = inset; x < side - inset; ++x)
                    image.setPixel(x, y, qRgb(30, 90, 200));
            fs::create_directories(root / res / (type + "-" + density.name));
            test::savePngTo(root / res / (type + "-" + density.name) / (name + ".png"), image);
        }
    }

    // An adaptive icon as Android Studio writes it: the legacy icons, the XML, its layers.
    void launcherIcon(const std::string& res, const std::string& name, const QByteArray& background,
                      const QByteArray& foreground, bool legacy = true) const
    {
        const QByteArray xml
            = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<adaptive-icon "
              "xmlns:android=\"http://schemas.android.com/apk/res/android\">\n    <background android:drawable=\""
            + background + "\"/>\n    <foreground android:drawable=\"" + foreground
            + "\"/>\n    <monochrome android:drawable=\"" + foreground + "\"/>\n</adaptive-icon>\n";
        write(res + "/mipmap-anydpi-v26/" + name + ".xml", xml);
        if (legacy)
            pngs(res, "mipmap", name, 48, false);
    }

    void colour(const std::string& file, const QByteArray& name, const QByteArray& value) const
    {
        write(file,
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<resources>\n    <color name=\"" + name + "\">" + value
                  + "</color>\n</resources>\n");
    }
};

// What check said, as its JSON report gives it.
struct Report {
    int exitCode = -1;
    std::vector<QJsonObject> findings;
    QString text;

    int count(const QString& rule) const
    {
        return int(std::count_if(findings.begin(), findings.end(),
                                 [&](const QJsonObject& finding) { return finding["rule"].toString() == rule; }));
    }
    int errors() const
    {
        return int(std::count_if(findings.begin(), findings.end(),
                                 [](const QJsonObject& finding) { return finding["severity"] == "error"; }));
    }
};

Report check(const fs::path& path)
{
    const test::ProgramRun run = test::runCli({"check", test::str(path), "--format", "json"});
    Report report{run.exitCode, {}, run.out + run.err};
    for (const QJsonValue& finding : QJsonDocument::fromJson(run.out.toUtf8())["findings"].toArray())
        report.findings.push_back(finding.toObject());
    return report;
}

// The app's resources packaged by aapt as the build merges them: the first res folder wins, the
// others are overlays.
test::ProgramRun package(const Project& project, const std::string& manifest, const std::vector<std::string>& res)
{
    // The manifest as Gradle's merger gives it for the beta flavor, its placeholder filled in.
    test::writeBytes(project.scratch / "AndroidManifest.xml",
                     test::readBytes(project / manifest).replace("${appIcon}", "@mipmap/ic_launcher_beta"));
    QStringList arguments{"package",
                          "-f",
                          "--auto-add-overlay",
                          "-M",
                          test::str(project.scratch / "AndroidManifest.xml"),
                          "-I",
                          frameworkRes,
                          "-F",
                          test::str(project.scratch / "app.apk")};
    for (const std::string& folder : res)
        arguments << "-S" << test::str(project / folder);
    return test::runProgram(QStringLiteral("aapt"), arguments);
}

const QByteArray logoSvg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"512\" height=\"512\">"
                           "<circle cx=\"256\" cy=\"256\" r=\"200\" fill=\"#1e88e5\"/></svg>";

struct ProjectRow {
    const char* name;
    std::function<void(const Project&)> make;
    std::string module;              // what check is given
    std::string res;                 // what android writes into
    std::vector<std::string> merged; // the res folders aapt packages, the winning one first
    QStringList options;             // android's
    std::function<void(const Project&, const Report& before)> checked = {};
    std::function<void(const Project&, const test::ProgramRun&)> written = {};
};

void PrintTo(const ProjectRow& row, std::ostream* out)
{
    *out << row.name;
}

class GradleProjects : public ::testing::TestWithParam<ProjectRow> {};

} // namespace

TEST_P(GradleProjects, checkFindsNoFalseError_androidWritesWhatTheAppUses_aaptTakesIt)
{
    const ProjectRow& row = GetParam();
    Project project;
    const QString logo = test::str(project.scratch / "logo.svg");
    test::writeBytes(project.scratch / "logo.svg", logoSvg);
    row.make(project);
    const Report before = check(project / row.module);
    EXPECT_EQ(before.errors(), 0) << before.text.toStdString();
    if (row.checked)
        row.checked(project, before);

    const test::ProgramRun run
        = test::runCli(QStringList{"android", logo, test::str(project / row.res), "--monochrome"} + row.options);
    if (row.written)
        row.written(project, run);
    if (run.exitCode != 0)
        return;
    const Report after = check(project / row.module);
    EXPECT_EQ(after.errors(), 0) << after.text.toStdString();
    EXPECT_EQ(after.count("missing-density") + after.count("wrong-size") + after.count("outside-safe-zone"), 0)
        << after.text.toStdString();

    if (QStandardPaths::findExecutable(QStringLiteral("aapt")).isEmpty() || !fs::exists(frameworkRes))
        GTEST_SKIP() << "aapt and android-framework-res are not installed";
    const test::ProgramRun packaged
        = package(project, row.res.substr(0, row.res.size() - 3) + "AndroidManifest.xml", row.merged);
    EXPECT_EQ(packaged.exitCode, 0) << packaged.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    RealLayouts, GradleProjects,
    ::testing::Values(
        ProjectRow{"aColourInALibraryModule",
                   [](const Project& p) {
                       p.write("settings.gradle.kts", "include(\":app\", \":common\")\n");
                       p.write("app/build.gradle.kts", "dependencies {\n    implementation(project(\":common\"))\n}\n");
                       p.manifest("app/src/main", "android:icon=\"@mipmap/ic_launcher\"");
                       p.launcherIcon("app/src/main/res", "ic_launcher", "@color/brand_background",
                                      "@mipmap/ic_launcher_foreground");
                       p.pngs("app/src/main/res", "mipmap", "ic_launcher_foreground", 108, true);
                       p.colour("common/src/main/res/values/colors.xml", "brand_background", "#0D47A1");
                   },
                   "app",
                   "app/src/main/res",
                   {"app/src/main/res", "common/src/main/res"},
                   {}},
        ProjectRow{"aForegroundOnlyInTheDebugSourceSet",
                   [](const Project& p) {
                       p.write("settings.gradle", "include ':app'\n");
                       p.manifest("app/src/main", "android:icon=\"@mipmap/ic_launcher\"");
                       p.launcherIcon("app/src/main/res", "ic_launcher", "@color/ic_launcher_background",
                                      "@mipmap/ic_launcher_debug_foreground");
                       p.colour("app/src/main/res/values/ic_launcher_background.xml", "ic_launcher_background",
                                "#FFFFFF");
                       p.pngs("app/src/debug/res", "mipmap", "ic_launcher_debug_foreground", 108, true);
                   },
                   "app/src/main/res",
                   "app/src/main/res",
                   {"app/src/debug/res", "app/src/main/res"},
                   {},
                   [](const Project& p, const Report& before) {
                       // The debug source set's layers are 108 dp layers, though their XML is in main.
                       const Report debug = check(p / "app/src/debug/res");
                       EXPECT_EQ(debug.findings.size(), 0u) << debug.text.toStdString();
                       EXPECT_EQ(before.findings.size(), 0u) << before.text.toStdString();
                   }},
        ProjectRow{"aQuickSettingsTileIcon",
                   [](const Project& p) {
                       p.write("settings.gradle", "include ':app'\n");
                       p.manifest("app/src/main", "android:icon=\"@mipmap/ic_launcher\"",
                                  "    <service android:name=\".Tile\" android:icon=\"@drawable/ic_tile\">\n"
                                  "      <intent-filter><action "
                                  "android:name=\"android.service.quicksettings.action.QS_TILE\"/></intent-filter>\n"
                                  "    </service>\n");
                       p.launcherIcon("app/src/main/res", "ic_launcher", "@color/ic_launcher_background",
                                      "@mipmap/ic_launcher_foreground");
                       p.pngs("app/src/main/res", "mipmap", "ic_launcher_foreground", 108, true);
                       p.colour("app/src/main/res/values/ic_launcher_background.xml", "ic_launcher_background",
                                "#FFFFFF");
                       p.pngs("app/src/main/res", "drawable", "ic_tile", 24, false);
                   },
                   "app",
                   "app/src/main/res",
                   {"app/src/main/res"},
                   {},
                   [](const Project&, const Report& before) {
                       EXPECT_EQ(before.findings.size(), 0u)
                           << "a tile's 24 dp icon is no launcher icon: " << before.text.toStdString();
                   }},
        ProjectRow{"aVectorForeground",
                   [](const Project& p) {
                       p.write("settings.gradle", "include ':app'\n");
                       p.manifest("app/src/main",
                                  "android:icon=\"@mipmap/ic_launcher\" android:roundIcon=\"@mipmap/ic_launcher\"");
                       p.launcherIcon("app/src/main/res", "ic_launcher", "@color/ic_launcher_background",
                                      "@drawable/ic_launcher_foreground");
                       p.colour("app/src/main/res/values/ic_launcher_background.xml", "ic_launcher_background",
                                "#FFFFFF");
                       p.write("app/src/main/res/drawable/ic_launcher_foreground.xml",
                               "<vector xmlns:android=\"http://schemas.android.com/apk/res/android\" "
                               "android:width=\"108dp\" android:height=\"108dp\" android:viewportWidth=\"108\" "
                               "android:viewportHeight=\"108\"><path android:fillColor=\"#FFFFFF\" "
                               "android:pathData=\"M54,30a24,24 0,1 1,0 48a24,24 0,1 1,0 -48z\"/></vector>\n");
                   },
                   "app",
                   "app/src/main/res",
                   {"app/src/main/res"},
                   {},
                   [](const Project&, const Report& before) {
                       EXPECT_EQ(before.findings.size(), 0u)
                           << "a vector has no densities: " << before.text.toStdString();
                   }},
        ProjectRow{"minSdk26",
                   [](const Project& p) {
                       p.write("settings.gradle.kts", "include(\":wear\")\n");
                       p.write("gradle/libs.versions.toml", "[versions]\nwear-min = \"26\"\n");
                       p.write("wear/build.gradle.kts",
                               "android {\n    defaultConfig {\n        minSdk = "
                               "libs.versions.wear.min.get().toInt()\n    }\n}\n");
                       p.manifest("wear/src/main", "android:icon=\"@mipmap/ic_launcher\"");
                       p.launcherIcon("wear/src/main/res", "ic_launcher", "@color/ic_launcher_background",
                                      "@mipmap/ic_launcher_foreground", false);
                       p.pngs("wear/src/main/res", "mipmap", "ic_launcher_foreground", 108, true);
                       p.colour("wear/src/main/res/values/ic_launcher_background.xml", "ic_launcher_background",
                                "#FFFFFF");
                   },
                   "wear",
                   "wear/src/main/res",
                   {"wear/src/main/res"},
                   {},
                   [](const Project& p, const Report& before) {
                       EXPECT_EQ(before.count("missing-density"), 0) << before.text.toStdString();
                       // Below 26 the legacy densities are needed, and their lack is still found.
                       p.write("gradle/libs.versions.toml", "[versions]\nwear-min = \"24\"\n");
                       EXPECT_EQ(check(p / "wear").count("missing-density"), 1);
                       p.write("gradle/libs.versions.toml", "[versions]\nwear-min = \"26\"\n");
                   }},
        ProjectRow{"aManifestNamingMipmapLauncher",
                   [](const Project& p) {
                       p.write("settings.gradle", "include ':app'\n");
                       p.manifest("app/src/main", "android:icon=\"@mipmap/launcher\"");
                       p.pngs("app/src/main/res", "mipmap", "launcher", 48, false);
                   },
                   "app",
                   "app/src/main/res",
                   {"app/src/main/res"},
                   {},
                   {},
                   [](const Project& p, const test::ProgramRun& run) {
                       ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
                       EXPECT_TRUE(fs::exists(p / "app/src/main/res/mipmap-anydpi-v26/launcher.xml"));
                       EXPECT_EQ(test::decodeFile(p / "app/src/main/res/mipmap-xxxhdpi/launcher.png").size(),
                                 QSize(192, 192));
                       EXPECT_FALSE(fs::exists(p / "app/src/main/res/mipmap-anydpi-v26/ic_launcher.xml"));
                       EXPECT_FALSE(fs::exists(p / "app/src/main/res/mipmap-mdpi/launcher_round.png"))
                           << "the manifest names no round icon";
                   }},
        ProjectRow{"anIconThroughAManifestPlaceholder",
                   [](const Project& p) {
                       p.write("settings.gradle", "include ':app'\n");
                       p.write("app/build.gradle",
                               "android {\n  productFlavors {\n    prod { manifestPlaceholders = [appIcon: "
                               "\"@mipmap/ic_launcher\"] }\n    beta { manifestPlaceholders = [appIcon: "
                               "\"@mipmap/ic_launcher_beta\"] }\n  }\n}\n");
                       p.manifest("app/src/main", "android:icon=\"${appIcon}\"");
                       p.pngs("app/src/main/res", "mipmap", "ic_launcher", 48, false);
                       p.pngs("app/src/main/res", "mipmap", "ic_launcher_beta", 48, false);
                   },
                   "app",
                   "app/src/main/res",
                   {"app/src/main/res"},
                   {"--name", "ic_launcher_beta"},
                   [](const Project& p, const Report& before) {
                       EXPECT_EQ(before.findings.size(), 0u) << before.text.toStdString();
                       // Without --name the run asks which, naming what it found, and writes nothing.
                       const test::Snapshot snapshot = test::snapshotOf(p.root);
                       const test::ProgramRun asked = test::runCli(
                           {"android", test::str(p.scratch / "logo.svg"), test::str(p / "app/src/main/res")});
                       EXPECT_EQ(asked.exitCode, 1);
                       EXPECT_TRUE(asked.err.contains("${appIcon}") && asked.err.contains("@mipmap/ic_launcher_beta")
                                   && asked.err.contains("--name"))
                           << asked.err.toStdString();
                       EXPECT_EQ(test::snapshotOf(p.root), snapshot);
                   },
                   [](const Project& p, const test::ProgramRun& run) {
                       ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
                       EXPECT_TRUE(fs::exists(p / "app/src/main/res/mipmap-anydpi-v26/ic_launcher_beta.xml"));
                   }},
        ProjectRow{"flutterColoursXml",
                   [](const Project& p) {
                       p.write("settings.gradle", "include ':app'\n");
                       p.manifest("app/src/main", "android:icon=\"@mipmap/ic_launcher\"");
                       p.launcherIcon("app/src/main/res", "ic_launcher", "@color/ic_launcher_background",
                                      "@mipmap/ic_launcher_foreground");
                       p.pngs("app/src/main/res", "mipmap", "ic_launcher_foreground", 108, true);
                       p.write("app/src/main/res/values/colors.xml",
                               "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<resources>\r\n  <!-- brand -->\r\n"
                               "  <color name=\"primary\">#6200EE</color>\r\n"
                               "  <color name='ic_launcher_background'>#FFFFFF</color>\r\n</resources>\r\n");
                   },
                   "app",
                   "app/src/main/res",
                   {"app/src/main/res"},
                   {"--background", "#1E88E5"},
                   nullptr,
                   [](const Project& p, const test::ProgramRun& run) {
                       ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
                       EXPECT_EQ(test::readBytes(p / "app/src/main/res/values/colors.xml"),
                                 QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<resources>\r\n  <!-- "
                                            "brand -->\r\n  <color name=\"primary\">#6200EE</color>\r\n"
                                            "  <color name='ic_launcher_background'>#1E88E5</color>\r\n"
                                            "</resources>\r\n"));
                       EXPECT_FALSE(fs::exists(p / "app/src/main/res/values/ic_launcher_background.xml"))
                           << "no second definition";
                   }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GradleProject, aProjectsCheckCoversEveryModule_andAModulesItsSourceSets)
{
    Project project;
    project.write("settings.gradle", "include ':app', ':wear'\n");
    project.write("app/build.gradle", "android {}\n");
    for (const char* module : {"app", "wear"}) {
        project.manifest(std::string(module) + "/src/main", "android:icon=\"@mipmap/ic_launcher\"");
        project.pngs(std::string(module) + "/src/main/res", "mipmap", "ic_launcher", 48, false);
    }
    // One defect in each module: a missing density in app's debug set, a cut PNG in wear.
    project.pngs("app/src/debug/res", "mipmap", "ic_launcher", 48, false);
    fs::remove(project / "app/src/debug/res/mipmap-hdpi/ic_launcher.png");
    test::savePngTo(project / "app/src/debug/res/mipmap-hdpi/ic_launcher.png", test::solidImage(70, 70, 0xff000000));
    test::writeBytes(project / "wear/src/main/res/mipmap-mdpi/ic_launcher.png", "\x89PNG\r\n\x1a\n");
    const Report whole = check(project.root);
    EXPECT_EQ(whole.count("wrong-size"), 1) << whole.text.toStdString();
    EXPECT_EQ(whole.count("broken-png"), 1) << whole.text.toStdString();
    const Report app = check(project / "app");
    EXPECT_EQ(app.count("wrong-size"), 1) << app.text.toStdString();
    EXPECT_EQ(app.count("broken-png"), 0) << app.text.toStdString();
    const Report main = check(project / "app/src/main/res");
    EXPECT_EQ(main.findings.size(), 0u) << "the debug set's file is not main's: " << main.text.toStdString();
}
