// Every output as a target: its plan gives the same bytes every time, the plan put in by the
// installer is what quorva-cli writes, and a run that fails anywhere leaves the project as it was.
#include "android/androidiconplan.h"
#include "android/resfolderwriter.h"
#include "apple/appiconplan.h"
#include "apple/appicontarget.h"
#include "apple/catalogwriter.h"
#include "apple/iconcomposerplan.h"
#include "apple/imageset.h"
#include "cli/commandline.h"
#include "cli/generatecommand.h"
#include "desktop/desktopicons.h"
#include "generation/localtaskqueues.h"
#include "image/imageloading.h"
#include "support/paths.h"
#include "target/installer.h"
#include "web/webicons.h"

#include "testsupport.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace quorva;
namespace fs = std::filesystem;

namespace {

// A target as a row: the command that writes it into a project, and the same made by hand from
// its plan, as the path below the project and the files there.
struct TargetRow {
    const char* name;
    QStringList arguments; // "{source}" and "{project}" stand for the source image and the project
    std::function<std::pair<fs::path, Plan>(const ImageRef& source)> plan;
};

AppIconPlan appIconPlan(const ImageRef& source, std::function<void(AppIconOptions&)> choose = {})
{
    AppIconOptions options;
    options.background = QColor(Qt::white);
    if (choose)
        choose(options);
    return planAppIconSet(source, options);
}

Plan treePlan(const AppIconPlan& plan)
{
    return planCatalogSet(plan.layout, renderAppIcons(plan).images, QStringLiteral("AppIcon.appiconset")).plan;
}

std::vector<TargetRow> targets()
{
    return {
        {"classicSet",
         {"appicon", "{source}", "{project}/out", "--background", "white"},
         [](const ImageRef& source) { return std::pair(fs::path("out"), treePlan(appIconPlan(source))); }},
        {"singleSizeWithAppearances",
         {"appicon", "{source}", "{project}/out", "--single-size", "--background", "white", "--dark", "--tinted"},
         [](const ImageRef& source) {
             return std::pair(fs::path("out"), treePlan(appIconPlan(source, [](AppIconOptions& options) {
                                  options.singleSize = options.dark = options.tinted = true;
                              })));
         }},
        {"everyApplePlatform",
         {"appicon", "{source}", "{project}/out", "--platform", "ios,macos,watchos", "--background", "white"},
         [](const ImageRef& source) {
             return std::pair(
                 fs::path("out"), treePlan(appIconPlan(source, [](AppIconOptions& options) {
                     options.platforms = {ApplePlatform::iOS, ApplePlatform::macOS, ApplePlatform::watchOS};
                 })));
         }},
        {"appIconIntoCatalog",
         {"appicon", "{source}", "--into", "{project}/Assets.xcassets", "--background", "white"},
         nullptr},
        {"iconComposerFile",
         {"appicon", "{source}", "--icon-composer", "{project}", "--background", "white"},
         [](const ImageRef& source) {
             AppIconOptions options;
             options.background = QColor(Qt::white);
             options.iconComposerFile = true;
             Plan plan;
             plan.wholeFolders << QStringLiteral("AppIcon.icon");
             for (const auto& [name, bytes] : planIconComposerFile(source, options).file->files())
                 plan.add(QStringLiteral("AppIcon.icon/") + name, bytes);
             return std::pair(fs::path(), plan);
         }},
        {"imageSet",
         {"imageset", "{source}", "{project}/out", "--name", "logo"},
         [](const ImageRef& source) {
             std::optional<RenderedImages> images;
             LocalTaskQueues queues;
             makeImageSet(
                 source, [&images](std::optional<RenderedImages> made, std::optional<QString>) { images = made; },
                 queues);
             queues.runUntilIdle();
             return std::pair(fs::path("out"),
                              planCatalogSet(imageSetLayout(), *images, QStringLiteral("logo.imageset")).plan);
         }},
        {"imageSetIntoCatalog",
         {"imageset", "{source}", "--into", "{project}/Assets.xcassets", "--name", "logo"},
         nullptr},
        {"windowsIco",
         {"ico", "{source}", "{project}/out/icon.ico"},
         [](const ImageRef& source) {
             Plan plan;
             plan.add(QStringLiteral("icon.ico"), *icoOf(source, {}, windowsIconSizes()));
             return std::pair(fs::path("out"), plan);
         }},
        {"macIcns",
         {"icns", "{source}", "{project}/out/icon.icns"},
         [](const ImageRef& source) {
             Plan plan;
             plan.add(QStringLiteral("icon.icns"), *icnsOf(source, MacShape::Auto, 0));
             return std::pair(fs::path("out"), plan);
         }},
        {"linuxHicolorTheme",
         {"linux", "{source}", "{project}/share", "--id", "org.example.App"},
         [](const ImageRef& source) {
             return std::pair(fs::path("share"),
                              planHicolor(source, QStringLiteral("org.example.App"), hicolorSizes(), {}));
         }},
        {"webSite",
         {"web", "{source}", "{project}/site"},
         [](const ImageRef& source) { return std::pair(fs::path("site"), planWebIcons(source, {}, {}).plan); }},
        {"androidIcon",
         {"android", "{source}", "{project}/app/src/main/res", "--monochrome", "--notification"},
         [](const ImageRef& source) {
             AndroidIconOptions options;
             options.monochrome = options.notification = true;
             Plan plan = planAndroidFiles(planAndroidIcons(source, options), false).plan;
             QStringList listed;
             for (const PlannedFile& file : plan.files)
                 listed << file.path;
             plan.add(QStringLiteral(".quorva-ic_launcher"), listed.join('\n').toUtf8() + '\n');
             return std::pair(fs::path("app/src/main/res"), plan);
         }},
    };
}

class Target : public ::testing::TestWithParam<TargetRow> {
protected:
    test::Scratch scratch;
    test::CapturedLines printed; // what the writers print to standard output, kept out of the log
    QString oldSource = scratch.savePng("old.png", test::gradientImage(256, 256, 24));
    QString newSource = scratch.savePng("new.png", test::randomImage(256, 256, 3));

    void TearDown() override { setInstallFaultForTesting({}); }

    fs::path project(const char* name)
    {
        const fs::path folder = scratch / name;
        fs::create_directories(folder / "app/src/main/res");
        return folder;
    }
    GenerateOutcome run(const QString& source, const fs::path& project)
    {
        QStringList arguments = GetParam().arguments;
        arguments.replaceInStrings(QStringLiteral("{source}"), source);
        arguments.replaceInStrings(QStringLiteral("{project}"), test::str(project));
        const CommandLine line = parseCommandLine(arguments);
        EXPECT_EQ(line.action, CommandLine::Action::Generate) << line.error.toStdString();
        return runGenerate(line.request);
    }
    // The files the installer stages, in order, when the new source is written over the old, and
    // the files and folders it swaps in.
    std::pair<std::vector<fs::path>, std::vector<fs::path>> steps()
    {
        const fs::path copy = project("copy");
        EXPECT_EQ(run(oldSource, copy).exitStatus, 0);
        std::vector<fs::path> staged, swapped;
        setInstallFaultForTesting([&](const fs::path& file, bool commit) {
            (commit ? swapped : staged).push_back(file.lexically_relative(copy));
            return 0;
        });
        EXPECT_EQ(run(newSource, copy).exitStatus, 0);
        setInstallFaultForTesting({});
        return {staged, swapped};
    }
};

std::size_t nthOf(std::size_t count, int at)
{
    return at == 0 ? 0 : at == 1 ? count / 2 : count - 1;
}

} // namespace

TEST_P(Target, givesTheSameBytesEveryTime_asItsPlanPutInByTheInstaller)
{
    const fs::path first = project("first"), second = project("second");
    ASSERT_EQ(run(newSource, first).exitStatus, 0);
    ASSERT_EQ(run(newSource, second).exitStatus, 0);
    const test::Snapshot written = test::snapshotOf(first);
    EXPECT_EQ(test::differences(written, test::snapshotOf(second)), QStringList{});
    EXPECT_GE(test::filesBelow(first).size(), 1);
    if (!GetParam().plan)
        return; // a catalog's files are its Contents.json's, as the catalog tests show
    const ImageRef source = loadImage(toPath(newSource)).image;
    const auto [below, plan] = GetParam().plan(source);
    const auto again = GetParam().plan(source).second;
    ASSERT_EQ(plan.files.size(), again.files.size());
    for (std::size_t i = 0; i < plan.files.size(); ++i) {
        EXPECT_EQ(plan.files[i].path, again.files[i].path);
        EXPECT_TRUE(plan.files[i].bytes == again.files[i].bytes) << plan.files[i].path.toStdString();
    }
    const fs::path byHand = project("byHand");
    ASSERT_FALSE(install(byHand / below, plan, true).failed());
    EXPECT_EQ(test::differences(written, test::snapshotOf(byHand)), QStringList{});
}

// A failure at the first, a middle and the last file, of every kind the disk can give.
TEST_P(Target, aRunThatFailsAnywhere_leavesTheProjectAsItWas_andSaysSoOnce)
{
    const auto [staged, swapped] = steps();
    ASSERT_GE(staged.size(), 1u);
    ASSERT_GE(swapped.size(), 1u);
    const fs::path folder = project("project");
    ASSERT_EQ(run(oldSource, folder).exitStatus, 0);
    // The files of the old run that the new one replaces: those a read-only bit or a link can guard.
    std::vector<fs::path> replaced;
    for (const fs::path& file : staged)
        if (fs::is_regular_file(folder / file))
            replaced.push_back(file);
    ASSERT_GE(replaced.size(), 1u);
    const fs::path outside = scratch / "outside.png";
    test::writeBytes(outside, "someone else's");

    const auto expectUnchanged
        = [&](const std::string& fault, const std::function<void()>& plant, const std::function<void()>& unplant) {
              plant();
              const test::Snapshot before = test::snapshotOf(folder);
              const GenerateOutcome outcome = run(newSource, folder);
              setInstallFaultForTesting({});
              EXPECT_EQ(outcome.exitStatus, 1) << fault;
              EXPECT_EQ(outcome.errors.size(), 1) << fault << ": " << outcome.errors.join('\n').toStdString();
              EXPECT_EQ(test::differences(before, test::snapshotOf(folder)), QStringList{}) << fault;
              unplant();
          };
    for (int at = 0; at < 3; ++at) {
        for (const bool commit : {false, true}) {
            const std::size_t nth = nthOf((commit ? swapped : staged).size(), at);
            expectUnchanged((commit ? "a rename that fails at step " : "a full disk at file ") + std::to_string(nth),
                            [nth, commit] {
                                setInstallFaultForTesting(
                                    [nth, commit, count = std::size_t(0)](const fs::path&, bool now) mutable {
                                        return now == commit && count++ == nth ? ENOSPC : 0;
                                    });
                            },
                            [] {});
        }
        const fs::path file = folder / replaced[nthOf(replaced.size(), at)];
        expectUnchanged(
            "read-only " + file.string(), [&] { fs::permissions(file, fs::perms::owner_read); },
            [&] { fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write); });
        const fs::path aside = scratch / ("aside-" + std::to_string(at));
        expectUnchanged(
            "a link in place of " + file.string(),
            [&] {
                fs::rename(file, aside);
                fs::create_symlink(outside, file);
            },
            [&] {
                fs::remove(file);
                fs::rename(aside, file);
            });
    }
    EXPECT_EQ(test::readBytes(outside), "someone else's");
}

INSTANTIATE_TEST_SUITE_P(EveryOutput, Target, ::testing::ValuesIn(targets()),
                         [](const auto& info) { return std::string(info.param.name); });
